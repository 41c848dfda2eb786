#pragma once

// Template, menu, icon and control ids of the application shell's windows: the version
// dialog, the main window, the port dialog and the wait window.

#include "ui/Dialog.h"  // IDOK, IDCANCEL

namespace kx {

inline constexpr int IDD_VERSION = 100;
inline constexpr int IDD_MAIN = 102;
inline constexpr int IDI_MAIN_ICON = 128;
inline constexpr int IDD_PORT_SELECT = 129;
inline constexpr int IDD_WAIT = 131;
inline constexpr int IDR_MAIN_MENU = 173;
inline constexpr int IDD_RESTORE = 190;

using ui::IDCANCEL;
using ui::IDOK;

// The help button of every settings dialog.
inline constexpr int IDC_HELP_BUTTON = 1587;
// The status line under the buttons of every area menu (the main window's line, repeated)
inline constexpr int IDC_MENU_STATUS = 59160;

// Version dialog (100)
inline constexpr int IDC_VERSION_FIRMWARE = 1588;

// Main window (102)
inline constexpr int IDC_MAIN_PNA_EASY = 1001;  // command only: no control carries it
inline constexpr int IDC_MAIN_SHORTNUM = 1087;
inline constexpr int IDC_MAIN_LOG = 1091;
inline constexpr int IDC_MAIN_PNA_MENU = 1538;  // command only: no control carries it
inline constexpr int IDC_MAIN_ANALOG = 1539;
inline constexpr int IDC_MAIN_DIGITAL = 1540;
inline constexpr int IDC_MAIN_ARRIVE = 1541;
inline constexpr int IDC_MAIN_EXIT = 1590;
inline constexpr int IDC_MAIN_DEBUG_GROUP = 59102;  // the "デバック" box around the log pane
// The status line under the buttons: why the last read or write of an area failed
inline constexpr int IDC_MAIN_STATUS = 59103;

// Menu 173 and the hidden date-and-time command
inline constexpr int ID_FILE_INIT = 32771;
inline constexpr int ID_HELP_VERSION = 32773;
inline constexpr int ID_HELP_CONTENTS = 32774;
inline constexpr int ID_DATE_TIME = 32777;     // command only: no menu item carries it
inline constexpr int ID_FILE_SAVE = 32780;     // "設定の保存..."
inline constexpr int ID_FILE_RESTORE = 32781;  // "設定の復元..."

// Port dialog (129)
inline constexpr int IDC_PORTSEL_PNA = 1002;
inline constexpr int IDC_PORTSEL_SERIAL = 1004;  // first of the link-choice group
inline constexpr int IDC_PORTSEL_LOGIN_PASSWORD = 1010;
inline constexpr int IDC_PORTSEL_ADMIN_PASSWORD = 1013;
inline constexpr int IDC_PORTSEL_IP_ADDRESS = 1016;
inline constexpr int IDC_PORTSEL_COM = 1022;
inline constexpr int IDC_PORTSEL_HEADING = 1685;
// The static beside the COM list that names the Linux device of the selected port (added to
// the template by the dialog itself).
inline constexpr int IDC_PORTSEL_DEVICE = 59122;
// Below the list: how to get access to a device the user may not open (hidden otherwise).
inline constexpr int IDC_PORTSEL_ACCESS_HINT = 59123;
inline constexpr int IDC_PORTSEL_LINK_PANEL = 59129;  // the lower part: link choice, address,
                                                      // passwords (hidden by the short window)
// "詳細": shows (and hides again) the lower part, so the network link can be chosen
inline constexpr int IDC_PORTSEL_DETAILS = 59130;
// "自動検出": asks the serial devices present which of them is the adapter
inline constexpr int IDC_PORTSEL_AUTODETECT = 59140;

// Restore preview (190): what a settings document would change, before anything is sent
inline constexpr int IDC_RESTORE_TEXT = 59190;
inline constexpr int IDC_RESTORE_LIST = 59191;
inline constexpr int IDC_RESTORE_NOTE = 59192;  // the address change, the skipped items

// Wait window (131)
inline constexpr int IDC_WAIT_TEXT = 59131;

}  // namespace kx
