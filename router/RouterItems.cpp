#include <array>

#include "area/Keywords.h"
#include "area/SettingsDlg.h"
#include "router/RouterSettings.h"

// The router's item tables, in each section's writing order, and the checks of its table
// entries: what the reader, the writer, the dialogs and kxctl share.

namespace kx {

namespace {

using area::address;
using area::choice;
using area::Item;
using area::kBodChannels;
using area::kBodDirections;
using area::kDisableEnable;
using area::Keywords;
using area::kResourceBods;
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
        .withSerialOnly()
        .withCaption("接続先 手動／自動"),
    choice("connectSelect", &R::connectSelect, "connect select:", kConnectSelects,
           "router connect_sel")
        .withDecode(connectSelectFrom)
        .withSerialOnly()
        .withCaption("接続先"),
    onOff("ipMasquerade", &R::ipMasquerade, "ip masquerade:", "router ip_masquerade")
        .withSerialOnly()
        .withCaption("ＩＰマスカレード"),
    address("masqueradeAddress", &R::masqueradeAddress, "masquerade address:", 0,
            "router masq_address")
        .withEmptyAs(kNoAddress)
        .withCaption("ＩＰマスカレード用ＩＰアドレス"),
    onOff("swAction", &R::swAction, "sw action:", "router sw_action", kSwActions)
        .withSerialOnly()
        .withCaption("スイッチ選択"),
    onOff("beep", &R::beep, "beep:", "router beep").withSerialOnly().withCaption("ブザー音"),
    onOff("ipFilter", &R::ipFilter, "ip filter:", "router ip_filter")
        .withSerialOnly()
        .withCaption("ＩＰフィルタ"),
    pick("lineMode", &R::lineMode, "line mode:", kLineModes, "router line_mode")
        .withSerialOnly()
        .withCaption("通信モード"),
    onOff("redial", &R::redial, "redial:", "router redial")
        .withSerialOnly()
        .withCaption("接続失敗時の再発信"),
    address("routerAddress", &R::routerAddress, "ip address:", 1, "router address")
        .withSecondLabel("submask:", '/')
        .withCaption("ルータのＬＡＮ側ＩＰアドレス"),
};

constexpr Item<R> kDhcpItems[] = {
    address("dhcpStartAddress", &R::dhcpStartAddress, "start address:", 0, "dhcp range_address")
        .withNext('/')
        .withCaption("ＤＨＣＰ 開始ＩＰアドレス"),
    number("dhcpCount", &R::dhcpCount, "end address:", 0, 255, "")
        .withDecode(unsigned8)
        .withCaption("ＤＨＣＰ 個数"),
    number("dhcpLeaseTime", &R::dhcpLeaseTime, "lease time:", 1, 999999, "dhcp lease_time")
        .withCaption("ＤＨＣＰ リース時間"),
    address("dhcpGateway", &R::dhcpGateway, "default address:", 0, "dhcp default_address")
        .withEmptyAs(kNoAddress)
        .withCaption("ＤＨＣＰ デフォルトゲートウェイ"),
    address("dhcpDnsServer", &R::dhcpDnsServer, "dns praimary address:", 0, "dhcp dns_address")
        .withEmptyAs(kNoAddress)
        .withCaption("ＤＨＣＰ ＤＮＳサーバＩＰアドレス"),
    text("dhcpDomainName", &R::dhcpDomainName, "dns domain name:", kTextMax, "dhcp domain_name")
        .withCaption("ＤＨＣＰ ＤＮＳドメイン名"),
    onOff("dhcpActive", &R::dhcpActive, "dhcp active:", "dhcp active").withCaption("ＤＨＣＰ機能"),
};

constexpr Item<R> kDnsItems[] = {
    address("dnsPrimaryServer", &R::dnsPrimaryServer, "primary address:", 0, "dns address")
        .withNext(',')
        .withEmptyAs(kNoAddress)
        .withCaption("ＤＮＳサーバ プライマリＩＰアドレス"),
    address("dnsSecondaryServer", &R::dnsSecondaryServer, "secondary address:", 0, "")
        .withEmptyAs(kNoAddress)
        .withCaption("ＤＮＳサーバ セカンダリＩＰアドレス"),
    onOff("dnsForwarding", &R::dnsForwarding, "forwarding:", "dns forwarding")
        .withCaption("ＤＮＳフォワーディング機能"),
};

constexpr Item<R> kSyslogItems[] = {
    address("syslogAddress", &R::syslogAddress, "address:", 0, "syslog address")
        .withEmptyAs(kNoAddress)
        .withCaption("ＳＹＳＬＯＧ ホストアドレス"),
    number("syslogFacility", &R::syslogFacility, "facility:", 0, 23, "syslog facility")
        .withCaption("ＳＹＳＬＯＧ ファシリティ"),
    onOff("syslogDebug", &R::syslogDebug, "debug:", "syslog debug")
        .withCaption("ＳＹＳＬＯＧ ＤＥＢＵＧ"),
    onOff("syslogInfo", &R::syslogInfo, "info:", "syslog info")
        .withCaption("ＳＹＳＬＯＧ ＩＮＦＯ"),
    onOff("syslogNotice", &R::syslogNotice, "notice:", "syslog notice")
        .withCaption("ＳＹＳＬＯＧ ＮＯＴＩＣＥ"),
    onOff("syslogActive", &R::syslogActive, "syslog active:", "syslog active")
        .withCaption("ＳＹＳＬＯＧ機能"),
};

constexpr Item<R> kBodItems[] = {
    pick("bodChannels", &R::bodChannels, "init channel number:", kBodChannels, "bod channel")
        .withCaption("ＢＯＤ 初期接続チャネル数"),
    pick("bodResource", &R::bodResource, "resource bod:", kResourceBods, "bod resource_bod")
        .withCaption("ＢＯＤ リソースBODの設定"),
    pick("bodAddDirection", &R::bodAddDirection, "  add evaluation direction:", kBodDirections,
         "bod throughput_bod add_evaluation_direction")
        .withCaption("スループットＢＯＤ チャネル追加 評価方向"),
    number("bodAddRate", &R::bodAddRate, "  add standard rate:", 0, 100,
           "bod throughput_bod add_standard_rate")
        .withDecode(unsigned8)
        .withCaption("スループットＢＯＤ チャネル追加 しきい値"),
    number("bodAddTime", &R::bodAddTime, "  add evaluation time:", 1, 255,
           "bod throughput_bod add_evaluation_time")
        .withDecode(unsigned8)
        .withCaption("スループットＢＯＤ チャネル追加 評価時間"),
    number("bodAddMinimumTime", &R::bodAddMinimumTime, "  add minimum maintenance time:", 5, 1275,
           "bod throughput_bod add_minimum_time")
        .withDecode(unsigned16)
        .withCaption("スループットＢＯＤ チャネル追加 最小保持時間"),
    pick("bodDelDirection", &R::bodDelDirection, "  del evaluation direction:", kBodDirections,
         "bod throughput_bod del_evaluation_direction")
        .withCaption("スループットＢＯＤ チャネル削除 評価方向"),
    number("bodDelRate", &R::bodDelRate, "  del standard rate:", 0, 100,
           "bod throughput_bod del_standard_rate")
        .withDecode(unsigned8)
        .withCaption("スループットＢＯＤ チャネル削除 しきい値"),
    number("bodDelTime", &R::bodDelTime, "  del evaluation time:", 1, 255,
           "bod throughput_bod del_evaluation_time")
        .withDecode(unsigned8)
        .withCaption("スループットＢＯＤ チャネル削除 評価時間"),
    number("bodDelMinimumTime", &R::bodDelMinimumTime, "  del minimum maintenance time:", 5, 1275,
           "bod throughput_bod del_minimum_time")
        .withDecode(unsigned16)
        .withCaption("スループットＢＯＤ チャネル削除 最小保持時間"),
};

// Written by the BACP/BAP rule (area::appendAnswerCommands), not by their rows.
constexpr Item<R> kBacpBapItems[] = {
    number("bacpDepart", &R::bacpDepart, "depart channel:", 0, 255, "")
        .withDecode(unsigned8)
        .withCaption("ＢＡＣＰ／ＢＡＰ 発信側"),
    number("bacpArrive", &R::bacpArrive, "arrive channel:", 0, 255, "")
        .withDecode(unsigned8)
        .withCaption("ＢＡＣＰ／ＢＡＰ 着信側"),
};

// The time limit's range depends on its period; the widest is the row's (a month: 743 hours),
// and the dialog narrows it.
constexpr Item<R> kConnectItems[] = {
    number("chargeLimit", &R::chargeLimit, "charge:", 0, 999999, "connect charge")
        .withPart(0, '/')
        .withNext('/')
        .withCaption("接続制限 回線使用料"),
    period("chargePeriod", &R::chargePeriod, "charge:").withCaption("接続制限 回線使用料の期間"),
    number("timeLimit", &R::timeLimit, "time:", 0, 743, "connect time")
        .withPart(0, '/')
        .withDecode(unsigned16)
        .withNext('/')
        .withCaption("接続制限 接続時間"),
    period("timePeriod", &R::timePeriod, "time:").withCaption("接続制限 接続時間の期間"),
    number("countLimit", &R::countLimit, "number:", 0, 9999, "connect number")
        .withPart(0, '/')
        .withDecode(unsigned16)
        .withNext('/')
        .withCaption("接続制限 接続回数"),
    number("countMinutes", &R::countMinutes, "number:", 1, 1440, "")
        .withPart(1, '/')
        .withDecode(unsigned16)
        .withCaption("接続制限 接続回数の分"),
    number("clearHour", &R::clearHour, "day:", 0, 23, "connect clr_day")
        .withPart(0, ':')
        .withDecode(unsigned8)
        .withNext(':')
        .withCaption("クリア機能 日 時"),
    number("clearMinute", &R::clearMinute, "day:", 0, 59, "")
        .withPart(1, ':')
        .withDecode(unsigned8)
        .withCaption("クリア機能 日 分"),
    number("clearWeekday", &R::clearWeekday, "week:", 0, 6, "connect clr_week")
        .withDecode(unsigned8)
        .withCaption("クリア機能 週"),
    number("clearMonthDay", &R::clearMonthDay, "mon:", 1, 31, "connect clr_mon")
        .withDecode(unsigned8)
        .withCaption("クリア機能 月"),
};

// "{}" is the profile's word, "num1".."num4". The WAN address is read before the DNS lines in
// no particular order: its label "address:" is found first where the adapter lists it first.
constexpr Item<D> kDialupItems[] = {
    text("providerName", &D::providerName, "provider name:", kTextMax, "dialup provider_name {}")
        .withReadLimit(kLongText)
        .withCaption("プロバイダ名"),
    phone("dialNumber1", &D::dialNumber1, "dial number 1:", "dialup dial_number {}")
        .withNext(',')
        .withCaption("アクセスポイント 電話番号１"),
    phone("dialNumber2", &D::dialNumber2, "dial number 2:", "")
        .withNext(',')
        .withCaption("アクセスポイント 電話番号２"),
    phone("dialNumber3", &D::dialNumber3, "dial number 3:", "")
        .withCaption("アクセスポイント 電話番号３"),
    text("userId", &D::userId, "user id:", kTextMax, "dialup user_id {}")
        .withReadLimit(kLongText)
        .withCaption("ユーザー名"),
    text("password", &D::password, "password:", 32, "dialup password {}").withCaption("パスワード"),
    pick("protocol", &D::protocol, "protocol:", kProtocols, "dialup protocol {}")
        .withCaption("認証プロトコル"),
    pick("mode", &D::mode, "mode:", kLineUses, "dialup mode {}").withCaption("接続情報"),
    pick("autoDisconnect", &D::autoDisconnect, "auto disconnect:", kDisableEnable,
         "dialup auto_disc {}")
        .withCaption("自動切断"),
    number("disconnectTime", &D::disconnectTime, "disconnect time:", 1, 32400,
           "dialup disc_time {}")
        .withDecode(unsigned16)
        .withCaption("自動切断 切断時間"),
    address("address", &D::address, "address:", 0, "dialup address {}")
        .withEmptyAs(kNoAddress)
        .withCaption("ルータのＷＡＮ側ＩＰアドレス"),
    pick("dnsSelect", &D::dnsSelect, "dns server select:", kManualAuto, "dialup dns_select {}")
        .withCaption("ＤＮＳサーバ 指定／自動"),
    address("dnsPrimary", &D::dnsPrimary, "dns praimary address:", 0, "dialup dns_address {}")
        .withNext(',')
        .withEmptyAs(kNoAddress)
        .withCaption("ＤＮＳサーバ プライマリＩＰアドレス"),
    address("dnsSecondary", &D::dnsSecondary, "dns secondary address:", 0, "")
        .withEmptyAs(kNoAddress)
        .withCaption("ＤＮＳサーバ セカンダリＩＰアドレス"),
};

constexpr Item<L> kLeasedLineItems[] = {
    address("networkAddress", &L::networkAddress, "address:", 1, "network address")
        .withSecondLabel("submask:", '/')
        .withCaption("ルータのＷＡＮ側ＩＰアドレス"),
    address("remoteAddress", &L::remoteAddress, "remote:", 0, "network remote_addr")
        .withEmptyAs(kNoAddress)
        .withCaption("相手側のＩＰアドレス"),
    text("userId", &L::userId, "user id:", 32, "network user_id")
        .withReadLimit(kLongText)
        .withCaption("ユーザー名"),
    text("password", &L::password, "password:", 32, "network password").withCaption("パスワード"),
    address("dnsPrimary", &L::dnsPrimary, "dns praimary address:", 0, "network dns_address")
        .withNext(',')
        .withEmptyAs(kNoAddress)
        .withCaption("ＤＮＳサーバ プライマリＩＰアドレス"),
    address("dnsSecondary", &L::dnsSecondary, "dns secondary address:", 0, "")
        .withEmptyAs(kNoAddress)
        .withCaption("ＤＮＳサーバ セカンダリＩＰアドレス"),
};

constexpr Item<S> kRasItems[] = {
    pick("rasActive", &S::rasActive, "ras active:", kDisableEnable, "ras server")
        .withCaption("リモートアクセスサーバ"),
    address("wanAddress", &S::wanAddress, "wan address:", 0, "ras address")
        .withNext(',')
        .withEmptyAs(kNoAddress)
        .withCaption("ルータのＷＡＮ側ＩＰアドレス"),
    address("partnerAddress", &S::partnerAddress, "partner address:", 0, "")
        .withEmptyAs(kNoAddress)
        .withCaption("相手側のＩＰアドレス"),
    text("userId", &S::userId, "user id:", 32, "ras user_id")
        .withReadLimit(kLongText)
        .withCaption("受信ユーザーＩＤ"),
    text("password", &S::password, "password:", kTextMax, "ras password")
        .withCaption("受信パスワード"),
    pick("protocol", &S::protocol, "protocol:", kProtocols, "ras protocol")
        .withCaption("認証プロトコル"),
    pick("mode", &S::mode, "mode:", kLineUses, "ras mode").withCaption("接続情報"),
    onOff("autoDisconnect", &S::autoDisconnect, "auto disconnect:", "ras auto_disc")
        .withCaption("自動切断"),
    number("disconnectTime", &S::disconnectTime, "disconnect time:", 1, 32400, "ras disc_time")
        .withDecode(unsigned16)
        .withCaption("自動切断 切断時間"),
};

// The NAT and host tables' entries as rows (kxctl names them); they are read and written by
// the table rule, not by these rows, and their checks are the entry checks below.
constexpr Item<NatEntry> kNatEntryItems[] = {
    choice("inUse", &NatEntry::inUse, "", kDisableEnable, "").withCaption("登録"),
    address("lanAddress", &NatEntry::lanAddress, "", 0, "").withCaption("ＬＡＮ側ＩＰアドレス"),
    text("wanAddress", &NatEntry::wanAddress, "", 32, "").withCaption("ＷＡＮ側ＩＰアドレス"),
};
constexpr Item<HostEntry> kHostEntryItems[] = {
    choice("inUse", &HostEntry::inUse, "", kDisableEnable, "").withCaption("登録"),
    address("hostAddress", &HostEntry::hostAddress, "", 0, "").withCaption("ＩＰアドレス"),
    text("hostName", &HostEntry::hostName, "", 64, "").withCaption("ホスト名"),
};
constexpr const area::ItemRule& kNatLanRule = kNatEntryItems[1];
constexpr const area::ItemRule& kNatWanRule = kNatEntryItems[2];
constexpr const area::ItemRule& kHostAddressRule = kHostEntryItems[1];
constexpr const area::ItemRule& kHostNameRule = kHostEntryItems[2];

// A comma would end the item early in the adapter's command and in its list.
int withoutComma(std::string_view text) {
    return text.find(',') == std::string_view::npos ? 0 : 1;
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
// The HomePNA port is read and written with the digital port items, without its talky.
bool isPnaPortItem(const Item<DigitalPortSettings>& item) {
    return item.number != &DigitalPortSettings::talky;
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

bool dnsServerMissing(const DialupProfile& profile) {
    constexpr int kManual = 0;
    return profile.dnsSelect == kManual && area::isNoAddress(profile.dnsPrimary) &&
           area::isNoAddress(profile.dnsSecondary);
}

bool connectTimeOutOfPeriod(const RouterSettings& settings) {
    constexpr std::array<int, 3> kHours{23, 167, 743};  // a day, a week, a month
    return settings.timePeriod < 0 || settings.timePeriod >= static_cast<int>(kHours.size()) ||
           settings.timeLimit > kHours[static_cast<std::size_t>(settings.timePeriod)];
}

bool dhcpRangeWithoutStart(const RouterSettings& now, const RouterSettings& before) {
    return now.dhcpStartAddress.empty() &&
           (now.dhcpStartAddress != before.dhcpStartAddress || now.dhcpCount != before.dhcpCount);
}

}  // namespace kx
