#include "sim/RouterValues.h"

#include "sim/AreaText.h"

namespace kx::sim {
namespace {

constexpr std::size_t kMaxText = 64;

bool isControl(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b < 0x20 || b == 0x7F;
}

bool hasNoControl(std::string_view text) {
    for (char c : text) {
        if (isControl(c))
            return false;
    }
    return true;
}

// Four decimal fields 0..255 and nothing else; leading zeros are dropped.
std::optional<std::string> canonicalAddress(std::string_view text) {
    std::string out;
    for (int field = 0; field < 4; ++field) {
        const std::size_t dot = text.find('.');
        const std::string_view part = field < 3 ? text.substr(0, dot) : text;
        if (field < 3 && dot == std::string_view::npos)
            return std::nullopt;
        if (part.empty() || part.size() > 3)
            return std::nullopt;
        const auto value = parseDecimal(part, 0, 255);
        if (!value)
            return std::nullopt;
        if (field > 0)
            out += '.';
        out += std::to_string(*value);
        if (field < 3)
            text.remove_prefix(dot + 1);
    }
    return out;
}

bool isHostName(std::string_view text) {
    if (text.size() > kMaxText)
        return false;
    for (char c : text) {
        if (isControl(c) || c == ' ' || c == ',' || c == ':')
            return false;
    }
    return true;
}

}  // namespace

std::optional<long> choiceIndex(std::string_view word, RouterKeywords table) {
    const int index = keywordIndex(table, word);
    if (index < 0)
        return std::nullopt;
    return index;
}

std::optional<long> parseDecimal(std::string_view text, long lo, long hi) {
    const auto value = parseNumber(text, static_cast<int>(lo), static_cast<int>(hi));
    if (!value)
        return std::nullopt;
    return *value;
}

std::optional<std::pair<std::string_view, std::string_view>> splitAt(std::string_view text,
                                                                     char separator) {
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos)
        return std::nullopt;
    return std::pair{text.substr(0, at), text.substr(at + 1)};
}

std::optional<std::string> normalizeValue(ValueRule rule, std::string_view text) {
    switch (rule) {
        case ValueRule::Text:
            if (text.size() > kMaxText || !hasNoControl(text))
                return std::nullopt;
            return std::string(text);
        case ValueRule::Address:
            if (text.empty())
                return std::string("0.0.0.0");
            return canonicalAddress(text);
        case ValueRule::Prefixed: {
            const auto parts = splitAt(text, '/');
            if (!parts)
                return std::nullopt;
            const auto address = canonicalAddress(parts->first);
            const auto prefix = parseDecimal(parts->second, 0, 32);
            if (!address || !prefix)
                return std::nullopt;
            return *address + "/" + std::to_string(*prefix);
        }
        case ValueRule::Phone:
            if (!isPhoneNumber(text))
                return std::nullopt;
            return std::string(text);
        case ValueRule::EntryAddress:
            if (text.empty())
                return std::string();
            return canonicalAddress(text);
        case ValueRule::NatWan:
            if (text.empty() || text.front() != '*')
                return normalizeValue(ValueRule::EntryAddress, text);
            if (text.size() > 32 || !isHostName(text))
                return std::nullopt;
            return std::string(text);
        case ValueRule::HostName:
            if (!isHostName(text))
                return std::nullopt;
            return std::string(text);
    }
    return std::nullopt;
}

}  // namespace kx::sim
