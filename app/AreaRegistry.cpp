#include "app/AreaRegistry.h"

#include <map>

namespace kx {

namespace {

std::map<int, AreaHandlers>& registry() {
    static std::map<int, AreaHandlers> areas;
    return areas;
}

}  // namespace

const AreaLogTexts* areaLogTexts(int command) {
    const AreaHandlers* area = findArea(command);
    return area ? area->texts : nullptr;
}

bool registerArea(int command, AreaHandlers handlers) {
    if (!handlers.texts) {
        handlers.texts = areaLogTexts(command);
        if (!handlers.texts)
            return false;
    }
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
