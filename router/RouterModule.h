#pragma once

#include "area/Module.h"
#include "router/RouterSettings.h"

namespace kx {

// The router module's record: the router's settings and its HomePNA port (the `pna` block,
// which the digital area's copies keep for the dialogs).
struct RouterRecord {
    RouterSettings router;
    DigitalPortSettings pna;

    bool operator==(const RouterRecord&) const = default;
};

// The router area of the router variant as a module (area/Module.h): the HomePNA menu, and the
// easy setup of dial-up profile 1 as its second entry point.
const area::AreaModule& routerModule();

}  // namespace kx
