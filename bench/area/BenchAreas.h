#pragma once

// The settings areas as the benchmarks drive them, one per module of the registry: the module's
// reader into the bench's own records, one item that a cycle changes (as a confirmed dialog
// would), the module's writer, and the test that the adapter holds the value a cycle wrote. A
// new area needs nothing here; BenchAreas.cpp names the item a cycle changes where the first
// one written would not do.

#include <span>
#include <string_view>

#include "app/services/AreaContext.h"
#include "area/Module.h"

namespace kx::bench {

class BenchArea {
public:
    explicit BenchArea(const area::AreaModule& module);

    const char* name;  // the module's name
    // Sends the area's "show" commands into context.reply and fills the bench's snapshot and
    // working copy; 1 on success.
    int read(const AreaContext& context) const;
    // Sets the item of the working copy to the value of `cycle` (0, 1, 2, ...), so only that
    // item differs. Values of successive cycles differ.
    void change(int cycle) const;
    // Sends what differs, section by section; 1 on success.
    int write(const AreaContext& context) const;
    // Whether the snapshot (just read) holds the value of `cycle`.
    bool holds(int cycle) const;

private:
    const area::AreaModule* module_;
    area::ItemField item_;
    mutable area::AreaRecord snapshot_;
    mutable area::AreaRecord working_;
};

std::span<const BenchArea> benchAreas();

}  // namespace kx::bench
