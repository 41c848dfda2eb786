#include "sim/RouterShow.h"

#include <array>
#include <string_view>

#include "sim/AreaText.h"
#include "sim/RouterValues.h"

namespace kx::sim {
namespace {

void putPair(std::string& out, std::string_view label, long first, char separator, long second) {
    appendLine(out, label, std::to_string(first) + separator + std::to_string(second));
}

// "a.b.c.d/p" as the two lines the adapter shows for it; the prefix stands as the submask.
void putPrefixed(std::string& out, std::string_view addressLabel, const std::string& prefixed) {
    const auto parts = splitAt(prefixed, '/');
    appendLine(out, addressLabel, parts ? parts->first : std::string_view(prefixed));
    appendLine(out, "submask:", parts ? parts->second : std::string_view("0"));
}

// The last address handed out, for the "end address:" line; the count leads the value.
std::string dhcpRange(const std::string& start, long count) {
    std::string value = std::to_string(count);
    unsigned long bits = 0;
    std::string_view rest = start;
    for (int field = 0; field < 4; ++field) {
        const std::size_t dot = rest.find('.');
        const auto part = parseDecimal(rest.substr(0, dot), 0, 255);
        if (!part)
            return value;
        bits = (bits << 8) | static_cast<unsigned long>(*part);
        rest = dot == std::string_view::npos ? std::string_view() : rest.substr(dot + 1);
    }
    if (count <= 0)
        return value;
    const unsigned long last = (bits + static_cast<unsigned long>(count) - 1) & 0xFFFFFFFFUL;
    value += " (" + std::to_string(last >> 24) + "." + std::to_string((last >> 16) & 0xFF) + "." +
             std::to_string((last >> 8) & 0xFF) + "." + std::to_string(last & 0xFF) + ")";
    return value;
}

void showRouter(const RouterState& s, std::string& out) {
    putPrefixed(out, "ip address:", s.routerAddress);
    appendLine(out, "hardware address:", s.hardwareAddress);
    appendLine(out, "default address:", s.defaultAddress);
    appendLine(out, "auto connect:", s.autoConnect);
    appendLine(out, "connect select:", s.connectSelect + 1);  // the adapter counts from 1
    appendLine(out, "ip masquerade:", s.ipMasquerade);
    appendLine(out, "masquerade address:", s.masqueradeAddress);
    appendLine(out, "sw action:", s.swAction);
    appendLine(out, "beep:", s.beep);
    appendLine(out, "ip filter:", s.ipFilter);
    appendLine(out, "line mode:", s.lineMode);
    appendLine(out, "redial:", s.redial);
    appendLine(out, "router name:", s.routerName);
    appendLine(out, "login password:", s.loginPassword);
    appendLine(out, "admin password:", s.adminPassword);
}

// Entries in use only, in ascending order: the line of entry 1 then comes before that of
// entry 11, where the program's search for "1: " would otherwise land first.
template <class Table, class First, class Second>
void showTable(const Table& table, First first, Second second, std::string& out) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (!table[i].inUse)
            continue;
        out +=
            ' ' + std::to_string(i + 1) + ": " + first(table[i]) + ", " + second(table[i]) + "\r\n";
    }
}

void showDhcp(const RouterState& s, std::string& out) {
    appendLine(out, "dhcp active:", s.dhcpActive);
    appendLine(out, "start address:", s.dhcpStartAddress);
    appendLine(out, "end address:", dhcpRange(s.dhcpStartAddress, s.dhcpCount));
    appendLine(out, "lease time:", s.dhcpLeaseTime);
    appendLine(out, "default address:", s.dhcpGateway);
    appendLine(out, "dns praimary address:", s.dhcpDnsServer);
    appendLine(out, "dns domain name:", s.dhcpDomainName);
}

void showDns(const RouterState& s, std::string& out) {
    appendLine(out, "forwarding:", s.dnsForwarding);
    appendLine(out, "primary address:", s.dnsPrimaryServer);
    appendLine(out, "secondary address:", s.dnsSecondaryServer);
}

void showSyslog(const RouterState& s, std::string& out) {
    appendLine(out, "syslog active:", s.syslogActive);
    appendLine(out, "address:", s.syslogAddress);
    appendLine(out, "facility:", s.syslogFacility);
    appendLine(out, "debug:", s.syslogDebug);
    appendLine(out, "info:", s.syslogInfo);
    appendLine(out, "notice:", s.syslogNotice);
}

void showRas(const RouterState& s, std::string& out) {
    appendLine(out, "ras active:", s.rasActive);
    appendLine(out, "wan address:", s.rasWanAddress);
    appendLine(out, "partner address:", s.rasPartnerAddress);
    appendLine(out, "mode:", s.rasMode);
    appendLine(out, "protocol:", s.rasProtocol);
    appendLine(out, "auto disconnect:", s.rasAutoDisconnect);
    appendLine(out, "disconnect time:", s.rasDisconnectTime);
    appendLine(out, "user id:", s.rasUserId);
    appendLine(out, "password:", s.rasPassword);
}

void showDialup(const RouterDialupProfile& p, std::string& out) {
    appendLine(out, "dial number 1:", p.dialNumber1);
    appendLine(out, "dial number 2:", p.dialNumber2);
    appendLine(out, "dial number 3:", p.dialNumber3);
    appendLine(out, "dns server select:", p.dnsSelect);
    appendLine(out, "address:", p.address);  // before the two DNS lines that contain its label
    appendLine(out, "dns praimary address:", p.dnsPrimary);
    appendLine(out, "dns secondary address:", p.dnsSecondary);
    appendLine(out, "protocol:", p.protocol);
    appendLine(out, "mode:", p.mode);
    appendLine(out, "auto disconnect:", p.autoDisconnect);
    appendLine(out, "disconnect time:", p.disconnectTime);
    appendLine(out, "provider name:", p.providerName);
    appendLine(out, "user id:", p.userId);
    appendLine(out, "password:", p.password);
}

void showConnect(const RouterState& s, std::string& out) {
    putPair(out, "charge:", s.chargeLimit, '/', s.chargePeriod);
    putPair(out, "time:", s.timeLimit, '/', s.timePeriod);
    putPair(out, "number:", s.countLimit, '/', s.countMinutes);
    std::string minute = std::to_string(s.clearMinute);
    if (minute.size() < 2)
        minute.insert(0, "0");
    appendLine(out, "day:", std::to_string(s.clearHour) + ":" + minute);
    appendLine(out, "week:", s.clearWeekday);
    appendLine(out, "mon:", s.clearMonthDay);
    // what has been used so far; these labels contain none of the limit labels
    appendLine(out, "charge total:", s.chargeTotal);
    appendLine(out, "time total:", s.timeTotal);
    appendLine(out, "number total:", s.countTotal);
}

void showNetwork(const RouterState& s, std::string& out) {
    putPrefixed(out, "address:", s.networkAddress);  // before the DNS lines
    appendLine(out, "remote:", s.remoteAddress);
    appendLine(out, "dns praimary address:", s.networkDnsPrimary);
    appendLine(out, "dns secondary address:", s.networkDnsSecondary);
    appendLine(out, "user id:", s.networkUserId);
    appendLine(out, "password:", s.networkPassword);
}

void showBod(const RouterState& s, std::string& out) {
    appendLine(out, "init channel number:", s.bodChannels);
    appendLine(out, "resource bod:", s.bodResource);
    appendLine(out, "  add evaluation direction:", s.bodAddDirection);
    appendLine(out, "  add standard rate:", s.bodAddRate);
    appendLine(out, "  add evaluation time:", s.bodAddTime);
    appendLine(out, "  add minimum maintenance time:", s.bodAddMinimumTime);
    appendLine(out, "  del evaluation direction:", s.bodDelDirection);
    appendLine(out, "  del standard rate:", s.bodDelRate);
    appendLine(out, "  del evaluation time:", s.bodDelTime);
    appendLine(out, "  del minimum maintenance time:", s.bodDelMinimumTime);
}

void showBacpBap(const RouterState& s, std::string& out) {
    appendLine(out, "depart channel:", s.bacpDepart);
    appendLine(out, "arrive channel:", s.bacpArrive);
}

using Show = void (*)(const RouterState&, std::string&);

struct Query {
    std::string_view name;
    Show show;
};

void showNat(const RouterState& s, std::string& out) {
    showTable(
        s.nat, [](const RouterNatEntry& e) { return e.lanAddress; },
        [](const RouterNatEntry& e) { return e.wanAddress; }, out);
}

void showHost(const RouterState& s, std::string& out) {
    showTable(
        s.hosts, [](const RouterHostEntry& e) { return e.hostAddress; },
        [](const RouterHostEntry& e) { return e.hostName; }, out);
}

constexpr std::array<Query, 11> kQueries{{
    {"router", showRouter},
    {"nat", showNat},
    {"dhcp", showDhcp},
    {"dns", showDns},
    {"host", showHost},
    {"syslog", showSyslog},
    {"ras", showRas},
    {"connect", showConnect},
    {"network", showNetwork},
    {"bod", showBod},
    {"bacpbap", showBacpBap},
}};

}  // namespace

bool showRouterArea(const RouterState& state, const RouterLine& line, std::string& reply) {
    if (!equalsNoCase(line.word(0), "show"))
        return false;
    const std::string_view what = line.word(1);
    if (equalsNoCase(what, "dialup")) {
        const auto profile = choiceIndex(line.word(2), std::span(kConnectSelect).first(4));
        if (!profile || line.size() != 3) {
            reply = kInvalidParameterLine;
        } else {
            showDialup(state.dialup[static_cast<std::size_t>(*profile)], reply);
        }
        return true;
    }
    for (const auto& query : kQueries) {
        if (!equalsNoCase(what, query.name))
            continue;
        if (line.size() != 2) {
            reply = kInvalidParameterLine;
        } else {
            query.show(state, reply);
        }
        return true;
    }
    return false;
}

}  // namespace kx::sim
