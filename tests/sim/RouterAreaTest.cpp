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

// Every setting command of the router writers, read back the way the router readers do.
const test::RoundTrip kRoundTrips[] = {
    {"router auto_connect manual", "show router", "auto connect:", "0"},
    {"router connect_sel num1", "show router", "connect select:", "1"},
    {"router connect_sel num4", "show router", "connect select:", "4"},
    {"router connect_sel netwk", "show router", "connect select:", "5"},
    {"router ip_masquerade disable", "show router", "ip masquerade:", "0"},
    {"router masq_address 203.0.113.9", "show router", "masquerade address:", "203.0.113.9"},
    {"router masq_address", "show router", "masquerade address:", "0.0.0.0"},
    {"router sw_action bod", "show router", "sw action:", "0"},
    {"router beep disable", "show router", "beep:", "0"},
    {"router ip_filter enable", "show router", "ip filter:", "1"},
    {"router line_mode 4", "show router", "line mode:", "4"},
    {"router redial enable", "show router", "redial:", "1"},
    {"router address 10.1.2.3/8", "show router", "ip address:", "10.1.2.3"},
    {"router address 10.1.2.3/8", "show router", "submask:", "8"},
    {"network address 198.51.100.2/30", "show network", "address:", "198.51.100.2"},
    {"network address 198.51.100.2/30", "show network", "submask:", "30"},
    {"network remote_addr 198.51.100.1", "show network", "remote:", "198.51.100.1"},
    {"network user_id line user", "show network", "user id:", "line user"},
    {"network password se cret", "show network", "password:", "se cret"},
    {"network dns_address 192.0.2.53,192.0.2.54", "show network",
     "dns praimary address:", "192.0.2.53"},
    {"network dns_address 192.0.2.53,192.0.2.54", "show network",
     "dns secondary address:", "192.0.2.54"},
    {"dialup provider_name num1 Example Net", "show dialup num1", "provider name:", "Example Net"},
    {"dialup dial_number num2 0312345678,(03)1234-5678*12,", "show dialup num2",
     "dial number 2:", "(03)1234-5678*12"},
    {"dialup dial_number num2 0312345678,(03)1234-5678*12,", "show dialup num2",
     "dial number 1:", "0312345678"},
    {"dialup dial_number num2 0312345678,(03)1234-5678*12,", "show dialup num2",
     "dial number 3:", ""},
    {"dialup user_id num3 user@example.jp", "show dialup num3", "user id:", "user@example.jp"},
    {"dialup password num4 pass word", "show dialup num4", "password:", "pass word"},
    {"dialup protocol num1 chap", "show dialup num1", "protocol:", "2"},
    {"dialup protocol num2 disable", "show dialup num2", "protocol:", "3"},
    {"dialup mode num3 mp3", "show dialup num3", "mode:", "3"},
    {"dialup auto_disc num4 disable", "show dialup num4", "auto disconnect:", "0"},
    {"dialup disc_time num1 32400", "show dialup num1", "disconnect time:", "32400"},
    {"dialup address num2 203.0.113.20", "show dialup num2", "address:", "203.0.113.20"},
    {"dialup dns_select num3 manual", "show dialup num3", "dns server select:", "0"},
    {"dialup dns_address num4 192.0.2.1,0.0.0.0", "show dialup num4",
     "dns praimary address:", "192.0.2.1"},
    {"dialup dns_address num4 192.0.2.1,0.0.0.0", "show dialup num4",
     "dns secondary address:", "0.0.0.0"},
    {"dhcp range_address 192.168.1.100/20", "show dhcp", "start address:", "192.168.1.100"},
    {"dhcp range_address 192.168.1.100/20", "show dhcp", "end address:", "20 (192.168.1.119)"},
    {"dhcp lease_time 999999", "show dhcp", "lease time:", "999999"},
    {"dhcp default_address 192.168.1.254", "show dhcp", "default address:", "192.168.1.254"},
    {"dhcp dns_address 192.168.1.253", "show dhcp", "dns praimary address:", "192.168.1.253"},
    {"dhcp domain_name home.example", "show dhcp", "dns domain name:", "home.example"},
    {"dhcp active disable", "show dhcp", "dhcp active:", "0"},
    // the adapter keeps addresses in canonical form
    {"dns address 010.000.0.01,0.0.0.0", "show dns", "primary address:", "10.0.0.1"},
    {"dns address 192.0.2.10,192.0.2.11", "show dns", "primary address:", "192.0.2.10"},
    {"dns address 192.0.2.10,192.0.2.11", "show dns", "secondary address:", "192.0.2.11"},
    {"dns forwarding disable", "show dns", "forwarding:", "0"},
    {"syslog address 192.168.1.50", "show syslog", "address:", "192.168.1.50"},
    {"syslog facility 23", "show syslog", "facility:", "23"},
    {"syslog debug enable", "show syslog", "debug:", "1"},
    {"syslog info disable", "show syslog", "info:", "0"},
    {"syslog notice disable", "show syslog", "notice:", "0"},
    {"syslog active\tenable", "show syslog", "syslog active:", "1"},
    {"bod channel 2", "show bod", "init channel number:", "0"},
    {"bod resource_bod arrive", "show bod", "resource bod:", "2"},
    {"bod throughput_bod add_evaluation_direction recv", "show bod",
     "  add evaluation direction:", "2"},
    {"bod throughput_bod add_standard_rate 100", "show bod", "  add standard rate:", "100"},
    {"bod throughput_bod add_evaluation_time 255", "show bod", "  add evaluation time:", "255"},
    {"bod throughput_bod add_minimum_time 7", "show bod", "  add minimum maintenance time:", "7"},
    {"bod throughput_bod del_evaluation_direction disable", "show bod",
     "  del evaluation direction:", "3"},
    {"bod throughput_bod del_standard_rate 0", "show bod", "  del standard rate:", "0"},
    {"bod throughput_bod del_evaluation_time 1", "show bod", "  del evaluation time:", "1"},
    {"bod throughput_bod del_minimum_time 1275", "show bod",
     "  del minimum maintenance time:", "1275"},
    {"connect charge 5000/2", "show connect", "charge:", "5000/2"},
    {"connect time 24/1", "show connect", "time:", "24/1"},
    {"connect time 743/2", "show connect", "time:", "743/2"},
    {"connect number 9999/1440", "show connect", "number:", "9999/1440"},
    {"connect clr_day 23:59", "show connect", "day:", "23:59"},
    {"connect clr_day 7:5", "show connect", "day:", "7:05"},
    {"connect clr_week 6", "show connect", "week:", "6"},
    {"connect clr_mon 31", "show connect", "mon:", "31"},
    {"ras server enable", "show ras", "ras active:", "1"},
    {"ras address 203.0.113.1,203.0.113.2", "show ras", "wan address:", "203.0.113.1"},
    {"ras address 203.0.113.1,203.0.113.2", "show ras", "partner address:", "203.0.113.2"},
    {"ras user_id caller", "show ras", "user id:", "caller"},
    {"ras password p4ss", "show ras", "password:", "p4ss"},
    {"ras protocol pap", "show ras", "protocol:", "1"},
    {"ras mode mp2", "show ras", "mode:", "2"},
    {"ras auto_disc disable", "show ras", "auto disconnect:", "0"},
    {"ras disc_time 1", "show ras", "disconnect time:", "1"},
    // keywords without regard to case, as the command line takes them
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

TEST(RouterAreaTest, EverySettingCommandIsReportedByItsShow) {
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
