#include <gtest/gtest.h>

#include <string>

#include "link/Sjis.h"

namespace kx {
namespace {

using namespace std::string_literals;

// clang-format off

// Half-width katakana (one byte each), and the wave dash and minus that CP932 maps to the
// full-width forms U+FF5E / U+FF0D rather than Shift_JIS's U+301C / U+2212.
TEST(Sjis, RoundTrips) {
    const std::pair<std::string, std::string> rows[] = {
        {"show analog tel1\r\n", "show analog tel1\r\n"}, {"\xB6\xDE\xDD\xB8\xDE", "ｶﾞﾝｸﾞ"},
        {"\xCC\xA7\xB2\xD9", "ﾌｧｲﾙ"}, {"\x81\x60", "～"}, {"\x81\x7C", "－"},
        {"\x90\xDD\x92\xE8", "設定"}, {"\x87\x40", "①"}, {"\xFA\x40", "ⅰ"},  // NEC, IBM rows
        {"a\0b"s, "a\0b"s}, {"", ""},
    };
    for (const auto& [cp932, utf8] : rows) {
        EXPECT_EQ(SjisToUtf8(cp932), utf8);
        const SjisEncoding back = Utf8ToSjis(utf8);
        EXPECT_TRUE(back.ok()) << utf8;
        EXPECT_EQ(back.bytes, cp932) << utf8;
    }
}

TEST(Sjis, InvalidBytesShowAsReplacement) {
    const std::string bad = "\xEF\xBF\xBD";  // U+FFFD
    const std::pair<std::string, std::string> rows[] = {
        {"a\x81", "a" + bad},                        // lead byte cut off at the end
        {"\x81\x20x", bad + " x"},                   // lead byte before a blank: blank kept
        {"\x85\x40z", bad + "z"},                    // an unassigned pair is one character
        {"\xA0\xFD\xFF", bad + bad + bad},
        {"\x82\xA0\x80\x82\xA0", "あ" + bad + "あ"},  // conversion goes on after the error
    };
    for (const auto& [cp932, utf8] : rows) {
        EXPECT_EQ(SjisToUtf8(cp932), utf8);
    }
}

TEST(Sjis, RefusesWhatCp932CannotHold) {
    struct Row { std::string utf8; SjisError error; std::size_t offset; };
    const Row rows[] = {
        {"ab\xF0\x9F\x98\x80", SjisError::NotEncodable, 2}, {"x€", SjisError::NotEncodable, 1},
        {"한", SjisError::NotEncodable, 0}, {"ok\xFF", SjisError::InvalidUtf8, 2},
        {"\xC0\xAF", SjisError::InvalidUtf8, 0},        // overlong "/"
        {"a\xED\xA0\x80", SjisError::InvalidUtf8, 1},  // surrogate
        {"あ\xE3\x81", SjisError::InvalidUtf8, 3},      // cut off
    };
    for (const Row& r : rows) {
        const SjisEncoding result = Utf8ToSjis(r.utf8);
        EXPECT_EQ(result.error, r.error) << r.utf8;
        EXPECT_EQ(result.errorOffset, r.offset) << r.utf8;
        EXPECT_TRUE(result.bytes.empty()) << r.utf8;
    }
}

// clang-format on

}  // namespace
}  // namespace kx
