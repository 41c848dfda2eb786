#pragma once

#include "area/AreaMenuDlg.h"

namespace kx {

// "デジタル設定" (template 169): ＤＡＴＡ, ＵＳＢ, 共通, スループットＢＯＤ and ＢＡＣＰ／ＢＡＰ,
// each written right after its dialog is confirmed.
class CDigitalMenuDlg : public area::CAreaMenuDlg {
public:
    explicit CDigitalMenuDlg(AreaContext& context);
};

}  // namespace kx
