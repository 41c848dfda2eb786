#pragma once

#include <string>

#include "sim/RouterLine.h"
#include "sim/RouterState.h"

namespace kx::sim {

// Applies one setting command of the router families (router, network, dialup, nat, dhcp,
// dns, host, syslog, bod, bacpbap, connect, ras). Returns false when the line is not of these
// families. An accepted command changes the state and leaves `reply` empty; an unknown
// keyword or a bad value answers an error line and changes nothing.
//
// "router address a.b.c.d/p" moves the router's own LAN address at once (the program ends its
// session after it); "connect charge", "connect time" and "connect number" without a value
// clear the counters the limits are measured against.
bool applyRouterSetting(RouterState& state, const RouterLine& line, std::string& reply);

}  // namespace kx::sim
