#pragma once

// Reading the adapter's reply text and checking what the user typed.
//
// Replies are 8-bit text (ASCII labels, CP932 values) made of "label: value\r\n" lines. Every
// function here is pure: no I/O, no state, safe from any thread. Texts are byte strings given as
// std::string_view; the end of a view plays the part of the terminating zero, so a NUL byte that
// the adapter sent inside a reply is an ordinary byte and never hides the text after it.
//
// Comparisons "without regard to case" fold only "A".."Z" to "a".."z"; every other byte, in
// particular the upper half (Shift-JIS lead and trail bytes), compares as it is.
//
// Results follow the program's conventions: positions are 1-based with 0 for "not found"; the
// Check* functions return 0 for valid and 1 for invalid input.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kx {

// The fold table: "A".."Z" -> "a".."z", every other byte unchanged.
unsigned char FoldByte(unsigned char byte);

// Finds pattern in text and returns the 1-based position of the first match, or 0.
//   mode 0: anywhere, without regard to case (an empty pattern matches at 1);
//   mode 1: the text's first blank-delimited word equals pattern without regard to case -> 1;
//   mode 2: the whole text equals pattern without regard to case -> 1;
//   other modes: as mode 2, but the search itself compares bytes exactly.
int FindText(std::string_view text, std::string_view pattern, int mode);

// Delimiter kinds of CopyToken: 0 blank, 1 ".", 2 ",", 3 "/", 4 "-", 5 ":", 6 "*",
// 7 carriage return, 8 the end of the text. Kinds 0..8 take the whole text when the delimiter
// is absent; kinds 10..18 use the delimiter of kind - 10 and report its absence instead.
inline constexpr int kTokenNoFallback = 10;

// Copies the part of source before the first delimiter of `kind` into destination and returns
// its length (which is the 0-based index of the delimiter). Returns -1 and leaves destination
// unchanged when a kind 10..18 delimiter is absent, or when kind is not one of 0..8, 10..18.
int CopyToken(std::string_view source, std::string& destination, int kind);

// 0 when a and b are equal without regard to case; otherwise the folded byte of a minus the
// folded byte of b (0..255 each) at the first difference. A text that ends first counts as a
// zero byte there; should the other hold a NUL byte at that point, the shorter text is lower.
int CompareNoCase(std::string_view a, std::string_view b);

// 1 when bytes contain the login prompt "Password: " (exactly, capital P, with the blank),
// else 0.
int IsPasswordPrompt(std::string_view bytes);

// Dotted IPv4 address, optionally with "/prefix". prefixMode 1: a non-empty address needs a
// prefix 0..32; any other mode ignores what follows the "/". Empty text is valid in both modes.
// Each of the four fields is 1 or more digits worth 0..255; text after the fourth is not
// examined. 0 valid, 1 invalid.
int CheckIpAddress(std::string_view text, int prefixMode);

// Digits only, read as decimal (empty reads as 0), within lowest..highest. 0 valid, 1 invalid.
int CheckNumber(std::string_view text, int lowest, int highest);

// Telephone number from "0123456789()-#*", at most 53 characters; the number before the first
// "*" at most 32, the subaddress part from the "*" on at most 20. 0 valid, 1 invalid.
int CheckPhoneNumber(std::string_view text);

// Longest value the readers keep of one labelled item (some router items keep 64).
inline constexpr std::size_t kLabelValueMax = 54;

// The text of reply from the 0-based offset up to (not including) the next carriage return,
// or to the end of the reply, cut to maxChars bytes. An offset at or past the end gives "".
std::string ReadLineAt(std::string_view reply, std::size_t offset,
                       std::size_t maxChars = kLabelValueMax);

// One labelled item of a reply: the first occurrence of label anywhere in the reply, without
// regard to case; the value starts one byte after the label (the blank after its colon,
// whatever byte it is) and runs to the next carriage return, cut to maxChars bytes.
// nullopt when the label does not occur, so the caller can leave its field as it was.
// Never reads outside the reply, whatever it holds.
std::optional<std::string> ReadLabelValue(std::string_view reply, std::string_view label,
                                          std::size_t maxChars = kLabelValueMax);

// The decimal number at the start of text, as the C library reads it: leading white space
// skipped, an optional sign, then digits; 0 when there are none. Values outside the range of
// int are clamped to INT_MIN / INT_MAX.
int ReadDecimal(std::string_view text);

// Blanks and tabs: what the settings file, the scripts and kxctl's documents allow around a
// name or a value.
inline constexpr std::string_view kBlanks = " \t";
// White space as the C library knows it: a reply's values may end in "\r".
inline constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

// `text` without the bytes of `blanks` at either end.
std::string_view trimmed(std::string_view text, std::string_view blanks = kBlanks);

}  // namespace kx
