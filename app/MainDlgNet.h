#pragma once

// The network link as the main window uses it: makes the connect and close seams of
// CMainDlg::Config drive one NetLink on the message loop. The program's main and the tests
// attach it the same way.

#include <string>

#include "app/MainDlg.h"
#include "link/NetLink.h"

namespace kx {

struct NetLinkSettings {
    int port = kTelnetPort;  // --net-port N overrides it
    // Connect here instead of the port dialog's address ("" for the dialog's): the demo's
    // emulated adapter on the loopback.
    std::string address;
    int loginTimeoutMs = kNetLoginTimeoutMs;
};

// Sets config.netConnect and config.netClose. The link logs through the main window's log
// (LogLinkLine), logs in with the port dialog's passwords (AppState.h) and sets the main
// window's connectionState to LoggedIn once the administrator login has completed.
void attachNetworkLink(CMainDlg::Config& config, NetLinkSettings settings = {});

}  // namespace kx
