#pragma once

#include "area/SettingsDlg.h"
#include "router/RouterSettings.h"

namespace kx {

// "着信設定" (181): incoming dial-up, the router's remote access server. Its two addresses are
// editable while the server is "有効", and checked whether or not; an address the adapter
// reports as "0.0.0.0" shows empty and stays as it was when left empty, an emptied one is
// stored as "0.0.0.0". CHAP is refused for every line use but 64k.
class CPnaArriveDlg : public area::RecordDlg<RasSettings> {
public:
    CPnaArriveDlg();
};

}  // namespace kx
