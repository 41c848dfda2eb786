#include "cli/Document.h"

#include <algorithm>
#include <set>

namespace kx::cli {

namespace {

std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool needsQuotes(std::string_view value) {
    return !value.empty() &&
           (value.front() == ' ' || value.back() == ' ' || value.front() == '\t' ||
            value.back() == '\t' || value.front() == '"');
}

std::string line(const Field& field, const Records& records, bool masked = false) {
    std::string value =
        masked && isSecret(field) ? std::string(kMasked) : valueText(field, records);
    if (needsQuotes(value))
        value = "\"" + value + "\"";
    return field.name + " = " + value + "\n";
}

}  // namespace

std::string messageText(std::string_view text) {
    std::string out;
    const auto escape = [&out](unsigned char byte) {
        constexpr char kHex[] = "0123456789ABCDEF";
        out += "\\x";
        out += kHex[byte >> 4];
        out += kHex[byte & 15];
    };
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            if (byte < 0x20 || byte == 0x7f)
                escape(byte);
            else
                out += static_cast<char>(byte);
            ++i;
            continue;
        }
        // the length of a well-formed sequence led by this byte, 0 for none
        std::size_t length = byte >= 0xC2 && byte <= 0xDF   ? 2
                             : byte >= 0xE0 && byte <= 0xEF ? 3
                             : byte >= 0xF0 && byte <= 0xF4 ? 4
                                                            : 0;
        if (length != 0 && i + length <= text.size()) {
            const auto second = static_cast<unsigned char>(text[i + 1]);
            // no overlong forms, no surrogates, nothing above U+10FFFF
            const bool secondOk = byte == 0xE0   ? second >= 0xA0 && second <= 0xBF
                                  : byte == 0xED ? second >= 0x80 && second <= 0x9F
                                  : byte == 0xF0 ? second >= 0x90 && second <= 0xBF
                                  : byte == 0xF4 ? second >= 0x80 && second <= 0x8F
                                                 : second >= 0x80 && second <= 0xBF;
            bool ok = secondOk;
            for (std::size_t k = 2; ok && k < length; ++k)
                ok = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
            // the C1 control characters (U+0080..U+009F) are escaped as well
            if (ok && !(byte == 0xC2 && second <= 0x9F)) {
                out += text.substr(i, length);
                i += length;
                continue;
            }
        }
        escape(byte);
        ++i;
    }
    return out;
}

bool inAreas(const Field& field, const std::vector<std::string>& areas) {
    return areas.empty() || std::find(areas.begin(), areas.end(), field.area) != areas.end();
}

std::optional<DocumentValue> parseAssignment(std::string_view text, DocumentError& error) {
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        error.message = "expected NAME = VALUE";
        error.japanese = "「名前 = 値」の行ではありません";
        return std::nullopt;
    }
    const std::string name(trimBlanks(text.substr(0, equals)));
    std::string_view given = trimBlanks(text.substr(equals + 1));
    if (given.size() >= 2 && given.front() == '"' && given.back() == '"')
        given = given.substr(1, given.size() - 2);
    DocumentValue result;
    result.field = findField(name);
    if (!result.field) {
        error.message = name.empty() ? "a name is missing before \"=\"" : "unknown name " + name;
        error.japanese =
            name.empty() ? "「=」の前に名前がありません" : name + " という設定項目はありません";
        return std::nullopt;
    }
    if (isSecret(*result.field) && given == kMasked) {
        result.masked = true;
        return result;
    }
    area::Reason why;
    std::optional<FieldValue> value = parseValue(*result.field, given, why);
    if (!value) {
        error.message = std::move(why.english);
        error.japanese = std::move(why.japanese);
        return std::nullopt;
    }
    result.value = std::move(*value);
    return result;
}

std::optional<std::vector<DocumentValue>> parseDocument(std::string_view text,
                                                        DocumentError& error) {
    std::vector<DocumentValue> values;
    std::set<const Field*> seen;
    std::size_t number = 0;
    while (!text.empty()) {
        ++number;
        const std::size_t end = text.find('\n');
        std::string_view current = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        // a document saved on another system may end its lines in CR LF; any other CR is
        // part of a value and refused by its check
        if (!current.empty() && current.back() == '\r')
            current.remove_suffix(1);
        const std::string_view content = trimBlanks(current);
        if (content.empty() || content.front() == '#')
            continue;
        error.line = number;
        std::optional<DocumentValue> value = parseAssignment(current, error);
        if (!value)
            return std::nullopt;
        if (!seen.insert(value->field).second) {
            error.message = value->field->name + " is given twice";
            error.japanese = japaneseName(*value->field) + "が二度あります";
            return std::nullopt;
        }
        value->line = number;
        values.push_back(std::move(*value));
    }
    error = {};
    return values;
}

std::optional<std::vector<DocumentValue>> readDocumentText(std::string_view text,
                                                           DocumentError& error) {
    // a byte-order mark some editors write at the start is no part of the first line
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        error = {0, "is empty: not a settings document", "設定ファイルではありません（空です）"};
        return std::nullopt;
    }
    std::optional<std::vector<DocumentValue>> values = parseDocument(text, error);
    if (values && values->empty()) {
        error = {0, "holds no settings (no name = value line)",
                 "設定がありません（「名前 = 値」の行がありません）"};
        return std::nullopt;
    }
    return values;
}

std::string missingLine(const Field& field) {
    return "# " + field.name + ": not reported by the adapter";
}

std::string writeDocument(const Records& records, const std::vector<std::string>& areas,
                          const std::vector<std::string>& header, const MissingFields& missing) {
    std::string text;
    for (const std::string& comment : header) text += "# " + comment + "\n";
    std::string area;
    for (const Field& field : allFields()) {
        if (!inAreas(field, areas))
            continue;
        if (field.area != area) {
            text += "\n# " + field.area + "\n";
            area = field.area;
        }
        if (missing.contains(&field)) {
            text += missingLine(field) + "\n";
        } else if (field.readOnly) {
            std::string shown = line(field, records);
            shown.pop_back();
            text += "# " + shown + "  (read-only)\n";
        } else {
            text += line(field, records);
        }
    }
    return text;
}

std::string showLines(const Records& records, const std::vector<std::string>& areas,
                      const MissingFields& missing) {
    std::string text;
    for (const Field& field : allFields()) {
        if (!inAreas(field, areas))
            continue;
        text += missing.contains(&field) ? missingLine(field) + "\n" : line(field, records, true);
    }
    return text;
}

}  // namespace kx::cli
