// The short-number (speed-dial) table of the emulated adapter: 20 numbers.
//
//   show shortnum num1|num2      entries 1 to 10, 11 to 20, as "k: number" lines
//   shortnum add <k> [number]    a missing number empties entry k

#include <memory>
#include <vector>

#include "sim/Areas.h"
#include "sim/BlockArea.h"

namespace kx::sim {
namespace {

constexpr int kEntries = 20;

const Schema kEntrySchema{phoneItem("number", "")};  // no number registered at the factory

const std::vector<Command> kCommands{{{"add"}, true, {}, "number"}};

// "show shortnum num1|num2" lists entries 1 to 10 or 11 to 20 as "k: number" lines; no number
// contains a colon, so the program's first "k: " is entry k's own line.
class ShortnumArea final : public BlockArea {
public:
    ShortnumArea() : BlockArea("shortnum", kCommands) {
        entries_.reserve(kEntries);  // registered by address
        for (int k = 1; k <= kEntries; ++k) {
            entries_.emplace_back(std::to_string(k), kEntrySchema);
            addBlock(entries_.back(), {}, std::to_string(k));
        }
        setEntryPages(entries_);
    }

private:
    std::vector<SettingsBlock> entries_;
};

}  // namespace

std::unique_ptr<Area> makeShortnumArea() {
    return std::make_unique<ShortnumArea>();
}

}  // namespace kx::sim
