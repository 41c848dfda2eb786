#pragma once

// Text helpers shared by the dialog layer and its backends: UTF-8 walking, CP932 lengths for
// text limits, and the checks that keep user text fit for a command line.

#include <cstddef>
#include <string>
#include <string_view>

namespace kx::ui {

// The code point at `pos` (advanced past it); malformed UTF-8 gives U+FFFD and one byte.
char32_t nextCodePoint(std::string_view utf8, std::size_t& pos);
void appendUtf8(std::string& out, char32_t c);

// Any C0 control character (CR, LF, TAB, NUL, ...) or DEL.
bool hasControlChar(std::string_view utf8);

// Bytes that `c` takes in CP932: 1 for ASCII and half-width katakana, else 2 (a character
// without a CP932 form counts 2 as well; it is refused when the text is read).
std::size_t cp932Width(char32_t c);
std::size_t cp932Length(std::string_view utf8);

// The longest start of `utf8` that fits `maxBytes` CP932 bytes (maxBytes <= 0: all of it).
std::string fitToLimit(std::string_view utf8, int maxBytes);

// The first `maxBytes` bytes of CP932 text, without cutting a double-byte character.
std::string cutCp932(std::string_view cp932, std::size_t maxBytes);

}  // namespace kx::ui
