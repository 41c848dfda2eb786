#include "sim/RouterState.h"

#include "sim/RouterValues.h"

namespace kx::sim {
namespace {

constexpr const char* kNone = "0.0.0.0";

// Walks every field with its key and the rule its value must follow, so saving and loading
// share one list. S is RouterState or const RouterState.
template <class S, class V>
void visitFields(S& s, V& v) {
    v.text("hardware_address", s.hardwareAddress, ValueRule::Text);
    v.text("address", s.routerAddress, ValueRule::Prefixed);
    v.text("default_address", s.defaultAddress, ValueRule::Address);
    v.text("name", s.routerName, ValueRule::Text);
    v.text("login_password", s.loginPassword, ValueRule::Text);
    v.text("admin_password", s.adminPassword, ValueRule::Text);
    v.number("auto_connect", s.autoConnect, 0, 1);
    v.number("connect_select", s.connectSelect, 0, 4);
    v.number("ip_masquerade", s.ipMasquerade, 0, 1);
    v.text("masquerade_address", s.masqueradeAddress, ValueRule::Address);
    v.number("sw_action", s.swAction, 0, 1);
    v.number("beep", s.beep, 0, 1);
    v.number("ip_filter", s.ipFilter, 0, 1);
    v.number("line_mode", s.lineMode, 0, 4);
    v.number("redial", s.redial, 0, 1);

    for (std::size_t i = 0; i < s.nat.size(); ++i) {
        const std::string key = "nat." + std::to_string(i + 1) + ".";
        v.number(key + "in_use", s.nat[i].inUse, 0, 1);
        v.text(key + "lan", s.nat[i].lanAddress, ValueRule::EntryAddress);
        v.text(key + "wan", s.nat[i].wanAddress, ValueRule::NatWan);
    }

    v.text("dhcp.start_address", s.dhcpStartAddress, ValueRule::Address);
    v.number("dhcp.count", s.dhcpCount, 0, 255);
    v.number("dhcp.lease_time", s.dhcpLeaseTime, 1, 999999);
    v.text("dhcp.gateway", s.dhcpGateway, ValueRule::Address);
    v.text("dhcp.dns_server", s.dhcpDnsServer, ValueRule::Address);
    v.text("dhcp.domain_name", s.dhcpDomainName, ValueRule::Text);
    v.number("dhcp.active", s.dhcpActive, 0, 1);

    v.text("dns.primary", s.dnsPrimaryServer, ValueRule::Address);
    v.text("dns.secondary", s.dnsSecondaryServer, ValueRule::Address);
    v.number("dns.forwarding", s.dnsForwarding, 0, 1);

    for (std::size_t i = 0; i < s.hosts.size(); ++i) {
        const std::string key = "host." + std::to_string(i + 1) + ".";
        v.number(key + "in_use", s.hosts[i].inUse, 0, 1);
        v.text(key + "address", s.hosts[i].hostAddress, ValueRule::EntryAddress);
        v.text(key + "name", s.hosts[i].hostName, ValueRule::HostName);
    }

    v.text("syslog.address", s.syslogAddress, ValueRule::Address);
    v.number("syslog.facility", s.syslogFacility, 0, 23);
    v.number("syslog.debug", s.syslogDebug, 0, 1);
    v.number("syslog.info", s.syslogInfo, 0, 1);
    v.number("syslog.notice", s.syslogNotice, 0, 1);
    v.number("syslog.active", s.syslogActive, 0, 1);

    v.number("ras.active", s.rasActive, 0, 1);
    v.text("ras.wan_address", s.rasWanAddress, ValueRule::Address);
    v.text("ras.partner_address", s.rasPartnerAddress, ValueRule::Address);
    v.text("ras.user_id", s.rasUserId, ValueRule::Text);
    v.text("ras.password", s.rasPassword, ValueRule::Text);
    v.number("ras.mode", s.rasMode, 0, 3);
    v.number("ras.protocol", s.rasProtocol, 0, 3);
    v.number("ras.auto_disconnect", s.rasAutoDisconnect, 0, 1);
    v.number("ras.disconnect_time", s.rasDisconnectTime, 1, 32400);

    for (std::size_t i = 0; i < s.dialup.size(); ++i) {
        auto& p = s.dialup[i];
        const std::string key = "dialup." + std::to_string(i + 1) + ".";
        v.text(key + "provider_name", p.providerName, ValueRule::Text);
        v.text(key + "dial_number_1", p.dialNumber1, ValueRule::Phone);
        v.text(key + "dial_number_2", p.dialNumber2, ValueRule::Phone);
        v.text(key + "dial_number_3", p.dialNumber3, ValueRule::Phone);
        v.text(key + "user_id", p.userId, ValueRule::Text);
        v.text(key + "password", p.password, ValueRule::Text);
        v.number(key + "dns_select", p.dnsSelect, 0, 1);
        v.text(key + "dns_primary", p.dnsPrimary, ValueRule::Address);
        v.text(key + "dns_secondary", p.dnsSecondary, ValueRule::Address);
        v.text(key + "address", p.address, ValueRule::Address);
        v.number(key + "protocol", p.protocol, 0, 3);
        v.number(key + "mode", p.mode, 0, 3);
        v.number(key + "auto_disconnect", p.autoDisconnect, 0, 1);
        v.number(key + "disconnect_time", p.disconnectTime, 1, 32400);
    }

    v.number("connect.charge_limit", s.chargeLimit, 0, 999999);
    v.number("connect.charge_period", s.chargePeriod, 0, 2);
    v.number("connect.time_limit", s.timeLimit, 0, 743);
    v.number("connect.time_period", s.timePeriod, 0, 2);
    v.number("connect.count_limit", s.countLimit, 0, 9999);
    v.number("connect.count_minutes", s.countMinutes, 1, 1440);
    v.number("connect.clear_hour", s.clearHour, 0, 23);
    v.number("connect.clear_minute", s.clearMinute, 0, 59);
    v.number("connect.clear_weekday", s.clearWeekday, 0, 6);
    v.number("connect.clear_month_day", s.clearMonthDay, 1, 31);
    v.number("connect.charge_total", s.chargeTotal, 0, 99999999);
    v.number("connect.time_total", s.timeTotal, 0, 99999999);
    v.number("connect.count_total", s.countTotal, 0, 99999999);

    v.text("network.address", s.networkAddress, ValueRule::Prefixed);
    v.text("network.remote_address", s.remoteAddress, ValueRule::Address);
    v.text("network.user_id", s.networkUserId, ValueRule::Text);
    v.text("network.password", s.networkPassword, ValueRule::Text);
    v.text("network.dns_primary", s.networkDnsPrimary, ValueRule::Address);
    v.text("network.dns_secondary", s.networkDnsSecondary, ValueRule::Address);

    v.number("bod.channels", s.bodChannels, 0, 1);
    v.number("bod.resource", s.bodResource, 0, 3);
    v.number("bod.add_direction", s.bodAddDirection, 0, 3);
    v.number("bod.add_rate", s.bodAddRate, 0, 100);
    v.number("bod.add_time", s.bodAddTime, 1, 255);
    v.number("bod.add_minimum_time", s.bodAddMinimumTime, 5, 1275);
    v.number("bod.del_direction", s.bodDelDirection, 0, 3);
    v.number("bod.del_rate", s.bodDelRate, 0, 100);
    v.number("bod.del_time", s.bodDelTime, 1, 255);
    v.number("bod.del_minimum_time", s.bodDelMinimumTime, 5, 1275);

    v.number("bacpbap.depart", s.bacpDepart, 0, 7);
    v.number("bacpbap.arrive", s.bacpArrive, 0, 7);
}

struct Saver {
    std::map<std::string, std::string> out;
    void text(const std::string& key, const std::string& value, ValueRule) { out[key] = value; }
    void number(const std::string& key, long value, long, long) {
        out[key] = std::to_string(value);
    }
};

struct Loader {
    const std::map<std::string, std::string>& in;
    const std::string* find(const std::string& key) const {
        const auto it = in.find(key);
        return it == in.end() ? nullptr : &it->second;
    }
    void text(const std::string& key, std::string& value, ValueRule rule) {
        if (const auto* raw = find(key)) {
            if (auto normal = normalizeValue(rule, *raw))
                value = std::move(*normal);
        }
    }
    void number(const std::string& key, long& value, long lo, long hi) {
        if (const auto* raw = find(key)) {
            if (auto parsed = parseDecimal(*raw, lo, hi))
                value = *parsed;
        }
    }
};

}  // namespace

RouterState routerFactoryState() {
    RouterState s;
    s.hardwareAddress = "00:80:6d:4a:21:07";
    s.routerAddress = "192.168.1.1/24";
    s.defaultAddress = "192.168.1.1";
    s.routerName = "KESTRELX";
    s.masqueradeAddress = kNone;
    s.dhcpStartAddress = "192.168.1.2";
    s.dhcpGateway = "192.168.1.1";
    s.dhcpDnsServer = "192.168.1.1";
    s.dnsPrimaryServer = kNone;
    s.dnsSecondaryServer = kNone;
    s.syslogAddress = kNone;
    s.rasWanAddress = kNone;
    s.rasPartnerAddress = kNone;
    for (auto& p : s.dialup) {
        p.dnsPrimary = kNone;
        p.dnsSecondary = kNone;
        p.address = kNone;
    }
    s.networkAddress = "0.0.0.0/0";
    s.remoteAddress = kNone;
    s.networkDnsPrimary = kNone;
    s.networkDnsSecondary = kNone;
    return s;
}

std::map<std::string, std::string> saveRouterState(const RouterState& state) {
    Saver saver;
    visitFields(state, saver);
    return std::move(saver.out);
}

void restoreRouterState(RouterState& state, const std::map<std::string, std::string>& values) {
    Loader loader{values};
    visitFields(state, loader);
    // a table entry is listed only when both of its items are there to list
    for (auto& e : state.nat) {
        if (e.lanAddress.empty() || e.wanAddress.empty())
            e.inUse = 0;
    }
    for (auto& e : state.hosts) {
        if (e.hostAddress.empty() || e.hostName.empty())
            e.inUse = 0;
    }
}

}  // namespace kx::sim
