#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "sim/AreaText.h"
#include "sim/Areas.h"
#include "tests/sim/AreaTestSupport.h"

namespace kx::sim {
namespace {

using test::readLabel;
using test::send;
using test::shown;

// kxctl sets every router item but the address and reads it back with the router's reader;
// here the address (which restarts the adapter when the program sends it) and the forms only a
// user at the command line gives: an address without its value, leading zeros, capitals.
const test::RoundTrip kRoundTrips[] = {
    {"router masq_address", "show router", "masquerade address:", "0.0.0.0"},
    {"router address 10.1.2.3/8", "show router", "ip address:", "10.1.2.3"},
    {"router address 10.1.2.3/8", "show router", "submask:", "8"},
    {"dns address 010.000.0.01,0.0.0.0", "show dns", "primary address:", "10.0.0.1"},
    {"ROUTER Beep DISABLE", "show router", "beep:", "0"},
};

// Each BACP/BAP answer clears another bit of the factory mask 7, so these go one by one.
const test::RoundTrip kBacpBapRoundTrips[] = {
    {"bacpbap depart_request reject", "show bacpbap", "depart channel:", "5"},
    {"bacpbap depart_add reject", "show bacpbap", "depart channel:", "6"},
    {"bacpbap depart_del reject", "show bacpbap", "depart channel:", "3"},
    {"bacpbap arrive_add reject", "show bacpbap", "arrive channel:", "6"},
    {"bacpbap arrive_request reject", "show bacpbap", "arrive channel:", "5"},
    {"bacpbap arrive_del reject", "show bacpbap", "arrive channel:", "3"},
};

TEST(RouterAreaTest, AddressesAndTypedFormsAreReportedByTheirShow) {
    test::expectRoundTrips(makeRouterArea, kRoundTrips);
    test::expectEachRoundTrip(makeRouterArea, kBacpBapRoundTrips);
    const std::string buffer = send(*makeRouterArea(), "show router").buffer;
    for (const char* label : {"hardware address:", "default address:", "router name:",
                              "login password:", "admin password:"})
        test::expectOwnLine(buffer, label);  // the labels no command sets
}

// The program's reading of a numbered table: "%d: " found first anywhere, the number checked
// against the blank before it, the two items split at the first comma.
std::map<int, std::pair<std::string, std::string>> readTable(const std::string& buffer) {
    std::map<int, std::pair<std::string, std::string>> entries;
    const auto trim = [](std::string text) {
        const auto first = text.find_first_not_of(' ');
        if (first == std::string::npos)
            return std::string();
        return text.substr(first, text.find_last_not_of(' ') - first + 1);
    };
    for (int n = 1; n <= 32; ++n) {
        const std::size_t at = buffer.find(std::to_string(n) + ": ");
        if (at == std::string::npos || at < 2)
            continue;
        std::size_t numberAt = at;
        if (buffer[at - 1] != ' ') {
            if (buffer[at - 2] != ' ')
                continue;
            numberAt = at - 1;
        }
        if (std::stoi(buffer.substr(numberAt)) != n)
            continue;
        const std::string line = buffer.substr(at + 3, buffer.find('\r', at) - at - 3);
        const std::size_t comma = line.find(',');
        if (comma == std::string::npos)
            continue;
        const std::string second = line.substr(comma + 2);
        entries[n] = {trim(line.substr(0, comma)), trim(second.substr(0, second.find(',')))};
    }
    return entries;
}

using Entries = std::map<int, std::pair<std::string, std::string>>;

TEST(RouterAreaTest, NatAndHostEntriesAreAddedReplacedAndDeleted) {
    auto area = makeRouterArea();
    for (const char* command :
         {"nat add 11 192.168.1.11,203.0.113.11", "nat add 1 192.168.1.1,*",
          "nat add 3 192.168.1.3,203.0.113.3", "nat add 32 10.0.0.32,*wan",
          "host add 12 192.168.1.12,printer.home", "host add 2 192.168.1.2,nas"})
        EXPECT_EQ(send(*area, command).reply, "") << command;
    EXPECT_EQ(readTable(send(*area, "show nat").buffer),
              (Entries{{1, {"192.168.1.1", "*"}},
                       {3, {"192.168.1.3", "203.0.113.3"}},
                       {11, {"192.168.1.11", "203.0.113.11"}},
                       {32, {"10.0.0.32", "*wan"}}}));
    EXPECT_EQ(readTable(send(*area, "show host").buffer),
              (Entries{{2, {"192.168.1.2", "nas"}}, {12, {"192.168.1.12", "printer.home"}}}));

    // nat del 5 is not in use: accepted, nothing changes
    for (const char* command :
         {"nat add 3 192.168.1.33,203.0.113.33", "nat del 1", "nat del 5", "host del 12"})
        EXPECT_EQ(send(*area, command).reply, "") << command;
    EXPECT_EQ(readTable(send(*area, "show nat").buffer),
              (Entries{{3, {"192.168.1.33", "203.0.113.33"}},
                       {11, {"192.168.1.11", "203.0.113.11"}},
                       {32, {"10.0.0.32", "*wan"}}}));
    EXPECT_EQ(readTable(send(*area, "show host").buffer), (Entries{{2, {"192.168.1.2", "nas"}}}));
}

// Each of these is refused with the error line and leaves every setting as it was.
const char* const kMalformed[] = {
    "router beep loud",
    "router beep",
    "router beep enable now",
    "router connect_sel num5",
    "router line_mode 5",
    "router address 192.168.1.1",  // the prefix is required
    "router address 192.168.1.1/33",
    "router masq_address 192.168.1.256",
    "router masq_address 192.168..1",
    "router masq_address 1.2.3.4.5",
    "network address 10.0.0.1/x",
    "network dns_address 192.0.2.1",
    "dialup mode num5 64k",
    "dialup mode 64k",
    "dialup disc_time num1 0",
    "dialup disc_time num1 32401",
    "dialup dial_number num1 0312345678,0312345679",
    "dialup dial_number num1 03 1234,,",
    "dialup dial_number num1 123456789012345678901234567890123,,",
    "dialup dns_address num1 192.0.2.1,x",
    "dialup user_id num1 12345678901234567890123456789012345678901234567890123456789012345",
    "dhcp range_address 192.168.1.2/256",
    "dhcp range_address 192.168.1.2",
    "dhcp lease_time 0",
    "dhcp lease_time -1",
    "dns forwarding",
    "syslog facility 24",
    "syslog active on",
    "bod channel 3",
    "bod throughput_bod add_standard_rate 101",
    "bod throughput_bod del_minimum_time 4",
    "bod throughput_bod add_evaluation_time 0",
    "bod throughput_bod add_evaluation_direction up",
    "bacpbap depart_add maybe",
    "connect charge 1000000/0",
    "connect charge 5000/3",
    "connect charge 5000",
    "connect time 24/0",
    "connect time 168/1",
    "connect number 1/0",
    "connect clr_day 24:00",
    "connect clr_day 12",
    "connect clr_week 7",
    "connect clr_mon 0",
    "ras server on",
    "ras address 203.0.113.1",
    "ras disc_time 0",
    "nat add 0 192.168.1.1,*",
    "nat add 33 192.168.1.1,*",
    "nat add 1 192.168.1.1",
    "nat add 1 ,203.0.113.1",
    "nat add 1 192.168.1.1,203.0.113",
    "nat del 33",
    "host add 1 192.168.1.1,",
    "host add 1 192.168.1.1,bad:name",
    "host add 1 nas,192.168.1.1",
    "host del x",
    "show dialup num0",
    "show router now",
    "show dialup",
};

TEST(RouterAreaTest, MalformedSettingsAreRefusedAndChangeNothing) {
    test::expectRefused(makeRouterArea, kMalformed);
}

TEST(RouterAreaTest, UnknownKeywordsAndOtherAreasCommands) {
    auto area = makeRouterArea();
    for (const char* command : {"router speed 9600", "bod throughput_bod rate 5", "dialup"}) {
        SCOPED_TRACE(command);
        const auto result = send(*area, command);
        EXPECT_TRUE(result.taken);
        EXPECT_EQ(result.reply, kInvalidCommandLine);
    }
    const char* const others[] = {"show analog tel1",
                                  "show digital pna",
                                  "digital address pna 1",
                                  "analog ring_sound tel1 ring2",
                                  "restart",
                                  "fromwr 15",
                                  "show"};
    test::expectNotTaken(makeRouterArea, others);
}

TEST(RouterAreaTest, CounterClearingLeavesTheLimits) {
    auto area = makeRouterArea();
    area->restore({{"connect.charge_total", "1200"},
                   {"connect.time_total", "30"},
                   {"connect.count_total", "4"}});
    EXPECT_EQ(send(*area, "connect charge 5000/1").reply, "");
    EXPECT_EQ(shown(*area, "show connect", "charge total:"), "1200");
    for (const char* command : {"connect charge", "connect time", "connect number"})
        EXPECT_EQ(send(*area, command).reply, "");
    const std::string buffer = send(*area, "show connect").buffer;
    EXPECT_EQ(readLabel(buffer, "charge total:"), "0");
    EXPECT_EQ(readLabel(buffer, "time total:"), "0");
    EXPECT_EQ(readLabel(buffer, "number total:"), "0");
    EXPECT_EQ(readLabel(buffer, "charge:"), "5000/1");
}

TEST(RouterAreaTest, SaveRestoreAndReset) {
    const char* const commands[] = {
        "router address 172.16.0.1/16", "dialup provider_name num2 Prov",
        "nat add 7 10.0.0.7,*",         "host add 9 10.0.0.9,pc9",
        "connect clr_day 3:15",         "bacpbap arrive_del reject"};
    test::expectSaveRestore(makeRouterArea, commands,
                            {{"dhcp.lease_time", "0"},
                             {"address", "10.0.0.1"},  // prefix missing
                             {"dialup.1.password", "a\r\nb"},
                             {"nat.4.in_use", "1"},  // in use without addresses
                             {"unknown", "1"}});
}

}  // namespace
}  // namespace kx::sim
