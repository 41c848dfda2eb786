#pragma once

#include <string>

#include "sim/RouterLine.h"
#include "sim/RouterState.h"

namespace kx::sim {

// Answers the router area's "show" queries ("show router", "show dialup num1", ...). Returns
// false when the query is not one of the router area's, so another area can take it; an
// unknown profile or extra words answer an error line.
//
// The program reads every item at the first occurrence of its label anywhere in the reply
// (and the echo before it), so each reply lists a label that is contained in another one
// ("address:" in "dns praimary address:") before the longer one, and puts the free texts
// (names, user ids, passwords) last, where they cannot hide a fixed label.
bool showRouterArea(const RouterState& state, const RouterLine& line, std::string& reply);

}  // namespace kx::sim
