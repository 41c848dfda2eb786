#include "ui/TextCodec.h"

namespace kx::ui {

char32_t nextCodePoint(std::string_view s, std::size_t& pos) {
    auto b0 = static_cast<unsigned char>(s[pos]);
    if (b0 < 0x80) {
        ++pos;
        return b0;
    }
    int extra = 0;
    char32_t c = 0;
    char32_t lowest = 0;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1, c = b0 & 0x1F, lowest = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2, c = b0 & 0x0F, lowest = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3, c = b0 & 0x07, lowest = 0x10000;
    } else {
        ++pos;
        return U'\uFFFD';
    }
    if (pos + extra >= s.size()) {
        ++pos;
        return U'\uFFFD';
    }
    for (int k = 1; k <= extra; ++k) {
        auto b = static_cast<unsigned char>(s[pos + k]);
        if ((b & 0xC0) != 0x80) {
            ++pos;
            return U'\uFFFD';
        }
        c = (c << 6) | (b & 0x3F);
    }
    if (c < lowest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++pos;
        return U'\uFFFD';
    }
    pos += extra + 1;
    return c;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool hasControlChar(std::string_view utf8) {
    for (char ch : utf8) {
        auto b = static_cast<unsigned char>(ch);
        if (b < 0x20 || b == 0x7F)
            return true;
    }
    return false;
}

std::size_t cp932Width(char32_t c) {
    if (c < 0x80)
        return 1;
    if (c >= 0xFF61 && c <= 0xFF9F)
        return 1;  // half-width katakana
    return 2;
}

std::size_t cp932Length(std::string_view utf8) {
    std::size_t total = 0;
    for (std::size_t pos = 0; pos < utf8.size();) total += cp932Width(nextCodePoint(utf8, pos));
    return total;
}

std::string fitToLimit(std::string_view utf8, int maxBytes) {
    if (maxBytes <= 0)
        return std::string(utf8);
    std::size_t used = 0;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        std::size_t start = pos;
        used += cp932Width(nextCodePoint(utf8, pos));
        if (used > static_cast<std::size_t>(maxBytes))
            return std::string(utf8.substr(0, start));
    }
    return std::string(utf8);
}

std::string cutCp932(std::string_view cp932, std::size_t maxBytes) {
    std::size_t pos = 0;
    while (pos < cp932.size()) {
        auto b = static_cast<unsigned char>(cp932[pos]);
        bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        std::size_t width = lead && pos + 1 < cp932.size() ? 2 : 1;
        if (pos + width > maxBytes)
            break;
        pos += width;
    }
    return std::string(cp932.substr(0, pos));
}

}  // namespace kx::ui
