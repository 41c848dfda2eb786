#pragma once

// An area's items as data. Each row names one setting once: the name kxctl gives it, the label
// the adapter reports it under, the record member that holds it, its kind with its keyword
// table or range, and the setting command that changes it. The table-driven reader and writer
// (area/TableIO.h), the dialogs' checks (area/SettingsDlg.h) and kxctl all walk the same rows,
// so a keyword, a label or a range is written exactly once.
//
//   constexpr std::string_view kRingSounds[] = {"ring1", "ring2", "ring3"};
//   constexpr Item<TelPortSettings> kTelPortItems[] = {
//       phone("selfAddress", &TelPortSettings::selfAddress, "self address:",
//             "analog address {}"),
//       choice("ringSound", &TelPortSettings::ringSound, "ring sound:", kRingSounds,
//              "analog ring_sound {}"),
//       number("sendDialTime", &TelPortSettings::sendDialTime, "send dial time:", 3, 15,
//              "analog dial_time {}"),
//   };
//
// A command is "<command> <value>\r": "{}" in the command stands for the block the record is
// (the port word "tel1", an entry number), and the value is the keyword of a choice, a number
// in decimal, or a text as it is. The table's order is the area's writing order.
//
// Rules that do not fit a row (bit masks, a table of numbered entries) are small named
// functions beside the table, not branches in the generic code. The hooks here cover the
// mappings of a single value: `decode` turns the reported number into the stored one (the
// field widths: unsigned8, unsigned16), and `encode` picks the keyword index of a stored value
// (nonzeroIsOn: any value but 0 sends the second keyword).
//
// Values that the adapter joins are rows with a separator:
//   - withPart(1, '/'): the row is the part after the first "/" of its label's value
//     ("charge: 5000/2"); part 0 is the text before it;
//   - withSecondLabel("submask:", '/'): the value is that of the label, "/", and that of the
//     second label ("ip address:" 192.168.0.1 and "submask:" 24 give "192.168.0.1/24");
//   - withNext(','): the row and the next one are sent as one command, the row's, whose
//     argument is both values joined by the separator, when either differs ("dns address
//     a,b"); a run of such rows makes one command of three or more values;
//   - withEmptyAs("0.0.0.0"): an empty text is sent as that text.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "link/TextFunctions.h"

namespace kx::area {

enum class ItemKind {
    Choice,   // the index of a keyword; reported as the index, set by the keyword
    Number,   // a decimal number within lowest..highest
    Phone,    // a telephone number with an optional subaddress after "*" (CheckPhoneNumber)
    Text,     // free text of at most maxLength bytes
    Address,  // a dotted IPv4 address, with "/prefix" when `lowest` is 1 (CheckIpAddress)
};

using Keywords = std::span<const std::string_view>;

// The part of a row that does not depend on the record.
struct ItemRule {
    std::string_view name;   // the record field, as kxctl names it ("ringSound")
    std::string_view label;  // reply label with its colon and leading blanks; "" = not read
    ItemKind kind = ItemKind::Number;
    Keywords keywords = {};  // Choice: keyword per index; "" marks an index without one
    int lowest = 0;          // Number: range of a valid value; Address: the prefix mode
    int highest = 0;
    std::size_t maxLength = 0;               // Text: longest valid text in bytes
    std::size_t readLimit = kLabelValueMax;  // longest value the reader keeps of a reply
    // Number: display units per stored unit; a holding time kept in 5-second units is shown and
    // given in seconds with scale 5
    int scale = 1;
    std::string_view command;               // "analog ring_sound {}"; "" = never written
    int (*decode)(int reported) = nullptr;  // the reply's number -> stored value
    int (*encode)(int stored) = nullptr;    // stored value -> keyword index
    // Never written over the network link: the writers leave the row out there, and the
    // dialogs show its control disabled, so no change to it can be dropped unseen.
    bool serialOnly = false;
    int part = -1;                 // withPart: 0 before the separator, 1 after it; -1 whole
    char partSeparator = 0;        //
    std::string_view secondLabel;  // withSecondLabel
    char labelJoin = 0;            //
    char nextJoin = 0;             // withNext: the next row belongs to this row's command
    std::string_view emptyAs;      // withEmptyAs: the argument given for an empty text
    // withCaption: the item as its dialog names it ("内線呼出音"), with the group where the
    // caption alone is ambiguous ("チャネル追加 評価方向"); a restore's preview shows it
    std::string_view caption;

    // The stored value of a reported text (decimal conversion, then decode).
    int numberFrom(std::string_view reported) const;
    // The row's value of a reply, cut to readLimit (its part, or joined with its second
    // label's); nullopt when the reply lacks a label.
    std::optional<std::string> valueIn(std::string_view reply) const;
    // The command's argument for a number, or nullopt when the value has no keyword.
    std::optional<std::string> argumentOf(int value) const;
    // The command's argument for a text.
    std::string argumentOf(std::string_view value) const {
        return value.empty() && !emptyAs.empty() ? std::string(emptyAs) : std::string(value);
    }
    // The whole command line "<command> <argument>\r" with `block` in place of "{}".
    std::string commandLine(std::string_view block, std::string_view argument) const;

    // The checks of a value as the user gives it: 0 valid, 1 invalid (the dialogs' and
    // kxctl's common rule; the caller decides the order and the message). A text item checks
    // the text; a number item checks the text as a decimal number within its range in display
    // units (lowest * scale .. highest * scale); a choice item checks the text as an index that
    // has a keyword.
    int checkText(std::string_view text) const;
    // 0 when `value` is valid for a number or choice item, 1 otherwise.
    int checkValue(int value) const;
};

template <class Record>
struct Item : ItemRule {
    int Record::*number = nullptr;        // Choice and Number
    std::string Record::*text = nullptr;  // Phone and Text

    bool isText() const { return text != nullptr; }
    bool differs(const Record& a, const Record& b) const {
        return isText() ? a.*text != b.*text : a.*number != b.*number;
    }
    // The row's argument for `record`'s value, or nullopt when the value has no keyword.
    std::optional<std::string> argumentFor(const Record& record) const {
        if (isText())
            return ItemRule::argumentOf(std::string_view(record.*text));
        return ItemRule::argumentOf(record.*number);
    }
    // The command that sets the item to `record`'s value, or nullopt when the value has no
    // keyword or the item is never written.
    std::optional<std::string> commandFor(const Record& record, std::string_view block) const {
        if (command.empty())
            return std::nullopt;
        std::optional<std::string> argument = argumentFor(record);
        if (!argument)
            return std::nullopt;
        return commandLine(block, *argument);
    }

    constexpr Item withDecode(int (*f)(int)) const {
        Item copy = *this;
        copy.decode = f;
        return copy;
    }
    constexpr Item withEncode(int (*f)(int)) const {
        Item copy = *this;
        copy.encode = f;
        return copy;
    }
    constexpr Item withScale(int displayUnitsPerStep) const {
        Item copy = *this;
        copy.scale = displayUnitsPerStep;
        return copy;
    }
    constexpr Item withReadLimit(std::size_t bytes) const {
        Item copy = *this;
        copy.readLimit = bytes;
        return copy;
    }
    constexpr Item withSerialOnly() const {
        Item copy = *this;
        copy.serialOnly = true;
        return copy;
    }
    constexpr Item withPart(int index, char separator) const {
        Item copy = *this;
        copy.part = index;
        copy.partSeparator = separator;
        return copy;
    }
    constexpr Item withSecondLabel(std::string_view label2, char separator) const {
        Item copy = *this;
        copy.secondLabel = label2;
        copy.labelJoin = separator;
        return copy;
    }
    constexpr Item withNext(char separator) const {
        Item copy = *this;
        copy.nextJoin = separator;
        return copy;
    }
    constexpr Item withEmptyAs(std::string_view argument) const {
        Item copy = *this;
        copy.emptyAs = argument;
        return copy;
    }
    constexpr Item withCaption(std::string_view dialogCaption) const {
        Item copy = *this;
        copy.caption = dialogCaption;
        return copy;
    }
};

// Field widths of the adapter's numbers, as decode hooks.
constexpr int unsigned8(int reported) {
    return reported & 0xff;
}
constexpr int unsigned16(int reported) {
    return reported & 0xffff;
}
// The encode hook of a two-keyword switch that the adapter reports as 0 or any other number.
constexpr int nonzeroIsOn(int stored) {
    return stored != 0 ? 1 : 0;
}

template <class Record>
constexpr Item<Record> row(std::string_view name, std::string_view label, ItemKind kind,
                           std::string_view command) {
    Item<Record> item;
    item.name = name;
    item.label = label;
    item.kind = kind;
    item.command = command;
    return item;
}

template <class Record>
constexpr Item<Record> choice(std::string_view name, int Record::*member, std::string_view label,
                              Keywords keywords, std::string_view command) {
    Item<Record> item = row<Record>(name, label, ItemKind::Choice, command);
    item.keywords = keywords;
    item.number = member;
    return item;
}

template <class Record>
constexpr Item<Record> number(std::string_view name, int Record::*member, std::string_view label,
                              int lowest, int highest, std::string_view command) {
    Item<Record> item = row<Record>(name, label, ItemKind::Number, command);
    item.lowest = lowest;
    item.highest = highest;
    item.number = member;
    return item;
}

template <class Record>
constexpr Item<Record> phone(std::string_view name, std::string Record::*member,
                             std::string_view label, std::string_view command) {
    Item<Record> item = row<Record>(name, label, ItemKind::Phone, command);
    item.text = member;
    return item;
}

template <class Record>
constexpr Item<Record> address(std::string_view name, std::string Record::*member,
                               std::string_view label, int prefixMode, std::string_view command) {
    Item<Record> item = row<Record>(name, label, ItemKind::Address, command);
    item.lowest = prefixMode;
    item.text = member;
    return item;
}

template <class Record>
constexpr Item<Record> text(std::string_view name, std::string Record::*member,
                            std::string_view label, std::size_t maxLength,
                            std::string_view command) {
    Item<Record> item = row<Record>(name, label, ItemKind::Text, command);
    item.maxLength = maxLength;
    item.text = member;
    return item;
}

// The row of `items` for a member; nullptr when the table has none.
template <class Record, class Member>
const Item<Record>* findItem(std::span<const Item<Record>> items, Member Record::*member) {
    for (const Item<Record>& item : items) {
        if constexpr (std::is_same_v<Member, int>) {
            if (item.number == member)
                return &item;
        } else {
            if (item.text == member)
                return &item;
        }
    }
    return nullptr;
}

}  // namespace kx::area
