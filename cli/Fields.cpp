#include "cli/Fields.h"

#include <algorithm>

#include "app/program/AllAreas.h"
#include "link/Sjis.h"
#include "link/TextFunctions.h"

namespace kx::cli {

namespace {

std::vector<Field> buildFields() {
    std::vector<Field> out;
    const std::span<const area::AreaModule* const> modules = allModules();
    for (std::size_t i = 0; i < modules.size(); ++i) {
        for (area::ItemField& item : modules[i]->fields()) {
            Field field;
            field.name = std::move(item.name);
            field.label = std::move(item.label);
            field.area = std::string(modules[i]->name);
            field.module = i;
            field.rule = item.rule;
            if (item.text)
                field.text = [i, text = std::move(item.text)](Records& r) {
                    return text(r.areas[i]);
                };
            else
                field.number = [i, number = std::move(item.number)](Records& r) {
                    return number(r.areas[i]);
                };
            field.check = item.check;
            field.readOnly = item.readOnly;
            out.push_back(std::move(field));
        }
    }
    return out;
}

bool isControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
}

}  // namespace

Records::Records() {
    for (const area::AreaModule* module : allModules()) areas.push_back(module->blank());
}

bool isSecret(const Field& field) {
    // a password's row ("password", "loginPassword", ...)
    return field.rule->name.ends_with("assword");
}

bool isAreaName(std::string_view name) {
    return findModule(name) != nullptr;
}

const std::vector<Field>& allFields() {
    static const std::vector<Field> fields = buildFields();
    return fields;
}

const Field* findField(std::string_view name) {
    for (const Field& field : allFields())
        if (field.name == name)
            return &field;
    return nullptr;
}

std::string valueText(const Field& field, const Records& records) {
    // the accessors only hand out a member's address; nothing is changed through it here
    Records& r = const_cast<Records&>(records);
    if (field.isText())
        return SjisToUtf8(*field.text(r));
    const int value = *field.number(r);
    const area::ItemRule& rule = *field.rule;
    if (rule.kind == area::ItemKind::Choice) {
        if (std::optional<std::string> keyword = rule.argumentOf(value))
            return *keyword;
        return std::to_string(value);
    }
    return std::to_string(value * rule.scale);
}

std::string describe(const Field& field) {
    const area::ItemRule& rule = *field.rule;
    switch (rule.kind) {
        case area::ItemKind::Choice: {
            std::string text = "choice:";
            for (std::size_t i = 0; i < rule.keywords.size(); ++i)
                if (!rule.keywords[i].empty())
                    text += " " + std::string(rule.keywords[i]);
            return text;
        }
        case area::ItemKind::Number: {
            std::string text = "number " + std::to_string(rule.lowest * rule.scale) + ".." +
                               std::to_string(rule.highest * rule.scale);
            if (rule.scale != 1)
                text += " (multiple of " + std::to_string(rule.scale) + ")";
            return text;
        }
        case area::ItemKind::Phone:
            return "phone number (digits, optional *subaddress)";
        case area::ItemKind::Address:
            return rule.lowest == 1 ? "address (a.b.c.d/prefix)" : "address (a.b.c.d)";
        case area::ItemKind::Text:
            return "text (at most " + std::to_string(rule.maxLength) + " bytes of CP932)";
    }
    return "";
}

std::optional<FieldValue> parseValue(const Field& field, std::string_view given,
                                     std::string& error) {
    const area::ItemRule& rule = *field.rule;
    FieldValue value;
    if (field.isText()) {
        // a control byte could end the command line early or start a second one
        if (std::any_of(given.begin(), given.end(), isControl)) {
            error = "a control character is not allowed in " + field.name;
            return std::nullopt;
        }
        SjisEncoding encoded = Utf8ToSjis(given);
        if (!encoded.ok()) {
            error = encoded.error == SjisError::InvalidUtf8
                        ? "the value of " + field.name + " is not valid UTF-8"
                        : "the value of " + field.name + " has a character without a CP932 form";
            return std::nullopt;
        }
        if ((field.check ? field.check(encoded.bytes) : rule.checkText(encoded.bytes)) != 0) {
            error = "invalid value for " + field.name + ": \"" + std::string(given) +
                    "\" (expected " + describe(field) + ")";
            return std::nullopt;
        }
        value.text = std::move(encoded.bytes);
        return value;
    }
    if (rule.kind == area::ItemKind::Choice) {
        for (std::size_t i = 0; i < rule.keywords.size(); ++i) {
            if (!rule.keywords[i].empty() && rule.keywords[i] == given) {
                value.number = static_cast<int>(i);
                return value;
            }
        }
    }
    // an encoded choice takes any stored value; given as a number, it is a keyword's index
    const bool keywordIndex =
        rule.kind != area::ItemKind::Choice || !rule.encode ||
        (CheckNumber(given, 0, static_cast<int>(rule.keywords.size()) - 1) == 0 &&
         !rule.keywords[static_cast<std::size_t>(ReadDecimal(given))].empty());
    if (!keywordIndex || rule.checkText(given) != 0) {
        error = "invalid value for " + field.name + ": \"" + std::string(given) + "\" (expected " +
                describe(field) + ")";
        return std::nullopt;
    }
    const int number = ReadDecimal(given);
    if (rule.kind == area::ItemKind::Number && number % rule.scale != 0) {
        error = "invalid value for " + field.name + ": \"" + std::string(given) + "\" (expected " +
                describe(field) + ")";
        return std::nullopt;
    }
    value.number = rule.kind == area::ItemKind::Number ? number / rule.scale : number;
    return value;
}

void storeValue(const Field& field, const FieldValue& value, Records& records) {
    if (field.isText()) {
        *field.text(records) = value.text;
        return;
    }
    int& stored = *field.number(records);
    const area::ItemRule& rule = *field.rule;
    // an encoded choice (any nonzero service value is "pseudo") keeps a value that already
    // stands for the keyword given
    if (rule.kind == area::ItemKind::Choice && rule.encode &&
        rule.argumentOf(stored) == rule.argumentOf(value.number))
        return;
    stored = value.number;
}

std::optional<std::string> recordsError(const Records& working, const Records& snapshot) {
    Records& w = const_cast<Records&>(working);  // the accessors only hand out addresses
    Records& s = const_cast<Records&>(snapshot);
    for (const Field& field : allFields()) {
        if (!field.isText() || field.check || field.rule->kind != area::ItemKind::Address ||
            !field.rule->emptyAs.empty())
            continue;
        if (field.text(w)->empty() && !field.text(s)->empty())
            return field.name + ": an address is needed here (0.0.0.0 for none)";
    }
    const std::span<const area::AreaModule* const> modules = allModules();
    for (std::size_t i = 0; i < modules.size(); ++i)
        if (modules[i]->check)
            if (std::optional<std::string> error =
                    modules[i]->check(working.areas[i], snapshot.areas[i]))
                return error;
    return std::nullopt;
}

}  // namespace kx::cli
