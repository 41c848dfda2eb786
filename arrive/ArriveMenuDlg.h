#pragma once

#include "area/AreaMenuDlg.h"

namespace kx {

// "着信制御設定" (template 170): 標準, 電話番号別１ and 電話番号別２, each written right after
// its dialog is confirmed.
class CArriveMenuDlg : public area::CAreaMenuDlg {
public:
    explicit CArriveMenuDlg(AreaContext& context);
};

}  // namespace kx
