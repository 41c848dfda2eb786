#pragma once

#include "area/SettingsDlg.h"
#include "router/RouterSettings.h"

namespace kx {

// "ＤＨＣＰ設定" (159): the DHCP server on or off, the range it hands out (first address and
// count), the lease time in hours, and the domain name, DNS server and default gateway it
// gives its clients. The DNS server and the gateway show empty for "0.0.0.0" and stay as they
// were when left empty. The range goes to the adapter as one "start/count" value, so a range
// without a first address is refused once it would be sent.
class CDhcpDlg : public area::RecordDlg<RouterSettings> {
public:
    CDhcpDlg();
};

}  // namespace kx
