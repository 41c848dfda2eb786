#pragma once

#include <string>

namespace kx {

// Process-wide state of the settings utility, kept for the whole run. Everything here is
// touched by the user-interface thread only.
//
// Texts that came from the adapter or the settings file (deviceName, firmwareVersionText,
// the network fields) hold their bytes as read (CP932); windowTitle is UTF-8 because it is
// only ever shown.

// Link choice taken from the port dialog: 0 serial port, nonzero network (HomePNA).
inline int networkMode = 0;
// The adapter's device name ("MODE"/"KIKI"); shown in the title and the messages and required
// in the reply to "ATI\r".
inline std::string deviceName;
// "<deviceName> 設定ユーティリティ" in UTF-8: the main window's caption and the caption of
// every message box.
inline std::string windowTitle;
// Lowest accepted firmware version ("MODE"/"VER"); 0.0 accepts every version.
inline double minFirmwareVersion = 0.0;
// "Version " and the five characters after it, from the reply to "AT%I2\r"; empty until the
// probe sets it and over the network link.
inline std::string firmwareVersionText;
// Number of settings dialogs confirmed with OK during the run; nonzero at close stores the
// adapter's settings in its flash ("fromwr 15\r").
inline int changeCount = 0;
// Set when the adapter restarts or its own address changed; at close it suppresses "exit\r".
inline bool addressChanged = false;
// 1..9 from the port dialog (0 or 10 when the settings file held such a value and the user
// confirmed without choosing).
inline int comPortNumber = 1;
// Copies of the port dialog's network fields, used by the network login.
inline std::string ipAddressText;
inline std::string loginPassword;
inline std::string adminPassword;
// "MODE"/"DEBUG": 99 shows the whole main window with its log pane.
inline int debugMode = 0;
// The router commands (1001, 1538, 32777) have controls of their own ("--router" or
// "MODE"/"ROUTER" = 1).
inline bool routerMode = false;
// Full paths of the settings file (setutily.ini) and of the classic help file (kestrelx.hlp),
// both in the current directory at start-up.
inline std::string settingsFilePath;
inline std::string helpFilePath;

// Back to the start values (tests run several sessions in one process).
void resetAppState();

}  // namespace kx
