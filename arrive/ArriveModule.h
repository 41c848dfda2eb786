#pragma once

#include "area/Module.h"

namespace kx {

// The arrive area as a module (area/Module.h).
const area::AreaModule& arriveModule();

}  // namespace kx
