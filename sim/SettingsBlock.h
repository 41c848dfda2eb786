#pragma once

// One block of an emulated settings area (a TEL port, the digital common settings, one
// incoming-call entry, ...): its items as data, their current values, the reply lines that
// report them, the setting commands that change them and their save/restore form.
// Used by the analog, digital, arrive and shortnum areas; the router area may use it too.

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sim/Area.h"

namespace kx::sim {

enum class ItemKind {
    Choice,  // reported and saved as the index of its keyword, set by the keyword
    Number,  // reported, saved and set as a decimal number within a range
    Phone,   // a telephone number text; an empty one means "no number"
};

struct Item {
    std::string_view name;   // save key below the block's prefix ("ringSound")
    std::string_view label;  // reply label with its colon, leading blanks included ("  talky:")
    ItemKind kind = ItemKind::Number;
    std::vector<std::string_view> keywords = {};  // Choice: keyword per index, "" = no keyword
    int lowest = 0;                               // Number: range
    int highest = 0;
};

Item choiceItem(std::string_view name, std::string_view label,
                std::vector<std::string_view> keywords);
Item numberItem(std::string_view name, std::string_view label, int lowest, int highest);
Item phoneItem(std::string_view name, std::string_view label);

using Schema = std::vector<Item>;

class SettingsBlock {
public:
    // factory holds one value per item in its saved form (index, number or text); the schema
    // must outlive the block.
    SettingsBlock(std::string keyPrefix, const Schema& schema,
                  std::vector<std::string_view> factory);

    void reset();

    // The values alone, to be put back into this block later.
    struct Values {
        std::vector<int> numbers;
        std::vector<std::string> texts;
    };
    Values values() const { return {numbers_, texts_}; }
    void setValues(const Values& values) {
        numbers_ = values.numbers;
        texts_ = values.texts;
    }

    // Index of the item called name; the name must exist (a wrong name is a programming error).
    std::size_t indexOf(std::string_view name) const;

    int number(std::size_t item) const { return numbers_[item]; }
    const std::string& text(std::size_t item) const { return texts_[item]; }
    void setNumber(std::size_t item, int value) { numbers_[item] = value; }

    // Sets an item from a command argument (keyword, decimal number or telephone number);
    // false, changing nothing, when the argument is not valid for the item.
    bool setFromArgument(std::size_t item, std::string_view argument);

    // "label value\r\n" for one item, or for the items first.. in schema order.
    void showItem(std::string& reply, std::size_t item) const;
    void show(std::string& reply, std::size_t first = 0) const;

    // Keys "<prefix>.<name>". restore() takes only values that are valid for their item and
    // keeps the current value otherwise.
    void save(std::map<std::string, std::string>& values) const;
    void restore(const std::map<std::string, std::string>& values);

private:
    bool assignSaved(std::size_t item, std::string_view saved);

    std::string keyPrefix_;
    const Schema& schema_;
    std::vector<int> numbers_;
    std::vector<std::string> texts_;
    Values factory_;  // parsed once: a renewed device resets every block
};

// One setting command shape, below the area's family word:
//   <before...> [selector] <after...> [argument]
// e.g. "analog" "arrive_transfer" "address" <port> <number>: before {"arrive_transfer",
// "address"}, selects a port, no after words, item "transferAddress". A Phone item may have
// its argument left off (an empty number).
struct Command {
    std::vector<std::string_view> before;
    bool selects = false;
    std::vector<std::string_view> after = {};
    std::string_view item = {};
};

struct Selector {
    std::string word;  // "tel1", "data", "12"
    SettingsBlock* block;
};

// The block that word selects (case-insensitive), or null.
SettingsBlock* findSelector(std::span<const Selector> selectors, std::string_view word);

// Applies the first command whose shape matches args (the words after the family word) and
// whose argument is valid for its item. Commands without a selector act on fixed (which may be
// null when every command of the area selects). False when none applies; nothing is changed.
bool applyCommand(std::span<const std::string> args, std::span<const Command> commands,
                  SettingsBlock* fixed, std::span<const Selector> selectors);

}  // namespace kx::sim
