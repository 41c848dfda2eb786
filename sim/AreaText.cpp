#include "sim/AreaText.h"

#include <algorithm>

namespace kx::sim {
namespace {

char fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr std::size_t kMaxText = 64;

bool isControl(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b < 0x20 || b == 0x7F;
}

// Four decimal fields 0..255 and nothing else; leading zeros are dropped.
std::optional<std::string> canonicalAddress(std::string_view text) {
    std::string out;
    for (int field = 0; field < 4; ++field) {
        const std::size_t dot = text.find('.');
        const std::string_view part = field < 3 ? text.substr(0, dot) : text;
        if (field < 3 && dot == std::string_view::npos) {
            return std::nullopt;
        }
        const auto value = part.size() > 3 ? std::nullopt : parseNumber(part, 0, 255);
        if (!value) {
            return std::nullopt;
        }
        if (field > 0) {
            out += '.';
        }
        out += std::to_string(*value);
        if (field < 3) {
            text.remove_prefix(dot + 1);
        }
    }
    return out;
}

bool isHostName(std::string_view text) {
    return text.size() <= kMaxText && std::none_of(text.begin(), text.end(), [](char c) {
               return isControl(c) || c == ' ' || c == ',' || c == ':';
           });
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

std::optional<std::pair<std::string_view, std::string_view>> splitAt(std::string_view text,
                                                                     char separator) {
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    return std::pair{text.substr(0, at), text.substr(at + 1)};
}

std::optional<std::string> normalText(TextRule rule, std::string_view text) {
    switch (rule) {
        case TextRule::Text:
            if (text.size() > kMaxText || std::any_of(text.begin(), text.end(), isControl)) {
                return std::nullopt;
            }
            return std::string(text);
        case TextRule::Address:
            if (text.empty()) {
                return std::string("0.0.0.0");
            }
            return canonicalAddress(text);
        case TextRule::Prefixed: {
            const auto parts = splitAt(text, '/');
            if (!parts) {
                return std::nullopt;
            }
            const auto address = canonicalAddress(parts->first);
            const auto prefix = parseNumber(parts->second, 0, 32);
            if (!address || !prefix) {
                return std::nullopt;
            }
            return *address + "/" + std::to_string(*prefix);
        }
        case TextRule::EntryAddress:
            if (text.empty()) {
                return std::string();
            }
            return canonicalAddress(text);
        case TextRule::NatWan:
            if (text.empty() || text.front() != '*') {
                return normalText(TextRule::EntryAddress, text);
            }
            if (text.size() > 32 || !isHostName(text)) {
                return std::nullopt;
            }
            return std::string(text);
        case TextRule::HostName:
            if (!isHostName(text)) {
                return std::nullopt;
            }
            return std::string(text);
    }
    return std::nullopt;
}

}  // namespace kx::sim
