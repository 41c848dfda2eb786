#pragma once

#include "area/SettingsDlg.h"
#include "router/RouterSettings.h"

namespace kx {

// "専用線" (172): the leased line, its WAN address with "/" and a prefix, the remote address,
// the login and the DNS servers. An address the adapter reports as "0.0.0.0" (or "0.0.0.0/0")
// shows empty and stays as it was when left empty; an emptied WAN address is stored as
// "0.0.0.0/0", an emptied remote address as "0.0.0.0", emptied DNS addresses as empty texts
// (sent as "0.0.0.0").
class CLeasedLineDlg : public area::RecordDlg<LeasedLineSettings> {
public:
    CLeasedLineDlg();
};

}  // namespace kx
