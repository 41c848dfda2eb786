#include "router/RouterSettings.h"

#include "app/AppState.h"
#include "area/Keywords.h"
#include "area/TableIO.h"
#include "digital/DigitalSettings.h"

namespace kx {

namespace {

using area::address;
using area::choice;
using area::Item;
using area::kDisableEnable;
using area::Keywords;
using area::number;
using area::phone;
using area::text;
using area::unsigned16;
using area::unsigned8;
using D = DialupProfile;
using L = LeasedLineSettings;
using R = RouterSettings;
using S = RasSettings;

constexpr std::size_t kLongText = 64;  // user ids and provider names keep 64 bytes of a reply
constexpr std::size_t kTextMax = 64;   // longest text a dialog gives

// An address emptied by the user goes out as "no address", never as a missing argument.
constexpr std::string_view kNoAddress = "0.0.0.0";

constexpr std::string_view kManualAuto[] = {"manual", "auto"};
constexpr std::string_view kConnectSelects[] = {"num1", "num2", "num3", "num4", "netwk"};
constexpr std::string_view kSwActions[] = {"bod", "line"};
constexpr std::string_view kLineModes[] = {"0", "1", "2", "3", "4"};
constexpr std::string_view kProtocols[] = {"auto", "pap", "chap", "disable"};
constexpr std::string_view kLineUses[] = {"64k", "mp1", "mp2", "mp3"};
constexpr std::string_view kChannels[] = {"2", "1"};  // index 0 is two channels
constexpr std::string_view kResourceBods[] = {"disable", "depart", "arrive", "both"};
constexpr std::string_view kDirections[] = {"both", "send", "recv", "disable"};

// A switch that the adapter reports as 0 or any other 8-bit number.
template <class Record>
constexpr Item<Record> onOff(std::string_view name, int Record::*member, std::string_view label,
                             std::string_view command, Keywords keywords = kDisableEnable) {
    return choice(name, member, label, keywords, command)
        .withDecode(unsigned8)
        .withEncode(area::nonzeroIsOn);
}

// An 8-bit choice whose value is the keyword's index.
template <class Record>
constexpr Item<Record> pick(std::string_view name, int Record::*member, std::string_view label,
                            Keywords keywords, std::string_view command) {
    return choice(name, member, label, keywords, command).withDecode(unsigned8);
}

// A limit's period after its "/": 0 a day, 1 a week, 2 a month. It goes out as the number it
// is, so a limit the adapter reports with another period can still be changed.
constexpr Item<R> period(std::string_view name, int R::*member, std::string_view label) {
    return number(name, member, label, 0, 2, "").withPart(1, '/').withDecode(unsigned8);
}

// The adapter counts the connection choice from 1.
constexpr int connectSelectFrom(int reported) {
    return unsigned8(reported - 1);
}

// Reading order does not matter (each label is searched from the reply's start); the table's
// order is section 0's writing order, with the router address last: the adapter restarts once
// it takes a new one.
constexpr Item<R> kRouterItems[] = {
    text("hardwareAddress", &R::hardwareAddress, "hardware address:", kTextMax, ""),
    text("defaultAddress", &R::defaultAddress, "default address:", kTextMax, ""),
    text("routerName", &R::routerName, "router name:", kTextMax, ""),
    text("loginPassword", &R::loginPassword, "login password:", kTextMax, ""),
    text("adminPassword", &R::adminPassword, "admin password:", kTextMax, ""),
    onOff("autoConnect", &R::autoConnect, "auto connect:", "router auto_connect", kManualAuto)
        .withSerialOnly(),
    choice("connectSelect", &R::connectSelect, "connect select:", kConnectSelects,
           "router connect_sel")
        .withDecode(connectSelectFrom)
        .withSerialOnly(),
    onOff("ipMasquerade", &R::ipMasquerade, "ip masquerade:", "router ip_masquerade")
        .withSerialOnly(),
    address("masqueradeAddress", &R::masqueradeAddress, "masquerade address:", 0,
            "router masq_address")
        .withEmptyAs(kNoAddress),
    onOff("swAction", &R::swAction, "sw action:", "router sw_action", kSwActions).withSerialOnly(),
    onOff("beep", &R::beep, "beep:", "router beep").withSerialOnly(),
    onOff("ipFilter", &R::ipFilter, "ip filter:", "router ip_filter").withSerialOnly(),
    pick("lineMode", &R::lineMode, "line mode:", kLineModes, "router line_mode").withSerialOnly(),
    onOff("redial", &R::redial, "redial:", "router redial").withSerialOnly(),
    address("routerAddress", &R::routerAddress, "ip address:", 1, "router address")
        .withSecondLabel("submask:", '/'),
};

constexpr Item<R> kDhcpItems[] = {
    address("dhcpStartAddress", &R::dhcpStartAddress, "start address:", 0, "dhcp range_address")
        .withNext('/'),
    number("dhcpCount", &R::dhcpCount, "end address:", 0, 255, "").withDecode(unsigned8),
    number("dhcpLeaseTime", &R::dhcpLeaseTime, "lease time:", 1, 999999, "dhcp lease_time"),
    address("dhcpGateway", &R::dhcpGateway, "default address:", 0, "dhcp default_address")
        .withEmptyAs(kNoAddress),
    address("dhcpDnsServer", &R::dhcpDnsServer, "dns praimary address:", 0, "dhcp dns_address")
        .withEmptyAs(kNoAddress),
    text("dhcpDomainName", &R::dhcpDomainName, "dns domain name:", kTextMax, "dhcp domain_name"),
    onOff("dhcpActive", &R::dhcpActive, "dhcp active:", "dhcp active"),
};

constexpr Item<R> kDnsItems[] = {
    address("dnsPrimaryServer", &R::dnsPrimaryServer, "primary address:", 0, "dns address")
        .withNext(',')
        .withEmptyAs(kNoAddress),
    address("dnsSecondaryServer", &R::dnsSecondaryServer, "secondary address:", 0, "")
        .withEmptyAs(kNoAddress),
    onOff("dnsForwarding", &R::dnsForwarding, "forwarding:", "dns forwarding"),
};

constexpr Item<R> kSyslogItems[] = {
    address("syslogAddress", &R::syslogAddress, "address:", 0, "syslog address")
        .withEmptyAs(kNoAddress),
    number("syslogFacility", &R::syslogFacility, "facility:", 0, 23, "syslog facility"),
    onOff("syslogDebug", &R::syslogDebug, "debug:", "syslog debug"),
    onOff("syslogInfo", &R::syslogInfo, "info:", "syslog info"),
    onOff("syslogNotice", &R::syslogNotice, "notice:", "syslog notice"),
    onOff("syslogActive", &R::syslogActive, "syslog active:", "syslog active"),
};

constexpr Item<R> kBodItems[] = {
    pick("bodChannels", &R::bodChannels, "init channel number:", kChannels, "bod channel"),
    pick("bodResource", &R::bodResource, "resource bod:", kResourceBods, "bod resource_bod"),
    pick("bodAddDirection", &R::bodAddDirection, "  add evaluation direction:", kDirections,
         "bod throughput_bod add_evaluation_direction"),
    number("bodAddRate", &R::bodAddRate, "  add standard rate:", 0, 100,
           "bod throughput_bod add_standard_rate")
        .withDecode(unsigned8),
    number("bodAddTime", &R::bodAddTime, "  add evaluation time:", 1, 255,
           "bod throughput_bod add_evaluation_time")
        .withDecode(unsigned8),
    number("bodAddMinimumTime", &R::bodAddMinimumTime, "  add minimum maintenance time:", 5, 1275,
           "bod throughput_bod add_minimum_time")
        .withDecode(unsigned16),
    pick("bodDelDirection", &R::bodDelDirection, "  del evaluation direction:", kDirections,
         "bod throughput_bod del_evaluation_direction"),
    number("bodDelRate", &R::bodDelRate, "  del standard rate:", 0, 100,
           "bod throughput_bod del_standard_rate")
        .withDecode(unsigned8),
    number("bodDelTime", &R::bodDelTime, "  del evaluation time:", 1, 255,
           "bod throughput_bod del_evaluation_time")
        .withDecode(unsigned8),
    number("bodDelMinimumTime", &R::bodDelMinimumTime, "  del minimum maintenance time:", 5, 1275,
           "bod throughput_bod del_minimum_time")
        .withDecode(unsigned16),
};

// Written by the BACP/BAP rule (area::appendAnswerCommands), not by their rows.
constexpr Item<R> kBacpBapItems[] = {
    number("bacpDepart", &R::bacpDepart, "depart channel:", 0, 255, "").withDecode(unsigned8),
    number("bacpArrive", &R::bacpArrive, "arrive channel:", 0, 255, "").withDecode(unsigned8),
};

// The time limit's range depends on its period; the widest is the row's (a month: 743 hours),
// and the dialog narrows it.
constexpr Item<R> kConnectItems[] = {
    number("chargeLimit", &R::chargeLimit, "charge:", 0, 999999, "connect charge")
        .withPart(0, '/')
        .withNext('/'),
    period("chargePeriod", &R::chargePeriod, "charge:"),
    number("timeLimit", &R::timeLimit, "time:", 0, 743, "connect time")
        .withPart(0, '/')
        .withDecode(unsigned16)
        .withNext('/'),
    period("timePeriod", &R::timePeriod, "time:"),
    number("countLimit", &R::countLimit, "number:", 0, 9999, "connect number")
        .withPart(0, '/')
        .withDecode(unsigned16)
        .withNext('/'),
    number("countMinutes", &R::countMinutes, "number:", 1, 1440, "")
        .withPart(1, '/')
        .withDecode(unsigned16),
    number("clearHour", &R::clearHour, "day:", 0, 23, "connect clr_day")
        .withPart(0, ':')
        .withDecode(unsigned8)
        .withNext(':'),
    number("clearMinute", &R::clearMinute, "day:", 0, 59, "")
        .withPart(1, ':')
        .withDecode(unsigned8),
    number("clearWeekday", &R::clearWeekday, "week:", 0, 6, "connect clr_week")
        .withDecode(unsigned8),
    number("clearMonthDay", &R::clearMonthDay, "mon:", 1, 31, "connect clr_mon")
        .withDecode(unsigned8),
};

// "{}" is the profile's word, "num1".."num4". The WAN address is read before the DNS lines in
// no particular order: its label "address:" is found first where the adapter lists it first.
constexpr Item<D> kDialupItems[] = {
    text("providerName", &D::providerName, "provider name:", kTextMax, "dialup provider_name {}")
        .withReadLimit(kLongText),
    phone("dialNumber1", &D::dialNumber1, "dial number 1:", "dialup dial_number {}").withNext(','),
    phone("dialNumber2", &D::dialNumber2, "dial number 2:", "").withNext(','),
    phone("dialNumber3", &D::dialNumber3, "dial number 3:", ""),
    text("userId", &D::userId, "user id:", kTextMax, "dialup user_id {}").withReadLimit(kLongText),
    text("password", &D::password, "password:", 32, "dialup password {}"),
    pick("protocol", &D::protocol, "protocol:", kProtocols, "dialup protocol {}"),
    pick("mode", &D::mode, "mode:", kLineUses, "dialup mode {}"),
    pick("autoDisconnect", &D::autoDisconnect, "auto disconnect:", kDisableEnable,
         "dialup auto_disc {}"),
    number("disconnectTime", &D::disconnectTime, "disconnect time:", 1, 32400,
           "dialup disc_time {}")
        .withDecode(unsigned16),
    address("address", &D::address, "address:", 0, "dialup address {}").withEmptyAs(kNoAddress),
    pick("dnsSelect", &D::dnsSelect, "dns server select:", kManualAuto, "dialup dns_select {}"),
    address("dnsPrimary", &D::dnsPrimary, "dns praimary address:", 0, "dialup dns_address {}")
        .withNext(',')
        .withEmptyAs(kNoAddress),
    address("dnsSecondary", &D::dnsSecondary, "dns secondary address:", 0, "")
        .withEmptyAs(kNoAddress),
};

constexpr Item<L> kLeasedLineItems[] = {
    address("networkAddress", &L::networkAddress, "address:", 1, "network address")
        .withSecondLabel("submask:", '/'),
    address("remoteAddress", &L::remoteAddress, "remote:", 0, "network remote_addr")
        .withEmptyAs(kNoAddress),
    text("userId", &L::userId, "user id:", 32, "network user_id").withReadLimit(kLongText),
    text("password", &L::password, "password:", 32, "network password"),
    address("dnsPrimary", &L::dnsPrimary, "dns praimary address:", 0, "network dns_address")
        .withNext(',')
        .withEmptyAs(kNoAddress),
    address("dnsSecondary", &L::dnsSecondary, "dns secondary address:", 0, "")
        .withEmptyAs(kNoAddress),
};

constexpr Item<S> kRasItems[] = {
    pick("rasActive", &S::rasActive, "ras active:", kDisableEnable, "ras server"),
    address("wanAddress", &S::wanAddress, "wan address:", 0, "ras address")
        .withNext(',')
        .withEmptyAs(kNoAddress),
    address("partnerAddress", &S::partnerAddress, "partner address:", 0, "")
        .withEmptyAs(kNoAddress),
    text("userId", &S::userId, "user id:", 32, "ras user_id").withReadLimit(kLongText),
    text("password", &S::password, "password:", kTextMax, "ras password"),
    pick("protocol", &S::protocol, "protocol:", kProtocols, "ras protocol"),
    pick("mode", &S::mode, "mode:", kLineUses, "ras mode"),
    onOff("autoDisconnect", &S::autoDisconnect, "auto disconnect:", "ras auto_disc"),
    number("disconnectTime", &S::disconnectTime, "disconnect time:", 1, 32400, "ras disc_time")
        .withDecode(unsigned16),
};

// The NAT and host tables' entries as rows (kxctl names them); they are read and written by
// the table rule, not by these rows, and their checks are the entry checks below.
constexpr Item<NatEntry> kNatEntryItems[] = {
    choice("inUse", &NatEntry::inUse, "", kDisableEnable, ""),
    address("lanAddress", &NatEntry::lanAddress, "", 0, ""),
    text("wanAddress", &NatEntry::wanAddress, "", 32, ""),
};
constexpr Item<HostEntry> kHostEntryItems[] = {
    choice("inUse", &HostEntry::inUse, "", kDisableEnable, ""),
    address("hostAddress", &HostEntry::hostAddress, "", 0, ""),
    text("hostName", &HostEntry::hostName, "", 64, ""),
};
constexpr const area::ItemRule& kNatLanRule = kNatEntryItems[1];
constexpr const area::ItemRule& kNatWanRule = kNatEntryItems[2];
constexpr const area::ItemRule& kHostAddressRule = kHostEntryItems[1];
constexpr const area::ItemRule& kHostNameRule = kHostEntryItems[2];

// A comma would end the item early in the adapter's command and in its list.
int withoutComma(std::string_view text) {
    return text.find(',') == std::string_view::npos ? 0 : 1;
}

constexpr std::size_t kTableFirstMax = 32;
constexpr std::size_t kNatSecondMax = 32;
constexpr std::size_t kHostSecondMax = 64;
// the longest table line kept: both items with their comma and blanks
constexpr std::size_t kTableLineMax = 160;
constexpr std::size_t kTableReplyCapacity = 8192;

// The syslog switch takes a tab before "enable", the adapter's own spelling.
void tabBeforeSyslogEnable(std::vector<std::string>& commands) {
    for (std::string& command : commands)
        if (command == "syslog active enable\r")
            command = "syslog active\tenable\r";
}

// An entry whose in-use flag changed is added or deleted. An entry that stays in use but now
// holds other items is deleted and added again: the adapter takes "add" only for a free entry.
template <class Entry>
void appendTableCommands(std::string_view family, const std::array<Entry, kTableEntries>& working,
                         const std::array<Entry, kTableEntries>& snapshot,
                         std::string Entry::*first, std::string Entry::*second,
                         std::vector<std::string>& out) {
    for (int n = 1; n <= kTableEntries; ++n) {
        const Entry& now = working[static_cast<std::size_t>(n - 1)];
        const Entry& before = snapshot[static_cast<std::size_t>(n - 1)];
        const std::string prefix = std::string(family) + " ";
        const bool changed =
            now.inUse != before.inUse ||
            (now.inUse != 0 && (now.*first != before.*first || now.*second != before.*second));
        if (!changed)
            continue;
        if (now.inUse == 0 || before.inUse != 0)
            out.push_back(prefix + "del " + std::to_string(n) + "\r");
        if (now.inUse != 0)
            out.push_back(prefix + "add " + std::to_string(n) + " " + now.*first + "," +
                          now.*second + "\r");
    }
}

template <class Entry>
void readTable(std::string_view reply, std::array<Entry, kTableEntries>& table,
               std::string Entry::*first, std::string Entry::*second, std::size_t secondMax) {
    for (int n = 1; n <= kTableEntries; ++n) {
        Entry& entry = table[static_cast<std::size_t>(n - 1)];
        TableLine line = readTableLine(reply, n, secondMax);
        entry.inUse = line.listed ? 1 : 0;
        if (line.listed) {
            entry.*first = std::move(line.first);
            entry.*second = std::move(line.second);
        }
    }
}

// The HomePNA port is read and written with the digital port items, without its talky.
bool isPnaItemRow(const Item<DigitalPortSettings>& item) {
    return item.number != &DigitalPortSettings::talky;
}

void readPnaPort(std::string_view reply, DigitalPortSettings& pna) {
    for (const Item<DigitalPortSettings>& item : digitalPortItems())
        if (isPnaPortItem(item))
            area::readItem(reply, item, pna);
}

// The easy form's items: the provider, the numbers, the user, the password and the DNS.
bool isEasyItem(const Item<D>& item) {
    return item.isText() ? item.text != &D::address : item.number == &D::dnsSelect;
}

}  // namespace

std::span<const Item<R>> routerItems() {
    return kRouterItems;
}
std::span<const Item<R>> dhcpItems() {
    return kDhcpItems;
}
std::span<const Item<R>> dnsItems() {
    return kDnsItems;
}
std::span<const Item<R>> syslogItems() {
    return kSyslogItems;
}
std::span<const Item<R>> routerBodItems() {
    return kBodItems;
}
std::span<const Item<R>> routerBacpBapItems() {
    return kBacpBapItems;
}
std::span<const Item<R>> connectLimitItems() {
    return kConnectItems;
}
std::span<const Item<D>> dialupItems() {
    return kDialupItems;
}
std::span<const Item<L>> leasedLineItems() {
    return kLeasedLineItems;
}
std::span<const Item<S>> rasItems() {
    return kRasItems;
}
std::span<const Item<NatEntry>> natEntryItems() {
    return kNatEntryItems;
}
std::span<const Item<HostEntry>> hostEntryItems() {
    return kHostEntryItems;
}
bool isPnaPortItem(const Item<DigitalPortSettings>& item) {
    return isPnaItemRow(item);
}

int checkNatLan(std::string_view text) {
    return text.empty() ? 1 : kNatLanRule.checkText(text);
}
int checkNatWan(std::string_view text) {
    if (text.empty())
        return 1;
    if (text.front() == '*')
        return kNatWanRule.checkText(text) | withoutComma(text);
    return kNatLanRule.checkText(text);
}
int checkHostAddress(std::string_view text) {
    return text.empty() ? 1 : kHostAddressRule.checkText(text);
}
int checkHostName(std::string_view text) {
    return text.empty() ? 1 : kHostNameRule.checkText(text) | withoutComma(text);
}

const area::ItemRule& natLanRule() {
    return kNatLanRule;
}
const area::ItemRule& natWanRule() {
    return kNatWanRule;
}
const area::ItemRule& hostAddressRule() {
    return kHostAddressRule;
}
const area::ItemRule& hostNameRule() {
    return kHostNameRule;
}

bool chapRefused(int mode, int protocol) {
    constexpr int kOneChannel = 0;  // mode: 64k
    constexpr int kChap = 2;        // protocol
    return mode != kOneChannel && protocol == kChap;
}

std::string dialupBlock(int profile) {
    return "num" + std::to_string(profile);
}

TableLine readTableLine(std::string_view reply, int n, std::size_t secondMax) {
    TableLine line;
    if (!area::findEntry(reply, n))
        return line;
    line.listed = true;
    const std::string text = area::readEntryText(reply, n, kTableLineMax);
    const std::size_t comma = text.find(',');
    line.first = std::string(area::trimmed(text.substr(0, comma).substr(0, kTableFirstMax)));
    if (comma != std::string::npos) {
        // the second item runs to the next comma, cut to its own length
        std::string_view rest = std::string_view(text).substr(comma + 1);
        rest = rest.substr(0, rest.find(','));
        line.second = std::string(area::trimmed(area::trimmed(rest).substr(0, secondMax)));
    }
    return line;
}

int RouterReader(const AreaContext& context) {
    RouterSettings& s = routerSettings.snapshot;
    const auto reply = [&] { return context.reply.view(); };
    const auto show = [&](std::string_view command) { return context.send(command) == 1; };
    // a full table (32 entries with 64-byte host names) is longer than the reply buffer: it is
    // read into one of its own, and a table cut even there fails the read, since an entry
    // missing from it would read as free and be added over
    const auto showTable = [&](std::string_view command, ReplyBuffer& into) {
        return context.send(command, into) == 1 && !into.truncated();
    };
    if (!show("show router\r"))
        return 0;
    area::readItems(reply(), routerItems(), s);
    ReplyBuffer table(kTableReplyCapacity);
    if (!showTable("show nat\r", table))
        return 0;
    readTable(table.view(), s.nat, &NatEntry::lanAddress, &NatEntry::wanAddress, kNatSecondMax);
    if (!show("show dhcp\r"))
        return 0;
    area::readItems(reply(), dhcpItems(), s);
    if (!show("show dns\r"))
        return 0;
    area::readItems(reply(), dnsItems(), s);
    if (!showTable("show host\r", table))
        return 0;
    readTable(table.view(), s.hosts, &HostEntry::hostAddress, &HostEntry::hostName, kHostSecondMax);
    if (!show("show syslog\r"))
        return 0;
    area::readItems(reply(), syslogItems(), s);
    if (!show("show digital pna\r"))
        return 0;
    readPnaPort(reply(), digitalSettings.snapshot.pna);
    if (!show("show ras\r"))
        return 0;
    area::readItems(reply(), rasItems(), s.ras);
    for (int k = 1; k <= kDialupProfiles; ++k) {
        if (!show("show dialup " + dialupBlock(k) + "\r"))
            return 0;
        area::readItems(reply(), dialupItems(), s.dialup[static_cast<std::size_t>(k - 1)]);
    }
    if (!show("show connect\r"))
        return 0;
    area::readItems(reply(), connectLimitItems(), s);
    if (!show("show network\r"))
        return 0;
    area::readItems(reply(), leasedLineItems(), s.network);
    if (!show("show bod\r"))
        return 0;
    area::readItems(reply(), routerBodItems(), s);
    if (!show("show bacpbap\r"))
        return 0;
    area::readItems(reply(), routerBacpBapItems(), s);
    routerSettings.readDone();
    digitalSettings.readDone();
    return 1;
}

std::vector<std::string> routerCommands(const RouterSettings& working,
                                        const RouterSettings& snapshot, int section,
                                        bool overNetwork) {
    std::vector<std::string> commands;
    const auto items = [&](std::span<const Item<R>> table) {
        area::appendChangedCommands(table, working, snapshot, {}, commands, overNetwork);
    };
    switch (section) {
        case kRouterSection:
            items(routerItems());
            break;
        case kNatSection:
            appendTableCommands("nat", working.nat, snapshot.nat, &NatEntry::lanAddress,
                                &NatEntry::wanAddress, commands);
            break;
        case kDhcpSection:
            items(dhcpItems());
            break;
        case kDnsSection:
            items(dnsItems());
            break;
        case kHostSection:
            appendTableCommands("host", working.hosts, snapshot.hosts, &HostEntry::hostAddress,
                                &HostEntry::hostName, commands);
            break;
        case kSyslogSection:
            items(syslogItems());
            tabBeforeSyslogEnable(commands);
            break;
        case kDialup1Section:
        case kDialup1Section + 1:
        case kDialup1Section + 2:
        case kDialup1Section + 3: {
            const int profile = section - kDialup1Section + 1;
            const std::size_t i = static_cast<std::size_t>(profile - 1);
            area::appendChangedCommands(dialupItems(), working.dialup[i], snapshot.dialup[i],
                                        dialupBlock(profile), commands, overNetwork);
            break;
        }
        case kLeasedLineSection:
            area::appendChangedCommands(leasedLineItems(), working.network, snapshot.network, {},
                                        commands, overNetwork);
            break;
        case kBodSection:
            items(routerBodItems());
            break;
        case kBacpBapSection:
            area::appendAnswerCommands("bacpbap", "depart", working.bacpDepart, snapshot.bacpDepart,
                                       commands);
            area::appendAnswerCommands("bacpbap", "arrive", working.bacpArrive, snapshot.bacpArrive,
                                       commands);
            break;
        case kConnectLimitSection:
            if (resetCounters)
                commands = {"connect charge\r", "connect time\r", "connect number\r"};
            items(connectLimitItems());
            break;
        case kRasSection:
            area::appendChangedCommands(rasItems(), working.ras, snapshot.ras, {}, commands,
                                        overNetwork);
            break;
        default:
            break;
    }
    return commands;
}

std::vector<std::string> pnaPortCommands(const DigitalPortSettings& working,
                                         const DigitalPortSettings& snapshot) {
    std::vector<std::string> commands;
    for (const Item<DigitalPortSettings>& item : digitalPortItems())
        if (isPnaPortItem(item))
            area::appendChangedCommands(std::span(&item, 1), working, snapshot, "pna", commands);
    return commands;
}

int RouterWriter(const AreaContext& context, int section) {
    if (section == kPnaPortSection)
        return context.sendAll(
            pnaPortCommands(digitalSettings.working.pna, digitalSettings.snapshot.pna));
    const RouterSettings& working = routerSettings.working;
    const RouterSettings& snapshot = routerSettings.snapshot;
    const bool overNetwork = context.networkMode != 0;
    const int result = context.sendAll(routerCommands(working, snapshot, section, overNetwork));
    // the address command is the section's last: all acknowledged means it was taken too
    if (section == kRouterSection && result == 1 &&
        working.routerAddress != snapshot.routerAddress) {
        changeCount = 0;
        addressChanged = true;
    }
    return result;
}

int EasySetupReader(const AreaContext& context) {
    if (context.send("show dialup num1\r") != 1)
        return 0;
    for (const Item<D>& item : dialupItems())
        if (isEasyItem(item))
            area::readItem(context.reply.view(), item, routerSettings.snapshot.dialup[0]);
    routerSettings.readDone();
    return 1;
}

std::vector<std::string> easySetupCommands(const DialupProfile& working,
                                           const DialupProfile& snapshot) {
    // the form's items only, in the profile's order: the others count as unchanged, and so do
    // the DNS addresses unless they are given ("manual")
    DialupProfile form = snapshot;
    for (const Item<D>& item : dialupItems()) {
        const bool dnsAddress = item.text == &D::dnsPrimary || item.text == &D::dnsSecondary;
        if (!isEasyItem(item) || (dnsAddress && working.dnsSelect != 0))
            continue;
        if (item.isText())
            form.*item.text = working.*item.text;
        else
            form.*item.number = working.*item.number;
    }
    return area::changedCommands(dialupItems(), form, snapshot, dialupBlock(1));
}

int EasySetupWriter(const AreaContext& context) {
    return context.sendAll(
        easySetupCommands(routerSettings.working.dialup[0], routerSettings.snapshot.dialup[0]));
}

}  // namespace kx
