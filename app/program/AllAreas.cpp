#include "app/program/AllAreas.h"

#include "analog/AnalogModule.h"
#include "app/AreaRegistry.h"
#include "arrive/ArriveModule.h"
#include "digital/DigitalModule.h"
#include "router/RouterModule.h"
#include "shortnum/ShortNumberModule.h"

namespace kx {

std::span<const area::AreaModule* const> allModules() {
    static const area::AreaModule* const modules[] = {
        &analogModule(), &digitalModule(), &arriveModule(), &shortNumberModule(), &routerModule(),
    };
    return modules;
}

const area::AreaModule* findModule(std::string_view name) {
    for (const area::AreaModule* module : allModules())
        if (module->name == name)
            return module;
    return nullptr;
}

void registerAllAreas() {
    for (const area::AreaModule* module : allModules()) {
        for (const area::AreaEntry& entry : module->entries) {
            AreaHandlers area;
            area.kind = entry.direct ? AreaHandlers::Kind::Direct : AreaHandlers::Kind::Menu;
            area.texts = &entry.texts;
            area.read = entry.read;
            area.run = [run = entry.run](ui::Dialog&, AreaContext& context) {
                return run(context);
            };
            if (entry.write)
                area.write = entry.write;
            registerArea(entry.command, std::move(area));
        }
    }
}

void resetAreaRecords() {
    for (const area::AreaModule* module : allModules()) module->reset();
}

}  // namespace kx
