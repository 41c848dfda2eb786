#pragma once

// The settings areas as the benchmarks drive them, one row each: the area's reader, one item
// that a cycle changes (as a confirmed dialog would), the writer of that item, and the test
// that the adapter holds the value a cycle wrote. A new area is one more row in BenchAreas.cpp.

#include <span>

#include "app/services/AreaContext.h"

namespace kx::bench {

struct BenchArea {
    const char* name;
    // Sends the area's "show" commands into context.reply and fills its records; 1 on success.
    int (*read)(const AreaContext& context);
    // Sets the row's item of the working copy to the value of `cycle` (0, 1, 2, ...): the
    // snapshot is taken first, as a dialog's OK does, so only that item differs. Values of
    // successive cycles differ.
    void (*change)(int cycle);
    // Sends what differs in the area that holds the item; 1 on success.
    int (*write)(const AreaContext& context);
    // Whether the snapshot (just read) holds the value of `cycle`.
    bool (*holds)(int cycle);
};

std::span<const BenchArea> benchAreas();

}  // namespace kx::bench
