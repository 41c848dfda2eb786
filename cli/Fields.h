#pragma once

// The settings kxctl names: one field per item of every module's table, in the registry's order,
// named after the record ("analog.tel1.ringSound", "arrive.entry12.number", "shortnum.7").
// A field reads and sets its record member through the row's own rule, so its keywords, range,
// scale and check are the ones the dialogs use; nothing here knows a keyword.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "area/Items.h"
#include "area/Module.h"

namespace kx::cli {

// One copy of every module's record (a snapshot or a working copy), in the registry's order
// (app/program/AllAreas.h); kxctl's own, never the process-wide copies the dialogs edit.
struct Records {
    Records();  // every record zero and empty
    std::vector<area::AreaRecord> areas;

    bool operator==(const Records&) const = default;
};

// Whether `name` is a module's name ("analog", ..., "router"). The router area exists only on
// the router variant: it is read when named, or when the settings file says "ROUTER=1".
bool isAreaName(std::string_view name);

struct Field {
    std::string name;        // "analog.tel1.ringSound"
    std::string label;       // as the dialogs name it, "ＴＥＬ１ 内線呼出音"; may be empty
    std::string area;        // "analog"
    std::size_t module = 0;  // its module's place in the registry (and in Records::areas)
    const area::ItemRule* rule = nullptr;
    std::function<int*(Records&)> number;        // Choice and Number rows
    std::function<std::string*(Records&)> text;  // Phone, Text and Address rows
    // A text's own check in place of the row's (a table entry's item): 0 valid, 1 not
    int (*check)(std::string_view) = nullptr;
    // The adapter reports the item, but no command sets it (the router's name, its hardware
    // address): shown and kept in a backup as a comment, never written.
    bool readOnly = false;

    bool isText() const { return static_cast<bool>(text); }
};

// A password: `show` prints kMasked for it, a backup document holds it.
bool isSecret(const Field& field);
inline constexpr std::string_view kMasked = "********";

// Every field, in the areas' order.
const std::vector<Field>& allFields();
// The field named `name`, or nullptr.
const Field* findField(std::string_view name);

// The field's value in `records` as a document shows it: a choice's keyword (its index when the
// value has none), a number in display units, a text in UTF-8.
std::string valueText(const Field& field, const Records& records);

// The type and allowed values, as `kxctl names` lists them: "choice: ring1 ring2 ring3",
// "number 5..1275 (multiple of 5)", "phone number", "text (at most 20 bytes)".
std::string describe(const Field& field);

// A value as the user gives it, checked with the row's own check and turned into what the
// record keeps (a stored number, or CP932 bytes). On a bad value `why` says why.
struct FieldValue {
    int number = 0;
    std::string text;
};
std::optional<FieldValue> parseValue(const Field& field, std::string_view given, area::Reason& why);

// The field as a Japanese message names it: its label and its kxctl name,
// "ＴＥＬ１ 内線呼出音（analog.tel1.ringSound）", or the name alone when it has no label.
std::string japaneseName(const Field& field);

// Stores a parsed value into `records`. A choice whose stored value already stands for the same
// keyword is left as it is, so only a real change is ever sent.
void storeValue(const Field& field, const FieldValue& value, Records& records);

// What the items' own checks cannot see, once a document is laid over what was read: an
// address emptied that has no "none" form (the router's own address, the DHCP start, the
// leased line's network), then each module's rules that span items (the router's: CHAP on a
// line use other than 64k, DNS servers given by hand with none given, a connection-time limit
// beyond its period, a DHCP range with no start address, a NAT or host entry in use without
// both of its items valid, an item given to an entry that stays out of use). Nullopt when
// `working` can be written, else why not, naming the item or entry.
std::optional<area::Reason> recordsError(const Records& working, const Records& snapshot);

}  // namespace kx::cli
