// The router reader against replies the emulator never gives: cut values, odd table lines,
// tables longer than the main reply buffer. What the reader makes of the emulator's own replies
// is checked by the round trip of every value, and what the dialogs send end to end in the
// router session tests.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/services/AppState.h"
#include "router/RouterSettings.h"

namespace kx::test {
namespace {

using Lines = std::vector<std::string>;

// An adapter that answers each "show" command with a canned reply; it records what it was sent.
struct CannedAdapter {
    std::map<std::string, std::string> replies;
    Lines sent;
    ReplyBuffer reply;
    AreaContext context{reply};

    CannedAdapter() {
        context.exchange = [this](std::string_view command, ReplyBuffer& into, int, int) {
            sent.emplace_back(command);
            into.assign(replies[std::string(command)] + "\r\n# ");
            return 1;
        };
    }
};

class RouterReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        routerSettings.reset();
        digitalSettings.reset();
    }
};

TEST_F(RouterReaderTest, ValuesTablesAndCuts) {
    const std::string user70(70, 'u');
    CannedAdapter adapter;
    adapter.replies["show router\r"] =
        "ip address: 192.168.5.1\r\nsubmask: 24\r\nconnect select: 5\r\nbeep: 257\r\n";
    adapter.replies["show nat\r"] =
        " 3: 192.168.5.3, 203.0.113.7\r\n11: 192.168.5.11, *\r\n12: 192.168.5.12\r\n";
    adapter.replies["show host\r"] = " 2:   10.0.0.2 ,  printer , extra\r\n";
    adapter.replies["show dialup num2\r"] = "user id: " + user70 + "\r\n";
    adapter.replies["show dialup num1\r"] = "connect select: 1\r\n";
    adapter.replies["show connect\r"] = "time: 100\r\n";  // no period

    ASSERT_EQ(RouterReader(adapter.context), 1);
    const RouterSettings& s = routerSettings.working;
    EXPECT_EQ(s.routerAddress, "192.168.5.1/24");
    EXPECT_EQ(s.connectSelect, 4);  // the leased line
    EXPECT_EQ(s.beep, 1);           // an 8-bit field
    EXPECT_EQ(s.nat[2], (NatEntry{1, "192.168.5.3", "203.0.113.7"}));
    EXPECT_EQ(s.nat[0].inUse, 0);  // entry 11's line is not entry 1's
    EXPECT_EQ(s.nat[10], (NatEntry{1, "192.168.5.11", "*"}));
    EXPECT_EQ(s.nat[11], (NatEntry{1, "192.168.5.12", ""}));
    EXPECT_EQ(s.hosts[1], (HostEntry{"10.0.0.2", "printer", 1}));
    EXPECT_EQ(s.dialup[1].userId, user70.substr(0, 64));
    EXPECT_EQ(std::tuple(s.timeLimit, s.timePeriod), std::tuple(100, 0));

    adapter.replies["show router\r"] = "connect select: 1\r\n";
    ASSERT_EQ(RouterReader(adapter.context), 1);
    EXPECT_EQ(routerSettings.working.connectSelect, 0);
}

// A full host table is longer than the main reply buffer: it is read whole, and a table cut
// even in its own buffer fails the read rather than reading its last entries as free.
TEST_F(RouterReaderTest, FullTablesAndCutTables) {
    std::string hosts;
    for (int n = 1; n <= kTableEntries; ++n)
        hosts += (n < 10 ? " " : "") + std::to_string(n) + ": 192.168.1." + std::to_string(n) +
                 ", " + std::string(64, 'h') + "\r\n";
    ASSERT_GT(hosts.size(), 2048u);
    CannedAdapter adapter;
    adapter.replies["show host\r"] = hosts;
    ASSERT_EQ(RouterReader(adapter.context), 1);
    EXPECT_EQ(routerSettings.working.hosts[31],
              (HostEntry{"192.168.1.32", std::string(64, 'h'), 1}));

    adapter.replies["show host\r"] = std::string(9000, 'x');
    adapter.sent.clear();
    EXPECT_EQ(RouterReader(adapter.context), 0);
    EXPECT_EQ(adapter.sent.back(), "show host\r");
}

}  // namespace
}  // namespace kx::test
