#include "cli/Fields.h"

#include <algorithm>

#include "link/Sjis.h"
#include "link/TextFunctions.h"

namespace kx::cli {

namespace {

// Adds a field for every row of `items`, the rows' record being block(records).
template <class Record>
void addTable(std::vector<Field>& out, std::string_view area, const std::string& prefix,
              std::span<const area::Item<Record>> items, std::function<Record&(Records&)> block,
              bool (*keep)(const area::Item<Record>&) = nullptr, bool writtenWhole = false) {
    // rows joined to the one before them are written by that row's command
    bool joined = false;
    bool groupWritten = false;
    for (const area::Item<Record>& item : items) {
        if (!joined)
            groupWritten = !item.command.empty();
        joined = item.nextJoin != 0;
        if (keep && !keep(item))
            continue;
        Field field;
        // a table written whole by its area's writer (the BACP/BAP answers, the NAT and host
        // entries) has no command per row
        field.readOnly = !groupWritten && !writtenWhole;
        // a table of one unnamed item (a short number) is named by its block alone
        field.name = item.name.empty() ? prefix : prefix + "." + std::string(item.name);
        field.area = std::string(area);
        field.rule = &item;
        if (item.isText()) {
            std::string Record::*member = item.text;
            field.text = [block, member](Records& r) { return &(block(r).*member); };
        } else {
            int Record::*member = item.number;
            field.number = [block, member](Records& r) { return &(block(r).*member); };
        }
        out.push_back(std::move(field));
    }
}

// A password's row ("password", "loginPassword", ...).
bool isPasswordName(std::string_view name) {
    return name.ends_with("assword");
}

// A table entry's item: empty while the entry is not in use, else as `check` says.
template <int (*check)(std::string_view)>
int emptyOr(std::string_view text) {
    return text.empty() ? 0 : check(text);
}

std::vector<Field> buildFields() {
    std::vector<Field> out;
    const std::string analog = "analog";
    for (std::size_t port = 0; port < kTelPortWords.size(); ++port)
        addTable<TelPortSettings>(
            out, analog, analog + "." + std::string(kTelPortWords[port]), telPortItems(),
            [port](Records& r) -> TelPortSettings& { return r.analog.tel[port]; });
    addTable<AnalogSettings>(out, analog, analog, analogCommonItems(),
                             [](Records& r) -> AnalogSettings& { return r.analog; });

    // the HomePNA block belongs to the router area, which reads and writes it
    const std::string digital = "digital";
    addTable<DigitalPortSettings>(
        out, digital, digital + ".data", digitalPortItems(),
        [](Records& r) -> DigitalPortSettings& { return r.digital.data; });
    addTable<DigitalPortSettings>(out, digital, digital + ".usb", digitalPortItems(),
                                  [](Records& r) -> DigitalPortSettings& { return r.digital.usb; });
    for (auto items : {digitalCommonItems(), throughputBodItems(), bacpBapItems()})
        addTable<DigitalSettings>(
            out, digital, digital, items, [](Records& r) -> DigitalSettings& { return r.digital; },
            nullptr, items.data() == bacpBapItems().data());

    const std::string arrive = "arrive";
    addTable<ArriveSettings>(out, arrive, arrive, arriveStandardItems(),
                             [](Records& r) -> ArriveSettings& { return r.arrive; });
    for (std::size_t i = 0; i < kArriveEntryCount; ++i)
        addTable<ArriveEntry>(out, arrive, arrive + ".entry" + std::to_string(i + 1),
                              arriveEntryItems(),
                              [i](Records& r) -> ArriveEntry& { return r.arrive.entries[i]; });

    const std::string shortnum = "shortnum";
    for (std::size_t i = 0; i < kShortNumberCount; ++i)
        addTable<ShortNumberEntry>(out, shortnum, shortnum + "." + std::to_string(i + 1),
                                   shortNumberItems(),
                                   [i](Records& r) -> ShortNumberEntry& { return r.shortnum[i]; });

    const std::string router = "router";
    for (auto items : {routerItems(), dhcpItems(), dnsItems(), syslogItems(), routerBodItems(),
                       routerBacpBapItems(), connectLimitItems()})
        addTable<RouterSettings>(
            out, router, router, items, [](Records& r) -> RouterSettings& { return r.router; },
            // the router's own passwords are shown by the adapter but never written
            [](const area::Item<RouterSettings>& item) {
                return !(item.command.empty() && isPasswordName(item.name));
            },
            items.data() == routerBacpBapItems().data());
    addTable<DigitalPortSettings>(
        out, router, digital + ".pna", digitalPortItems(),
        [](Records& r) -> DigitalPortSettings& { return r.digital.pna; }, isPnaPortItem);
    addTable<RasSettings>(out, router, router + ".ras", rasItems(),
                          [](Records& r) -> RasSettings& { return r.router.ras; });
    for (std::size_t i = 0; i < kDialupProfiles; ++i)
        addTable<DialupProfile>(out, router, router + ".dialup" + std::to_string(i + 1),
                                dialupItems(),
                                [i](Records& r) -> DialupProfile& { return r.router.dialup[i]; });
    addTable<LeasedLineSettings>(
        out, router, router + ".network", leasedLineItems(),
        [](Records& r) -> LeasedLineSettings& { return r.router.network; });
    // a table entry's items: empty while the entry is not in use, checked whole before writing
    for (std::size_t i = 0; i < kTableEntries; ++i) {
        addTable<NatEntry>(
            out, router, router + ".nat" + std::to_string(i + 1), natEntryItems(),
            [i](Records& r) -> NatEntry& { return r.router.nat[i]; }, nullptr, true);
        out[out.size() - 2].check = emptyOr<checkNatLan>;
        out[out.size() - 1].check = emptyOr<checkNatWan>;
    }
    for (std::size_t i = 0; i < kTableEntries; ++i) {
        addTable<HostEntry>(
            out, router, router + ".host" + std::to_string(i + 1), hostEntryItems(),
            [i](Records& r) -> HostEntry& { return r.router.hosts[i]; }, nullptr, true);
        out[out.size() - 2].check = emptyOr<checkHostAddress>;
        out[out.size() - 1].check = emptyOr<checkHostName>;
    }
    return out;
}

bool isControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
}

}  // namespace

bool isSecret(const Field& field) {
    return isPasswordName(field.rule->name);
}

bool isAreaName(std::string_view name) {
    return std::find(std::begin(kAreaNames), std::end(kAreaNames), name) != std::end(kAreaNames);
}

const std::vector<Field>& allFields() {
    static const std::vector<Field> fields = buildFields();
    return fields;
}

const Field* findField(std::string_view name) {
    for (const Field& field : allFields())
        if (field.name == name)
            return &field;
    return nullptr;
}

std::string valueText(const Field& field, const Records& records) {
    // the accessors only hand out a member's address; nothing is changed through it here
    Records& r = const_cast<Records&>(records);
    if (field.isText())
        return SjisToUtf8(*field.text(r));
    const int value = *field.number(r);
    const area::ItemRule& rule = *field.rule;
    if (rule.kind == area::ItemKind::Choice) {
        if (std::optional<std::string> keyword = rule.argumentOf(value))
            return *keyword;
        return std::to_string(value);
    }
    return std::to_string(value * rule.scale);
}

std::string describe(const Field& field) {
    const area::ItemRule& rule = *field.rule;
    switch (rule.kind) {
        case area::ItemKind::Choice: {
            std::string text = "choice:";
            for (std::size_t i = 0; i < rule.keywords.size(); ++i)
                if (!rule.keywords[i].empty())
                    text += " " + std::string(rule.keywords[i]);
            return text;
        }
        case area::ItemKind::Number: {
            std::string text = "number " + std::to_string(rule.lowest * rule.scale) + ".." +
                               std::to_string(rule.highest * rule.scale);
            if (rule.scale != 1)
                text += " (multiple of " + std::to_string(rule.scale) + ")";
            return text;
        }
        case area::ItemKind::Phone:
            return "phone number (digits, optional *subaddress)";
        case area::ItemKind::Address:
            return rule.lowest == 1 ? "address (a.b.c.d/prefix)" : "address (a.b.c.d)";
        case area::ItemKind::Text:
            return "text (at most " + std::to_string(rule.maxLength) + " bytes of CP932)";
    }
    return "";
}

std::optional<FieldValue> parseValue(const Field& field, std::string_view given,
                                     std::string& error) {
    const area::ItemRule& rule = *field.rule;
    FieldValue value;
    if (field.isText()) {
        // a control byte could end the command line early or start a second one
        if (std::any_of(given.begin(), given.end(), isControl)) {
            error = "a control character is not allowed in " + field.name;
            return std::nullopt;
        }
        SjisEncoding encoded = Utf8ToSjis(given);
        if (!encoded.ok()) {
            error = encoded.error == SjisError::InvalidUtf8
                        ? "the value of " + field.name + " is not valid UTF-8"
                        : "the value of " + field.name + " has a character without a CP932 form";
            return std::nullopt;
        }
        if ((field.check ? field.check(encoded.bytes) : rule.checkText(encoded.bytes)) != 0) {
            error = "invalid value for " + field.name + ": \"" + std::string(given) +
                    "\" (expected " + describe(field) + ")";
            return std::nullopt;
        }
        value.text = std::move(encoded.bytes);
        return value;
    }
    if (rule.kind == area::ItemKind::Choice) {
        for (std::size_t i = 0; i < rule.keywords.size(); ++i) {
            if (!rule.keywords[i].empty() && rule.keywords[i] == given) {
                value.number = static_cast<int>(i);
                return value;
            }
        }
    }
    // an encoded choice takes any stored value; given as a number, it is a keyword's index
    const bool keywordIndex =
        rule.kind != area::ItemKind::Choice || !rule.encode ||
        (CheckNumber(given, 0, static_cast<int>(rule.keywords.size()) - 1) == 0 &&
         !rule.keywords[static_cast<std::size_t>(ReadDecimal(given))].empty());
    if (!keywordIndex || rule.checkText(given) != 0) {
        error = "invalid value for " + field.name + ": \"" + std::string(given) + "\" (expected " +
                describe(field) + ")";
        return std::nullopt;
    }
    const int number = ReadDecimal(given);
    if (rule.kind == area::ItemKind::Number && number % rule.scale != 0) {
        error = "invalid value for " + field.name + ": \"" + std::string(given) + "\" (expected " +
                describe(field) + ")";
        return std::nullopt;
    }
    value.number = rule.kind == area::ItemKind::Number ? number / rule.scale : number;
    return value;
}

void storeValue(const Field& field, const FieldValue& value, Records& records) {
    if (field.isText()) {
        *field.text(records) = value.text;
        return;
    }
    int& stored = *field.number(records);
    const area::ItemRule& rule = *field.rule;
    // an encoded choice (any nonzero service value is "pseudo") keeps a value that already
    // stands for the keyword given
    if (rule.kind == area::ItemKind::Choice && rule.encode &&
        rule.argumentOf(stored) == rule.argumentOf(value.number))
        return;
    stored = value.number;
}

namespace {

// An item of an entry that is not in use cannot be written: the adapter takes an entry's
// items only with the entry ("nat add N a,b"). A document that gives them needs the entry's
// in-use line too.
template <class Entry>
std::optional<std::string> unusedEntryError(const std::string& table,
                                            const std::array<Entry, kTableEntries>& working,
                                            const std::array<Entry, kTableEntries>& snapshot,
                                            std::string Entry::*first, std::string Entry::*second,
                                            const char* firstName, const char* secondName) {
    for (std::size_t i = 0; i < kTableEntries; ++i) {
        const Entry& entry = working[i];
        if (entry.inUse != 0)
            continue;
        const std::string name = "router." + table + std::to_string(i + 1);
        const auto given = [&](std::string Entry::*item) {
            return !(entry.*item).empty() && entry.*item != snapshot[i].*item;
        };
        if (given(first) || given(second))
            return name + "." + (given(first) ? firstName : secondName) +
                   " cannot be written while the entry is not in use (add " + name +
                   ".inUse = enable)";
    }
    return std::nullopt;
}

template <class Entry>
std::optional<std::string> entryError(const std::string& table,
                                      const std::array<Entry, kTableEntries>& working,
                                      const std::array<Entry, kTableEntries>& snapshot,
                                      std::string Entry::*first,
                                      int (*checkFirst)(std::string_view),
                                      std::string Entry::*second,
                                      int (*checkSecond)(std::string_view)) {
    for (std::size_t i = 0; i < kTableEntries; ++i) {
        const Entry& entry = working[i];
        if (entry.inUse == 0 || entry == snapshot[i])
            continue;
        if (checkFirst(entry.*first) != 0 || checkSecond(entry.*second) != 0)
            return "router." + table + std::to_string(i + 1) +
                   ": an entry in use needs both of its items, each valid";
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> recordsError(const Records& working, const Records& snapshot) {
    Records& w = const_cast<Records&>(working);  // the accessors only hand out addresses
    Records& s = const_cast<Records&>(snapshot);
    for (const Field& field : allFields()) {
        if (!field.isText() || field.check || field.rule->kind != area::ItemKind::Address ||
            !field.rule->emptyAs.empty())
            continue;
        if (field.text(w)->empty() && !field.text(s)->empty())
            return field.name + ": an address is needed here (0.0.0.0 for none)";
    }
    // the line-use rule of the dial-up and incoming dial-up dialogs
    const auto chap = [](const auto& now, const auto& before, const std::string& name) {
        return !(now == before) && chapRefused(now.mode, now.protocol)
                   ? std::optional<std::string>(name + ": CHAP works on the 64k line use only")
                   : std::nullopt;
    };
    if (auto error = chap(working.router.ras, snapshot.router.ras, "router.ras"))
        return error;
    for (std::size_t i = 0; i < kDialupProfiles; ++i) {
        const DialupProfile& profile = working.router.dialup[i];
        const DialupProfile& read = snapshot.router.dialup[i];
        const std::string name = "router.dialup" + std::to_string(i + 1);
        if (auto error = chap(profile, read, name))
            return error;
        // the dial-up dialog's rule on the DNS servers, once they are touched
        if ((profile.dnsSelect != read.dnsSelect || profile.dnsPrimary != read.dnsPrimary ||
             profile.dnsSecondary != read.dnsSecondary) &&
            dnsServerMissing(profile))
            return name + ": DNS servers given by hand (dnsSelect manual) need an address";
    }
    // the connection-limit and DHCP dialogs' rules
    const RouterSettings& now = working.router;
    const RouterSettings& before = snapshot.router;
    if ((now.timeLimit != before.timeLimit || now.timePeriod != before.timePeriod) &&
        connectTimeOutOfPeriod(now))
        return "router.timeLimit: more hours than its period has (23 a day, 167 a week, 743 a "
               "month)";
    if (dhcpRangeWithoutStart(now, before))
        return "router.dhcpStartAddress: the DHCP range needs its start address";
    if (auto error =
            unusedEntryError("nat", working.router.nat, snapshot.router.nat, &NatEntry::lanAddress,
                             &NatEntry::wanAddress, "lanAddress", "wanAddress"))
        return error;
    if (auto error = unusedEntryError("host", working.router.hosts, snapshot.router.hosts,
                                      &HostEntry::hostAddress, &HostEntry::hostName, "hostAddress",
                                      "hostName"))
        return error;
    if (auto error =
            entryError("nat", working.router.nat, snapshot.router.nat, &NatEntry::lanAddress,
                       checkNatLan, &NatEntry::wanAddress, checkNatWan))
        return error;
    return entryError("host", working.router.hosts, snapshot.router.hosts, &HostEntry::hostAddress,
                      checkHostAddress, &HostEntry::hostName, checkHostName);
}

}  // namespace kx::cli
