#include "sim/RouterValues.h"

#include <charconv>

namespace kx::sim {
namespace {

constexpr std::size_t kMaxText = 64;

char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool isControl(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b < 0x20 || b == 0x7F;
}

bool hasNoControl(std::string_view text) {
    for (char c : text) {
        if (isControl(c)) return false;
    }
    return true;
}

// Four decimal fields 0..255 and nothing else; leading zeros are dropped.
std::optional<std::string> canonicalAddress(std::string_view text) {
    std::string out;
    for (int field = 0; field < 4; ++field) {
        const std::size_t dot = text.find('.');
        const std::string_view part = field < 3 ? text.substr(0, dot) : text;
        if (field < 3 && dot == std::string_view::npos) return std::nullopt;
        if (part.empty() || part.size() > 3) return std::nullopt;
        const auto value = parseDecimal(part, 0, 255);
        if (!value) return std::nullopt;
        if (field > 0) out += '.';
        out += std::to_string(*value);
        if (field < 3) text.remove_prefix(dot + 1);
    }
    return out;
}

bool isPhone(std::string_view text) {
    if (text.size() > 53) return false;
    if (text.find_first_not_of("0123456789()-#*") != std::string_view::npos) return false;
    const std::size_t star = text.find('*');
    if (star == std::string_view::npos) return text.size() <= 32;
    return star <= 32 && text.size() - star <= 20;
}

bool isHostName(std::string_view text) {
    if (text.size() > kMaxText) return false;
    for (char c : text) {
        if (isControl(c) || c == ' ' || c == ',' || c == ':') return false;
    }
    return true;
}

}  // namespace

bool sameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

std::optional<long> keywordIndex(std::string_view word, RouterKeywords table) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (sameWord(word, table[i])) return static_cast<long>(i);
    }
    return std::nullopt;
}

std::optional<long> parseDecimal(std::string_view text, long lo, long hi) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    if (text.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
    long value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    if (value < lo || value > hi) return std::nullopt;
    return value;
}

std::optional<std::pair<std::string_view, std::string_view>> splitAt(std::string_view text,
                                                                     char separator) {
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos) return std::nullopt;
    return std::pair{text.substr(0, at), text.substr(at + 1)};
}

std::optional<std::string> normalizeValue(ValueRule rule, std::string_view text) {
    switch (rule) {
    case ValueRule::Text:
        if (text.size() > kMaxText || !hasNoControl(text)) return std::nullopt;
        return std::string(text);
    case ValueRule::Address:
        if (text.empty()) return std::string("0.0.0.0");
        return canonicalAddress(text);
    case ValueRule::Prefixed: {
        const auto parts = splitAt(text, '/');
        if (!parts) return std::nullopt;
        const auto address = canonicalAddress(parts->first);
        const auto prefix = parseDecimal(parts->second, 0, 32);
        if (!address || !prefix) return std::nullopt;
        return *address + "/" + std::to_string(*prefix);
    }
    case ValueRule::Phone:
        if (!isPhone(text)) return std::nullopt;
        return std::string(text);
    case ValueRule::EntryAddress:
        if (text.empty()) return std::string();
        return canonicalAddress(text);
    case ValueRule::NatWan:
        if (text.empty() || text.front() != '*') return normalizeValue(ValueRule::EntryAddress, text);
        if (text.size() > 32 || !isHostName(text)) return std::nullopt;
        return std::string(text);
    case ValueRule::HostName:
        if (!isHostName(text)) return std::nullopt;
        return std::string(text);
    }
    return std::nullopt;
}

}  // namespace kx::sim
