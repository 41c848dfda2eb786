#pragma once

#include <array>
#include <map>
#include <string>

namespace kx::sim {

// The router variant's settings as the emulated adapter holds them. Every choice item is kept
// as the index of its command keyword table, every address as canonical dotted text (a
// prefixed address as "a.b.c.d/p"), so the "show" replies can print them as they stand.
struct RouterNatEntry {
    long inUse = 0;
    std::string lanAddress;
    std::string wanAddress;  // a dotted address or a text beginning with "*"
};

struct RouterHostEntry {
    long inUse = 0;
    std::string hostAddress;
    std::string hostName;
};

struct RouterDialupProfile {
    std::string providerName, dialNumber1, dialNumber2, dialNumber3, userId, password;
    long dnsSelect = 1;  // 0 manual, 1 auto
    std::string dnsPrimary, dnsSecondary, address;
    long protocol = 0, mode = 0, autoDisconnect = 1, disconnectTime = 60;
};

struct RouterState {
    // router
    std::string hardwareAddress, routerAddress, defaultAddress, routerName;
    std::string loginPassword, adminPassword;
    long autoConnect = 1, connectSelect = 0;  // connectSelect 0..3 num1..num4, 4 netwk
    long ipMasquerade = 1;
    std::string masqueradeAddress;
    long swAction = 1, beep = 1, ipFilter = 0, lineMode = 0, redial = 0;

    std::array<RouterNatEntry, 32> nat;

    // DHCP server
    std::string dhcpStartAddress;
    long dhcpCount = 32, dhcpLeaseTime = 72;
    std::string dhcpGateway, dhcpDnsServer, dhcpDomainName;
    long dhcpActive = 1;

    // DNS proxy and its host table
    std::string dnsPrimaryServer, dnsSecondaryServer;
    long dnsForwarding = 1;
    std::array<RouterHostEntry, 32> hosts;

    // syslog
    std::string syslogAddress;
    long syslogFacility = 1, syslogDebug = 0, syslogInfo = 1, syslogNotice = 1, syslogActive = 0;

    // incoming dial-up (remote access server)
    long rasActive = 0;
    std::string rasWanAddress, rasPartnerAddress, rasUserId, rasPassword;
    long rasMode = 0, rasProtocol = 0, rasAutoDisconnect = 1, rasDisconnectTime = 60;

    std::array<RouterDialupProfile, 4> dialup;

    // connection limits (0 = no limit) and the counters they are measured against
    long chargeLimit = 0, chargePeriod = 2, timeLimit = 0, timePeriod = 2;
    long countLimit = 0, countMinutes = 60;
    long clearHour = 0, clearMinute = 0, clearWeekday = 0, clearMonthDay = 1;
    long chargeTotal = 0, timeTotal = 0, countTotal = 0;

    // leased line
    std::string networkAddress, remoteAddress, networkUserId, networkPassword;
    std::string networkDnsPrimary, networkDnsSecondary;

    // bandwidth on demand: bodChannels 0 two channels, 1 one channel
    long bodChannels = 1, bodResource = 0;
    long bodAddDirection = 0, bodAddRate = 80, bodAddTime = 10, bodAddMinimumTime = 60;
    long bodDelDirection = 0, bodDelRate = 40, bodDelTime = 30, bodDelMinimumTime = 60;

    // BACP/BAP answers, bit 0 add, bit 1 request, bit 2 delete; a set bit answers "auto"
    long bacpDepart = 7, bacpArrive = 7;
};

// Factory values: what the adapter holds after power-on without a flash copy or a restart.
RouterState routerFactoryState();

// The state as flat key/value pairs ("dhcp.lease_time", "nat.3.lan"; the device puts the
// area's "router." before them), and back. Loading ignores unknown keys
// and keeps the current value of a field whose key is missing or whose value is not valid.
std::map<std::string, std::string> saveRouterState(const RouterState& state);
void restoreRouterState(RouterState& state, const std::map<std::string, std::string>& values);

}  // namespace kx::sim
