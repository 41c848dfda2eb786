#pragma once

#include "area/SettingsDlg.h"
#include "arrive/ArriveSettings.h"

namespace kx {

// "着信制御　電話番号別１設定" (142, entries 1-10) and "…電話番号別２設定" (143, entries 11-20):
// ten rows of a caller number with its rankings and ring. OK checks the numbers row by row and
// names the first wrong entry ("電話番号14の入力に間違いがあります。"); then nothing is stored.
class CArriveNumberDlg : public area::RecordDlg<ArriveSettings> {
public:
    // page: 0 entries 1-10, 1 entries 11-20.
    explicit CArriveNumberDlg(int page);
};

}  // namespace kx
