#pragma once

// One block of an emulated settings area (a TEL port, the digital common settings, one
// incoming-call entry, a dial-up profile, ...): its items as data, each with its factory value,
// their current values, the reply lines that report them, the setting commands that change them
// and their save/restore form.

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sim/AreaText.h"
#include "sim/CommandLine.h"

namespace kx::sim {

enum class ItemKind {
    Choice,  // reported and saved as the index of its keyword, set by the keyword
    Number,  // reported, saved and set as a decimal number within a range
    Phone,   // a telephone number text; an empty one means "no number"
    Text,    // a text the adapter checks by its TextRule and stores in its normal form
};

// How an item's reply line looks. The forms that report two items take the row next to them.
enum class ShowForm {
    Line,         // "label value"
    FromOne,      // a choice reported counting from 1
    WithSubmask,  // "a.b.c.d/p" as "label a.b.c.d" and "submask: p"
    SlashNext,    // "label value/next", the next row being reported with it
    ClockNext,    // "label value:next", the next row (minutes) in two digits
    RangeEnd,     // a count after the start address in the row before: "label count (last)"
    Hidden,       // reported by the row before it
};

struct Item {
    std::string_view name;   // save key below the block's prefix ("ringSound")
    std::string_view label;  // reply label with its colon, leading blanks included ("  talky:")
    ItemKind kind = ItemKind::Number;
    std::vector<std::string_view> keywords = {};  // Choice: keyword per index, "" = no keyword
    int lowest = 0;                               // Number: range
    int highest = 0;
    std::string_view factory = {};  // Choice: the factory keyword; Phone, Text: the factory text
    int factoryNumber = 0;          // Number: the factory value
    TextRule rule = TextRule::Text;
    ShowForm form = ShowForm::Line;
};

Item choiceItem(std::string_view name, std::string_view label,
                std::vector<std::string_view> keywords, std::string_view factory,
                ShowForm form = ShowForm::Line);
Item numberItem(std::string_view name, std::string_view label, int lowest, int highest, int factory,
                ShowForm form = ShowForm::Line);
Item phoneItem(std::string_view name, std::string_view label);
Item textItem(std::string_view name, std::string_view label, TextRule rule,
              std::string_view factory = {}, ShowForm form = ShowForm::Line);

using Schema = std::vector<Item>;

class SettingsBlock {
public:
    // The schema must outlive the block. Keys are "<prefix>.<name>", or the bare name without a
    // prefix.
    SettingsBlock(std::string keyPrefix, const Schema& schema);

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

    // The values of many blocks in one copy (an area's flash copy): appendTo() adds this
    // block's values, takeFrom() takes them back from position `at` and returns the position
    // after them.
    std::size_t size() const { return numbers_.size(); }
    void appendTo(Values& all) const;
    std::size_t takeFrom(const Values& all, std::size_t at);

    // Index of the item called name; the name must exist (a wrong name is a programming error).
    std::size_t indexOf(std::string_view name) const;

    const Item& item(std::size_t item) const { return schema_[item]; }
    int number(std::size_t item) const { return numbers_[item]; }
    const std::string& text(std::size_t item) const { return texts_[item]; }
    void setNumber(std::size_t item, int value) { numbers_[item] = value; }

    // Sets an item from a command argument (keyword, decimal number or text); false, changing
    // nothing, when the argument is not valid for the item.
    bool setFromArgument(std::size_t item, std::string_view argument);

    // The reply lines of one item, or of the items first.. in schema order.
    void showItem(std::string& reply, std::size_t item) const;
    void show(std::string& reply, std::size_t first = 0) const;

    // restore() takes only values that are valid for their item and keeps the current value
    // otherwise.
    void save(std::map<std::string, std::string>& values) const;
    void restore(const std::map<std::string, std::string>& values);

private:
    bool assignSaved(std::size_t item, std::string_view saved);
    std::string key(std::size_t item) const;

    std::string keyPrefix_;
    const Schema& schema_;
    std::vector<int> numbers_;
    std::vector<std::string> texts_;
    Values factory_;  // parsed once: a renewed device resets every block
};

// How a setting command takes its argument.
enum class ArgumentForm {
    Word,       // one word; a Phone item may have it left off (an empty number)
    Rest,       // the rest of the line, blanks kept; trimmed unless the item is a free Text
    List,       // the rest of the line, split at commas into `item` and `more`, each part trimmed
    Joined,     // one word split at `separator` into `item` and `more`; no part may be empty
    AnswerBit,  // "reject" or "auto": clears or sets bit `bit` of the Number item
};

// One setting command shape, below the area's family word:
//   <before...> [selector] <after...> [argument]
// e.g. "analog" "arrive_transfer" "address" <port> <number>: before {"arrive_transfer",
// "address"}, selects a port, no after words, item "transferAddress".
struct Command {
    std::vector<std::string_view> before;
    bool selects = false;
    std::vector<std::string_view> after = {};
    std::string_view item = {};
    ArgumentForm form = ArgumentForm::Word;
    std::vector<std::string_view> more = {};  // List, Joined: the items after the first
    char separator = ',';                     // Joined
    int bit = 0;                              // AnswerBit
};

// The command shapes beyond one word, for the tables:
//   textCommand    the rest of the line into item
//   listCommand    "a,b[,c]" from the rest of the line into item and more
//   joinedCommand  one word "a<separator>b" into item and second
//   answerBit      "reject" or "auto" into bit `bit` of item
Command textCommand(std::vector<std::string_view> before, std::string_view item,
                    bool selects = false);
Command listCommand(std::vector<std::string_view> before, std::string_view item,
                    std::vector<std::string_view> more, bool selects = false);
Command joinedCommand(std::vector<std::string_view> before, std::string_view item,
                      std::string_view second, char separator);
Command answerBit(std::vector<std::string_view> before, std::string_view item, int bit);

struct Selector {
    std::string word;  // "tel1", "data", "12", "num1"
    SettingsBlock* block;
};

// The block that word selects (case-insensitive), or null.
SettingsBlock* findSelector(std::span<const Selector> selectors, std::string_view word);

// What a command line did to an area's command table.
enum class Applied {
    Unknown,  // no command has these words
    Refused,  // a command has them, but not these arguments (or not this selector)
    Done,
};

// Applies the first command whose shape matches the line's words from `first` on (the words
// after the family word) and whose argument is valid for its item. Commands without a selector
// act on fixed (which may be null when every command of the area selects). Nothing is changed
// unless the result is Done.
Applied applyCommand(const CommandLine& line, std::size_t first, std::span<const Command> commands,
                     SettingsBlock* fixed, std::span<const Selector> selectors);

}  // namespace kx::sim
