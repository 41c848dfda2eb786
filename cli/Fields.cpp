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

std::string japaneseName(const Field& field) {
    return field.label.empty() ? field.name : field.label + "（" + field.name + "）";
}

namespace {

// The allowed values as the program's messages say them.
std::string describeJapanese(const Field& field) {
    const area::ItemRule& rule = *field.rule;
    switch (rule.kind) {
        case area::ItemKind::Choice: {
            std::string text;
            for (std::size_t i = 0; i < rule.keywords.size(); ++i)
                if (!rule.keywords[i].empty())
                    text += (text.empty() ? "" : " ") + std::string(rule.keywords[i]);
            return text + " のいずれか";
        }
        case area::ItemKind::Number: {
            std::string text = std::to_string(rule.lowest * rule.scale) + "～" +
                               std::to_string(rule.highest * rule.scale) + "の数";
            if (rule.scale != 1)
                text += "、" + std::to_string(rule.scale) + "の倍数";
            return text;
        }
        case area::ItemKind::Phone:
            return "数字の電話番号、サブアドレスは「*」の後";
        case area::ItemKind::Address:
            return rule.lowest == 1 ? "ＩＰアドレス a.b.c.d/プレフィックス長"
                                    : "ＩＰアドレス a.b.c.d";
        case area::ItemKind::Text:
            return "シフトJISで" + std::to_string(rule.maxLength) + "バイトまでの文字列";
    }
    return "";
}

}  // namespace

std::optional<FieldValue> parseValue(const Field& field, std::string_view given,
                                     area::Reason& why) {
    const area::ItemRule& rule = *field.rule;
    const auto invalid = [&] {
        why = {"invalid value for " + field.name + ": \"" + std::string(given) + "\" (expected " +
                   describe(field) + ")",
               japaneseName(field) + "の値「" + std::string(given) + "」は使えません（" +
                   describeJapanese(field) + "）"};
        return std::nullopt;
    };
    FieldValue value;
    if (field.isText()) {
        // a control byte could end the command line early or start a second one
        if (std::any_of(given.begin(), given.end(), isControl)) {
            why = {"a control character is not allowed in " + field.name,
                   japaneseName(field) + "の値に制御文字は使えません"};
            return std::nullopt;
        }
        SjisEncoding encoded = Utf8ToSjis(given);
        if (!encoded.ok()) {
            why = encoded.error == SjisError::InvalidUtf8
                      ? area::Reason{"the value of " + field.name + " is not valid UTF-8",
                                     japaneseName(field) + "の値がUTF-8ではありません"}
                      : area::Reason{
                            "the value of " + field.name + " has a character without a CP932 form",
                            japaneseName(field) + "の値にシフトJISで表せない文字があります"};
            return std::nullopt;
        }
        if ((field.check ? field.check(encoded.bytes) : rule.checkText(encoded.bytes)) != 0)
            return invalid();
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
    if (!keywordIndex || rule.checkText(given) != 0)
        return invalid();
    const int number = ReadDecimal(given);
    if (rule.kind == area::ItemKind::Number && number % rule.scale != 0)
        return invalid();
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

std::optional<area::Reason> recordsError(const Records& working, const Records& snapshot) {
    Records& w = const_cast<Records&>(working);  // the accessors only hand out addresses
    Records& s = const_cast<Records&>(snapshot);
    for (const Field& field : allFields()) {
        if (!field.isText() || field.check || field.rule->kind != area::ItemKind::Address ||
            !field.rule->emptyAs.empty())
            continue;
        if (field.text(w)->empty() && !field.text(s)->empty())
            return area::Reason{
                field.name + ": an address is needed here (0.0.0.0 for none)",
                japaneseName(field) + "にはＩＰアドレスが必要です（なしは0.0.0.0）"};
    }
    const std::span<const area::AreaModule* const> modules = allModules();
    for (std::size_t i = 0; i < modules.size(); ++i)
        if (modules[i]->check)
            if (std::optional<area::Reason> error =
                    modules[i]->check(working.areas[i], snapshot.areas[i]))
                return error;
    return std::nullopt;
}

}  // namespace kx::cli
