#pragma once

#include "area/Module.h"

namespace kx {

// The digital area as a module (area/Module.h).
const area::AreaModule& digitalModule();

}  // namespace kx
