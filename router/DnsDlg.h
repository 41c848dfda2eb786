#pragma once

#include "area/SettingsDlg.h"
#include "router/RouterSettings.h"

namespace kx {

// "ＤＮＳ設定" (160): DNS forwarding on or off and the two servers it forwards to. An address
// shows empty for "0.0.0.0" and stays as it was when left empty; an emptied one is sent as
// "0.0.0.0".
class CDnsDlg : public area::RecordDlg<RouterSettings> {
public:
    CDnsDlg();
};

}  // namespace kx
