#pragma once

// The router area of the router variant: the router's own settings, NAT, DHCP, DNS, the host
// table, syslog, incoming dial-up (RAS), four dial-up profiles, the leased line, BOD, BACP/BAP,
// the connection limits, and the HomePNA port's digital settings (the `pna` block of
// DigitalSettings); their items as data, the reader (13 "show" commands) and the writer, one
// section per dialog of the HomePNA menu.
//
// The records live here, process-wide (the rule of the two copies: area/Copies.h). Numbers are
// kept in the adapter's field widths: a reported 8-bit value of 257 reads as 1.

#include <array>
#include <span>
#include <string>
#include <vector>

#include "app/services/AreaContext.h"
#include "area/Copies.h"
#include "area/Items.h"
#include "isdn/DigitalRecord.h"

namespace kx {

struct RasSettings {
    int rasActive = 0;  // 0 disable, 1 enable
    std::string wanAddress;
    std::string partnerAddress;
    std::string userId;  // at most 64 characters
    std::string password;
    int mode = 0;      // 0 64k, 1 mp1 (128k, two channels), 2 mp2 (BOD), 3 mp3 (BACP/BAP)
    int protocol = 0;  // 0 auto, 1 pap, 2 chap, 3 disable
    int autoDisconnect = 0;
    int disconnectTime = 0;  // seconds, 16 bits

    bool operator==(const RasSettings&) const = default;
};

struct DialupProfile {
    std::string providerName;  // at most 64 characters
    std::string dialNumber1;
    std::string dialNumber2;
    std::string dialNumber3;
    std::string userId;  // at most 64 characters
    std::string password;
    int dnsSelect = 0;  // 0 addresses given ("manual"), 1 automatic
    std::string dnsPrimary;
    std::string dnsSecondary;
    std::string address;  // the WAN-side address; "0.0.0.0" for none
    int protocol = 0;     // as RasSettings
    int mode = 0;         // as RasSettings
    int autoDisconnect = 0;
    int disconnectTime = 0;

    bool operator==(const DialupProfile&) const = default;
};

struct LeasedLineSettings {
    std::string networkAddress;  // "address/prefix"
    std::string remoteAddress;
    std::string userId;  // at most 64 characters
    std::string password;
    std::string dnsPrimary;
    std::string dnsSecondary;

    bool operator==(const LeasedLineSettings&) const = default;
};

struct NatEntry {
    int inUse = 0;
    std::string lanAddress;  // the private address; at most 32 characters
    std::string wanAddress;  // the global address, or a text starting with "*"; at most 32

    bool operator==(const NatEntry&) const = default;
};

struct HostEntry {
    std::string hostAddress;  // at most 32 characters
    std::string hostName;     // at most 64 characters
    int inUse = 0;

    bool operator==(const HostEntry&) const = default;
};

inline constexpr int kTableEntries = 32;
inline constexpr int kDialupProfiles = 4;

struct RouterSettings {
    // the router itself ("show router")
    std::string hardwareAddress;  // kept, never written
    std::string routerAddress;    // "address/prefix" from "ip address:" and "submask:"
    std::string defaultAddress;   // kept, never written
    std::string routerName;       // kept, never written
    std::string loginPassword;    // kept, never written
    std::string adminPassword;    // kept, never written
    int autoConnect = 0;          // 0 manual, nonzero auto
    int connectSelect = 0;        // 0..3 dial-up profile 1..4, 4 leased line
    int ipMasquerade = 0;
    std::string masqueradeAddress;
    int swAction = 0;  // 0 bod, nonzero line
    int beep = 0;
    int ipFilter = 0;
    int lineMode = 0;  // 0..4
    int redial = 0;
    // connection limits ("show connect"); a limit of 0 is no limit
    int chargeLimit = 0;   // yen
    int chargePeriod = 0;  // 0 a day, 1 a week, 2 a month
    int timeLimit = 0;     // hours
    int timePeriod = 0;
    int countLimit = 0;    // connections
    int countMinutes = 0;  // per so many minutes
    int clearHour = 0;
    int clearMinute = 0;
    int clearWeekday = 0;  // 0 Sunday .. 6 Saturday
    int clearMonthDay = 0;
    // DNS proxy
    std::string dnsPrimaryServer;
    std::string dnsSecondaryServer;
    int dnsForwarding = 0;
    // DHCP server
    std::string dhcpStartAddress;
    int dhcpCount = 0;
    int dhcpLeaseTime = 0;  // hours
    std::string dhcpGateway;
    std::string dhcpDnsServer;
    std::string dhcpDomainName;
    int dhcpActive = 0;
    // syslog
    std::string syslogAddress;
    int syslogFacility = 0;
    int syslogDebug = 0;
    int syslogInfo = 0;
    int syslogNotice = 0;
    int syslogActive = 0;
    // BOD
    int bodChannels = 0;  // 0 two channels, 1 one channel
    int bodResource = 0;  // 0 disable, 1 depart, 2 arrive, 3 both
    int bodAddDirection = 0;
    int bodAddRate = 0;
    int bodAddTime = 0;
    int bodAddMinimumTime = 0;  // seconds, 16 bits
    int bodDelDirection = 0;
    int bodDelRate = 0;
    int bodDelTime = 0;
    int bodDelMinimumTime = 0;
    // BACP/BAP answers: bit 0 add, bit 1 request, bit 2 delete (set: "auto")
    int bacpDepart = 0;
    int bacpArrive = 0;

    RasSettings ras;
    std::array<DialupProfile, kDialupProfiles> dialup;
    LeasedLineSettings network;
    std::array<NatEntry, kTableEntries> nat;
    std::array<HostEntry, kTableEntries> hosts;

    bool operator==(const RouterSettings&) const = default;
};

inline area::Copies<RouterSettings> routerSettings;

// Set by the connection-limit dialog's clear button: the next write of the connection limits
// clears the adapter's three counters first. Cleared whenever that dialog opens.
inline bool resetCounters = false;

// The writer's sections, one per dialog of the HomePNA menu.
enum RouterSection {
    kRouterSection = 0,
    kNatSection = 1,
    kDhcpSection = 2,
    kDnsSection = 3,
    kHostSection = 4,
    kSyslogSection = 5,
    kDialup1Section = 6,  // .. 9 for profile 4
    kLeasedLineSection = 10,
    kBodSection = 11,
    kBacpBapSection = 12,
    kConnectLimitSection = 13,
    kPnaPortSection = 14,
    kRasSection = 15,
};

// The item tables, in each section's writing order.
std::span<const area::Item<RouterSettings>> routerItems();          // section 0
std::span<const area::Item<RouterSettings>> dhcpItems();            // section 2
std::span<const area::Item<RouterSettings>> dnsItems();             // section 3
std::span<const area::Item<RouterSettings>> syslogItems();          // section 5
std::span<const area::Item<RouterSettings>> routerBodItems();       // section 11
std::span<const area::Item<RouterSettings>> routerBacpBapItems();   // section 12, by their rule
std::span<const area::Item<RouterSettings>> connectLimitItems();    // section 13
std::span<const area::Item<DialupProfile>> dialupItems();           // sections 6-9, "num1".."num4"
std::span<const area::Item<LeasedLineSettings>> leasedLineItems();  // section 10
std::span<const area::Item<RasSettings>> rasItems();                // section 15
// The NAT and host entries as rows (inUse, the two items), for their names and rules; the
// tables are read and written whole (readTableLine, the writer's sections 1 and 4).
std::span<const area::Item<NatEntry>> natEntryItems();
std::span<const area::Item<HostEntry>> hostEntryItems();
// The digital port rows that the HomePNA port has (section 14).
bool isPnaPortItem(const area::Item<DigitalPortSettings>& item);
// The checks of an in-use entry's items as the user gives them: 0 valid, 1 not (an empty item
// is not valid; a NAT global address is an address or a text starting with "*"; no comma).
int checkNatLan(std::string_view text);
int checkNatWan(std::string_view text);
int checkHostAddress(std::string_view text);
int checkHostName(std::string_view text);
// The checks of a table entry's two addresses and of a host name.
const area::ItemRule& natLanRule();
const area::ItemRule& natWanRule();
const area::ItemRule& hostAddressRule();
const area::ItemRule& hostNameRule();

// CHAP works on the 64k line use only: a dial-up profile or the incoming dial-up with CHAP and
// another line use is refused.
bool chapRefused(int mode, int protocol);
// DNS servers given by hand ("manual") need at least one server address.
bool dnsServerMissing(const DialupProfile& profile);
// A connection-time limit beyond the hours of its period (23 a day, 167 a week, 743 a month),
// or one without a period.
bool connectTimeOutOfPeriod(const RouterSettings& settings);
// The DHCP range goes out as "start/count": changing either with no start address would send a
// range the adapter refuses.
bool dhcpRangeWithoutStart(const RouterSettings& now, const RouterSettings& before);

// The block word of dial-up profile k (1..4): "num1".."num4".
std::string dialupBlock(int profile);

// Entry n (1..32) of a NAT or host list reply: in use with its two items when the reply lists
// it ("3: 192.168.0.3, 203.0.113.7"), not in use otherwise. The first item is cut to 32 bytes,
// the second to `secondMax`.
struct TableLine {
    bool listed = false;
    std::string first;
    std::string second;
};
TableLine readTableLine(std::string_view reply, int n, std::size_t secondMax);

// Sends the 13 "show" commands ("show router\r" .. "show bacpbap\r") and parses each reply into
// routerSettings.snapshot (and the pna block of digitalSettings.snapshot). A failed exchange
// stops the read at once and returns 0; the working copies change only once all were read.
int RouterReader(const AreaContext& context);

// The commands that bring section `section` (0-13, 15) of the adapter from the snapshot to the
// working copy, in the section's order; none for any other section. Over the network link
// the router's serial-only items are left out.
std::vector<std::string> routerCommands(const RouterSettings& working,
                                        const RouterSettings& snapshot, int section,
                                        bool overNetwork = false);

// The commands of section 14, the HomePNA port (the pna block of the digital copies).
std::vector<std::string> pnaPortCommands(const DigitalPortSettings& working,
                                         const DigitalPortSettings& snapshot);

// Sends routerCommands(...) (or pnaPortCommands) for `section`, stopping at the first failure; 1
// when every command was acknowledged. A router address acknowledged by the adapter restarts it:
// changeCount goes to 0 and addressChanged is set, so the program ends without storing or saying
// "exit".
int RouterWriter(const AreaContext& context, int section);

// The easy setup of dial-up profile 1: reads "show dialup num1\r" into the snapshot's profile 1
// (provider, numbers, user, password and DNS only) and copies the snapshot into the working
// copy; writes the changed items of that form.
int EasySetupReader(const AreaContext& context);
std::vector<std::string> easySetupCommands(const DialupProfile& working,
                                           const DialupProfile& snapshot);
int EasySetupWriter(const AreaContext& context);

}  // namespace kx
