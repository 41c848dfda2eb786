// The router variant's area of the emulated adapter: router, NAT, DHCP, DNS and host table,
// syslog, incoming dial-up, the four dial-up profiles, connection limits, leased line, BOD and
// BACP/BAP. The PNA port's digital settings ("show digital pna", "digital ... pna") belong to
// the digital area.
//
//   show router|nat|dhcp|dns|host|syslog|ras|connect|network|bod|bacpbap, show dialup num1..num4
//   router|network|dialup|nat|dhcp|dns|host|syslog|bod|bacpbap|connect|ras <keyword> ...
//
// Each family is a block of items (the dial-up family four, selected by "num1".."num4" after the
// keyword; NAT and host tables 32 numbered entries each). Choices are kept as the index of
// their keyword, addresses as canonical dotted text (a prefixed address as "a.b.c.d/p"), so the
// replies print them as they stand.
//
// The program reads every item at the first occurrence of its label anywhere in the reply (and
// the echo before it), so each reply lists a label that is contained in another one
// ("address:" in "dns praimary address:") before the longer one, and puts the free texts
// (names, user ids, passwords) last, where they cannot hide a fixed label.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "sim/Areas.h"
#include "sim/BlockArea.h"

namespace kx::sim {
namespace {

const std::vector<std::string_view> kDisableEnable{"disable", "enable"};
const std::vector<std::string_view> kManualAuto{"manual", "auto"};
const std::vector<std::string_view> kProtocol{"auto", "pap", "chap", "disable"};
const std::vector<std::string_view> kLineUse{"64k", "mp1", "mp2", "mp3"};
const std::vector<std::string_view> kDirections{"both", "send", "recv", "disable"};

constexpr std::string_view kNone = "0.0.0.0";
constexpr int kTableEntries = 32;
constexpr int kProfiles = 4;

// The save keys of the router's own items have no prefix below the area ("address").
const Schema kRouterSchema{
    textItem("address", "ip address:", TextRule::Prefixed, "192.168.1.1/24", ShowForm::WithSubmask),
    textItem("hardware_address", "hardware address:", TextRule::Text, "00:80:6d:4a:21:07"),
    textItem("default_address", "default address:", TextRule::Address, "192.168.1.1"),
    choiceItem("auto_connect", "auto connect:", kManualAuto, "auto"),
    choiceItem("connect_select", "connect select:", {"num1", "num2", "num3", "num4", "netwk"},
               "num1", ShowForm::FromOne),
    choiceItem("ip_masquerade", "ip masquerade:", kDisableEnable, "enable"),
    textItem("masquerade_address", "masquerade address:", TextRule::Address, kNone),
    choiceItem("sw_action", "sw action:", {"bod", "line"}, "line"),
    choiceItem("beep", "beep:", kDisableEnable, "enable"),
    choiceItem("ip_filter", "ip filter:", kDisableEnable, "disable"),
    choiceItem("line_mode", "line mode:", {"0", "1", "2", "3", "4"}, "0"),
    choiceItem("redial", "redial:", kDisableEnable, "disable"),
    textItem("name", "router name:", TextRule::Text, "KESTRELX"),
    textItem("login_password", "login password:", TextRule::Text),
    textItem("admin_password", "admin password:", TextRule::Text),
};

const std::vector<Command> kRouterCommands{
    {{"auto_connect"}, false, {}, "auto_connect"},
    {{"connect_sel"}, false, {}, "connect_select"},
    {{"ip_masquerade"}, false, {}, "ip_masquerade"},
    {{"sw_action"}, false, {}, "sw_action"},
    {{"beep"}, false, {}, "beep"},
    {{"ip_filter"}, false, {}, "ip_filter"},
    {{"line_mode"}, false, {}, "line_mode"},
    {{"redial"}, false, {}, "redial"},
    textCommand({"masq_address"}, "masquerade_address"),
    // moves the router's own LAN address at once; the program ends its session after it
    textCommand({"address"}, "address"),
};

// The lease time counts hours; the count of addresses is reported with the last of them.
const Schema kDhcpSchema{
    choiceItem("active", "dhcp active:", kDisableEnable, "enable"),
    textItem("start_address", "start address:", TextRule::Address, "192.168.1.2"),
    numberItem("count", "end address:", 0, 255, 32, ShowForm::RangeEnd),
    numberItem("lease_time", "lease time:", 1, 999999, 72),
    textItem("gateway", "default address:", TextRule::Address, "192.168.1.1"),
    textItem("dns_server", "dns praimary address:", TextRule::Address, "192.168.1.1"),
    textItem("domain_name", "dns domain name:", TextRule::Text),
};

const std::vector<Command> kDhcpCommands{
    {{"active"}, false, {}, "active"},
    {{"lease_time"}, false, {}, "lease_time"},
    textCommand({"default_address"}, "gateway"),
    textCommand({"dns_address"}, "dns_server"),
    textCommand({"domain_name"}, "domain_name"),
    // "a.b.c.d/count"
    joinedCommand({"range_address"}, "start_address", "count", '/'),
};

const Schema kDnsSchema{
    choiceItem("forwarding", "forwarding:", kDisableEnable, "enable"),
    textItem("primary", "primary address:", TextRule::Address, kNone),
    textItem("secondary", "secondary address:", TextRule::Address, kNone),
};

const std::vector<Command> kDnsCommands{
    {{"forwarding"}, false, {}, "forwarding"},
    listCommand({"address"}, "primary", {"secondary"}),
};

const Schema kSyslogSchema{
    choiceItem("active", "syslog active:", kDisableEnable, "disable"),
    textItem("address", "address:", TextRule::Address, kNone),
    numberItem("facility", "facility:", 0, 23, 1),
    choiceItem("debug", "debug:", kDisableEnable, "disable"),
    choiceItem("info", "info:", kDisableEnable, "enable"),
    choiceItem("notice", "notice:", kDisableEnable, "enable"),
};

const std::vector<Command> kSyslogCommands{
    {{"debug"}, false, {}, "debug"},       {{"info"}, false, {}, "info"},
    {{"notice"}, false, {}, "notice"},     {{"active"}, false, {}, "active"},
    {{"facility"}, false, {}, "facility"}, textCommand({"address"}, "address"),
};

// Incoming dial-up (the remote access server).
const Schema kRasSchema{
    choiceItem("active", "ras active:", kDisableEnable, "disable"),
    textItem("wan_address", "wan address:", TextRule::Address, kNone),
    textItem("partner_address", "partner address:", TextRule::Address, kNone),
    choiceItem("mode", "mode:", kLineUse, "64k"),
    choiceItem("protocol", "protocol:", kProtocol, "auto"),
    choiceItem("auto_disconnect", "auto disconnect:", kDisableEnable, "enable"),
    numberItem("disconnect_time", "disconnect time:", 1, 32400, 60),
    textItem("user_id", "user id:", TextRule::Text),
    textItem("password", "password:", TextRule::Text),
};

const std::vector<Command> kRasCommands{
    {{"server"}, false, {}, "active"},
    {{"protocol"}, false, {}, "protocol"},
    {{"mode"}, false, {}, "mode"},
    {{"auto_disc"}, false, {}, "auto_disconnect"},
    {{"disc_time"}, false, {}, "disconnect_time"},
    textCommand({"user_id"}, "user_id"),
    textCommand({"password"}, "password"),
    listCommand({"address"}, "wan_address", {"partner_address"}),
};

// One dial-up profile; "address:" comes before the two DNS lines that contain it.
const Schema kDialupSchema{
    phoneItem("dial_number_1", "dial number 1:"),
    phoneItem("dial_number_2", "dial number 2:"),
    phoneItem("dial_number_3", "dial number 3:"),
    choiceItem("dns_select", "dns server select:", kManualAuto, "auto"),
    textItem("address", "address:", TextRule::Address, kNone),
    textItem("dns_primary", "dns praimary address:", TextRule::Address, kNone),
    textItem("dns_secondary", "dns secondary address:", TextRule::Address, kNone),
    choiceItem("protocol", "protocol:", kProtocol, "auto"),
    choiceItem("mode", "mode:", kLineUse, "64k"),
    choiceItem("auto_disconnect", "auto disconnect:", kDisableEnable, "enable"),
    numberItem("disconnect_time", "disconnect time:", 1, 32400, 60),
    textItem("provider_name", "provider name:", TextRule::Text),
    textItem("user_id", "user id:", TextRule::Text),
    textItem("password", "password:", TextRule::Text),
};

// "dialup <keyword> numK <value>": the profile comes after the keyword.
const std::vector<Command> kDialupCommands{
    {{"protocol"}, true, {}, "protocol"},
    {{"mode"}, true, {}, "mode"},
    {{"auto_disc"}, true, {}, "auto_disconnect"},
    {{"dns_select"}, true, {}, "dns_select"},
    {{"disc_time"}, true, {}, "disconnect_time"},
    textCommand({"provider_name"}, "provider_name", true),
    textCommand({"user_id"}, "user_id", true),
    textCommand({"password"}, "password", true),
    textCommand({"address"}, "address", true),
    listCommand({"dns_address"}, "dns_primary", {"dns_secondary"}, true),
    // all three numbers, each possibly empty
    listCommand({"dial_number"}, "dial_number_1", {"dial_number_2", "dial_number_3"}, true),
};

// Connection limits (0 = no limit) with their periods, and the counters they are measured
// against. "charge:" and the other limits report their period after a slash.
const Schema kConnectSchema{
    numberItem("charge_limit", "charge:", 0, 999999, 0, ShowForm::SlashNext),
    numberItem("charge_period", "", 0, 2, 2, ShowForm::Hidden),
    numberItem("time_limit", "time:", 0, 743, 0, ShowForm::SlashNext),
    numberItem("time_period", "", 0, 2, 2, ShowForm::Hidden),
    numberItem("count_limit", "number:", 0, 9999, 0, ShowForm::SlashNext),
    numberItem("count_minutes", "", 1, 1440, 60, ShowForm::Hidden),
    numberItem("clear_hour", "day:", 0, 23, 0, ShowForm::ClockNext),
    numberItem("clear_minute", "", 0, 59, 0, ShowForm::Hidden),
    numberItem("clear_weekday", "week:", 0, 6, 0),
    numberItem("clear_month_day", "mon:", 1, 31, 1),
    // what has been used so far; these labels contain none of the limit labels
    numberItem("charge_total", "charge total:", 0, 99999999, 0),
    numberItem("time_total", "time total:", 0, 99999999, 0),
    numberItem("count_total", "number total:", 0, 99999999, 0),
};

// With "limit/period" these set a limit; "connect charge|time|number" alone clears the counter
// instead (applyConnect, below).
const std::vector<Command> kConnectCommands{
    joinedCommand({"charge"}, "charge_limit", "charge_period", '/'),
    joinedCommand({"time"}, "time_limit", "time_period", '/'),
    joinedCommand({"number"}, "count_limit", "count_minutes", '/'),
    // "hour:minute"
    joinedCommand({"clr_day"}, "clear_hour", "clear_minute", ':'),
    {{"clr_week"}, false, {}, "clear_weekday"},
    {{"clr_mon"}, false, {}, "clear_month_day"},
};

// The leased line; its address goes before the DNS lines.
const Schema kNetworkSchema{
    textItem("address", "address:", TextRule::Prefixed, "0.0.0.0/0", ShowForm::WithSubmask),
    textItem("remote_address", "remote:", TextRule::Address, kNone),
    textItem("dns_primary", "dns praimary address:", TextRule::Address, kNone),
    textItem("dns_secondary", "dns secondary address:", TextRule::Address, kNone),
    textItem("user_id", "user id:", TextRule::Text),
    textItem("password", "password:", TextRule::Text),
};

const std::vector<Command> kNetworkCommands{
    textCommand({"address"}, "address"),
    textCommand({"remote_addr"}, "remote_address"),
    textCommand({"user_id"}, "user_id"),
    textCommand({"password"}, "password"),
    listCommand({"dns_address"}, "dns_primary", {"dns_secondary"}),
};

// Bandwidth on demand: one channel at first; the minimum times count seconds.
const Schema kBodSchema{
    choiceItem("channels", "init channel number:", {"2", "1"}, "1"),
    choiceItem("resource", "resource bod:", {"disable", "depart", "arrive", "both"}, "disable"),
    choiceItem("add_direction", "  add evaluation direction:", kDirections, "both"),
    numberItem("add_rate", "  add standard rate:", 0, 100, 80),
    numberItem("add_time", "  add evaluation time:", 1, 255, 10),
    numberItem("add_minimum_time", "  add minimum maintenance time:", 5, 1275, 60),
    choiceItem("del_direction", "  del evaluation direction:", kDirections, "both"),
    numberItem("del_rate", "  del standard rate:", 0, 100, 40),
    numberItem("del_time", "  del evaluation time:", 1, 255, 30),
    numberItem("del_minimum_time", "  del minimum maintenance time:", 5, 1275, 60),
};

const std::vector<Command> kBodCommands{
    {{"channel"}, false, {}, "channels"},
    {{"resource_bod"}, false, {}, "resource"},
    {{"throughput_bod", "add_evaluation_direction"}, false, {}, "add_direction"},
    {{"throughput_bod", "add_standard_rate"}, false, {}, "add_rate"},
    {{"throughput_bod", "add_evaluation_time"}, false, {}, "add_time"},
    {{"throughput_bod", "add_minimum_time"}, false, {}, "add_minimum_time"},
    {{"throughput_bod", "del_evaluation_direction"}, false, {}, "del_direction"},
    {{"throughput_bod", "del_standard_rate"}, false, {}, "del_rate"},
    {{"throughput_bod", "del_evaluation_time"}, false, {}, "del_time"},
    {{"throughput_bod", "del_minimum_time"}, false, {}, "del_minimum_time"},
};

// The BACP/BAP answers, bit 0 add, bit 1 request, bit 2 delete; a set bit answers "auto".
const Schema kBacpBapSchema{
    numberItem("depart", "depart channel:", 0, 7, 7),
    numberItem("arrive", "arrive channel:", 0, 7, 7),
};

const std::vector<Command> kBacpBapCommands{
    answerBit({"depart_add"}, "depart", 0),     answerBit({"depart_request"}, "depart", 1),
    answerBit({"depart_del"}, "depart", 2),     answerBit({"arrive_add"}, "arrive", 0),
    answerBit({"arrive_request"}, "arrive", 1), answerBit({"arrive_del"}, "arrive", 2),
};

// A NAT or host table entry: listed only while in use, as " k: first, second".
const Schema kNatSchema{
    numberItem("in_use", "", 0, 1, 0),
    textItem("lan", "", TextRule::EntryAddress),
    textItem("wan", "", TextRule::NatWan),
};

const Schema kHostSchema{
    numberItem("in_use", "", 0, 1, 0),
    textItem("address", "", TextRule::EntryAddress),
    textItem("name", "", TextRule::HostName),
};

constexpr std::size_t kInUse = 0, kFirst = 1, kSecond = 2;

// One family: its word, its command table, and the block its commands change (null for the
// dial-up family, whose commands select a profile, and for the two tables).
struct Family {
    std::string_view word;
    std::span<const Command> commands;
    SettingsBlock* block;
};

class RouterArea final : public BlockSet {
public:
    RouterArea()
        : router_("", kRouterSchema),
          dhcp_("dhcp", kDhcpSchema),
          dns_("dns", kDnsSchema),
          syslog_("syslog", kSyslogSchema),
          ras_("ras", kRasSchema),
          connect_("connect", kConnectSchema),
          network_("network", kNetworkSchema),
          bod_("bod", kBodSchema),
          bacpBap_("bacpbap", kBacpBapSchema),
          families_{{{"router", kRouterCommands, &router_},
                     {"network", kNetworkCommands, &network_},
                     {"dialup", kDialupCommands, nullptr},
                     {"nat", {}, nullptr},
                     {"dhcp", kDhcpCommands, &dhcp_},
                     {"dns", kDnsCommands, &dns_},
                     {"host", {}, nullptr},
                     {"syslog", kSyslogCommands, &syslog_},
                     {"bod", kBodCommands, &bod_},
                     {"bacpbap", kBacpBapCommands, &bacpBap_},
                     {"connect", kConnectCommands, &connect_},
                     {"ras", kRasCommands, &ras_}}} {
        for (SettingsBlock* block :
             {&router_, &dhcp_, &dns_, &syslog_, &ras_, &connect_, &network_, &bod_, &bacpBap_})
            addBlock(*block);
        dialup_.reserve(kProfiles);  // registered by address
        for (int k = 1; k <= kProfiles; ++k) {
            dialup_.emplace_back("dialup." + std::to_string(k), kDialupSchema);
            profiles_.push_back(Selector{"num" + std::to_string(k), &dialup_.back()});
        }
        nat_.reserve(kTableEntries);
        hosts_.reserve(kTableEntries);
        for (int k = 1; k <= kTableEntries; ++k) {
            nat_.emplace_back("nat." + std::to_string(k), kNatSchema);
            hosts_.emplace_back("host." + std::to_string(k), kHostSchema);
        }
        for (auto* table : {&dialup_, &nat_, &hosts_}) {
            for (SettingsBlock& block : *table) addBlock(block);
        }
    }

    bool handle(const Words& words, std::string_view text, std::string& reply) override {
        std::string joined;
        if (text.empty()) {
            for (const auto& word : words) joined += (joined.empty() ? "" : " ") + word;
            text = joined;
        }
        // the line itself is cut again, at tabs too, and keeps the blanks inside text values
        const CommandLine line(text);
        if (line.size() == 0)
            return false;
        if (equalsNoCase(line.word(0), "show"))
            return show(line, reply);
        for (const Family& family : families_) {
            if (equalsNoCase(line.word(0), family.word)) {
                const Applied applied = apply(family, line);
                if (applied != Applied::Done)
                    reply =
                        applied == Applied::Unknown ? kInvalidCommandLine : kInvalidParameterLine;
                return true;
            }
        }
        return false;
    }

    void restore(const std::map<std::string, std::string>& values) override {
        BlockSet::restore(values);
        // a table entry is listed only when both of its items are there to list
        for (auto* table : {&nat_, &hosts_}) {
            for (SettingsBlock& entry : *table) {
                if (entry.text(kFirst).empty() || entry.text(kSecond).empty())
                    entry.setNumber(kInUse, 0);
            }
        }
    }

private:
    // "show <family>", "show dialup numK"; false when the family is not the router's. An
    // unknown profile or extra words answer an error line.
    bool show(const CommandLine& line, std::string& reply) const {
        const std::string_view what = line.word(1);
        if (equalsNoCase(what, "dialup")) {
            const SettingsBlock* profile = findSelector(profiles_, line.word(2));
            if (profile == nullptr || line.size() != 3)
                reply = kInvalidParameterLine;
            else
                profile->show(reply);
            return true;
        }
        for (const Family& family : families_) {
            if (!equalsNoCase(what, family.word))
                continue;
            if (line.size() != 2)
                reply = kInvalidParameterLine;
            else if (family.block != nullptr)
                family.block->show(reply);
            else
                showTable(equalsNoCase(what, "nat") ? nat_ : hosts_, reply);
            return true;
        }
        return false;
    }

    // Entries in use only, in ascending order: the line of entry 1 then comes before that of
    // entry 11, where the program's search for "1: " would otherwise land first.
    static void showTable(const std::vector<SettingsBlock>& table, std::string& reply) {
        for (std::size_t i = 0; i < table.size(); ++i) {
            if (table[i].number(kInUse) == 0)
                continue;
            reply += ' ' + std::to_string(i + 1) + ": " + table[i].text(kFirst) + ", " +
                     table[i].text(kSecond) + "\r\n";
        }
    }

    Applied apply(const Family& family, const CommandLine& line) {
        if (family.word == "nat" || family.word == "host")
            return applyTable(family.word == "nat" ? nat_ : hosts_, line);
        if (family.block == &connect_)
            return applyConnect(line);
        return applyCommand(line, 1, family.commands, family.block, profiles_);
    }

    // "connect charge|time|number" alone clears the counter that limit is measured against.
    Applied applyConnect(const CommandLine& line) {
        struct Counter {
            std::string_view keyword, total;
        };
        constexpr Counter kCounters[] = {
            {"charge", "charge_total"}, {"time", "time_total"}, {"number", "count_total"}};
        const std::string_view keyword = line.word(1);
        for (const Counter& counter : kCounters) {
            if (line.size() == 2 && equalsNoCase(keyword, counter.keyword)) {
                connect_.setNumber(connect_.indexOf(counter.total), 0);
                return Applied::Done;
            }
        }
        const SettingsBlock::Values before = connect_.values();
        const Applied applied = applyCommand(line, 1, kConnectCommands, &connect_, {});
        if (applied == Applied::Done && equalsNoCase(keyword, "time") && !timeWithinPeriod()) {
            connect_.setValues(before);
            return Applied::Refused;
        }
        return applied;
    }

    // A connection-time limit cannot exceed the hours of its period (a day, a week, a month).
    bool timeWithinPeriod() const {
        constexpr std::array<int, 3> kHours{23, 167, 743};
        const int period = connect_.number(connect_.indexOf("time_period"));
        return connect_.number(connect_.indexOf("time_limit")) <=
               kHours[static_cast<std::size_t>(period)];
    }

    // "nat add n lan,wan", "host add n address,name": entry n, in use, both items required;
    // "nat del n": not in use (deleting an entry that is not in use changes nothing).
    static Applied applyTable(std::vector<SettingsBlock>& table, const CommandLine& line) {
        const std::string_view keyword = line.word(1);
        const bool add = equalsNoCase(keyword, "add");
        if (!add && !equalsNoCase(keyword, "del"))
            return Applied::Unknown;
        const auto n = parseNumber(line.word(2), 1, kTableEntries);
        if (!n)
            return Applied::Refused;
        SettingsBlock& entry = table[static_cast<std::size_t>(*n - 1)];
        if (!add) {
            if (line.size() != 3)
                return Applied::Refused;
            entry.setNumber(kInUse, 0);
            return Applied::Done;
        }
        const auto items =
            line.size() < 4 ? std::nullopt : splitAt(trimmed(line.restAfter(2)), ',');
        if (!items)
            return Applied::Refused;
        const std::string_view first = trimmed(items->first), second = trimmed(items->second);
        const SettingsBlock::Values before = entry.values();
        if (first.empty() || second.empty() || !entry.setFromArgument(kFirst, first) ||
            !entry.setFromArgument(kSecond, second)) {
            entry.setValues(before);
            return Applied::Refused;
        }
        entry.setNumber(kInUse, 1);
        return Applied::Done;
    }

    static std::string_view trimmed(std::string_view text) {
        while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
            text.remove_prefix(1);
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
        return text;
    }

    SettingsBlock router_, dhcp_, dns_, syslog_, ras_, connect_, network_, bod_, bacpBap_;
    std::vector<SettingsBlock> dialup_, nat_, hosts_;
    std::vector<Selector> profiles_;
    std::array<Family, 12> families_;
};

}  // namespace

std::unique_ptr<Area> makeRouterArea() {
    return std::make_unique<RouterArea>();
}

}  // namespace kx::sim
