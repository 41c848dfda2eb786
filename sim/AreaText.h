#pragma once

// Text helpers shared by the emulator's settings areas: keyword look-up, strict number,
// telephone-number, address and text checks of command arguments, and the "label: value" reply
// lines.
//
// Command arguments come from whoever drives the emulator, so every check here is strict: a
// value that is not exactly right is refused rather than guessed at.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "sim/Area.h"

namespace kx::sim {

// The emulator's error lines, all in the adapter's "% " form. The program waits for a
// terminator ("\r\n# ", "OK", "Write OK", ">", "#", "Password:"), so an error line must never
// hold one: it would end the wait early or pass a failure off as success.
//   kUnknownCommandLine    no area knows the command's first word
//   kInvalidCommandLine    the family is known, its keyword is not ("router speed 9600")
//   kInvalidParameterLine  a known command with arguments the adapter refuses
inline constexpr std::string_view kUnknownCommandLine = "% Unknown command\r\n";
inline constexpr std::string_view kInvalidCommandLine = "% Invalid command\r\n";
inline constexpr std::string_view kInvalidParameterLine = "% Invalid parameter\r\n";

// "% <text>\r\n" for a text that may hold anything (a file name, an OS message): control
// bytes, '#' and '>' become '?', and a "write ok", "erase ok" or "password:" in it (letter case
// aside) loses its last character to '?', so no terminator can form.
std::string errorLine(std::string_view text);

// Case-insensitive equality of two words (ASCII letters only are folded).
bool equalsNoCase(std::string_view a, std::string_view b);

// Index of word in a keyword table (case-insensitive), or -1. An empty table entry marks an
// index that has no keyword and never matches.
int keywordIndex(std::span<const std::string_view> table, std::string_view word);

// The decimal value of text made only of digits (at most 9 of them), within lowest..highest;
// nullopt for anything else (empty text, a sign, blanks, letters).
std::optional<int> parseNumber(std::string_view text, int lowest, int highest);

// A telephone number with an optional subaddress as the adapter stores it: only
// "0123456789()-#*", at most 53 characters, at most 32 before the first "*" and at most 20 from
// the "*" on. The empty text (no number) is valid.
bool isPhoneNumber(std::string_view text);

// How the adapter checks a text value before it takes it.
enum class TextRule {
    Text,          // at most 64 bytes, no control characters
    Address,       // dotted address; empty stands for "0.0.0.0" (none)
    Prefixed,      // "a.b.c.d/p" with p 0..32, required
    EntryAddress,  // dotted address of a table entry; empty only for an unused entry
    NatWan,        // dotted address or "*" text (no comma, no colon); empty only when unused
    HostName,      // at most 64 bytes without blanks, commas, colons or control characters
};

// The text as the adapter stores it (addresses in canonical dotted form, leading zeros
// dropped), or nothing when it is not valid.
std::optional<std::string> normalText(TextRule rule, std::string_view text);

// Splits "first<sep>second" at the first separator; nothing when it is absent.
std::optional<std::pair<std::string_view, std::string_view>> splitAt(std::string_view text,
                                                                     char separator);

// Appends "label value\r\n"; the label carries its colon, the blank between is added here.
void appendLine(std::string& reply, std::string_view label, std::string_view value);
void appendLine(std::string& reply, std::string_view label, long value);

}  // namespace kx::sim
