// The router reader against replies the emulator never gives (cut values, odd table lines, a
// failed exchange), and the writer's sections as command lists.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "router/RouterSettings.h"

namespace kx::test {
namespace {

using Lines = std::vector<std::string>;

// An adapter that answers each "show" command with a canned reply and fails the command
// `failing` (0: none); it records what it was sent.
struct CannedAdapter {
    std::map<std::string, std::string> replies;
    std::string failing;
    Lines sent;
    ReplyBuffer reply;
    AreaContext context{reply};

    CannedAdapter() {
        context.exchange = [this](std::string_view command, ReplyBuffer& into, int, int) {
            sent.emplace_back(command);
            if (command == failing)
                return 0;
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
    const std::string password60(60, 'p');
    CannedAdapter adapter;
    adapter.replies["show router\r"] =
        "ip address: 192.168.5.1\r\nsubmask: 24\r\nconnect select: 5\r\nbeep: 257\r\n";
    adapter.replies["show nat\r"] =
        " 3: 192.168.5.3, 203.0.113.7\r\n11: 192.168.5.11, *\r\n12: 192.168.5.12\r\n";
    adapter.replies["show host\r"] = " 2:   10.0.0.2 ,  printer , extra\r\n";
    adapter.replies["show dialup num2\r"] =
        "user id: " + user70 + "\r\npassword: " + password60 + "\r\n";
    adapter.replies["show dialup num1\r"] = "connect select: 1\r\n";
    adapter.replies["show connect\r"] = "charge: 5000/2\r\ntime: 100\r\nday: 23:59\r\n";
    adapter.replies["show network\r"] = "address: 10.0.0.1\r\n";  // no submask: kept
    adapter.replies["show bacpbap\r"] = "depart channel: 3\r\narrive channel: 4\r\n";
    routerSettings.snapshot.network.networkAddress = "0.0.0.0/0";

    ASSERT_EQ(RouterReader(adapter.context), 1);
    EXPECT_EQ(adapter.sent.size(), 16u);
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
    EXPECT_EQ(s.dialup[1].password, password60.substr(0, 54));
    EXPECT_EQ(std::tuple(s.chargeLimit, s.chargePeriod), std::tuple(5000, 2));
    EXPECT_EQ(std::tuple(s.timeLimit, s.timePeriod), std::tuple(100, 0));
    EXPECT_EQ(std::tuple(s.clearHour, s.clearMinute), std::tuple(23, 59));
    EXPECT_EQ(s.network.networkAddress, "0.0.0.0/0");
    EXPECT_EQ(std::tuple(s.bacpDepart, s.bacpArrive), std::tuple(3, 4));
    EXPECT_EQ(routerSettings.working, routerSettings.snapshot);

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

// Each exchange fails in turn: nothing after it is sent, the replies before it are in the
// snapshot, and the working copies are untouched.
TEST_F(RouterReaderTest, AFailedShowStopsTheRead) {
    const Lines order = {
        "show router\r",      "show nat\r",         "show dhcp\r",        "show dns\r",
        "show host\r",        "show syslog\r",      "show digital pna\r", "show ras\r",
        "show dialup num1\r", "show dialup num2\r", "show dialup num3\r", "show dialup num4\r",
        "show connect\r",     "show network\r",     "show bod\r",         "show bacpbap\r"};
    for (std::size_t failed = 0; failed < order.size(); ++failed) {
        SCOPED_TRACE(order[failed]);
        SetUp();
        CannedAdapter adapter;
        adapter.replies["show router\r"] = "ip address: 10.1.1.1\r\nsubmask: 8\r\n";
        adapter.replies["show digital pna\r"] = "self address: 0311\r\n";
        adapter.failing = order[failed];
        EXPECT_EQ(RouterReader(adapter.context), 0);
        EXPECT_EQ(adapter.sent, Lines(order.begin(), order.begin() + failed + 1));
        EXPECT_EQ(routerSettings.snapshot.routerAddress, failed > 0 ? "10.1.1.1/8" : "");
        EXPECT_EQ(digitalSettings.snapshot.pna.selfAddress, failed > 6 ? "0311" : "");
        EXPECT_EQ(routerSettings.working, RouterSettings{});
        EXPECT_EQ(digitalSettings.working, DigitalSettings{});
    }
}

struct CommandRow {
    const char* name;
    void (*change)(RouterSettings&);
    int section;
    Lines commands;
    bool overNetwork = false;
};

RouterSettings factory() {
    RouterSettings s;
    s.routerAddress = "192.168.1.1/24";
    s.masqueradeAddress = "0.0.0.0";
    s.dhcpStartAddress = "192.168.1.2";
    s.bacpDepart = 3;
    s.nat[0] = {1, "192.168.1.10", "203.0.113.1"};
    s.hosts[0] = {"192.168.1.20", "printer", 1};
    s.dialup[0].dnsPrimary = "192.0.2.1";
    s.dialup[0].dnsSecondary = "192.0.2.2";
    s.dialup[1].address = "0.0.0.0";
    return s;
}

TEST(RouterCommandsTest, SectionsInTheirOrder) {
    const CommandRow rows[] = {
        {"router items in the section's order, the address last",
         [](RouterSettings& s) {
             s.routerAddress = "10.0.0.1/8";
             s.redial = 1;
             s.beep = 1;
             s.connectSelect = 4;
             s.autoConnect = 9;
         },
         kRouterSection,
         {"router auto_connect auto\r", "router connect_sel netwk\r", "router beep enable\r",
          "router redial enable\r", "router address 10.0.0.1/8\r"}},
        {"over the network only the addresses go out",
         [](RouterSettings& s) {
             s.beep = 1;
             s.masqueradeAddress = "203.0.113.9";
         },
         kRouterSection,
         {"router masq_address 203.0.113.9\r"},
         true},
        {"a NAT entry deleted, one added, one with new addresses",
         [](RouterSettings& s) {
             s.nat[0].wanAddress = "*";
             s.nat[4] = {1, "192.168.1.5", "203.0.113.5"};
         },
         kNatSection,
         {"nat del 1\r", "nat add 1 192.168.1.10,*\r", "nat add 5 192.168.1.5,203.0.113.5\r"}},
        {"a host deleted",
         [](RouterSettings& s) { s.hosts[0].inUse = 0; },
         kHostSection,
         {"host del 1\r"}},
        {"DHCP range from either part",
         [](RouterSettings& s) {
             s.dhcpCount = 16;
             s.dhcpActive = 2;
         },
         kDhcpSection,
         {"dhcp range_address 192.168.1.2/16\r", "dhcp active enable\r"}},
        {"an empty DNS server goes out as 0.0.0.0",
         [](RouterSettings& s) { s.dnsSecondaryServer = "192.0.2.53"; },
         kDnsSection,
         {"dns address 0.0.0.0,192.0.2.53\r"}},
        {"syslog's tab before enable",
         [](RouterSettings& s) {
             s.syslogActive = 1;
             s.syslogFacility = 23;
         },
         kSyslogSection,
         {"syslog facility 23\r", "syslog active\tenable\r"}},
        {"both DNS addresses of profile 1 cleared",
         [](RouterSettings& s) {
             s.dialup[0].dnsPrimary.clear();
             s.dialup[0].dnsSecondary.clear();
         },
         kDialup1Section,
         {"dialup dns_address num1 0.0.0.0,0.0.0.0\r"}},
        {"one dial number sends all three",
         [](RouterSettings& s) {
             s.dialup[3].dialNumber1 = "0311";
             s.dialup[3].dialNumber3 = "0333";
             s.dialup[3].dialNumber2 = "0322";
             s.dialup[3].disconnectTime = 32400;
         },
         kDialup1Section + 3,
         {"dialup dial_number num4 0311,0322,0333\r", "dialup disc_time num4 32400\r"}},
        {"BACP/BAP depart from bits 0+1 to bit 0",
         [](RouterSettings& s) { s.bacpDepart = 1; },
         kBacpBapSection,
         {"bacpbap depart_add auto\r", "bacpbap depart_request reject\r",
          "bacpbap depart_del reject\r"}},
        {"connection limits in pairs",
         [](RouterSettings& s) {
             s.timePeriod = 1;
             s.clearMinute = 5;
             s.clearMonthDay = 31;
         },
         kConnectLimitSection,
         {"connect time 0/1\r", "connect clr_day 0:5\r", "connect clr_mon 31\r"}},
        {"RAS addresses",
         [](RouterSettings& s) { s.ras.partnerAddress = "10.0.0.2"; },
         kRasSection,
         {"ras address 0.0.0.0,10.0.0.2\r"}},
        {"BOD",
         [](RouterSettings& s) { s.bodAddMinimumTime = 7; },
         kBodSection,
         {"bod throughput_bod add_minimum_time 7\r"}},
        {"no section 16", [](RouterSettings& s) { s.beep = 1; }, 16, {}},
    };
    for (const CommandRow& row : rows) {
        SCOPED_TRACE(row.name);
        RouterSettings working = factory();
        row.change(working);
        EXPECT_EQ(routerCommands(working, factory(), row.section, row.overNetwork), row.commands);
        EXPECT_EQ(routerCommands(factory(), factory(), row.section), Lines{});
    }
}

TEST(RouterCommandsTest, CounterClearsComeFirst) {
    resetCounters = true;
    RouterSettings working = factory();
    working.chargeLimit = 5000;
    EXPECT_EQ(routerCommands(working, factory(), kConnectLimitSection),
              (Lines{"connect charge\r", "connect time\r", "connect number\r",
                     "connect charge 5000/0\r"}));
    resetCounters = false;
}

// The router address restarts the adapter: the run ends once it was taken, not otherwise.
TEST(RouterCommandsTest, AnAcknowledgedAddressEndsTheRun) {
    for (const bool acknowledged : {true, false}) {
        routerSettings.reset();
        routerSettings.working.routerAddress = "10.0.0.1/8";
        changeCount = 3;
        addressChanged = false;
        CannedAdapter adapter;
        if (!acknowledged)
            adapter.failing = "router address 10.0.0.1/8\r";
        EXPECT_EQ(RouterWriter(adapter.context, kRouterSection), acknowledged ? 1 : 0);
        EXPECT_EQ(changeCount, acknowledged ? 0 : 3);
        EXPECT_EQ(addressChanged, acknowledged);
    }
    addressChanged = false;
    changeCount = 0;
}

TEST(RouterCommandsTest, EasySetupSendsItsOwnItemsOnly) {
    DialupProfile before;
    before.dnsSelect = 1;
    before.dnsPrimary = "0.0.0.0";
    before.dnsSecondary = "0.0.0.0";
    before.dialNumber1 = "0311";
    DialupProfile after = before;
    after.dialNumber2 = "0322";
    after.protocol = 2;  // not on the form
    EXPECT_EQ(easySetupCommands(after, before), Lines{"dialup dial_number num1 0311,0322,\r"});
    after = before;
    after.dnsSelect = 0;
    after.dnsPrimary = "192.0.2.1";
    after.dnsSecondary.clear();
    EXPECT_EQ(
        easySetupCommands(after, before),
        (Lines{"dialup dns_select num1 manual\r", "dialup dns_address num1 192.0.2.1,0.0.0.0\r"}));
    before = after;
    after.dnsSelect = 1;
    after.dnsPrimary = "192.0.2.9";
    EXPECT_EQ(easySetupCommands(after, before), Lines{"dialup dns_select num1 auto\r"});
}

}  // namespace
}  // namespace kx::test
