#include "app/SetupApp.h"

#include "link/Exchange.h"
#include "ui/MessageLoop.h"

namespace kx {

void CSetupApp::InitInstance() {
    // every exchange waits in the dialog loop, so windows keep painting meanwhile
    SetExchangePump(&ui::pump());
    {
        CMainDlg main(config_);
        main.DoModal();
    }
    SetExchangePump(nullptr);
}

}  // namespace kx
