#pragma once

#include <functional>
#include <string>

#include "app/services/AreaContext.h"

namespace kx::ui {
class Dialog;
}

namespace kx {

// One settings area as the main window's settings cycle drives it. Every area of the program is
// registered by registerAllAreas() (app/program/AllAreas.h), which the program and the tests
// share; the cycle itself, its log lines and the wait window belong to the main window.
//
// Contracts every area keeps:
// - Its records (snapshot and working copy) are process-wide and live in the area's own
//   folder; the reader fills the snapshot and, once every exchange succeeded, copies it into
//   the working copy.
// - Its dialogs add one to changeCount when the user confirms them (area/SettingsDlg.h); the
//   menus and the main window never do.
// - Menu areas write inside the menu, right after each confirmed dialog; the main window writes
//   the direct areas after their dialog ends with OK.
struct AreaHandlers {
    enum class Kind {
        Menu,    // the dialog is a menu; its dialogs are written inside the menu
        Direct,  // the dialog edits the record itself; the main window writes it after OK
    };
    Kind kind = Kind::Menu;
    // Sends the area's "show" commands (into context.reply) and fills the area's records.
    // Returns 1 on success.
    std::function<int(AreaContext& context)> read;
    // Runs the area's dialog modally over `owner`. Returns the dialog's result (1 for OK).
    std::function<int(ui::Dialog& owner, AreaContext& context)> run;
    // Direct areas only: writes what the dialog edited. Returns 1 on success.
    std::function<int(AreaContext& context)> write;
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
