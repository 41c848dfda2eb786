#pragma once

#include <memory>

#include "sim/Area.h"

namespace kx::sim {

// The settings areas of the emulated adapter, each in a file of its own. The command line
// offers every command line to them in this order until one takes it.
std::unique_ptr<Area> makeAnalogArea();
std::unique_ptr<Area> makeDigitalArea();
std::unique_ptr<Area> makeArriveArea();
std::unique_ptr<Area> makeShortnumArea();
std::unique_ptr<Area> makeRouterArea();

}  // namespace kx::sim
