#pragma once

// The settings kxctl names: one field per item of every area's table, in the areas' own order,
// named after the record ("analog.tel1.ringSound", "arrive.entry12.number", "shortnum.7").
// A field reads and sets its record member through the row's own rule, so its keywords, range,
// scale and check are the ones the dialogs use; nothing here knows a keyword.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analog/AnalogSettings.h"
#include "area/Items.h"
#include "arrive/ArriveSettings.h"
#include "digital/DigitalSettings.h"
#include "shortnum/ShortNumbers.h"

namespace kx::cli {

// One copy of every area's record (a snapshot or a working copy).
struct Records {
    AnalogSettings analog;
    DigitalSettings digital;
    ArriveSettings arrive;
    ShortNumberTable shortnum;

    bool operator==(const Records&) const = default;
};

// The areas kxctl covers, in the order it reads and writes them.
inline constexpr std::string_view kAreaNames[] = {"analog", "digital", "arrive", "shortnum"};
bool isAreaName(std::string_view name);

struct Field {
    std::string name;  // "analog.tel1.ringSound"
    std::string area;  // "analog"
    const area::ItemRule* rule = nullptr;
    std::function<int*(Records&)> number;        // Choice and Number rows
    std::function<std::string*(Records&)> text;  // Phone, Text and Address rows

    bool isText() const { return static_cast<bool>(text); }
};

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
// record keeps (a stored number, or CP932 bytes). On a bad value `error` says why.
struct FieldValue {
    int number = 0;
    std::string text;
};
std::optional<FieldValue> parseValue(const Field& field, std::string_view given,
                                     std::string& error);

// Stores a parsed value into `records`. A choice whose stored value already stands for the same
// keyword is left as it is, so only a real change is ever sent.
void storeValue(const Field& field, const FieldValue& value, Records& records);

}  // namespace kx::cli
