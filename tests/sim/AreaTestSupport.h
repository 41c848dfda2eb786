#pragma once

// Drives one emulator area the way the command line does and reads its replies the way the
// program does: the first occurrence of a label anywhere in the buffer (echo included, letters
// compared without case), the value one byte after the label up to the next carriage return.

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "sim/Area.h"

namespace kx::sim::test {

// Splits at every blank, so doubled and trailing blanks give empty words.
inline Words splitWords(std::string_view line) {
    Words words;
    std::size_t start = 0;
    while (true) {
        const std::size_t blank = line.find(' ', start);
        words.emplace_back(line.substr(start, blank - start));
        if (blank == std::string_view::npos) {
            break;
        }
        start = blank + 1;
    }
    return words;
}

struct Exchange {
    bool taken = false;
    std::string reply;   // the area's reply lines
    std::string buffer;  // what the program receives: echo, reply, prompt
};

inline Exchange send(Area& area, std::string_view line) {
    Exchange result;
    result.taken = area.handle(splitWords(line), line, result.reply);
    result.buffer = std::string(line) + "\r\n" + result.reply + "\r\n# ";
    return result;
}

inline std::size_t findNoCase(std::string_view text, std::string_view pattern, std::size_t from = 0) {
    const auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    const auto it = std::search(text.begin() + std::min(from, text.size()), text.end(),
                                pattern.begin(), pattern.end(),
                                [&](char a, char b) { return fold(a) == fold(b); });
    return it == text.end() ? std::string_view::npos : std::size_t(it - text.begin());
}

// The program's reading of one label; nullopt when the label does not occur.
inline std::optional<std::string> readLabel(std::string_view buffer, std::string_view label,
                                            std::size_t from = 0) {
    const std::size_t at = findNoCase(buffer, label, from);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t start = std::min(at + label.size() + 1, buffer.size());
    const std::size_t end = buffer.find('\r', start);
    return std::string(buffer.substr(start, std::min(end, buffer.size()) - start).substr(0, 54));
}

// Shows with `show` and reads `label` from the buffer.
inline std::optional<std::string> shown(Area& area, std::string_view show, std::string_view label) {
    return readLabel(send(area, show).buffer, label);
}

}  // namespace kx::sim::test

namespace kx::sim::test {

// The program's reading of entry k of a numbered list ("k: value" lines): the first "k: " of
// the buffer; the value from the blank after the colon to the next carriage return, cut to 54
// bytes and trimmed; `anchor` is where the searches for the entry's own labels start.
struct Entry {
    bool found = false;
    std::string value;
    std::size_t anchor = 0;
};

inline Entry readEntry(std::string_view buffer, int k) {
    const std::string label = std::to_string(k) + ": ";
    const std::size_t at = findNoCase(buffer, label);
    if (at == std::string_view::npos) {
        return {};
    }
    Entry entry{true, {}, at + label.size() - 2};  // the colon
    const std::size_t start = entry.anchor + 1;
    const std::size_t end = std::min(buffer.find('\r', start), buffer.size());
    std::string value(buffer.substr(start, end - start).substr(0, 54));
    const auto first = value.find_first_not_of(" \t");
    const auto last = value.find_last_not_of(" \t");
    entry.value = first == std::string::npos ? "" : value.substr(first, last - first + 1);
    return entry;
}

}  // namespace kx::sim::test
