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

bool inAreas(const Field& field, const std::vector<std::string>& areas) {
    return areas.empty() || std::find(areas.begin(), areas.end(), field.area) != areas.end();
}

std::optional<DocumentValue> parseAssignment(std::string_view text, DocumentError& error) {
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        error.message = "expected NAME = VALUE";
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
        return std::nullopt;
    }
    std::optional<FieldValue> value = parseValue(*result.field, given, error.message);
    if (!value)
        return std::nullopt;
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
            return std::nullopt;
        }
        value->line = number;
        values.push_back(std::move(*value));
    }
    error = {};
    return values;
}

std::string writeDocument(const Records& records, const std::vector<std::string>& areas,
                          const std::vector<std::string>& header) {
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
        text += line(field, records);
    }
    return text;
}

std::string showLines(const Records& records, const std::vector<std::string>& areas) {
    std::string text;
    for (const Field& field : allFields())
        if (inAreas(field, areas))
            text += line(field, records, true);
    return text;
}

}  // namespace kx::cli
