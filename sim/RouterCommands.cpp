#include "sim/RouterCommands.h"

#include <array>
#include <string_view>

#include "sim/AreaText.h"
#include "sim/RouterValues.h"

namespace kx::sim {
namespace {

using S = RouterState;
using P = RouterDialupProfile;
using NumberField = long& (*)(S&, std::size_t profile);
using TextField = std::string& (*)(S&, std::size_t profile);

// Field accessors for the tables: a field of the state, or of dial-up profile k.
template <auto M>
auto& own(S& s, std::size_t) {
    return s.*M;
}
template <auto M>
auto& dial(S& s, std::size_t k) {
    return s.dialup[k].*M;
}

// "family keyword word" where the word is a keyword of the table.
struct ChoiceItem {
    std::string_view family, keyword;
    NumberField field;
    RouterKeywords words;
};

// "family keyword N" with N in lo..hi.
struct NumberItem {
    std::string_view family, keyword;
    NumberField field;
    long lo, hi;
};

// "family keyword value", the value being the rest of the line.
struct ValueItem {
    std::string_view family, keyword;
    TextField field;
    ValueRule rule;
};

// "family keyword a.b.c.d,a.b.c.d".
struct PairItem {
    std::string_view family, keyword;
    TextField first, second;
};

// "bacpbap keyword reject|auto": one bit of an answer set.
struct BitItem {
    std::string_view keyword;
    NumberField field;
    int bit;
};

// The dial-up family names its profile ("num1".."num4") before the value.
constexpr std::string_view kDialup = "dialup";

constexpr std::array<std::string_view, 12> kFamilies{"router", "network", "dialup",  "nat",
                                                     "dhcp",   "dns",     "host",    "syslog",
                                                     "bod",    "bacpbap", "connect", "ras"};

const ChoiceItem kChoiceItems[] = {
    {"router", "auto_connect", own<&S::autoConnect>, kManualAuto},
    {"router", "connect_sel", own<&S::connectSelect>, kConnectSelect},
    {"router", "ip_masquerade", own<&S::ipMasquerade>, kDisableEnable},
    {"router", "sw_action", own<&S::swAction>, kSwAction},
    {"router", "beep", own<&S::beep>, kDisableEnable},
    {"router", "ip_filter", own<&S::ipFilter>, kDisableEnable},
    {"router", "line_mode", own<&S::lineMode>, kLineMode},
    {"router", "redial", own<&S::redial>, kDisableEnable},
    {"dhcp", "active", own<&S::dhcpActive>, kDisableEnable},
    {"dns", "forwarding", own<&S::dnsForwarding>, kDisableEnable},
    {"syslog", "debug", own<&S::syslogDebug>, kDisableEnable},
    {"syslog", "info", own<&S::syslogInfo>, kDisableEnable},
    {"syslog", "notice", own<&S::syslogNotice>, kDisableEnable},
    {"syslog", "active", own<&S::syslogActive>, kDisableEnable},
    {"dialup", "protocol", dial<&P::protocol>, kProtocol},
    {"dialup", "mode", dial<&P::mode>, kLineUse},
    {"dialup", "auto_disc", dial<&P::autoDisconnect>, kDisableEnable},
    {"dialup", "dns_select", dial<&P::dnsSelect>, kManualAuto},
    {"bod", "channel", own<&S::bodChannels>, kBodChannel},
    {"bod", "resource_bod", own<&S::bodResource>, kBodResource},
    {"ras", "server", own<&S::rasActive>, kDisableEnable},
    {"ras", "protocol", own<&S::rasProtocol>, kProtocol},
    {"ras", "mode", own<&S::rasMode>, kLineUse},
    {"ras", "auto_disc", own<&S::rasAutoDisconnect>, kDisableEnable},
};

const NumberItem kNumberItems[] = {
    {"dhcp", "lease_time", own<&S::dhcpLeaseTime>, 1, 999999},
    {"syslog", "facility", own<&S::syslogFacility>, 0, 23},
    {"dialup", "disc_time", dial<&P::disconnectTime>, 1, 32400},
    {"ras", "disc_time", own<&S::rasDisconnectTime>, 1, 32400},
    {"connect", "clr_week", own<&S::clearWeekday>, 0, 6},
    {"connect", "clr_mon", own<&S::clearMonthDay>, 1, 31},
};

const ValueItem kValueItems[] = {
    {"router", "masq_address", own<&S::masqueradeAddress>, ValueRule::Address},
    {"router", "address", own<&S::routerAddress>, ValueRule::Prefixed},
    {"network", "address", own<&S::networkAddress>, ValueRule::Prefixed},
    {"network", "remote_addr", own<&S::remoteAddress>, ValueRule::Address},
    {"network", "user_id", own<&S::networkUserId>, ValueRule::Text},
    {"network", "password", own<&S::networkPassword>, ValueRule::Text},
    {"dialup", "provider_name", dial<&P::providerName>, ValueRule::Text},
    {"dialup", "user_id", dial<&P::userId>, ValueRule::Text},
    {"dialup", "password", dial<&P::password>, ValueRule::Text},
    {"dialup", "address", dial<&P::address>, ValueRule::Address},
    {"dhcp", "default_address", own<&S::dhcpGateway>, ValueRule::Address},
    {"dhcp", "dns_address", own<&S::dhcpDnsServer>, ValueRule::Address},
    {"dhcp", "domain_name", own<&S::dhcpDomainName>, ValueRule::Text},
    {"syslog", "address", own<&S::syslogAddress>, ValueRule::Address},
    {"ras", "user_id", own<&S::rasUserId>, ValueRule::Text},
    {"ras", "password", own<&S::rasPassword>, ValueRule::Text},
};

const PairItem kPairItems[] = {
    {"dns", "address", own<&S::dnsPrimaryServer>, own<&S::dnsSecondaryServer>},
    {"ras", "address", own<&S::rasWanAddress>, own<&S::rasPartnerAddress>},
    {"dialup", "dns_address", dial<&P::dnsPrimary>, dial<&P::dnsSecondary>},
    {"network", "dns_address", own<&S::networkDnsPrimary>, own<&S::networkDnsSecondary>},
};

const BitItem kBitItems[] = {
    {"depart_add", own<&S::bacpDepart>, 0},     {"depart_request", own<&S::bacpDepart>, 1},
    {"depart_del", own<&S::bacpDepart>, 2},     {"arrive_add", own<&S::bacpArrive>, 0},
    {"arrive_request", own<&S::bacpArrive>, 1}, {"arrive_del", own<&S::bacpArrive>, 2},
};

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// The arguments of one command: word `first` onwards, and the text from there on.
struct Args {
    const RouterLine& line;
    std::size_t first;
    std::size_t count() const { return line.size() > first ? line.size() - first : 0; }
    std::string_view word(std::size_t i) const { return line.word(first + i); }
    std::string_view rest() const { return line.restAfter(first - 1); }
};

using Special = bool (*)(S&, std::size_t profile, const Args&);

struct SpecialItem {
    std::string_view family, keyword;
    Special apply;
};

// "dialup dial_number numK a,b,c": all three numbers, each possibly empty.
bool setDialNumbers(S& s, std::size_t k, const Args& args) {
    const auto first = splitAt(trim(args.rest()), ',');
    if (!first)
        return false;
    const auto second = splitAt(first->second, ',');
    if (!second)
        return false;
    auto n1 = normalizeValue(ValueRule::Phone, trim(first->first));
    auto n2 = normalizeValue(ValueRule::Phone, trim(second->first));
    auto n3 = normalizeValue(ValueRule::Phone, trim(second->second));
    if (!n1 || !n2 || !n3)
        return false;
    s.dialup[k].dialNumber1 = std::move(*n1);
    s.dialup[k].dialNumber2 = std::move(*n2);
    s.dialup[k].dialNumber3 = std::move(*n3);
    return true;
}

// "dhcp range_address a.b.c.d/count".
bool setDhcpRange(S& s, std::size_t, const Args& args) {
    if (args.count() != 1)
        return false;
    const auto parts = splitAt(args.word(0), '/');
    if (!parts || parts->first.empty())
        return false;
    auto start = normalizeValue(ValueRule::Address, parts->first);
    const auto count = parseDecimal(parts->second, 0, 255);
    if (!start || !count)
        return false;
    s.dhcpStartAddress = std::move(*start);
    s.dhcpCount = *count;
    return true;
}

std::optional<std::size_t> entryNumber(std::string_view word) {
    const auto n = parseDecimal(word, 1, 32);
    if (!n)
        return std::nullopt;
    return static_cast<std::size_t>(*n - 1);
}

// "n first,second" of a table entry; both items required.
std::optional<std::pair<std::string, std::string>> entryItems(const Args& args, ValueRule firstRule,
                                                              ValueRule secondRule) {
    if (args.count() < 2)
        return std::nullopt;
    const auto items = splitAt(trim(args.line.restAfter(args.first)), ',');
    if (!items)
        return std::nullopt;
    const auto first = trim(items->first), second = trim(items->second);
    if (first.empty() || second.empty())
        return std::nullopt;
    auto a = normalizeValue(firstRule, first);
    auto b = normalizeValue(secondRule, second);
    if (!a || !b)
        return std::nullopt;
    return std::pair{std::move(*a), std::move(*b)};
}

// "nat add n lan,wan" and "host add n address,name": entry n of the table, in use.
template <auto Table, ValueRule SecondRule>
bool addEntry(S& s, std::size_t, const Args& args) {
    const auto n = entryNumber(args.word(0));
    auto items = entryItems(args, ValueRule::EntryAddress, SecondRule);
    if (!n || !items)
        return false;
    (s.*Table)[*n] = {1, std::move(items->first), std::move(items->second)};
    return true;
}

// Deleting an entry that is not in use is accepted and changes nothing.
template <auto Table>
bool deleteEntry(S& s, std::size_t, const Args& args) {
    const auto n = entryNumber(args.word(0));
    if (!n || args.count() != 1)
        return false;
    (s.*Table)[*n].inUse = 0;
    return true;
}

// "connect charge|time|number" alone clears that counter; with "limit/period" it sets the
// limit. A connection-time limit cannot exceed the hours of its period.
bool setLimit(long& limit, long& period, long& total, const Args& args, long limitMax,
              long periodLo, long periodHi, bool byPeriod) {
    if (args.count() == 0) {
        total = 0;
        return true;
    }
    if (args.count() != 1)
        return false;
    const auto parts = splitAt(args.word(0), '/');
    if (!parts)
        return false;
    const auto second = parseDecimal(parts->second, periodLo, periodHi);
    if (!second)
        return false;
    constexpr std::array<long, 3> kHours{23, 167, 743};
    const long max = byPeriod ? kHours[static_cast<std::size_t>(*second)] : limitMax;
    const auto first = parseDecimal(parts->first, 0, max);
    if (!first)
        return false;
    limit = *first;
    period = *second;
    return true;
}

bool setCharge(S& s, std::size_t, const Args& args) {
    return setLimit(s.chargeLimit, s.chargePeriod, s.chargeTotal, args, 999999, 0, 2, false);
}

bool setTime(S& s, std::size_t, const Args& args) {
    return setLimit(s.timeLimit, s.timePeriod, s.timeTotal, args, 0, 0, 2, true);
}

bool setNumber(S& s, std::size_t, const Args& args) {
    return setLimit(s.countLimit, s.countMinutes, s.countTotal, args, 9999, 1, 1440, false);
}

// "connect clr_day hour:minute".
bool setClearDay(S& s, std::size_t, const Args& args) {
    if (args.count() != 1)
        return false;
    const auto parts = splitAt(args.word(0), ':');
    if (!parts)
        return false;
    const auto hour = parseDecimal(parts->first, 0, 23);
    const auto minute = parseDecimal(parts->second, 0, 59);
    if (!hour || !minute)
        return false;
    s.clearHour = *hour;
    s.clearMinute = *minute;
    return true;
}

const SpecialItem kSpecialItems[] = {
    {"dialup", "dial_number", setDialNumbers},
    {"dhcp", "range_address", setDhcpRange},
    {"nat", "add", addEntry<&S::nat, ValueRule::NatWan>},
    {"nat", "del", deleteEntry<&S::nat>},
    {"host", "add", addEntry<&S::hosts, ValueRule::HostName>},
    {"host", "del", deleteEntry<&S::hosts>},
    {"connect", "charge", setCharge},
    {"connect", "time", setTime},
    {"connect", "number", setNumber},
    {"connect", "clr_day", setClearDay},
};

// The throughput BOD items, all "bod throughput_bod name value": a direction keyword or a
// number.
struct BodItem {
    std::string_view keyword;
    NumberField field;
    long lo, hi;
    RouterKeywords words;
};

const BodItem kBodItems[] = {
    {"add_evaluation_direction", own<&S::bodAddDirection>, 0, 3, kBodDirection},
    {"add_standard_rate", own<&S::bodAddRate>, 0, 100, {}},
    {"add_evaluation_time", own<&S::bodAddTime>, 1, 255, {}},
    {"add_minimum_time", own<&S::bodAddMinimumTime>, 5, 1275, {}},
    {"del_evaluation_direction", own<&S::bodDelDirection>, 0, 3, kBodDirection},
    {"del_standard_rate", own<&S::bodDelRate>, 0, 100, {}},
    {"del_evaluation_time", own<&S::bodDelTime>, 1, 255, {}},
    {"del_minimum_time", own<&S::bodDelMinimumTime>, 5, 1275, {}},
};

enum class Outcome { Unknown, Bad, Done };

Outcome done(bool ok) {
    return ok ? Outcome::Done : Outcome::Bad;
}

// Finds the item for "family keyword" and applies it; profile and argument positions follow
// the family's form.
Outcome apply(S& s, const RouterLine& line) {
    const std::string_view family = line.word(0), keyword = line.word(1);
    const auto matches = [&](const auto& item) {
        return equalsNoCase(item.family, family) && equalsNoCase(item.keyword, keyword);
    };

    // the dial-up family's profile word comes first; it is checked once the keyword is known
    std::size_t profile = 0;
    std::size_t first = 2;
    bool profileOk = true;
    if (equalsNoCase(family, kDialup)) {
        const auto k = choiceIndex(line.word(2), RouterKeywords(kConnectSelect).first(4));
        profileOk = k.has_value();
        profile = k ? static_cast<std::size_t>(*k) : 0;
        first = 3;
    }
    const Args args{line, first};
    const auto one = [&]() { return profileOk && args.count() == 1; };

    for (const auto& item : kChoiceItems) {
        if (!matches(item))
            continue;
        const auto index = choiceIndex(args.word(0), item.words);
        if (!one() || !index)
            return Outcome::Bad;
        item.field(s, profile) = *index;
        return Outcome::Done;
    }
    for (const auto& item : kNumberItems) {
        if (!matches(item))
            continue;
        const auto value = parseDecimal(args.word(0), item.lo, item.hi);
        if (!one() || !value)
            return Outcome::Bad;
        item.field(s, profile) = *value;
        return Outcome::Done;
    }
    for (const auto& item : kValueItems) {
        if (!matches(item))
            continue;
        const std::string_view raw = args.rest();
        auto value = normalizeValue(item.rule, item.rule == ValueRule::Text ? raw : trim(raw));
        if (!profileOk || !value)
            return Outcome::Bad;
        item.field(s, profile) = std::move(*value);
        return Outcome::Done;
    }
    for (const auto& item : kPairItems) {
        if (!matches(item))
            continue;
        const auto parts = splitAt(trim(args.rest()), ',');
        if (!profileOk || !parts)
            return Outcome::Bad;
        auto a = normalizeValue(ValueRule::Address, trim(parts->first));
        auto b = normalizeValue(ValueRule::Address, trim(parts->second));
        if (!a || !b)
            return Outcome::Bad;
        item.first(s, profile) = std::move(*a);
        item.second(s, profile) = std::move(*b);
        return Outcome::Done;
    }
    for (const auto& item : kSpecialItems) {
        if (!matches(item))
            continue;
        return profileOk ? done(item.apply(s, profile, args)) : Outcome::Bad;
    }
    if (equalsNoCase(family, "bacpbap")) {
        for (const auto& item : kBitItems) {
            if (!equalsNoCase(item.keyword, keyword))
                continue;
            const auto value = choiceIndex(args.word(0), kRejectAuto);
            if (!one() || !value)
                return Outcome::Bad;
            long& bits = item.field(s, profile);
            bits = *value ? (bits | (1L << item.bit)) : (bits & ~(1L << item.bit));
            return Outcome::Done;
        }
    }
    if (equalsNoCase(family, "bod") && equalsNoCase(keyword, "throughput_bod")) {
        const Args sub{line, 3};
        for (const auto& item : kBodItems) {
            if (!equalsNoCase(item.keyword, line.word(2)))
                continue;
            const auto value = item.words.empty() ? parseDecimal(sub.word(0), item.lo, item.hi)
                                                  : choiceIndex(sub.word(0), item.words);
            if (sub.count() != 1 || !value)
                return Outcome::Bad;
            item.field(s, profile) = *value;
            return Outcome::Done;
        }
    }
    return Outcome::Unknown;
}

}  // namespace

bool applyRouterSetting(RouterState& state, const RouterLine& line, std::string& reply) {
    bool known = false;
    for (const auto family : kFamilies) known = known || equalsNoCase(line.word(0), family);
    if (!known)
        return false;
    switch (apply(state, line)) {
        case Outcome::Unknown:
            reply = kInvalidCommandLine;
            break;
        case Outcome::Bad:
            reply = kInvalidParameterLine;
            break;
        case Outcome::Done:
            reply.clear();
            break;
    }
    return true;
}

}  // namespace kx::sim
