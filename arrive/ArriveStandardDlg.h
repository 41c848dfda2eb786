#pragma once

#include "area/SettingsDlg.h"
#include "arrive/ArriveSettings.h"

namespace kx {

// "着信制御　標準設定" (141): the rankings and rings for callers not in the table and for calls
// without a number, and the service selection. Lists of a value they have no item for show no
// selection; OK stores such a list as -1, which the writer does not send. Over the network link
// these settings are not written, so the controls are shown disabled.
class CArriveStandardDlg : public area::RecordDlg<ArriveSettings> {
public:
    CArriveStandardDlg();
};

}  // namespace kx
