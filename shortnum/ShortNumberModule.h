#pragma once

#include "area/Module.h"

namespace kx {

// The short-number table as a module (area/Module.h).
const area::AreaModule& shortNumberModule();

}  // namespace kx
