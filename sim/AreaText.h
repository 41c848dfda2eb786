#pragma once

// Text helpers shared by the emulator's settings areas (analog, digital, arrive, shortnum; the
// router area may use them as well): keyword look-up, strict number and telephone-number
// checks of command arguments, and the "label: value" reply lines.
//
// Command arguments come from whoever drives the emulator, so every check here is strict: a
// value that is not exactly right is refused rather than guessed at.

#include <optional>
#include <span>
#include <string>
#include <string_view>

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

// Appends "label value\r\n"; the label carries its colon, the blank between is added here.
void appendLine(std::string& reply, std::string_view label, std::string_view value);
void appendLine(std::string& reply, std::string_view label, long value);

// The words of a command line without empty ones, so that a trailing blank (an empty number
// at the end of "shortnum add 3 ") and doubled blanks split the same way everywhere.
Words nonEmptyWords(const Words& words);

}  // namespace kx::sim
