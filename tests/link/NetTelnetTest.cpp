// The client telnet machine, pushed bytes by hand: the answers and the bounded reply. A reply
// holds the data bytes only, a doubled 255 as one: NetTelnetFuzzer's reference, and
// NetworkLinkTest.BytesOnTheWire's greetings with commands among the text. Each exchange's
// terminator (the login prompt, the password prompt, the administrator's prompt) and the replies
// that must not end one (a refused password, a prompt without its blank) are
// NetworkLinkTest.Login's and BytesOnTheWire's.
#include <gtest/gtest.h>

#include <string>

#include "link/NetLink.h"
#include "link/NetTelnet.h"

namespace kx {
namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s.push_back(static_cast<char>(v));
    return s;
}

// Pushes every byte; returns how many completed a telnet command.
int push(NetTelnet& t, std::string_view data) {
    int answered = 0;
    for (char c : data)
        answered += t.NetReceiveByte(static_cast<unsigned char>(c)) == NetByte::Answered;
    return answered;
}

// The answers to what the adapter offers, and to an unknown offer, are
// NetworkLinkTest.BytesOnTheWire's, on the wire; these are the rest of the table.
TEST(NetTelnetTest, AnswersEachCommandOfTheTable) {
    struct Row {
        int verb, option;
        std::string answer;
    } rows[] = {
        {252, 34, bytes({255, 254, 34})},
        {253, 1, bytes({255, 251, 1})},
        {253, 33, bytes({255, 252, 33})},
        {252, 1, ""},  // anything else: no answer
        {253, 3, ""},
        {254, 31, ""},
        {241, 0, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.verb) + " " + std::to_string(row.option));
        NetTelnet t;
        EXPECT_EQ(t.NetReceiveByte(255), NetByte::Taken);
        EXPECT_EQ(t.NetReceiveByte(static_cast<unsigned char>(row.verb)), NetByte::Taken);
        EXPECT_EQ(t.NetReceiveByte(static_cast<unsigned char>(row.option)), NetByte::Answered);
        EXPECT_EQ(t.answers(), row.answer);
        EXPECT_EQ(t.reply(), "");
    }
}

TEST(NetTelnetTest, ReplyIsBounded) {
    NetTelnet t;
    push(t, std::string(5000, 'x'));  // idle chatter beyond the capacity is dropped
    EXPECT_EQ(t.reply().size(), kNetReplyCapacity - 1);
    // an over-long reply still ends on its terminator, which lies past the kept bytes
    t.beginExchange("\r\n# ");
    push(t, std::string(3000, 'y') + "\r\n# ");
    EXPECT_TRUE(t.complete());
    EXPECT_EQ(t.reply(), std::string(kNetReplyCapacity - 1, 'y'));
    EXPECT_TRUE(t.truncated());
}

TEST(NetTelnetTest, ParsesOnlyWholeDottedAddresses) {
    std::uint32_t address = 0;
    for (const char* good : {"192.168.0.1", "010.0.0.1"}) EXPECT_TRUE(ParseIpv4(good, address));
    for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "1.2.3.256", "1.2.3.4 ", "1.2.3.4/24",
                            "1..2.3", "99999999999.1.1.1"})
        EXPECT_FALSE(ParseIpv4(bad, address)) << bad;
}

}  // namespace
}  // namespace kx
