// The reply-text functions and input checks, case by case. The network link's password prompt
// (IsPasswordPrompt) is NetworkLinkTest.BytesOnTheWire's on the wire and NetTelnetFuzzer's;
// FindText is TextFunctionsFuzzer's, against a plain search in every mode, and every session's
// in the one mode the program uses (each label, the probe's name and version). The kinds of
// CopyToken the program uses are the address, telephone-number and label rows below; its
// contract for every kind is TextFunctionsFuzzer's. CompareNoCase is the settings file's, for
// its section and key names in any case (ProfileTest.ReadsValuesLikeTheWindowsFunctions).

#include <gtest/gtest.h>

#include <climits>
#include <string>

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

// clang-format on

}  // namespace
}  // namespace kx
