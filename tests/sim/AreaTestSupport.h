#pragma once

// Drives one emulator area the way the command line does and reads its replies the way the
// program does: the first occurrence of a label anywhere in the buffer (echo included, letters
// compared without case), the value one byte after the label up to the next carriage return.
// Plus the checks that every area's test runs over its own tables.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "sim/Area.h"
#include "sim/AreaText.h"
#include "sim/Device.h"

namespace kx::sim::test {

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

inline std::size_t findNoCase(std::string_view text, std::string_view pattern,
                              std::size_t from = 0) {
    const auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    const auto it =
        std::search(text.begin() + std::min(from, text.size()), text.end(), pattern.begin(),
                    pattern.end(), [&](char a, char b) { return fold(a) == fold(b); });
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
    const std::size_t end = std::min(buffer.find('\r', start), buffer.size());
    return std::string(buffer.substr(start, end - start).substr(0, 54));
}

// Shows with `show` and reads `label` from the buffer.
inline std::optional<std::string> shown(Area& area, std::string_view show, std::string_view label) {
    return readLabel(send(area, show).buffer, label);
}

// The program's reading of entry k of a "k: value" list: the first "k: " of the buffer; the
// value from the blank after the colon to the next carriage return, cut to 54 bytes and
// trimmed; `anchor` (the colon) is where the searches for the entry's own labels start.
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
    const std::size_t anchor = at + label.size() - 2;
    const std::size_t end = std::min(buffer.find('\r', anchor), buffer.size());
    const std::string value(buffer.substr(anchor + 1, end - anchor - 1).substr(0, 54));
    const auto first = value.find_first_not_of(" \t");
    const auto last = value.find_last_not_of(" \t");
    return {true, first == std::string::npos ? "" : value.substr(first, last - first + 1), anchor};
}

using AreaFactory = std::function<std::unique_ptr<Area>()>;

// A setting command, the show command that reports it, and the value its label must read.
struct RoundTrip {
    const char* command;
    const char* show;
    const char* label;
    const char* value;
};

// The first occurrence of a label, echo included, must start its own line: otherwise the
// program would read a label hidden inside a longer one.
inline void expectOwnLine(std::string_view buffer, std::string_view label) {
    const std::size_t at = findNoCase(buffer, label);
    ASSERT_NE(at, std::string_view::npos) << label;
    EXPECT_TRUE(at > 0 && buffer[at - 1] == '\n') << label;
}

// Each row alone on a factory-fresh area.
inline void expectEachRoundTrip(const AreaFactory& make, std::span<const RoundTrip> rows) {
    for (const RoundTrip& row : rows) {
        SCOPED_TRACE(row.command);
        auto area = make();
        const Exchange set = send(*area, row.command);
        EXPECT_TRUE(set.taken);
        EXPECT_EQ(set.reply, "");
        const std::string buffer = send(*area, row.show).buffer;
        EXPECT_EQ(readLabel(buffer, row.label), row.value);
        expectOwnLine(buffer, row.label);
    }
}

// Each row alone; then all rows on one area, where every label must still read its own row's
// value (so no label of a reply is found inside another line).
inline void expectRoundTrips(const AreaFactory& make, std::span<const RoundTrip> rows) {
    expectEachRoundTrip(make, rows);
    auto area = make();
    for (const RoundTrip& row : rows) {
        send(*area, row.command);
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto later = std::find_if(rows.begin() + i + 1, rows.end(), [&](const RoundTrip& r) {
            return std::string_view(r.show) == rows[i].show &&
                   std::string_view(r.label) == rows[i].label;
        });
        if (later == rows.end()) {
            EXPECT_EQ(readLabel(send(*area, rows[i].show).buffer, rows[i].label), rows[i].value)
                << "all rows set, reading " << rows[i].label << " of " << rows[i].show;
        }
    }
}

// Each command is the area's, answers the error line and changes nothing.
inline void expectRefused(const AreaFactory& make, std::span<const char* const> commands) {
    for (const char* command : commands) {
        SCOPED_TRACE(command);
        auto area = make();
        const auto before = area->save();
        const Exchange result = send(*area, command);
        EXPECT_TRUE(result.taken);
        EXPECT_EQ(result.reply, kInvalidParameterLine);
        EXPECT_EQ(area->save(), before);
    }
}

// Commands of other areas are left for them.
inline void expectNotTaken(const AreaFactory& make, std::span<const char* const> commands) {
    auto area = make();
    for (const char* command : commands) {
        std::string reply;
        EXPECT_FALSE(area->handle(splitWords(command), command, reply)) << command;
        EXPECT_EQ(reply, "");
    }
}

// save() after the commands restores into a fresh area; invalid values and unknown keys keep
// what is there; reset() gives the factory state again.
inline void expectSaveRestore(const AreaFactory& make, std::span<const char* const> commands,
                              const std::map<std::string, std::string>& invalid) {
    auto area = make();
    const auto factory = area->save();
    for (const char* command : commands) {
        ASSERT_EQ(send(*area, command).reply, "") << command;
    }
    const auto saved = area->save();
    EXPECT_NE(saved, factory);
    auto copy = make();
    copy->restore(saved);
    EXPECT_EQ(copy->save(), saved);
    copy->restore(invalid);
    EXPECT_EQ(copy->save(), saved);
    for (const auto& [key, value] : invalid) {
        EXPECT_TRUE(!saved.contains(key) || saved.at(key) != value) << key;  // really a change
    }
    area->reset();
    EXPECT_EQ(area->save(), factory);
}

}  // namespace kx::sim::test
