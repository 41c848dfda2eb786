#include "router/RouterModule.h"

#include "app/services/AppState.h"
#include "res/ShellIds.h"
#include "router/DialupDlg.h"
#include "router/PnaMenuDlg.h"

namespace kx {

namespace {

using area::AreaRecord;
using Record = RouterRecord;

// The sections in writing order: section 0, whose last command may change the router's address
// (the adapter then restarts), comes last.
const std::vector<int> kWriteOrder = {
    kNatSection,          kDhcpSection,       kDnsSection,         kHostSection,
    kSyslogSection,       kDialup1Section,    kDialup1Section + 1, kDialup1Section + 2,
    kDialup1Section + 3,  kLeasedLineSection, kBodSection,         kBacpBapSection,
    kConnectLimitSection, kPnaPortSection,    kRasSection,         kRouterSection};

std::vector<std::string> commands(const AreaRecord& working, const AreaRecord& snapshot,
                                  int section, bool overNetwork) {
    const Record& w = working.as<Record>();
    const Record& s = snapshot.as<Record>();
    if (section == kPnaPortSection)
        return pnaPortCommands(w.pna, s.pna);
    return routerCommands(w.router, s.router, section, overNetwork);
}

int write(const AreaContext& context, const AreaRecord& working, const AreaRecord& snapshot,
          int section) {
    const Record& w = working.as<Record>();
    const Record& s = snapshot.as<Record>();
    return writeRouterSection(context, section, w.router, s.router, w.pna, s.pna);
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

// A block of the router's record as kxctl names it ("router.nat5") and as the dialogs do
// ("ＮＡＴ 5"): its fields' prefix and label group, and the names its rules' reasons give.
struct BlockNames {
    std::string name;
    std::string caption;
};
BlockNames rasNames() {
    return {"router.ras", "着信設定"};
}
BlockNames dialupNames(std::size_t i) {
    const std::string number = std::to_string(i + 1);
    return {"router.dialup" + number, "ダイヤルアップ" + number};
}
BlockNames entryNames(const std::string& table, std::size_t i) {
    const std::string number = std::to_string(i + 1);
    return {"router." + table + number, (table == "nat" ? "ＮＡＴ " : "ＤＮＳ名前解決 ") + number};
}

std::vector<area::ItemField> fields() {
    std::vector<area::ItemField> out;
    const auto router = [](Record& r) -> RouterSettings& { return r.router; };
    for (auto items : {routerItems(), dhcpItems(), dnsItems(), syslogItems(), routerBodItems(),
                       routerBacpBapItems(), connectLimitItems()})
        area::addItemFields<Record, RouterSettings>(
            out, "router", items, router,
            items.data() == routerBodItems().data() || items.data() == routerBacpBapItems().data()
                ? "ＨｏｍｅＰＮＡ"
                : "",
            // the router's own passwords are shown by the adapter but never written
            [](const area::Item<RouterSettings>& item) {
                return !(item.command.empty() && isPasswordName(item.name));
            },
            items.data() == routerBacpBapItems().data());
    area::addItemFields<Record, DigitalPortSettings>(
        out, "digital.pna", digitalPortItems(),
        [](Record& r) -> DigitalPortSettings& { return r.pna; }, "ＰＮＡポート", isPnaPortItem);
    area::addItemFields<Record, RasSettings>(
        out, rasNames().name, rasItems(), [](Record& r) -> RasSettings& { return r.router.ras; },
        rasNames().caption);
    for (std::size_t i = 0; i < kDialupProfiles; ++i)
        area::addItemFields<Record, DialupProfile>(
            out, dialupNames(i).name, dialupItems(),
            [i](Record& r) -> DialupProfile& { return r.router.dialup[i]; },
            dialupNames(i).caption);
    area::addItemFields<Record, LeasedLineSettings>(
        out, "router.network", leasedLineItems(),
        [](Record& r) -> LeasedLineSettings& { return r.router.network; }, "専用線");
    // a table entry's items: empty while the entry is not in use, checked whole before writing
    for (std::size_t i = 0; i < kTableEntries; ++i) {
        area::addItemFields<Record, NatEntry>(
            out, entryNames("nat", i).name, natEntryItems(),
            [i](Record& r) -> NatEntry& { return r.router.nat[i]; }, entryNames("nat", i).caption,
            nullptr, true);
        out[out.size() - 2].check = emptyOr<checkNatLan>;
        out[out.size() - 1].check = emptyOr<checkNatWan>;
    }
    for (std::size_t i = 0; i < kTableEntries; ++i) {
        area::addItemFields<Record, HostEntry>(
            out, entryNames("host", i).name, hostEntryItems(),
            [i](Record& r) -> HostEntry& { return r.router.hosts[i]; },
            entryNames("host", i).caption, nullptr, true);
        out[out.size() - 2].check = emptyOr<checkHostAddress>;
        out[out.size() - 1].check = emptyOr<checkHostName>;
    }
    return out;
}

// An item of an entry that is not in use cannot be written: the adapter takes an entry's
// items only with the entry ("nat add N a,b"). A document that gives them needs the entry's
// in-use line too.
template <class Entry>
std::optional<area::Reason> unusedEntryError(const std::string& table,
                                             const std::array<Entry, kTableEntries>& working,
                                             const std::array<Entry, kTableEntries>& snapshot,
                                             std::string Entry::*first, std::string Entry::*second,
                                             const char* firstName, const char* secondName) {
    for (std::size_t i = 0; i < kTableEntries; ++i) {
        const Entry& entry = working[i];
        if (entry.inUse != 0)
            continue;
        const BlockNames entryName = entryNames(table, i);
        const auto given = [&](std::string Entry::*item) {
            return !(entry.*item).empty() && entry.*item != snapshot[i].*item;
        };
        if (given(first) || given(second)) {
            const std::string item = entryName.name + "." + (given(first) ? firstName : secondName);
            const std::string inUse = entryName.name + ".inUse = enable";
            return area::Reason{
                item + " cannot be written while the entry is not in use (add " + inUse + ")",
                entryName.caption + "（" + item + "）: 登録していない番号には書き込めません（" +
                    inUse + " を加えてください）"};
        }
    }
    return std::nullopt;
}

template <class Entry>
std::optional<area::Reason> entryError(const std::string& table,
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
        if (checkFirst(entry.*first) != 0 || checkSecond(entry.*second) != 0) {
            const BlockNames entryName = entryNames(table, i);
            return area::Reason{
                entryName.name + ": an entry in use needs both of its items, each valid",
                entryName.caption + "（" + entryName.name +
                    "）: 登録する番号には、二つの項目がどちらも正しく必要です"};
        }
    }
    return std::nullopt;
}

// The dialogs' rules that span items: the line use of CHAP, the dial-up profiles' DNS servers,
// the connection-time limit, the DHCP range, and the NAT and host entries.
std::optional<area::Reason> check(const AreaRecord& workingRecord,
                                  const AreaRecord& snapshotRecord) {
    const RouterSettings& now = workingRecord.as<Record>().router;
    const RouterSettings& before = snapshotRecord.as<Record>().router;
    // the line-use rule of the dial-up and incoming dial-up dialogs
    const auto chap = [](const auto& changed, const auto& read, const BlockNames& block) {
        return !(changed == read) && chapRefused(changed.mode, changed.protocol)
                   ? std::optional<area::Reason>(
                         area::Reason{block.name + ": CHAP works on the 64k line use only",
                                      block.caption + "（" + block.name +
                                          "）: ＣＨＡＰは接続情報が64kのときだけ使えます"})
                   : std::nullopt;
    };
    if (auto error = chap(now.ras, before.ras, rasNames()))
        return error;
    for (std::size_t i = 0; i < kDialupProfiles; ++i) {
        const DialupProfile& profile = now.dialup[i];
        const DialupProfile& read = before.dialup[i];
        const BlockNames block = dialupNames(i);
        if (auto error = chap(profile, read, block))
            return error;
        // the dial-up dialog's rule on the DNS servers, once they are touched
        if ((profile.dnsSelect != read.dnsSelect || profile.dnsPrimary != read.dnsPrimary ||
             profile.dnsSecondary != read.dnsSecondary) &&
            dnsServerMissing(profile))
            return area::Reason{
                block.name + ": DNS servers given by hand (dnsSelect manual) need an address",
                block.caption + "（" + block.name +
                    "）: ＤＮＳサーバを指定にするときはＩＰアドレスが必要です"};
    }
    // the connection-limit and DHCP dialogs' rules
    if ((now.timeLimit != before.timeLimit || now.timePeriod != before.timePeriod) &&
        connectTimeOutOfPeriod(now))
        return area::Reason{
            "router.timeLimit: more hours than its period has (23 a day, 167 a "
            "week, 743 a month)",
            "接続制限 接続時間（router.timeLimit）: 期間の時間を超えています"
            "（１日は23、１週間は167、１ヶ月は743時間まで）"};
    if (dhcpRangeWithoutStart(now, before))
        return area::Reason{"router.dhcpStartAddress: the DHCP range needs its start address",
                            "ＤＨＣＰ 開始ＩＰアドレス（router.dhcpStartAddress）: "
                            "割当てアドレスには開始ＩＰアドレスが必要です"};
    if (auto error = unusedEntryError("nat", now.nat, before.nat, &NatEntry::lanAddress,
                                      &NatEntry::wanAddress, "lanAddress", "wanAddress"))
        return error;
    if (auto error = unusedEntryError("host", now.hosts, before.hosts, &HostEntry::hostAddress,
                                      &HostEntry::hostName, "hostAddress", "hostName"))
        return error;
    if (auto error = entryError("nat", now.nat, before.nat, &NatEntry::lanAddress, checkNatLan,
                                &NatEntry::wanAddress, checkNatWan))
        return error;
    return entryError("host", now.hosts, before.hosts, &HostEntry::hostAddress, checkHostAddress,
                      &HostEntry::hostName, checkHostName);
}

}  // namespace

const area::AreaModule& routerModule() {
    static const area::AreaModule module{
        .name = "router",
        .routerOnly = true,
        // the router log lines are spelled "HomaPNA"
        .entries = {{.command = IDC_MAIN_PNA_MENU,
                     .texts = {"HomaPNA", "HomePNA詳細設定", "HomaPNA Status Read OK\r\n",
                               "View HomaPNA Dlg\r\n", "HomaPNA Status Read ERROR\r\n", "", ""},
                     .read = RouterReader,
                     .run = [](AreaContext& c) { return CPnaMenuDlg(c).DoModal(); }},
                    {.command = IDC_MAIN_PNA_EASY,
                     .texts = {"Dialup", "HomePNA簡単設定", "Dialup Status Read OK\r\n",
                               "View Dialup Dlg\r\n", "Dialup Status Read ERROR\r\n",
                               "Dialup Status Write OK\r\n", "Dialup Status Write ERROR\r\n"},
                     .direct = true,
                     .read = EasySetupReader,
                     .run = [](AreaContext&) { return CPnaEasyDlg().DoModal(); },
                     .write = EasySetupWriter}},
        .blank = area::blankOf<Record>,
        .read =
            [](const AreaContext& c, AreaRecord& snapshot) {
                Record& r = snapshot.as<Record>();
                return readRouterSettings(c, r.router, r.pna);
            },
        .sections = kWriteOrder,
        .commands = commands,
        .write = write,
        .snapshot =
            [] {
                return AreaRecord::of(
                    Record{routerSettings.snapshot, digitalSettings.snapshot.pna});
            },
        .working =
            [] {
                return AreaRecord::of(Record{routerSettings.working, digitalSettings.working.pna});
            },
        .adopt =
            [](const AreaRecord& snapshot) {
                const Record& r = snapshot.as<Record>();
                routerSettings.snapshot = r.router;
                digitalSettings.snapshot.pna = r.pna;
                routerSettings.readDone();
                digitalSettings.readDone();
            },
        .reset =
            [] {
                routerSettings.reset();
                digitalSettings.snapshot.pna = {};
                digitalSettings.working.pna = {};
                resetCounters = false;
            },
        .fields = fields,
        .check = check,
    };
    return module;
}

}  // namespace kx
