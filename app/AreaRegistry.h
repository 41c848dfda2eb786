#pragma once

#include <functional>
#include <string>

namespace kx {

class CMainDlg;

// One settings area as the main window's settings cycle drives it. The area issues register
// their areas at program start (see app/main.cpp); the cycle itself, its log lines and the wait
// window belong to the main window.
struct AreaHandlers {
    enum class Kind {
        Menu,    // the dialog is a menu; its dialogs are written inside the menu
        Direct,  // the dialog edits the record itself; the main window writes it after OK
    };
    Kind kind = Kind::Menu;
    // Sends the area's "show" commands through the main window's reply buffer and fills the
    // area's records. Returns 1 on success.
    std::function<int(CMainDlg&)> read;
    // Runs the area's dialog modally with the main window as parent. Returns the dialog's
    // result (1 for OK).
    std::function<int(CMainDlg&)> run;
    // Direct areas only: writes what the dialog edited. Returns 1 on success.
    std::function<int(CMainDlg&)> write;
};

// The log texts of one area command, each ending in "\r\n" (empty where the area has none).
struct AreaLogTexts {
    const char* name;  // for the "not available" line, e.g. "Analog"
    const char* readOk;
    const char* view;
    const char* readError;
    const char* writeOk;
    const char* writeError;
};

// The texts of a main-window area command (1539, 1540, 1541, 1087, 1001, 1538), or nullptr.
const AreaLogTexts* areaLogTexts(int command);

// Registers (or replaces) the handlers of an area command. Registering a command that is not
// one of the area commands above is ignored and returns false.
bool registerArea(int command, AreaHandlers handlers);
// The handlers of an area command, or nullptr when none are registered.
const AreaHandlers* findArea(int command);
// Forgets every registered area (tests).
void clearAreas();

}  // namespace kx
