// The router area's LAN-side dialogs end to end: the HomePNA menu opens the router, PNA port,
// DHCP, DNS, syslog, NAT and host-table dialogs, a scripted user edits them, and the adapter
// receives one setting command per changed item (the tables: "del" and "add" per entry).
#include <string>

#include "app/AreaRegistry.h"
#include "app/services/AppState.h"
#include "area/AreaMenuDlg.h"
#include "res/RouterIds.h"
#include "router/EntryTableDlg.h"
#include "router/RouterSettings.h"
#include "tests/support/AreaSession.h"

namespace kx::test {
namespace {

const AreaScript& kRouter = routerArea();

const char* const kRouterError = "ルータのＷＡＮ側ＩＰアドレスの入力に間違いがあります。";
const char* const kMasqError = "ＩＰマスカレード用ＩＰアドレスの入力に間違いがあります。";
const char* const kNumberError = "番号の入力に間違いがあります。";
const char* const kStartError = "開始ＩＰアドレスの入力に間違いがあります。";

const std::string kOpenRouter = open(IDC_PNA_MENU_ROUTER, IDD_ROUTER);
const std::string kOpenPna = open(IDC_PNA_MENU_PNA_PORT, IDD_PNA_PORT);
const std::string kOpenDhcp = open(IDC_PNA_MENU_DHCP, IDD_DHCP);
const std::string kOpenDns = open(IDC_PNA_MENU_DNS, IDD_DNS);
const std::string kOpenSyslog = open(IDC_PNA_MENU_SYSLOG, IDD_SYSLOG);
const std::string kOpenNat = open(IDC_PNA_MENU_NAT, IDD_NAT);
const std::string kOpenHost = open(IDC_PNA_MENU_DNS_HOST, IDD_DNS_HOST);
const std::string kConfirm = kRouter.confirm();
const std::string kRefused = kRouter.refused();
const std::string kBack = kRouter.back();

// An entry of a table dialog typed in, then "登録" or "削除".
std::string entry(const EntryTableIds& ids, const std::string& n, const std::string& first,
                  const std::string& second) {
    return text(ids.number, n) + text(ids.first, first) + text(ids.second, second);
}
std::string removed(const EntryTableIds& ids, const std::string& n) {
    return text(ids.number, n) + click(ids.deleteButton) + dialog(IDD_PNA_MENU);
}

// The NAT dialog, noting its list each time it opens.
class ObservedNatDlg : public CNatDlg {
public:
    static inline Lines lists;

protected:
    bool OnInitDialog() override {
        const bool result = CNatDlg::OnInitDialog();
        lists.push_back(GetDlgItemTextUtf8(kNatIds.list));
        return result;
    }
};

class RouterLanSessionTest : public AreaSessionTest {
protected:
    void SetUp() override {
        AreaSessionTest::SetUp();
        modeLines_ = "ROUTER=1\n";
    }
};

// Every item of the router dialog in the section's order, the router address last; refusals
// in check order, the masquerade address before the router address.
TEST_F(RouterLanSessionTest, RouterDialog) {
    const AreaRow rows[] = {
        {"every item",
         {},
         kOpenRouter + click(kRouterRedialIds[1]) + select(IDC_ROUTER_LINE_MODE, 4) +
             click(kRouterIpFilterIds[1]) + click(kRouterBeepIds[0]) +
             select(IDC_ROUTER_SW_ACTION, 0) + text(IDC_ROUTER_MASQ_ADDRESS, "203.0.113.5") +
             click(kRouterMasqueradeIds[0]) + select(IDC_ROUTER_CONNECT_SELECT, 4) +
             click(kRouterAutoConnectIds[0]) + kConfirm,
         stored({"router auto_connect manual", "router connect_sel netwk",
                 "router ip_masquerade disable", "router masq_address 203.0.113.5",
                 "router sw_action bod", "router beep disable", "router ip_filter enable",
                 "router line_mode 4", "router redial enable"})},
        {"an address without a prefix: refused as the router's, taken for masquerade",
         {"router masq_address 192.0.2.1"},
         kOpenRouter + text(IDC_ROUTER_MASQ_ADDRESS, "192.0.2.300") + kRefused +
             text(IDC_ROUTER_MASQ_ADDRESS, "") + text(IDC_ROUTER_ADDRESS, "10.0.0.1") + kRefused +
             kBack + kOpenRouter + text(IDC_ROUTER_MASQ_ADDRESS, "10.0.0.1") + kConfirm,
         stored({"router masq_address 10.0.0.1"}),
         {kMasqError, kRouterError}},
    };
    expectRows(kRouter, rows);
}

// A router address typed other than the one held is taken only after the question; written,
// it restarts the adapter, and the program then ends without storing or saying "exit".
TEST_F(RouterLanSessionTest, RouterAddressChange) {
    const std::string kQuestion =
        "ルータのＷＡＮ側ＩＰアドレスが変更されました。\r\n登録後、KESTRELXをリブートし設定ユーテ"
        "ィリティを終了します。\r\nよろしいですか？";
    const std::string kAsk = click(IDOK) + "answer ";
    const std::string kNew = kOpenRouter + text(IDC_ROUTER_ADDRESS, "10.0.0.1/8") + kAsk;
    const std::string kStay = click(IDCANCEL) + kClose;
    const struct {
        const char* name;
        Lines presets;
        std::string script;  // in the menu
        Lines tail;          // after the reads
        int questions;
        std::string fault = "";
    } rows[] = {
        // shown empty, kept, and written by nothing; keys typed then make the whole address
        {"0.0.0.0/32 left empty",
         {"router address 0.0.0.0/32"},
         kOpenRouter + kAsk + "ok\n" + dialog(IDD_PNA_MENU) + kOpenRouter + "type " +
             std::to_string(IDC_ROUTER_ADDRESS) + " 192.0.2.1/24\n" + kAsk + "ok\n",
         {"router address 192.0.2.1/24"},
         2},
        {"unchanged", {}, kOpenRouter + kConfirm + kStay, {"fromwr 15", "exit"}, 0},
        {"declined", {}, kNew + "cancel\n" + dialog(IDD_ROUTER) + kBack + kStay, {"exit"}, 1},
        {"written", {}, kNew + "ok\n", {"router address 10.0.0.1/8"}, 1},
        {"not acknowledged",
         {},
         kNew + "ok\n" + dialog(IDD_PNA_MENU) + kStay,
         {"router address 10.0.0.1/8", "fromwr 15", "exit"},
         1,
         "silent:router address"},
    };
    modeLines_ += "KIKI=KESTRELX\n";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        freshAdapter(row.presets, row.fault);
        SessionResult r = run(kStart + open(kRouter.button, IDD_PNA_MENU) + row.script);
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.transcript, concat(probeLines(), concat(kRouter.reads, row.tail)));
        ASSERT_EQ(r.messages.size(), static_cast<std::size_t>(row.questions));
        for (const auto& m : r.messages) {
            EXPECT_EQ(m.text, kQuestion);
            EXPECT_EQ(m.caption, windowTitle);
            EXPECT_EQ(m.buttons, ui::MsgButtons::OkCancel);
            EXPECT_EQ(m.icon, ui::MsgIcon::Question);
        }
    }
}

TEST_F(RouterLanSessionTest, LanSideDialogs) {
    const DigitalPortIds& pna = kPnaPortIds;
    const AreaRow rows[] = {
        {"PNA port",
         {},
         kOpenPna + click(pna.iNumber[3]) + click(pna.noticeNumber[2]) +
             click(pna.subaddressLessArrive[0]) + click(pna.globalArrive[0]) +
             click(pna.arriveTransfer[1]) + text(pna.transferAddress, "0611") +
             text(pna.selfAddress, "0312*5") + kConfirm,
         stored({"digital address pna 0312*5", "digital arrive_transfer address pna 0611",
                 "digital arrive_transfer pna enable", "digital global_arrive pna disable",
                 "digital no_subaddress pna disable", "digital notice_number pna address",
                 "digital i_number pna add2"})},
        {"DHCP",
         {},
         kOpenDhcp + text(IDC_DHCP_COUNT, "256") + kRefused + text(IDC_DHCP_COUNT, "255") +
             text(IDC_DHCP_GATEWAY, "1.2.3") + kRefused + text(IDC_DHCP_GATEWAY, "192.168.1.254") +
             text(IDC_DHCP_DNS_SERVER, "1.2.3") + kRefused + text(IDC_DHCP_DNS_SERVER, "") +
             text(IDC_DHCP_LEASE_TIME, "0") + kRefused + text(IDC_DHCP_LEASE_TIME, "999999") +
             text(IDC_DHCP_DOMAIN_NAME, "a\xf0\x9f\x98\x80") + kRefused +
             text(IDC_DHCP_DOMAIN_NAME, "例.jp") + click(kDhcpActiveIds[0]) + kConfirm,
         stored({"dhcp range_address 192.168.1.2/255", "dhcp lease_time 999999",
                 "dhcp default_address 192.168.1.254", "dhcp dns_address 0.0.0.0",
                 "dhcp domain_name \x97\xe1.jp", "dhcp active disable"}),
         {"個数の入力に間違いがあります。", "デフォルトゲートウェイの入力に間違いがあります。",
          "ＤＮＳサーバーＩＰアドレスの入力に間違いがあります。",
          "リース時間の入力に間違いがあります。", "ドメイン名の入力に間違いがあります。"}},
        // the range is sent as "start/count": it cannot go without its start
        {"DHCP range without a start",
         {},
         kOpenDhcp + text(IDC_DHCP_START_ADDRESS, "") + kRefused +
             text(IDC_DHCP_START_ADDRESS, "192.168.1.100") + text(IDC_DHCP_COUNT, "0") + kConfirm,
         stored({"dhcp range_address 192.168.1.100/0"}),
         {kStartError}},
        {"DNS",
         {"dns address 192.0.2.1,192.0.2.2"},
         kOpenDns + text(IDC_DNS_PRIMARY, "192.0.2") + kRefused + text(IDC_DNS_PRIMARY, "") +
             text(IDC_DNS_SECONDARY, "x") + kRefused + text(IDC_DNS_SECONDARY, "") +
             click(kDnsForwardingIds[0]) + kConfirm,
         stored({"dns address 0.0.0.0,0.0.0.0", "dns forwarding disable"}),
         {"プライマリＤＮＳサーバーＩＰアドレスの入力に間違いがあります。",
          "セカンダリＤＮＳサーバーＩＰアドレスの入力に間違いがあります。"}},
        {"syslog",
         {},
         kOpenSyslog + text(IDC_SYSLOG_ADDRESS, "192.0.2.") + kRefused +
             text(IDC_SYSLOG_ADDRESS, "192.0.2.9") + text(IDC_SYSLOG_FACILITY, "24") + kRefused +
             text(IDC_SYSLOG_FACILITY, "23") + check(IDC_SYSLOG_NOTICE, false) +
             check(IDC_SYSLOG_DEBUG, true) + click(kSyslogActiveIds[1]) + kConfirm,
         stored({"syslog address 192.0.2.9", "syslog facility 23", "syslog debug enable",
                 "syslog notice disable", "syslog active\tenable"}),
         {"ホストアドレスの入力に間違いがあります。", "ファシリティの入力に間違いがあります。"}},
        // the factory's "0.0.0.0" shows empty and, left so, sends nothing
        {"unchanged dialogs",
         {},
         kOpenRouter + kConfirm + kOpenPna + kConfirm + kOpenDhcp + kConfirm + kOpenDns + kConfirm +
             kOpenSyslog + kConfirm,
         stored({})},
    };
    expectRows(kRouter, rows);
}

// One entry per confirmation; an entry that is in use and gets new items is deleted and added
// again, and an entry deleted and registered again in one run is added again.
TEST_F(RouterLanSessionTest, NatAndHostTables) {
    const char* const kGlobalError = "グローバルＩＰアドレスの入力に間違いがあります。";
    const EntryTableIds& nat = kNatIds;
    const EntryTableIds& host = kDnsHostIds;
    const AreaRow rows[] = {
        {"NAT numbers and addresses",
         {},
         kOpenNat + entry(nat, "33", "192.168.1.5", "*") + kRefused + text(nat.number, "0") +
             kRefused + text(nat.number, "2") + text(nat.first, "") + kRefused +
             text(nat.first, "192.168.1.5") + text(nat.second, "203.0.113") + kRefused +
             text(nat.second, "203.0.113.7/24") + kRefused + text(nat.second, "203.0.113.7.9") +
             kRefused + text(nat.second, "*,x") + kRefused + text(nat.second, "*") + kConfirm,
         stored({"nat add 2 192.168.1.5,*"}),
         {kNumberError, kNumberError, "プライベートＩＰアドレスの入力に間違いがあります。",
          kGlobalError, kGlobalError, kGlobalError, kGlobalError}},
        {"deleting entries: unused, 5",
         {"nat add 5 192.168.1.5,203.0.113.5"},
         kOpenNat + text(nat.number, "33") + click(nat.deleteButton) + "answer ok\n" +
             removed(nat, "7") + kOpenNat + removed(nat, "5"),
         stored({"nat del 5"}),
         {kNumberError}},
        {"deleted and registered again",
         {"nat add 3 192.168.1.3,203.0.113.3"},
         kOpenNat + removed(nat, "3") + kOpenNat + entry(nat, "3", "192.168.1.3", "203.0.113.3") +
             kConfirm,
         stored({"nat del 3", "nat add 3 192.168.1.3,203.0.113.3"})},
        {"new items for host 1",
         {"host add 1 192.168.1.10,printer"},
         kOpenHost + entry(host, "1", "", "printer") + kRefused + text(host.first, "192.168.1.11") +
             text(host.second, "") + kRefused + text(host.second, "a,b") + kRefused +
             text(host.second, "printer2") + kConfirm + kOpenHost +
             entry(host, "1", "192.168.1.11", "printer2") + kConfirm,
         stored({"host del 1", "host add 1 192.168.1.11,printer2"}),
         {"ＩＰアドレスの入力に間違いがあります。", "ホスト名の入力に間違いがあります。",
          "ホスト名の入力に間違いがあります。"}},
    };
    expectRows(kRouter, rows);
}

// The list shows the entries in use of the working copy, in entry order.
TEST_F(RouterLanSessionTest, NatList) {
    AreaHandlers observed;
    observed.read = RouterReader;
    observed.run = [](ui::Dialog&, AreaContext& context) {
        const auto opensObserved = [] { return std::make_unique<ObservedNatDlg>(); };
        return area::CAreaMenuDlg(IDD_PNA_MENU, context,
                                  {{IDC_PNA_MENU_NAT, kNatSection, opensObserved}}, RouterWriter)
            .DoModal();
    };
    ASSERT_TRUE(registerArea(IDC_MAIN_PNA_MENU, observed));
    freshAdapter({"nat add 11 192.168.1.11,*web", "nat add 1 192.168.1.1,203.0.113.1"});
    SessionResult r = run(kRouter.session(
        kOpenNat + removed(kNatIds, "11") + kOpenNat + removed(kNatIds, "1") + kOpenNat +
        entry(kNatIds, "11", "10.0.0.1", "*") + kConfirm + kOpenNat + kBack));
    expectSession(r, kRouter.sent(stored({"nat del 11", "nat del 1", "nat add 11 10.0.0.1,*"})), {},
                  kRouter.viewed());
    EXPECT_EQ(ObservedNatDlg::lists,
              (Lines{"1: 192.168.1.1, 203.0.113.1\r\n11: 192.168.1.11, *web\r\n",
                     "1: 192.168.1.1, 203.0.113.1\r\n", "", "11: 10.0.0.1, *\r\n"}));
}

}  // namespace
}  // namespace kx::test
