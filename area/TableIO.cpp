#include "area/TableIO.h"

#include <algorithm>
#include <climits>

#include "link/TextFunctions.h"

namespace kx::area {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// CheckIpAddress looks at four fields and, for a plain address, not past a "/": an address
// goes into a command as it is, so nothing may follow its fourth field, and a plain address
// has no prefix.
bool wholeAddress(std::string_view text, int prefixMode) {
    const std::size_t slash = text.find('/');
    if (prefixMode != 1 && slash != std::string_view::npos)
        return false;
    const std::string_view address = text.substr(0, slash);
    return address.empty() || std::count(address.begin(), address.end(), '.') == 3;
}

}  // namespace

int ItemRule::numberFrom(std::string_view reported) const {
    int value = ReadDecimal(reported);
    return decode ? decode(value) : value;
}

std::optional<std::string> ItemRule::valueIn(std::string_view reply) const {
    if (label.empty())
        return std::nullopt;
    std::optional<std::string> value = ReadLabelValue(reply, label, readLimit);
    if (!value)
        return std::nullopt;
    if (!secondLabel.empty()) {
        std::optional<std::string> second = ReadLabelValue(reply, secondLabel, readLimit);
        if (!second)
            return std::nullopt;
        return *value + labelJoin + *second;
    }
    if (part >= 0) {
        // part 1 runs from the separator to the next one; a value without one has no part 1
        const std::size_t at = value->find(partSeparator);
        if (part == 0)
            return value->substr(0, at);
        if (at == std::string::npos)
            return std::string();
        const std::size_t end = value->find(partSeparator, at + 1);
        return value->substr(at + 1, end == std::string::npos ? end : end - at - 1);
    }
    return value;
}

std::optional<std::string> ItemRule::argumentOf(int value) const {
    if (kind != ItemKind::Choice)
        return std::to_string(value);
    int index = encode ? encode(value) : value;
    if (index < 0 || static_cast<std::size_t>(index) >= keywords.size() ||
        keywords[static_cast<std::size_t>(index)].empty())
        return std::nullopt;
    return std::string(keywords[static_cast<std::size_t>(index)]);
}

std::string ItemRule::commandLine(std::string_view block, std::string_view argument) const {
    std::string line(command);
    if (std::size_t at = line.find("{}"); at != std::string::npos)
        line.replace(at, 2, block);
    line += ' ';
    line += argument;
    line += '\r';
    return line;
}

int ItemRule::checkText(std::string_view text) const {
    switch (kind) {
        case ItemKind::Phone:
            return CheckPhoneNumber(text);
        case ItemKind::Text:
            // a control byte could end the command line early or start a second one
            return text.size() > maxLength ||
                           std::any_of(text.begin(), text.end(),
                                       [](char c) {
                                           return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
                                       })
                       ? 1
                       : 0;
        case ItemKind::Address:
            return CheckIpAddress(text, lowest) != 0 || !wholeAddress(text, lowest) ? 1 : 0;
        case ItemKind::Number:
            return CheckNumber(text, lowest * scale, highest * scale);
        case ItemKind::Choice:
            return CheckNumber(text, 0, INT_MAX) != 0 ? 1 : checkValue(ReadDecimal(text));
    }
    return 1;
}

int ItemRule::checkValue(int value) const {
    switch (kind) {
        case ItemKind::Number:
            return value < lowest || value > highest ? 1 : 0;
        case ItemKind::Choice:
            return argumentOf(value) ? 0 : 1;
        default:
            return 1;
    }
}

std::optional<std::size_t> findEntry(std::string_view reply, int n) {
    const std::string label = std::to_string(n) + ": ";
    for (std::size_t from = 0; from < reply.size();) {
        const int position = FindText(reply.substr(from), label, 0);
        if (position == 0)
            return std::nullopt;
        const std::size_t at = from + static_cast<std::size_t>(position) - 1;
        if (at == 0 || !isDigit(reply[at - 1]))
            return at;
        from = at + 1;
    }
    return std::nullopt;
}

namespace {

// Whether `line` starts a numbered entry: blanks, digits, a colon and a blank.
bool startsEntry(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && line[i] == ' ') ++i;
    const std::size_t digits = i;
    while (i < line.size() && isDigit(line[i])) ++i;
    return i > digits && line.substr(i).starts_with(": ");
}

}  // namespace

std::string_view entryLines(std::string_view reply, int n) {
    std::optional<std::size_t> at = findEntry(reply, n);
    if (!at)
        return {};
    std::size_t end = reply.find('\n', *at);
    while (end != std::string_view::npos && !startsEntry(reply.substr(end + 1)))
        end = reply.find('\n', end + 1);
    return reply.substr(*at,
                        end == std::string_view::npos ? std::string_view::npos : end + 1 - *at);
}

std::string readEntryText(std::string_view reply, int n, std::size_t maxChars) {
    std::optional<std::size_t> at = findEntry(reply, n);
    if (!at)
        return {};
    // the value starts at the blank after the colon
    const std::size_t colon = *at + std::to_string(n).size();
    // the entry's own line only: a stray LF ends it as the CR does
    const std::string line = ReadLineAt(reply, colon + 1, maxChars);
    return std::string(trimmed(std::string_view(line).substr(0, line.find('\n'))));
}

void appendAnswerCommands(std::string_view family, std::string_view side, int working, int snapshot,
                          std::vector<std::string>& out) {
    if (working == snapshot)
        return;
    constexpr std::string_view kRequests[] = {"add", "request", "del"};
    for (int bit = 0; bit < 3; ++bit)
        out.push_back(std::string(family) + " " + std::string(side) + "_" +
                      std::string(kRequests[bit]) +
                      ((working >> bit) & 1 ? " auto\r" : " reject\r"));
}

std::string_view trimmed(std::string_view text) {
    return kx::trimmed(text, kWhiteSpace);
}

}  // namespace kx::area
