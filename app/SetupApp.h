#pragma once

#include "app/MainDlg.h"

namespace kx {

// The application object: runs the main window modally; the program ends when it closes.
// A backend (headless or Qt) must be installed first.
class CSetupApp {
public:
    explicit CSetupApp(CMainDlg::Config config) : config_(std::move(config)) {}

    // Prepares the process-wide services (the exchange waits in the dialog loop), runs the
    // main window and returns when it has closed.
    void InitInstance();

private:
    CMainDlg::Config config_;
};

}  // namespace kx
