#pragma once

// The table-driven reader and writer of every settings area.
//
// Reading: each item is looked up by its label anywhere in the reply (the first occurrence,
// letter case aside); its value starts one byte after the label (the blank after the colon)
// and runs to the next carriage return or the reply's end, cut to 54 bytes. Texts are stored as
// they are, numbers as their decimal reading. A label that the reply lacks leaves its field as
// it was: nothing is ever read from outside the reply or from an arbitrary offset. The reader
// tells its caller which labels were lacking (the dialogs keep such a field as it was; kxctl
// reports the item as unknown).
//
// Writing: the commands come from the difference between the working copy and the snapshot,
// in table order, one per item whose value differs and has a keyword; AreaContext::sendAll
// sends them and stops at the first failed exchange. Keeping the two steps apart lets kxctl
// show what a change would send without sending it.
//
// Numbered entries ("7: 0312345678" lines of a list reply) are found with findEntry, which
// never takes entry 1 from the line of entry 11.

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "area/Items.h"
#include "link/TextFunctions.h"

namespace kx::area {

// Told of each item whose label a reply lacked, with the member of the record that was left
// as it was (the address of its int or string). Empty: nobody asks.
using MissingLabel = std::function<void(const void* member)>;

// Reads one item's value from `reply` into `record`; false (field unchanged) when the reply
// lacks the label or the item has none. A lacking label is told to `missing`.
template <class Record>
bool readItem(std::string_view reply, const Item<Record>& item, Record& record,
              const MissingLabel& missing = {}) {
    std::optional<std::string> value = item.valueIn(reply);
    if (!value) {
        if (missing && !item.label.empty())
            missing(item.isText() ? static_cast<const void*>(&(record.*item.text))
                                  : static_cast<const void*>(&(record.*item.number)));
        return false;
    }
    if (item.isText())
        record.*item.text = std::move(*value);
    else
        record.*item.number = item.numberFrom(*value);
    return true;
}

// Reads every labelled item of `items` from `reply`, telling `missing` of each lacking label.
template <class Record>
void readItems(std::string_view reply, std::span<const Item<Record>> items, Record& record,
               const MissingLabel& missing = {}) {
    for (const Item<Record>& item : items) readItem(reply, item, record, missing);
}

// Appends to `out`, in table order, the command of each item whose value in `working` differs
// from `snapshot` (texts byte for byte). An item whose working value has no keyword adds
// nothing, and over the network link a serial-only item adds nothing. `block` takes the place
// of "{}" in the commands. Rows joined by withNext make one command, sent when any of them
// differs, with all their values.
template <class Record>
void appendChangedCommands(std::span<const Item<Record>> items, const Record& working,
                           const Record& snapshot, std::string_view block,
                           std::vector<std::string>& out, bool overNetwork = false) {
    for (std::size_t first = 0; first < items.size();) {
        std::size_t last = first;
        while (items[last].nextJoin != 0 && last + 1 < items.size()) ++last;
        const Item<Record>& lead = items[first];
        bool differs = false;
        for (std::size_t i = first; i <= last; ++i) differs |= items[i].differs(working, snapshot);
        std::optional<std::string> argument = std::string();
        for (std::size_t i = first; argument && i <= last; ++i) {
            std::optional<std::string> part = items[i].argumentFor(working);
            if (!part)
                argument.reset();
            else
                *argument += *part + (i < last ? std::string(1, items[i].nextJoin) : "");
        }
        first = last + 1;
        if (differs && argument && !lead.command.empty() && !(overNetwork && lead.serialOnly))
            out.push_back(lead.commandLine(block, *argument));
    }
}

template <class Record>
std::vector<std::string> changedCommands(std::span<const Item<Record>> items, const Record& working,
                                         const Record& snapshot, std::string_view block = {},
                                         bool overNetwork = false) {
    std::vector<std::string> out;
    appendChangedCommands(items, working, snapshot, block, out, overNetwork);
    return out;
}

// Where numbered entry `n` of a list reply starts: the 0-based offset of the first "n: " that
// does not continue a longer number (the byte before it is no digit). nullopt when the reply
// has no such line.
std::optional<std::size_t> findEntry(std::string_view reply, int n);

// The lines of entry `n`: from its label up to the next line that starts another numbered entry
// (blanks, digits, ": ") or the reply's end, so an item the entry lacks is never taken from the
// next entry. Empty when the reply does not list the entry.
std::string_view entryLines(std::string_view reply, int n);

// The text of entry `n`: from the blank after its colon to the next carriage return, cut to
// `maxChars` bytes (the blank included), with white space trimmed at both ends. "" when the
// reply does not list the entry: an entry that is not listed is an empty one.
std::string readEntryText(std::string_view reply, int n, std::size_t maxChars = kLabelValueMax);

// The three answers of one side of the BACP/BAP rules when its mask differs, always all three
// and in this order: "<family> <side>_add auto|reject\r", then _request and _del, from bits 0,
// 1 and 2 (set: "auto").
void appendAnswerCommands(std::string_view family, std::string_view side, int working, int snapshot,
                          std::vector<std::string>& out);

// `text` without white space (blank, tab, CR, LF, VT, FF) at either end.
std::string_view trimmed(std::string_view text);

}  // namespace kx::area
