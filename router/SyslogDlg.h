#pragma once

#include "area/SettingsDlg.h"
#include "router/RouterSettings.h"

namespace kx {

// "ＳＹＳＬＯＧ設定" (166): syslog on or off, the levels it sends (debug, info, notice), the
// host it sends them to and the facility 0..23. The host address shows empty for "0.0.0.0" and
// stays as it was when left empty.
class CSyslogDlg : public area::RecordDlg<RouterSettings> {
public:
    CSyslogDlg();
};

}  // namespace kx
