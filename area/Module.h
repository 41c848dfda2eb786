#pragma once

// A settings area as one value: everything the main window, kxctl, the fuzz harness, the
// benchmarks and the tests need to know of it, so none of them names an area's functions.
// Every area's folder defines its module (analog/AnalogModule.cpp, ...), and the registry
// (app/program/AllAreas.h) lists the modules in their order; adding an area is writing its
// folder and one line there.
//
// A module has
// - its name ("analog": kxctl's area name and the first word of its fields' names);
// - its main-window entry points (the button and its log texts, the dialog, and for a direct
//   area the write after OK), all working on the module's own copies; the router has two: the
//   HomePNA menu and the easy setup of dial-up profile 1;
// - its record, as an AreaRecord, and the reader, the sections and their command builders and
//   writer on a record the caller owns: a backup, a restore or a comparison reads and writes
//   through these, never through the process-wide copies;
// - its own copies (the ones the dialogs edit), to look at and to reset;
// - its kxctl fields, one per item, and the checks that span items;
// - whether the router variant alone has it.
//
// Backing up, comparing and restoring every area of a variant (as kxctl does):
//
//   for (const area::AreaModule* module : allModules()) {
//       if (module->routerOnly && !router) continue;
//       area::AreaRecord snapshot = module->blank();
//       if (module->read(context, snapshot) != 1) ...;     // every "show" of the area
//       area::AreaRecord working = snapshot;               // ... edited through the fields
//       for (int section : module->sections) {
//           module->commands(working, snapshot, section, overNetwork);  // what would be sent
//           if (module->write(context, working, snapshot, section) != 1) ...;
//       }
//   }

#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "app/services/AreaContext.h"
#include "area/Copies.h"
#include "area/Items.h"

namespace kx::area {

// One copy of a module's record (what the adapter holds, or what is to be written), of the
// module's own record type: copied and compared as a value, reached with as<Record>(). A
// record of another type is a programming error and ends the program.
class AreaRecord {
public:
    AreaRecord() = default;
    template <class Record>
    static AreaRecord of(Record value = Record{}) {
        AreaRecord record;
        record.value_ = std::make_unique<Model<Record>>(std::move(value));
        return record;
    }
    AreaRecord(const AreaRecord& other) : value_(other.value_ ? other.value_->clone() : nullptr) {}
    AreaRecord& operator=(const AreaRecord& other) {
        if (this != &other)
            value_ = other.value_ ? other.value_->clone() : nullptr;
        return *this;
    }
    AreaRecord(AreaRecord&&) noexcept = default;
    AreaRecord& operator=(AreaRecord&&) noexcept = default;

    bool operator==(const AreaRecord& other) const {
        if (!value_ || !other.value_)
            return !value_ && !other.value_;
        return value_->equals(*other.value_);
    }

    template <class Record>
    Record& as() {
        return model<Record>().value;
    }
    template <class Record>
    const Record& as() const {
        return model<Record>().value;
    }

private:
    struct Value {
        virtual ~Value() = default;
        virtual std::unique_ptr<Value> clone() const = 0;
        virtual bool equals(const Value& other) const = 0;
    };
    template <class Record>
    struct Model final : Value {
        explicit Model(Record v) : value(std::move(v)) {}
        std::unique_ptr<Value> clone() const override { return std::make_unique<Model>(value); }
        bool equals(const Value& other) const override {
            const auto* same = dynamic_cast<const Model*>(&other);
            return same && same->value == value;
        }
        Record value;
    };
    template <class Record>
    Model<Record>& model() const {
        auto* found = dynamic_cast<Model<Record>*>(value_.get());
        if (!found)
            std::abort();
        return *found;
    }

    std::unique_ptr<Value> value_;
};

// The log texts of a main-window entry point, each line ending in "\r\n" (empty where it has
// none).
struct AreaLogTexts {
    const char* name;   // for the "not available" line, e.g. "Analog"
    const char* title;  // the status line's name of the area, e.g. "アナログ設定"
    const char* readOk;
    const char* view;
    const char* readError;
    const char* writeOk;
    const char* writeError;
};

// A main-window command of a module. Menu entries write inside their menu, after each confirmed
// dialog; direct ones are written by the main window after their dialog ends with OK.
struct AreaEntry {
    int command = 0;  // the button's id (IDC_MAIN_ANALOG), or the menu command (IDC_MAIN_PNA_EASY)
    AreaLogTexts texts{};
    bool direct = false;
    // Sends the entry's "show" commands and fills the module's own copies; 1 on success.
    int (*read)(const AreaContext& context) = nullptr;
    // Runs the entry's dialog modally; its result (1 for OK).
    int (*run)(AreaContext& context) = nullptr;
    // Direct entries: writes what the dialog edited; 1 on success.
    int (*write)(const AreaContext& context) = nullptr;
};

// One item of a module as kxctl names it, reached in the module's record.
struct ItemField {
    std::string name;  // "analog.tel1.ringSound"
    // As the dialogs name it: its block's caption and its row's ("ＴＥＬ１ 内線呼出音"); empty
    // for a row without a caption
    std::string label;
    const ItemRule* rule = nullptr;
    std::function<int*(AreaRecord&)> number;        // Choice and Number rows
    std::function<std::string*(AreaRecord&)> text;  // Phone, Text and Address rows
    // A text's own check in place of the row's (a table entry's item): 0 valid, 1 not
    int (*check)(std::string_view) = nullptr;
    // The adapter reports the item, but no command sets it (the router's name, its hardware
    // address): shown and kept in a backup as a comment, never written.
    bool readOnly = false;
};

// Why a document or a value cannot be written: in English for kxctl, in Japanese for the
// program's message boxes. Both name the item.
struct Reason {
    std::string english;
    std::string japanese;
};

struct AreaModule {
    std::string_view name;    // "analog"
    bool routerOnly = false;  // only the router variant has it
    // The first is the area's own button.
    std::vector<AreaEntry> entries;

    // A record of the module's type, every value zero and empty.
    AreaRecord (*blank)() = nullptr;
    // Reads the area into `snapshot`: every "show" command, stopping at the first failed
    // exchange (what was parsed stays). Items whose labels a reply lacked are told through
    // context.missingLabel with their address in `snapshot`. 1 on success.
    int (*read)(const AreaContext& context, AreaRecord& snapshot) = nullptr;
    // The writer's parts, in writing order.
    std::vector<int> sections;
    // The command lines that bring `section` of the adapter from `snapshot` to `working`, in
    // the section's order (over the network link without the items only the serial link sets).
    std::vector<std::string> (*commands)(const AreaRecord& working, const AreaRecord& snapshot,
                                         int section, bool overNetwork) = nullptr;
    // Sends commands(working, snapshot, section, over the context's link), stopping at the
    // first failure; 1 when every command was acknowledged.
    int (*write)(const AreaContext& context, const AreaRecord& working, const AreaRecord& snapshot,
                 int section) = nullptr;

    // The module's own copies, as they stand.
    AreaRecord (*snapshot)() = nullptr;
    AreaRecord (*working)() = nullptr;
    // The module's own copies take `snapshot` as what the adapter holds, as after a read of
    // the area's button (both copies; a write that did not complete is forgotten): after a
    // restore from a record the caller owns, the dialogs show what was written.
    void (*adopt)(const AreaRecord& snapshot) = nullptr;
    // The module's own copies (and its other process-wide state) back to zero and empty, as at
    // the start of a run.
    void (*reset)() = nullptr;

    // Every item as kxctl names it, in the module's order.
    std::vector<ItemField> (*fields)() = nullptr;
    // The dialogs' rules that span items, for a record laid over what was read: nullopt when
    // `working` can be written, else why not, naming the item.
    std::optional<Reason> (*check)(const AreaRecord& working, const AreaRecord& snapshot) = nullptr;
};

// Adds a field for every row of `items`, the rows' record being block(record of the module's
// type Record); the field is named prefix.row ("analog.tel1.ringSound"), or prefix alone for a
// table of one unnamed row (a short number). `keep` leaves rows out; a table `writtenWhole` by
// its writer (the BACP/BAP answers, a NAT entry) has no command per row, and is not read-only
// for that.
template <class Record, class Block>
void addItemFields(std::vector<ItemField>& out, const std::string& prefix,
                   std::span<const Item<Block>> items, std::function<Block&(Record&)> block,
                   std::string_view group, bool (*keep)(const Item<Block>&) = nullptr,
                   bool writtenWhole = false) {
    // rows joined to the one before them are written by that row's command
    bool joined = false;
    bool groupWritten = false;
    for (const Item<Block>& item : items) {
        if (!joined)
            groupWritten = !item.command.empty();
        joined = item.nextJoin != 0;
        if (keep && !keep(item))
            continue;
        ItemField field;
        field.readOnly = !groupWritten && !writtenWhole;
        field.name = item.name.empty() ? prefix : prefix + "." + std::string(item.name);
        field.rule = &item;
        if (!item.caption.empty() || !group.empty()) {
            field.label = std::string(group);
            if (!group.empty() && !item.caption.empty())
                field.label += ' ';
            field.label += item.caption;
        }
        if (item.isText()) {
            std::string Block::*member = item.text;
            field.text = [block, member](AreaRecord& r) {
                return &(block(r.as<Record>()).*member);
            };
        } else {
            int Block::*member = item.number;
            field.number = [block, member](AreaRecord& r) {
                return &(block(r.as<Record>()).*member);
            };
        }
        out.push_back(std::move(field));
    }
}

// The record itself, as the block of its own rows.
template <class Record>
Record& whole(Record& record) {
    return record;
}

// A module's blank record, and its own copies `copies` (an area::Copies<Record>).
template <class Record>
AreaRecord blankOf() {
    return AreaRecord::of<Record>();
}
template <auto& copies>
AreaRecord snapshotOf() {
    return AreaRecord::of(copies.snapshot);
}
template <auto& copies>
AreaRecord workingOf() {
    return AreaRecord::of(copies.working);
}
template <auto& copies>
void adoptInto(const AreaRecord& snapshot) {
    copies.snapshot = snapshot.as<std::remove_cvref_t<decltype(copies.snapshot)>>();
    copies.readDone();
}

}  // namespace kx::area
