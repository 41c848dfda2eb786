#pragma once

#include "area/SettingsDlg.h"
#include "router/RouterSettings.h"

namespace kx {

// "ルータ設定" (154): the router's LAN-side address, IP masquerade, the connection choice, the
// line mode, redial, the switch, the buzzer and the IP filter. Both addresses show empty for
// "0.0.0.0" and stay as they were when left empty; an emptied router address is stored as
// "0.0.0.0/32", an emptied masquerade address as "0.0.0.0". A router address typed other than
// the working copy's is taken only after the user agreed that the adapter restarts and the
// program ends once it is written.
class CRouterDlg : public area::RecordDlg<RouterSettings> {
public:
    CRouterDlg();

protected:
    bool checkRules() override;
};

}  // namespace kx
