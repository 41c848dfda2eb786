#include "sim/RouterShow.h"

#include <array>
#include <string_view>

#include "sim/AreaText.h"
#include "sim/RouterValues.h"

namespace kx::sim {
namespace {

void put(std::string& out, std::string_view label, std::string_view value) {
    out += label;
    out += ' ';
    out += value;
    out += "\r\n";
}

void put(std::string& out, std::string_view label, long value) {
    put(out, label, std::to_string(value));
}

void putPair(std::string& out, std::string_view label, long first, char separator, long second) {
    put(out, label, std::to_string(first) + separator + std::to_string(second));
}

// "a.b.c.d/p" as the two lines the adapter shows for it; the prefix stands as the submask.
void putPrefixed(std::string& out, std::string_view addressLabel, const std::string& prefixed) {
    const auto parts = splitAt(prefixed, '/');
    put(out, addressLabel, parts ? parts->first : std::string_view(prefixed));
    put(out, "submask:", parts ? parts->second : std::string_view("0"));
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
    put(out, "hardware address:", s.hardwareAddress);
    put(out, "default address:", s.defaultAddress);
    put(out, "auto connect:", s.autoConnect);
    put(out, "connect select:", s.connectSelect + 1);  // the adapter counts from 1
    put(out, "ip masquerade:", s.ipMasquerade);
    put(out, "masquerade address:", s.masqueradeAddress);
    put(out, "sw action:", s.swAction);
    put(out, "beep:", s.beep);
    put(out, "ip filter:", s.ipFilter);
    put(out, "line mode:", s.lineMode);
    put(out, "redial:", s.redial);
    put(out, "router name:", s.routerName);
    put(out, "login password:", s.loginPassword);
    put(out, "admin password:", s.adminPassword);
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
    put(out, "dhcp active:", s.dhcpActive);
    put(out, "start address:", s.dhcpStartAddress);
    put(out, "end address:", dhcpRange(s.dhcpStartAddress, s.dhcpCount));
    put(out, "lease time:", s.dhcpLeaseTime);
    put(out, "default address:", s.dhcpGateway);
    put(out, "dns praimary address:", s.dhcpDnsServer);
    put(out, "dns domain name:", s.dhcpDomainName);
}

void showDns(const RouterState& s, std::string& out) {
    put(out, "forwarding:", s.dnsForwarding);
    put(out, "primary address:", s.dnsPrimaryServer);
    put(out, "secondary address:", s.dnsSecondaryServer);
}

void showSyslog(const RouterState& s, std::string& out) {
    put(out, "syslog active:", s.syslogActive);
    put(out, "address:", s.syslogAddress);
    put(out, "facility:", s.syslogFacility);
    put(out, "debug:", s.syslogDebug);
    put(out, "info:", s.syslogInfo);
    put(out, "notice:", s.syslogNotice);
}

void showRas(const RouterState& s, std::string& out) {
    put(out, "ras active:", s.rasActive);
    put(out, "wan address:", s.rasWanAddress);
    put(out, "partner address:", s.rasPartnerAddress);
    put(out, "mode:", s.rasMode);
    put(out, "protocol:", s.rasProtocol);
    put(out, "auto disconnect:", s.rasAutoDisconnect);
    put(out, "disconnect time:", s.rasDisconnectTime);
    put(out, "user id:", s.rasUserId);
    put(out, "password:", s.rasPassword);
}

void showDialup(const RouterDialupProfile& p, std::string& out) {
    put(out, "dial number 1:", p.dialNumber1);
    put(out, "dial number 2:", p.dialNumber2);
    put(out, "dial number 3:", p.dialNumber3);
    put(out, "dns server select:", p.dnsSelect);
    put(out, "address:", p.address);  // before the two DNS lines that contain its label
    put(out, "dns praimary address:", p.dnsPrimary);
    put(out, "dns secondary address:", p.dnsSecondary);
    put(out, "protocol:", p.protocol);
    put(out, "mode:", p.mode);
    put(out, "auto disconnect:", p.autoDisconnect);
    put(out, "disconnect time:", p.disconnectTime);
    put(out, "provider name:", p.providerName);
    put(out, "user id:", p.userId);
    put(out, "password:", p.password);
}

void showConnect(const RouterState& s, std::string& out) {
    putPair(out, "charge:", s.chargeLimit, '/', s.chargePeriod);
    putPair(out, "time:", s.timeLimit, '/', s.timePeriod);
    putPair(out, "number:", s.countLimit, '/', s.countMinutes);
    std::string minute = std::to_string(s.clearMinute);
    if (minute.size() < 2)
        minute.insert(0, "0");
    put(out, "day:", std::to_string(s.clearHour) + ":" + minute);
    put(out, "week:", s.clearWeekday);
    put(out, "mon:", s.clearMonthDay);
    // what has been used so far; these labels contain none of the limit labels
    put(out, "charge total:", s.chargeTotal);
    put(out, "time total:", s.timeTotal);
    put(out, "number total:", s.countTotal);
}

void showNetwork(const RouterState& s, std::string& out) {
    putPrefixed(out, "address:", s.networkAddress);  // before the DNS lines
    put(out, "remote:", s.remoteAddress);
    put(out, "dns praimary address:", s.networkDnsPrimary);
    put(out, "dns secondary address:", s.networkDnsSecondary);
    put(out, "user id:", s.networkUserId);
    put(out, "password:", s.networkPassword);
}

void showBod(const RouterState& s, std::string& out) {
    put(out, "init channel number:", s.bodChannels);
    put(out, "resource bod:", s.bodResource);
    put(out, "  add evaluation direction:", s.bodAddDirection);
    put(out, "  add standard rate:", s.bodAddRate);
    put(out, "  add evaluation time:", s.bodAddTime);
    put(out, "  add minimum maintenance time:", s.bodAddMinimumTime);
    put(out, "  del evaluation direction:", s.bodDelDirection);
    put(out, "  del standard rate:", s.bodDelRate);
    put(out, "  del evaluation time:", s.bodDelTime);
    put(out, "  del minimum maintenance time:", s.bodDelMinimumTime);
}

void showBacpBap(const RouterState& s, std::string& out) {
    put(out, "depart channel:", s.bacpDepart);
    put(out, "arrive channel:", s.bacpArrive);
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
