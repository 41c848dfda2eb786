#pragma once

namespace kx {

// Registers every settings area of the program with the main window's settings cycle
// (app/AreaRegistry.h). The program calls it once at start; the tests call it for every session.
void registerAllAreas();

// Every area's records (snapshot and working copy) back to zero and empty, as at the start of a
// run.
void resetAreaRecords();

}  // namespace kx
