#pragma once

#include "area/Module.h"

namespace kx {

// The analog area as a module (area/Module.h).
const area::AreaModule& analogModule();

}  // namespace kx
