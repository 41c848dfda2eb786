#pragma once

// The registry of the settings areas: every area's module (area/Module.h), in the order the
// main window shows them and kxctl reads and writes them. The main window, kxctl, the fuzz
// harness, the benchmarks and the tests walk this list; a new area is one line in AllAreas.cpp.

#include <span>
#include <string_view>

#include "area/Module.h"

namespace kx {

// Every module, in order.
std::span<const area::AreaModule* const> allModules();
// The module named `name` ("analog"), or nullptr.
const area::AreaModule* findModule(std::string_view name);

// Registers every entry point of every module with the main window's settings cycle
// (app/AreaRegistry.h). The program calls it once at start; the tests call it for every session.
void registerAllAreas();

// Every module's copies back to zero and empty, as at the start of a run.
void resetAreaRecords();

}  // namespace kx
