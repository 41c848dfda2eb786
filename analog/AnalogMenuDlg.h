#pragma once

#include "area/AreaMenuDlg.h"

namespace kx {

// "アナログ設定" (template 168): ＴＥＬ１, ＴＥＬ２, ＴＥＬ３ and 共通, each written right after
// its dialog is confirmed.
class CAnalogMenuDlg : public area::CAreaMenuDlg {
public:
    explicit CAnalogMenuDlg(AreaContext& context);
};

}  // namespace kx
