// Area templates: every control the dialog code binds is there exactly once, and each radio
// group holds its buttons in the order of their stored index.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "res/AnalogIds.h"
#include "res/ArriveIds.h"
#include "res/DigitalIds.h"
#include "res/RouterIds.h"
#include "res/ShortnumIds.h"
#include "res/Templates.h"

namespace kx::res {
namespace {

using Ids = std::vector<int>;

struct DialogCase {
    int id;
    Ids controls;             // controls with an id, radio buttons aside
    std::vector<Ids> radios;  // each group in order
};

template <std::size_t N>
Ids ids(const std::array<int, N>& a) {
    return {a.begin(), a.end()};
}

Ids concat(std::initializer_list<Ids> parts) {
    Ids all;
    for (const Ids& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

DialogCase telPort(const TelPortIds& p) {
    return {p.dialog,
            {p.selfAddress, p.transferAddress, p.talkyTransfer, p.talkySource, p.sendDialTime,
             p.dialTimeSpin, IDOK, IDCANCEL, IDC_HELP_BUTTON},
            {ids(p.arriveTransfer), ids(p.globalArrive), ids(p.subaddressLessArrive),
             ids(p.analogPortMode), ids(p.discSignal), ids(p.numberDisplay), ids(p.ringSound),
             ids(p.callWaiting), ids(p.iNumber), ids(p.noticeNumber)}};
}

DialogCase digitalPort(const DigitalPortIds& p) {
    return {p.dialog,
            {p.selfAddress, p.transferAddress, IDOK, IDCANCEL, IDC_HELP_BUTTON},
            {ids(p.arriveTransfer), ids(p.globalArrive), ids(p.subaddressLessArrive),
             ids(p.noticeNumber), ids(p.iNumber)}};
}

Ids bodSide(const BodSideIds& s) {
    return {s.rate, s.rateSpin, s.estimate, s.evalTime, s.evalTimeSpin, s.minTime, s.minTimeSpin};
}

Ids arriveColumns(const ArriveColumnIds& c) {
    return {c.tel1, c.tel2, c.tel3, c.data, c.usb, c.ring};
}

DialogCase arriveNumbers(int dialog, const std::array<ArriveRowIds, 10>& rows) {
    Ids controls{IDOK, IDCANCEL, IDC_HELP_BUTTON};
    for (const ArriveRowIds& row : rows) {
        controls.push_back(row.number);
        Ids columns = arriveColumns(row.columns);
        controls.insert(controls.end(), columns.begin(), columns.end());
    }
    return {dialog, controls, {}};
}

DialogCase dialup(const DialupIds& p) {
    return {p.dialog,
            concat({ids(p.dialNumber),
                    {p.providerName, p.userId, p.password, p.mode, p.protocol, p.disconnectTime,
                     p.address, p.dnsPrimary, p.dnsSecondary, IDOK, IDCANCEL, IDC_HELP_BUTTON}}),
            {ids(p.autoDisconnect), ids(p.dnsSelect)}};
}

DialogCase entryTable(const EntryTableIds& p) {
    return {p.dialog,
            {p.number, p.first, p.second, p.list, p.deleteButton, IDOK, IDCANCEL, IDC_HELP_BUTTON},
            {}};
}

std::vector<DialogCase> cases() {
    Ids shortnum = ids(kShortNumberEdits);
    shortnum.insert(shortnum.end(), {IDOK, IDCANCEL, IDC_HELP_BUTTON});
    return {
        telPort(kTel1PortIds),
        telPort(kTel2PortIds),
        telPort(kTel3PortIds),
        {IDD_ANALOG_COMMON,
         {IDC_ANALOG_COMMON_DELAY, IDC_ANALOG_COMMON_DELAY_SPIN, IDC_ANALOG_COMMON_FREQUENCY,
          IDC_ANALOG_COMMON_FREQUENCY_SPIN, IDOK, IDCANCEL, IDC_HELP_BUTTON},
         {{IDC_ANALOG_COMMON_INUMBER_OFF, IDC_ANALOG_COMMON_INUMBER_ON}}},
        {IDD_ANALOG_MENU,
         {IDC_ANALOG_MENU_TEL1, IDC_ANALOG_MENU_TEL2, IDC_ANALOG_MENU_TEL3, IDC_ANALOG_MENU_COMMON,
          IDCANCEL, IDC_MENU_STATUS},
         {}},
        {IDD_SHORT_NUMBER, shortnum, {}},
        digitalPort(kDataPortIds),
        digitalPort(kUsbPortIds),
        {IDD_DIGITAL_COMMON,
         {IDC_DIGITAL_COMMON_DISC_TIME, IDC_DIGITAL_COMMON_PIAFS, IDOK, IDCANCEL, IDC_HELP_BUTTON},
         {ids(kInitChannelIds), ids(kResourceBodIds), ids(kThroughputBodIds), ids(kBacpBapIds),
          ids(kArrivePriorityIds)}},
        {IDD_THROUGHPUT_BOD,
         concat({bodSide(kBodAddIds), bodSide(kBodDelIds), {IDOK, IDCANCEL, IDC_HELP_BUTTON}}),
         {ids(kBodAddIds.direction), ids(kBodDelIds.direction)}},
        {IDD_BACP_BAP,
         {IDOK, IDCANCEL, IDC_HELP_BUTTON},
         {ids(kBacpDepartIds[0]), ids(kBacpDepartIds[1]), ids(kBacpDepartIds[2]),
          ids(kBacpArriveIds[0]), ids(kBacpArriveIds[1]), ids(kBacpArriveIds[2])}},
        {IDD_DIGITAL_MENU,
         {IDC_DIGITAL_MENU_DATA, IDC_DIGITAL_MENU_USB, IDC_DIGITAL_MENU_COMMON,
          IDC_DIGITAL_MENU_BOD, IDC_DIGITAL_MENU_BACP_BAP, IDCANCEL, IDC_MENU_STATUS},
         {}},
        {IDD_ARRIVE_STANDARD,
         concat({arriveColumns(kArriveDefaultIds),
                 arriveColumns(kArriveNoidIds),
                 {IDC_ARRIVE_NTT_RING, IDOK, IDCANCEL, IDC_HELP_BUTTON}}),
         {{IDC_ARRIVE_RING_SELECT_NTT, IDC_ARRIVE_RING_SELECT_PSEUDO},
          {IDC_ARRIVE_TROUBLE_NTT, IDC_ARRIVE_TROUBLE_PSEUDO}}},
        arriveNumbers(IDD_ARRIVE_NUMBER1, kArriveNumber1Rows),
        arriveNumbers(IDD_ARRIVE_NUMBER2, kArriveNumber2Rows),
        {IDD_ARRIVE_MENU,
         {IDC_ARRIVE_MENU_STANDARD, IDC_ARRIVE_MENU_NUMBER1, IDC_ARRIVE_MENU_NUMBER2, IDCANCEL,
          IDC_MENU_STATUS},
         {}},
        {IDD_PNA_MENU,
         concat({ids(kPnaMenuDialupIds),
                 {IDC_PNA_MENU_ROUTER, IDC_PNA_MENU_PNA_PORT, IDC_PNA_MENU_ARRIVE, IDC_PNA_MENU_NAT,
                  IDC_PNA_MENU_DHCP, IDC_PNA_MENU_DNS, IDC_PNA_MENU_DNS_HOST, IDC_PNA_MENU_SYSLOG,
                  IDC_PNA_MENU_LEASED_LINE, IDC_PNA_MENU_CONNECT_LIMIT, IDC_PNA_MENU_BOD,
                  IDC_PNA_MENU_BACP_BAP, IDCANCEL, IDC_MENU_STATUS}}),
         {}},
        {IDD_PNA_EASY,
         concat({ids(kPnaEasyDialNumberIds),
                 {IDC_PNA_EASY_PROVIDER, IDC_PNA_EASY_USER_ID, IDC_PNA_EASY_PASSWORD,
                  IDC_PNA_EASY_DNS_PRIMARY, IDC_PNA_EASY_DNS_SECONDARY, IDOK, IDCANCEL,
                  IDC_HELP_BUTTON}}),
         {ids(kPnaEasyDnsSelectIds)}},
        dialup(kDialup1Ids),
        dialup(kDialup2Ids),
        dialup(kDialup3Ids),
        dialup(kDialup4Ids),
        {IDD_ROUTER,
         {IDC_ROUTER_ADDRESS, IDC_ROUTER_MASQ_ADDRESS, IDC_ROUTER_CONNECT_SELECT,
          IDC_ROUTER_LINE_MODE, IDC_ROUTER_SW_ACTION, IDOK, IDCANCEL, IDC_HELP_BUTTON},
         {ids(kRouterMasqueradeIds), ids(kRouterAutoConnectIds), ids(kRouterRedialIds),
          ids(kRouterBeepIds), ids(kRouterIpFilterIds)}},
        digitalPort(kPnaPortIds),
        {IDD_DHCP,
         {IDC_DHCP_START_ADDRESS, IDC_DHCP_COUNT, IDC_DHCP_LEASE_TIME, IDC_DHCP_DOMAIN_NAME,
          IDC_DHCP_DNS_SERVER, IDC_DHCP_GATEWAY, IDOK, IDCANCEL, IDC_HELP_BUTTON},
         {ids(kDhcpActiveIds)}},
        {IDD_DNS,
         {IDC_DNS_PRIMARY, IDC_DNS_SECONDARY, IDOK, IDCANCEL, IDC_HELP_BUTTON},
         {ids(kDnsForwardingIds)}},
        {IDD_SYSLOG,
         {IDC_SYSLOG_DEBUG, IDC_SYSLOG_INFO, IDC_SYSLOG_NOTICE, IDC_SYSLOG_ADDRESS,
          IDC_SYSLOG_FACILITY, IDOK, IDCANCEL, IDC_HELP_BUTTON},
         {ids(kSyslogActiveIds)}},
        {IDD_PNA_ARRIVE,
         {IDC_PNA_ARRIVE_WAN_ADDRESS, IDC_PNA_ARRIVE_PARTNER_ADDRESS, IDC_PNA_ARRIVE_USER_ID,
          IDC_PNA_ARRIVE_PASSWORD, IDC_PNA_ARRIVE_DISC_TIME, IDC_PNA_ARRIVE_MODE,
          IDC_PNA_ARRIVE_PROTOCOL, IDOK, IDCANCEL, IDC_HELP_BUTTON},
         {ids(kPnaArriveActiveIds), ids(kPnaArriveAutoDiscIds)}},
        {IDD_LEASED_LINE,
         {IDC_LEASED_LINE_ADDRESS, IDC_LEASED_LINE_USER_ID, IDC_LEASED_LINE_REMOTE_ADDRESS,
          IDC_LEASED_LINE_PASSWORD, IDC_LEASED_LINE_DNS_PRIMARY, IDC_LEASED_LINE_DNS_SECONDARY,
          IDOK, IDCANCEL, IDC_HELP_BUTTON},
         {}},
        {IDD_CONNECT_LIMIT,
         {IDC_CONNECT_CHARGE, IDC_CONNECT_TIME, IDC_CONNECT_COUNT, IDC_CONNECT_COUNT_MINUTES,
          IDC_CONNECT_CLEAR_HOUR, IDC_CONNECT_CLEAR_MINUTE, IDC_CONNECT_CLEAR_WEEKDAY,
          IDC_CONNECT_CLEAR_MONTH_DAY, IDOK, IDC_CONNECT_CLEAR, IDCANCEL, IDC_CONNECT_HELP},
         {ids(kConnectChargePeriodIds), ids(kConnectTimePeriodIds)}},
        entryTable(kNatIds),
        entryTable(kDnsHostIds),
        {IDD_ROUTER_BOD,
         concat({bodSide(kRouterBodAddIds),
                 bodSide(kRouterBodDelIds),
                 {IDOK, IDCANCEL, IDC_HELP_BUTTON}}),
         {ids(kRouterBodChannelIds), ids(kRouterResourceBodIds), ids(kRouterBodAddIds.direction),
          ids(kRouterBodDelIds.direction)}},
        {IDD_ROUTER_BACP_BAP,
         {IDOK, IDCANCEL, IDC_HELP_BUTTON},
         {ids(kRouterBacpDepartIds[0]), ids(kRouterBacpDepartIds[1]), ids(kRouterBacpDepartIds[2]),
          ids(kRouterBacpArriveIds[0]), ids(kRouterBacpArriveIds[1]),
          ids(kRouterBacpArriveIds[2])}},
    };
}

TEST(AreaTemplates, HoldTheirControlsOnceAndTheirRadioGroupsInOrder) {
    for (const DialogCase& c : cases()) {
        SCOPED_TRACE(c.id);
        const ui::Template* tpl = findTemplate(c.id);
        ASSERT_NE(tpl, nullptr);

        Ids expected = c.controls;
        for (const Ids& group : c.radios)
            expected.insert(expected.end(), group.begin(), group.end());
        Ids present;
        for (const ui::Control* control : ui::controlsWithIds(*tpl)) present.push_back(control->id);
        std::sort(expected.begin(), expected.end());
        std::sort(present.begin(), present.end());
        EXPECT_EQ(present, expected);

        for (const Ids& group : c.radios)
            for (int member : group) EXPECT_EQ(ui::radioGroup(*tpl, member), group) << member;
    }
}

// A list's items are the stored values by index, so each must be exactly these.
TEST(AreaTemplates, ListsOfferTheirItemsInOrder) {
    const std::vector<std::string> tel{"優先", "標準", "遅延", "拒否"};
    const std::vector<std::string> port{"標準", "拒否"};
    const std::vector<std::string> ring{"リーン・リーン", "リーーン・リーーン",
                                        "リーンリン・リーンリン"};
    const std::vector<std::string> mode{"64k", "128k（2チャネル固定）", "128k（BOD）",
                                        "128k（BACP/BAP）"};
    const std::vector<std::string> protocol{"自動", "PAP", "CHAP", "なし"};
    struct ListCase {
        int dialog;
        int list;
        std::vector<std::string> items;
    };
    const ListCase lists[] = {
        {IDD_DIGITAL_COMMON,
         IDC_DIGITAL_COMMON_PIAFS,
         {"32k", "64k Version 2.0", "64k Version 2.1"}},
        {IDD_ARRIVE_STANDARD, kArriveDefaultIds.tel3, tel},
        {IDD_ARRIVE_STANDARD, kArriveNoidIds.data, port},
        {IDD_ARRIVE_STANDARD, kArriveDefaultIds.ring, ring},
        {IDD_ARRIVE_STANDARD, IDC_ARRIVE_NTT_RING, ring},
        {IDD_ARRIVE_NUMBER1, kArriveNumber1Rows[9].columns.usb, port},
        {IDD_ARRIVE_NUMBER2, kArriveNumber2Rows[4].columns.tel1, tel},
        {IDD_ARRIVE_NUMBER2, kArriveNumber2Rows[0].columns.ring, ring},
        {IDD_ROUTER,
         IDC_ROUTER_CONNECT_SELECT,
         {"ダイヤルアップ1", "ダイヤルアップ2", "ダイヤルアップ3", "ダイヤルアップ4", "専用線"}},
        {IDD_ROUTER,
         IDC_ROUTER_LINE_MODE,
         {"自動", "LowPower/LowSpeed", "LowPower/HighSpeed", "HighPower/LowSpeed",
          "HighPower/HighSpeed"}},
        {IDD_ROUTER, IDC_ROUTER_SW_ACTION, {"BOD", "接続・切断"}},
        {IDD_DIALUP3, kDialup3Ids.mode, mode},
        {IDD_DIALUP4, kDialup4Ids.protocol, protocol},
        {IDD_PNA_ARRIVE, IDC_PNA_ARRIVE_MODE, mode},
        {IDD_PNA_ARRIVE, IDC_PNA_ARRIVE_PROTOCOL, protocol},
        {IDD_CONNECT_LIMIT, IDC_CONNECT_CLEAR_WEEKDAY, {"日", "月", "火", "水", "木", "金", "土"}},
    };
    for (const ListCase& c : lists) {
        SCOPED_TRACE(c.list);
        const ui::Control* list = ui::findControl(dialogTemplate(c.dialog), c.list);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->kind, ui::ControlKind::List);
        EXPECT_EQ(list->items, c.items);
    }
}

// Passwords are typed unseen; every other edit of the router area shows its text.
TEST(AreaTemplates, RouterPasswordsAreHidden) {
    const std::vector<std::pair<int, int>> passwords{
        {IDD_PNA_EASY, IDC_PNA_EASY_PASSWORD},       {IDD_DIALUP1, kDialup1Ids.password},
        {IDD_DIALUP2, kDialup2Ids.password},         {IDD_DIALUP3, kDialup3Ids.password},
        {IDD_DIALUP4, kDialup4Ids.password},         {IDD_PNA_ARRIVE, IDC_PNA_ARRIVE_PASSWORD},
        {IDD_LEASED_LINE, IDC_LEASED_LINE_PASSWORD},
    };
    const int dialogs[] = {IDD_PNA_EASY, IDD_DIALUP1, IDD_DIALUP2,    IDD_DIALUP3,
                           IDD_DIALUP4,  IDD_ROUTER,  IDD_PNA_ARRIVE, IDD_LEASED_LINE};
    for (int dialog : dialogs)
        for (const ui::Control* c : ui::controlsWithIds(dialogTemplate(dialog))) {
            if (c->kind != ui::ControlKind::Edit)
                continue;
            bool password = std::find(passwords.begin(), passwords.end(),
                                      std::pair{dialog, c->id}) != passwords.end();
            EXPECT_EQ((c->style & ui::kPassword) != 0, password) << dialog << " " << c->id;
        }
}

}  // namespace
}  // namespace kx::res
