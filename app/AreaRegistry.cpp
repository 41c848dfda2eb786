#include "app/AreaRegistry.h"

#include <map>

namespace kx {

namespace {

struct AreaEntry {
    int command;
    AreaLogTexts texts;
};

// The area commands of the main window and what the settings cycle logs for each.
const AreaEntry kAreaTexts[] = {
    {1539,
     {"Analog", "Analog Status Read OK\r\n", "View Analog Dlg\r\n", "Analog Status Read ERROR\r\n",
      "", ""}},
    {1540,
     {"Digital", "Digital Status Read OK\r\n", "View Digital Dlg\r\n",
      "Digital Status Read ERROR\r\n", "", ""}},
    {1541,
     {"Arrive Control", "Arrive Control Status Read OK\r\n", "View Arrive Control Dlg\r\n",
      "Arrive Control Status Read ERROR\r\n", "", ""}},
    {1087,
     {"Short Number", "Short Number Status Read OK\r\n", "View Short Number Dlg\r\n",
      "Short Number Status Read ERROR\r\n", "Short Number Status Write OK\r\n",
      "Short Number Status Write ERROR\r\n"}},
    {1001,
     {"Dialup", "Dialup Status Read OK\r\n", "View Dialup Dlg\r\n", "Dialup Status Read ERROR\r\n",
      "Dialup Status Write OK\r\n", "Dialup Status Write ERROR\r\n"}},
    // the router log lines are spelled "HomaPNA"
    {1538,
     {"HomaPNA", "HomaPNA Status Read OK\r\n", "View HomaPNA Dlg\r\n",
      "HomaPNA Status Read ERROR\r\n", "", ""}},
};

std::map<int, AreaHandlers>& registry() {
    static std::map<int, AreaHandlers> areas;
    return areas;
}

}  // namespace

const AreaLogTexts* areaLogTexts(int command) {
    for (const AreaEntry& e : kAreaTexts)
        if (e.command == command)
            return &e.texts;
    return nullptr;
}

bool registerArea(int command, AreaHandlers handlers) {
    if (!areaLogTexts(command))
        return false;
    registry()[command] = std::move(handlers);
    return true;
}

const AreaHandlers* findArea(int command) {
    auto it = registry().find(command);
    return it == registry().end() ? nullptr : &it->second;
}

void clearAreas() {
    registry().clear();
}

}  // namespace kx
