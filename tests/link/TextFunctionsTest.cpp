// The reply-text functions, the CP932 conversion, the terminator search and the input checks,
// case by case. The network link's password prompt (IsPasswordPrompt) is
// NetworkLinkTest.BytesOnTheWire's on the wire and NetTelnetFuzzer's; FindText is
// TextFunctionsFuzzer's, against a plain search in every mode, and every session's in the one
// mode the program uses (each label, the probe's name and version). The kinds of CopyToken the
// program uses are the address, telephone-number and label rows below; its contract for every
// kind is TextFunctionsFuzzer's. CompareNoCase is the settings file's, for its section and key
// names in any case (ProfileTest.ReadsValuesLikeTheWindowsFunctions).

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "link/Sjis.h"
#include "link/TerminatorSearch.h"
#include "link/TextFunctions.h"

namespace kx {
namespace {

using namespace std::string_literals;

// The tables keep short cases several to a line.
// clang-format off

TEST(TextFunctions, CheckIpAddress) {
    struct Row { std::string text; int mode, expected; };
    const Row rows[] = {
        {"192.168.1.1", 0, 0}, {"192.168.1.256", 0, 1}, {"192.168..1", 0, 1}, {"192.168.1", 0, 1},
        {"192.168.1.", 0, 1}, {"1.2.3.4.5", 0, 0}, {"", 0, 0}, {"", 1, 0}, {"0.0.0.0", 0, 0},
        {"255.255.255.255", 0, 0}, {"000.010.001.255", 0, 0}, {".1.2.3", 0, 1},
        {"1.2.3.4 ", 0, 1}, {"1.2.3.a", 0, 1}, {"99999999999.1.1.1", 0, 1},
        {"10.0.0.0/8", 1, 0}, {"10.0.0.0/0", 1, 0}, {"10.0.0.0/32", 1, 0}, {"10.0.0.0/33", 1, 1},
        {"10.0.0.0", 1, 1}, {"10.0.0.0/", 1, 1}, {"10.0.0.256/8", 1, 1}, {"/8", 1, 0},
        {"10.0.0.0/33", 0, 0}, {"10.0.0.0/33", 2, 0}, {"10.0.0.0/x", 0, 1},
        {"10.0.0.0/8.5", 1, 1}, {"10.0.0.0/8/9", 1, 1},  // a prefix is digits only
    };
    for (const Row& r : rows) {
        EXPECT_EQ(CheckIpAddress(r.text, r.mode), r.expected) << "'" << r.text << "' " << r.mode;
    }
}

TEST(TextFunctions, CheckNumber) {
    struct Row { std::string text; int lowest, highest, expected; };
    const Row rows[] = {
        {"15", 3, 15, 0}, {"16", 3, 15, 1}, {"3", 3, 15, 0}, {"2", 3, 15, 1}, {"-1", 0, 9, 1},
        {"", 0, 9, 0}, {"", 1, 9, 1}, {"007", 0, 9, 0}, {"1 ", 0, 9, 1}, {"+1", 0, 9, 1},
        {"99999999999999999999", 0, 255, 1}, {"\xEF\xBC\x91", 0, 9, 1},  // full-width "1"
    };
    for (const Row& r : rows) {
        EXPECT_EQ(CheckNumber(r.text, r.lowest, r.highest), r.expected)
            << "'" << r.text << "' " << r.lowest << ".." << r.highest;
    }
}

TEST(TextFunctions, CheckPhoneNumber) {
    auto digits = [](int n, char c = '1') { return std::string(static_cast<std::size_t>(n), c); };
    const std::pair<std::string, int> rows[] = {
        {digits(32), 0}, {digits(33), 1}, {digits(10) + "*" + digits(4), 0},
        {digits(10) + "*" + digits(19), 0}, {digits(10) + "*" + digits(20), 1},
        {digits(32) + "*" + digits(19), 0}, {digits(33) + "*" + digits(19), 1},  // 52, 53 long
        {digits(32) + "*2*" + digits(17), 0},     // a second "*" is part of the subaddress
        {"*" + digits(19), 0}, {"03-1234-5678", 0}, {"(03)1234#*", 0}, {"03 1234", 1},
        {"03+1234", 1}, {"", 0},
    };
    for (const auto& [text, expected] : rows) {
        EXPECT_EQ(CheckPhoneNumber(text), expected) << "'" << text << "'";
    }
}

TEST(TextFunctions, ReadLabelValue) {
    const std::string reply = "show analog tel1\r\nself address: 0312345678*12\r\n"
                              "  address: 0999\r\nring sound: 2\r\n# ";
    const std::string x70(70, 'x');
    struct Row { std::string reply, label; std::size_t maxChars;
                 std::optional<std::string> expected; };
    const Row rows[] = {
        {reply, "self address:", 54, "0312345678*12"}, {reply, "  address:", 54, "0999"},
        {reply, "RING SOUND:", 54, "2"}, {reply, "disc signal:", 54, std::nullopt},
        {reply, "self address:", 5, "03123"},
        {"a: " + x70 + "\r\n", "a:", 54, x70.substr(0, 54)},
        {"a: " + x70, "a:", 64, x70.substr(0, 64)} /* no CR at all */, {"a: \r\n", "a:", 54, ""},
        {"a:", "a:", 54, ""},   // label at the very end: nothing past the reply is read
        {"a:x", "a:", 54, ""},  // the byte after the colon is skipped whatever it is
        {"a: 1\0 2\r"s, "a:", 54, "1\0 2"s},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(ReadLabelValue(r.reply, r.label, r.maxChars), r.expected) << r.label;
    }
    EXPECT_EQ(ReadLineAt("abc", 3), ""); EXPECT_EQ(ReadLineAt("abc", 100), "");  // past the end
    EXPECT_EQ(ReadLineAt(" 1: 03\r\n", 3), " 03");
}

TEST(TextFunctions, ReadDecimal) {
    const std::pair<std::string, int> rows[] = {
        {"12", 12}, {"  7 sec", 7}, {"-3", -3}, {"+4", 4}, {"", 0}, {"x1", 0}, {"- 1", 0},
        {"\t\r\n 5", 5}, {"2147483647", INT_MAX}, {"2147483648", INT_MAX},
        {"-2147483648", INT_MIN}, {"-99999999999999999999", INT_MIN},
        {"000000000000000000000000042", 42},
    };
    for (const auto& [text, expected] : rows) {
        EXPECT_EQ(ReadDecimal(text), expected) << "'" << text << "'";
    }
}

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

// A terminator's search is TerminatorSearchFuzzer's, against a plain case-insensitive search of
// the whole reply, pushed in pieces of any size, for every kind and any text; the sessions meet a
// false start in every reply of the emulated adapter ("\r\n\r\n# "), the fault matrix its letters
// in lower case.
// A kind's search: the adapter's kinds as their one text, kTerminatorOkOrPrompt as either of
// two; each reply pushed whole and byte by byte. `remaining` is checked after the whole reply.
TEST(KindSearch, Table) {
    // clang-format off
    const struct Row { int kind; std::string reply; bool found; std::size_t remaining; } rows[] = {
        {kTerminatorOkOrPrompt, "\r\n# ", true, 0},
        {kTerminatorOkOrPrompt, "\r\nok\r\n", true, 0},       // letters in any case
        {kTerminatorOkOrPrompt, "\r\nOK\r\n\r\n# ", true, 0},
        {kTerminatorOkOrPrompt, "\r\nO\r\n#", false, 1},     // the prompt one byte short
        {kTerminatorOkOrPrompt, "\r\nERROR\r\n", false, 2},  // the nearer of the two
        {kTerminatorOkOrPrompt, "", false, 4},
        {kTerminatorPrompt, "\r\nOK\r\n", false, 2},        // one text only
        {kTerminatorOk, "\r\n# ", false, 6},
        {kTerminatorWriteOk, "x Write ok", true, 0},
        {9, "\r\nOK\r\n\r\n# ", false, TerminatorSearch::kMaxLength},
        {-1, "\r\n# ", false, TerminatorSearch::kMaxLength},
    };
    // clang-format on
    for (const Row& row : rows) {
        KindSearch whole(row.kind), bytes(row.kind);
        EXPECT_EQ(whole.push(row.reply), row.found) << row.kind << " " << row.reply;
        for (char c : row.reply) {
            bytes.push(std::string_view(&c, 1));
        }
        EXPECT_EQ(bytes.found(), row.found) << row.kind << " " << row.reply;
        EXPECT_EQ(whole.remaining(), row.remaining) << row.kind << " " << row.reply;
        EXPECT_EQ(bytes.remaining(), row.remaining) << row.kind << " " << row.reply;
    }
    const Terminators both = TerminatorsOf(kTerminatorOkOrPrompt);
    EXPECT_EQ(both.first, TerminatorText(kTerminatorOk));
    EXPECT_EQ(both.second, TerminatorText(kTerminatorPrompt));
    EXPECT_TRUE(TerminatorsOf(9).empty());
    EXPECT_FALSE(KindSearch().push("\r\nOK\r\n\r\n# "));
}

}  // namespace
}  // namespace kx
