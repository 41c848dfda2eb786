#pragma once

// Template and control ids of the short-number dialog (144).

#include <array>

#include "res/ShellIds.h"

namespace kx {

inline constexpr int IDD_SHORT_NUMBER = 144;

// The edits of entries 1 to 20: the left column holds entries 1-10 (rows "００".."０９"), the
// right column entries 11-20 (rows "１０".."１９").
inline constexpr std::array<int, 20> kShortNumberEdits{
    1098, 1101, 1104, 1107, 1111, 1114, 1117, 1120, 1123, 1126,
    1129, 1132, 1135, 1138, 1141, 1144, 1147, 1150, 1153, 1156,
};

}  // namespace kx
