#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace kx::sim {

// A keyword table: a choice item is stored as the index of its keyword.
using RouterKeywords = std::span<const std::string_view>;

inline constexpr std::array<std::string_view, 2> kDisableEnable{"disable", "enable"};
inline constexpr std::array<std::string_view, 2> kManualAuto{"manual", "auto"};
inline constexpr std::array<std::string_view, 2> kRejectAuto{"reject", "auto"};
inline constexpr std::array<std::string_view, 5> kConnectSelect{"num1", "num2", "num3", "num4",
                                                                "netwk"};
inline constexpr std::array<std::string_view, 2> kSwAction{"bod", "line"};
inline constexpr std::array<std::string_view, 5> kLineMode{"0", "1", "2", "3", "4"};
inline constexpr std::array<std::string_view, 4> kProtocol{"auto", "pap", "chap", "disable"};
inline constexpr std::array<std::string_view, 4> kLineUse{"64k", "mp1", "mp2", "mp3"};
inline constexpr std::array<std::string_view, 2> kBodChannel{"2", "1"};
inline constexpr std::array<std::string_view, 4> kBodResource{"disable", "depart", "arrive",
                                                              "both"};
inline constexpr std::array<std::string_view, 4> kBodDirection{"both", "send", "recv", "disable"};

// The index of a keyword (letters compared without regard to case), or nothing.
std::optional<long> choiceIndex(std::string_view word, RouterKeywords table);

// Decimal digits only (no sign, no blanks, at most 9 of them), within lo..hi.
std::optional<long> parseDecimal(std::string_view text, long lo, long hi);

// How the adapter checks a text value before it takes it. normalizeValue() returns the text as
// the adapter stores it (addresses in canonical dotted form) or nothing when it is not valid.
enum class ValueRule {
    Text,          // at most 64 bytes, no control characters
    Address,       // dotted address; empty stands for "0.0.0.0" (none)
    Prefixed,      // "a.b.c.d/p" with p 0..32, required
    Phone,         // "0123456789()-#*", at most 53, number part 32, "*" part 20; may be empty
    EntryAddress,  // dotted address of a table entry; empty only for an unused entry
    NatWan,        // dotted address or "*" text (no comma, no colon); empty only when unused
    HostName,      // at most 64 bytes without blanks, commas, colons or control characters
};
std::optional<std::string> normalizeValue(ValueRule rule, std::string_view text);

// Splits "first<sep>second" at the first separator; nothing when it is absent.
std::optional<std::pair<std::string_view, std::string_view>> splitAt(std::string_view text,
                                                                     char separator);

}  // namespace kx::sim
