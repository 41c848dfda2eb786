#pragma once

#include "area/SettingsDlg.h"
#include "router/RouterSettings.h"

namespace kx {

// "接続制限設定" (174): limits on line charges, connection time and connection count (0 is no
// limit), and when the adapter clears its counters. The time limit is bounded by its period:
// 23 hours a day, 167 a week, 743 a month. "クリア" asks for the three counters to be cleared
// (resetCounters) and closes the dialog as cancelled, storing nothing; the menu then clears
// them. Opening the dialog withdraws an earlier request.
class CConnectLimitDlg : public area::RecordDlg<RouterSettings> {
public:
    CConnectLimitDlg();

protected:
    void OnCommand(int id) override;
};

}  // namespace kx
