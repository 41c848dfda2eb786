#include "sim/AreaText.h"

#include <algorithm>

namespace kx::sim {
namespace {

char fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return fold(x) == fold(y); });
}

int keywordIndex(std::span<const std::string_view> table, std::string_view word) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (!table[i].empty() && equalsNoCase(table[i], word)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::optional<int> parseNumber(std::string_view text, int lowest, int highest) {
    // nine digits cannot overflow an int, and no setting of the adapter needs more
    if (text.empty() || text.size() > 9) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    if (value < lowest || value > highest) {
        return std::nullopt;
    }
    return value;
}

bool isPhoneNumber(std::string_view text) {
    constexpr std::string_view kAllowed = "0123456789()-#*";
    if (text.size() > 53 || text.find_first_not_of(kAllowed) != std::string_view::npos) {
        return false;
    }
    const std::size_t star = text.find('*');
    const std::size_t numberLength = (star == std::string_view::npos) ? text.size() : star;
    const std::size_t subaddressLength = text.size() - numberLength;  // the "*" included
    return numberLength <= 32 && subaddressLength <= 20;
}

void appendLine(std::string& reply, std::string_view label, std::string_view value) {
    reply.append(label);
    reply.push_back(' ');
    reply.append(value);
    reply.append("\r\n");
}

void appendLine(std::string& reply, std::string_view label, long value) {
    appendLine(reply, label, std::to_string(value));
}

std::string errorLine(std::string_view text) {
    std::string line = "% ";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        line.push_back((byte < 0x20 || byte == 0x7F || c == '#' || c == '>') ? '?' : c);
    }
    // the terminators made of letters; the others need a CR, LF, '#' or '>', gone above
    constexpr std::string_view kWordTerminators[] = {"write ok", "erase ok", "password:"};
    for (std::string_view terminator : kWordTerminators) {
        for (std::size_t at = 0; at + terminator.size() <= line.size(); ++at) {
            if (equalsNoCase(std::string_view(line).substr(at, terminator.size()), terminator)) {
                line[at + terminator.size() - 1] = '?';
            }
        }
    }
    line.append("\r\n");
    return line;
}

Words nonEmptyWords(const Words& words) {
    Words result;
    for (const std::string& word : words) {
        if (!word.empty()) {
            result.push_back(word);
        }
    }
    return result;
}

}  // namespace kx::sim
