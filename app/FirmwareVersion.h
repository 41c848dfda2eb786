#pragma once

#include <string_view>

namespace kx {

// The longest leading decimal number of `text` (blanks before it and a sign allowed), 0.0 when
// there is none. Independent of the process locale, so "2.10" reads the same everywhere.
double leadingDecimal(std::string_view text);

// The firmware gate: true when `firmwareVersionText` carries no "Version " (nothing to test)
// or the number after "Version " is at least `minimum`.
bool firmwareAccepted(std::string_view firmwareVersionText, double minimum);

}  // namespace kx
