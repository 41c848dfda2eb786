#include "link/TextFunctions.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>

namespace kx {

namespace {

constexpr std::array<unsigned char, 256> makeFoldTable() {
    std::array<unsigned char, 256> table{};
    for (int i = 0; i < 256; ++i) {
        table[i] = static_cast<unsigned char>(i);
    }
    for (int c = 'A'; c <= 'Z'; ++c) {
        table[c] = static_cast<unsigned char>(c - 'A' + 'a');
    }
    return table;
}

constexpr std::array<unsigned char, 256> kFoldTable = makeFoldTable();

// Index = kind (or kind - 10). Kind 8's "delimiter" is the end of the text.
constexpr std::array<char, 9> kDelimiters = {' ', '.', ',', '/', '-', ':', '*', '\r', '\0'};
constexpr int kEndOfTextKind = 8;

constexpr std::string_view kPasswordPrompt = "Password: ";
constexpr std::string_view kIpCharacters = "0123456789./";
constexpr std::string_view kPhoneCharacters = "0123456789()-#*";
constexpr std::string_view kDigits = kPhoneCharacters.substr(0, 10);

constexpr std::size_t kPhoneMaxLength = 53;
constexpr std::size_t kPhoneNumberMaxLength = 32;
constexpr std::size_t kSubaddressMaxLength = 20;  // counting its "*"

bool onlyCharactersOf(std::string_view text, std::string_view allowed) {
    return text.find_first_not_of(allowed) == std::string_view::npos;
}

bool matchesAt(std::string_view text, std::size_t start, std::string_view pattern, bool fold) {
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        auto t = static_cast<unsigned char>(text[start + i]);
        auto p = static_cast<unsigned char>(pattern[i]);
        if (fold ? FoldByte(t) != FoldByte(p) : t != p) {
            return false;
        }
    }
    return true;
}

// One field of an address or a prefix: 1 or more digits with a value up to `highest`.
bool isDecimalField(std::string_view field, int highest) {
    if (field.empty() || !onlyCharactersOf(field, kDigits)) {
        return false;
    }
    return ReadDecimal(field) <= highest;
}

// The first position in [from, end) holding `byte`, or end.
std::size_t findByte(std::string_view text, std::size_t from, std::size_t end, unsigned char byte) {
    if (from >= end) {
        return end;
    }
    const void* hit = std::memchr(text.data() + from, byte, end - from);
    return hit == nullptr ? end
                          : static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
}

}  // namespace

unsigned char FoldByte(unsigned char byte) {
    return kFoldTable[byte];
}

int FindText(std::string_view text, std::string_view pattern, int mode) {
    const std::size_t n = text.size();
    const std::size_t m = pattern.size();
    if (n < m) {
        return 0;
    }
    const bool fold = mode == 0 || mode == 1 || mode == 2;
    // Only the positions holding the pattern's first byte (in either case when folding) are
    // compared further; memchr finds them, so a label costs little even in a long reply.
    const std::size_t end = (mode == 1 ? 0 : n - m) + 1;
    int found = 0;
    if (m == 0) {
        found = 1;
    } else {
        const auto first = static_cast<unsigned char>(pattern[0]);
        const unsigned char lower = fold ? FoldByte(first) : first;
        const unsigned char upper = fold && lower >= 'a' && lower <= 'z'
                                        ? static_cast<unsigned char>(lower - 'a' + 'A')
                                        : lower;
        std::size_t nextLower = findByte(text, 0, end, lower);
        std::size_t nextUpper = upper == lower ? end : findByte(text, 0, end, upper);
        for (std::size_t s = std::min(nextLower, nextUpper); s < end;
             s = std::min(nextLower, nextUpper)) {
            if (matchesAt(text, s, pattern, fold)) {
                // Beyond INT_MAX a position can't be told from "not found"; replies are small.
                found = s < static_cast<std::size_t>(INT_MAX) ? static_cast<int>(s + 1) : 0;
                break;
            }
            if (nextLower == s) {
                nextLower = findByte(text, s + 1, end, lower);
            }
            if (nextUpper == s) {
                nextUpper = findByte(text, s + 1, end, upper);
            }
        }
    }
    if (found == 0 || mode == 0) {
        return found;
    }
    if (mode == 1) {
        std::string word;
        CopyToken(text, word, 0);
        return CompareNoCase(word, pattern) == 0 ? found : 0;
    }
    return CompareNoCase(text, pattern) == 0 ? found : 0;
}

int CopyToken(std::string_view source, std::string& destination, int kind) {
    const bool fallback = kind >= 0 && kind <= kEndOfTextKind;
    const bool noFallback = kind >= kTokenNoFallback && kind <= kTokenNoFallback + kEndOfTextKind;
    if (!fallback && !noFallback) {
        return -1;
    }
    const int index = fallback ? kind : kind - kTokenNoFallback;
    std::size_t end = source.size();  // the end of the text is always "found" for kind 8 / 18
    if (index != kEndOfTextKind) {
        end = source.find(kDelimiters[index]);
        if (end == std::string_view::npos) {
            if (noFallback) {
                return -1;
            }
            end = source.size();
        }
    }
    destination.assign(source.substr(0, end));
    return end < static_cast<std::size_t>(INT_MAX) ? static_cast<int>(end) : INT_MAX;
}

int CompareNoCase(std::string_view a, std::string_view b) {
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        const int fa = FoldByte(static_cast<unsigned char>(a[i]));
        const int fb = FoldByte(static_cast<unsigned char>(b[i]));
        if (fa != fb) {
            return fa - fb;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    if (a.size() > b.size()) {
        const int fa = FoldByte(static_cast<unsigned char>(a[common]));
        return fa != 0 ? fa : 1;
    }
    const int fb = FoldByte(static_cast<unsigned char>(b[common]));
    return fb != 0 ? -fb : -1;
}

int IsPasswordPrompt(std::string_view bytes) {
    return bytes.find(kPasswordPrompt) != std::string_view::npos ? 1 : 0;
}

int CheckIpAddress(std::string_view text, int prefixMode) {
    if (!onlyCharactersOf(text, kIpCharacters)) {
        return 1;
    }
    std::string address;
    std::string_view prefix;
    const int slash = CopyToken(text, address, 13);
    if (slash >= 0) {
        prefix = text.substr(static_cast<std::size_t>(slash) + 1);
    } else {
        address.assign(text);
    }
    if (prefixMode == 1) {
        // A prefix such as "8.5" or "8/9" is not a prefix length, even though it starts with one.
        if (!prefix.empty() && !isDecimalField(prefix, 32)) {
            return 1;
        }
        if (prefix.empty() && !address.empty()) {
            return 1;
        }
    }
    if (address.empty()) {
        return 0;
    }
    std::string_view rest = address;
    bool exhausted = false;  // the last field was taken without a "." after it
    for (int field = 0; field < 4; ++field) {
        if (exhausted) {
            return 1;
        }
        std::string value;
        const int length = CopyToken(rest, value, 1);
        if (static_cast<std::size_t>(length) < rest.size()) {
            rest.remove_prefix(static_cast<std::size_t>(length) + 1);
        } else {
            exhausted = true;
        }
        if (!isDecimalField(value, 255)) {
            return 1;
        }
    }
    return 0;
}

int CheckNumber(std::string_view text, int lowest, int highest) {
    if (!onlyCharactersOf(text, kDigits)) {
        return 1;
    }
    const int value = ReadDecimal(text);
    return value < lowest || value > highest ? 1 : 0;
}

int CheckPhoneNumber(std::string_view text) {
    if (!onlyCharactersOf(text, kPhoneCharacters) || text.size() > kPhoneMaxLength) {
        return 1;
    }
    std::string number;
    std::string_view subaddress;
    const int star = CopyToken(text, number, 16);
    if (star >= 0) {
        subaddress = text.substr(static_cast<std::size_t>(star));
    } else {
        number.assign(text);
    }
    if (number.size() > kPhoneNumberMaxLength || subaddress.size() > kSubaddressMaxLength) {
        return 1;
    }
    return 0;
}

std::string ReadLineAt(std::string_view reply, std::size_t offset, std::size_t maxChars) {
    if (offset >= reply.size()) {
        return {};
    }
    std::string value;
    CopyToken(reply.substr(offset), value, 7);
    if (value.size() > maxChars) {
        value.resize(maxChars);
    }
    return value;
}

std::optional<std::string> ReadLabelValue(std::string_view reply, std::string_view label,
                                          std::size_t maxChars) {
    const int position = FindText(reply, label, 0);
    if (position == 0) {
        return std::nullopt;
    }
    // 1-based position + label length is the 0-based offset just past the blank after the colon.
    return ReadLineAt(reply, static_cast<std::size_t>(position) + label.size(), maxChars);
}

int ReadDecimal(std::string_view text) {
    std::size_t i = 0;
    auto isSpace = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    };
    while (i < text.size() && isSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // The magnitude grows in 64 bits only until it leaves int's range, so no digit count overflows.
    constexpr std::int64_t kLimit = static_cast<std::int64_t>(INT_MAX) + 1;
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (magnitude < kLimit) {
            magnitude = magnitude * 10 + (text[i] - '0');
        }
    }
    if (negative) {
        return magnitude >= kLimit ? INT_MIN : static_cast<int>(-magnitude);
    }
    return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

std::string_view trimmed(std::string_view text, std::string_view blanks) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace kx
