#include "router/RouterSettings.h"

#include "app/services/AppState.h"
#include "area/TableIO.h"
#include "isdn/DigitalRecord.h"

namespace kx {

namespace {

using area::Item;
using D = DialupProfile;
using R = RouterSettings;

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

void readPnaPort(std::string_view reply, DigitalPortSettings& pna,
                 const area::MissingLabel& missing) {
    for (const Item<DigitalPortSettings>& item : digitalPortItems())
        if (isPnaPortItem(item))
            area::readItem(reply, item, pna, missing);
}

// The easy form's items: the provider, the numbers, the user, the password and the DNS.
bool isEasyItem(const Item<D>& item) {
    return item.isText() ? item.text != &D::address : item.number == &D::dnsSelect;
}

}  // namespace

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
    area::readItems(reply(), routerItems(), s, context.missingLabel);
    ReplyBuffer table(kTableReplyCapacity);
    if (!showTable("show nat\r", table))
        return 0;
    readTable(table.view(), s.nat, &NatEntry::lanAddress, &NatEntry::wanAddress, kNatSecondMax);
    if (!show("show dhcp\r"))
        return 0;
    area::readItems(reply(), dhcpItems(), s, context.missingLabel);
    if (!show("show dns\r"))
        return 0;
    area::readItems(reply(), dnsItems(), s, context.missingLabel);
    if (!showTable("show host\r", table))
        return 0;
    readTable(table.view(), s.hosts, &HostEntry::hostAddress, &HostEntry::hostName, kHostSecondMax);
    if (!show("show syslog\r"))
        return 0;
    area::readItems(reply(), syslogItems(), s, context.missingLabel);
    if (!show("show digital pna\r"))
        return 0;
    readPnaPort(reply(), digitalSettings.snapshot.pna, context.missingLabel);
    if (!show("show ras\r"))
        return 0;
    area::readItems(reply(), rasItems(), s.ras, context.missingLabel);
    for (int k = 1; k <= kDialupProfiles; ++k) {
        if (!show("show dialup " + dialupBlock(k) + "\r"))
            return 0;
        area::readItems(reply(), dialupItems(), s.dialup[static_cast<std::size_t>(k - 1)],
                        context.missingLabel);
    }
    if (!show("show connect\r"))
        return 0;
    area::readItems(reply(), connectLimitItems(), s, context.missingLabel);
    if (!show("show network\r"))
        return 0;
    area::readItems(reply(), leasedLineItems(), s.network, context.missingLabel);
    if (!show("show bod\r"))
        return 0;
    area::readItems(reply(), routerBodItems(), s, context.missingLabel);
    if (!show("show bacpbap\r"))
        return 0;
    area::readItems(reply(), routerBacpBapItems(), s, context.missingLabel);
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
