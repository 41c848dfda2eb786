// The router's line side end to end: the HomePNA menu opens the incoming dial-up, leased-line,
// connection-limit, BOD and BACP/BAP dialogs, a scripted user edits them, and the adapter
// receives one setting command per changed item of that dialog's section.
#include <string>
#include <utility>
#include <vector>

#include "app/AreaRegistry.h"
#include "app/services/Help.h"
#include "app/services/HelpPages.h"
#include "area/AreaMenuDlg.h"
#include "res/RouterIds.h"
#include "router/BodDlg.h"
#include "router/RouterSettings.h"
#include "tests/support/AreaSession.h"

namespace kx::test {
namespace {

const AreaScript& kRouter = routerArea();

const char* const kChapError = "64k 以外は、CHAPに設定できません。";
const char* const kDiscTimeError = "切断時間の入力に間違いがあります。";
const char* const kRasWanError = "ルータのＷＡＮ側ＩＰアドレスの入力に間違いがあります。";
const char* const kPartnerError = "相手側ＩＰアドレスの入力に間違いがあります。";
const char* const kRasUserError = "受信ユーザーＩＤの入力に間違いがあります。";
const char* const kGlobalError = "グローバルＩＰアドレスの入力に間違いがあります。";
const char* const kRemoteError = "リモートＩＰアドレスの入力に間違いがあります。";
const char* const kPrimaryError = "プライマリＤＮＳサーバーＩＰアドレスの入力に間違いがあります。";
const char* const kSecondaryError =
    "セカンダリＤＮＳサーバーＩＰアドレスの入力に間違いがあります。";
const char* const kPasswordError = "パスワードの入力に間違いがあります。";
const char* const kChargeError = "回線使用料の入力に間違いがあります。";
const char* const kTimeError = "接続時間の入力に間違いがあります。";
const char* const kCountError = "接続回数の入力に間違いがあります。";
const char* const kClearError = "クリア機能の入力に間違いがあります。";
const char* const kMinTimeError = "最小保持時間の入力に間違いがあります。";
const char* const kEvalError = "評価時間の入力に間違いがあります。";
const char* const kRateError = "しきい値の入力に間違いがあります。";

const BodSideIds& kAdd = kRouterBodAddIds;
const BodSideIds& kDel = kRouterBodDelIds;

const std::string kOpenArrive = open(IDC_PNA_MENU_ARRIVE, IDD_PNA_ARRIVE);
const std::string kOpenLeased = open(IDC_PNA_MENU_LEASED_LINE, IDD_LEASED_LINE);
const std::string kOpenLimits = open(IDC_PNA_MENU_CONNECT_LIMIT, IDD_CONNECT_LIMIT);
const std::string kOpenBod = open(IDC_PNA_MENU_BOD, IDD_ROUTER_BOD);
const std::string kOpenBacp = open(IDC_PNA_MENU_BACP_BAP, IDD_ROUTER_BACP_BAP);
const std::string kConfirm = kRouter.confirm();
const std::string kClear = click(IDC_CONNECT_CLEAR) + dialog(IDD_PNA_MENU);
const Lines kCounterClears = {"connect charge", "connect time", "connect number"};

std::string refusedIn(int dialogId) {
    return kRouter.refused() + dialog(dialogId);
}

std::string bod(const std::string& command) {
    return "bod throughput_bod " + command;
}

using ObservedBod = ObservedBodDlg<CBodDlg, kRouterBodAddIds, kRouterBodDelIds>;

class ObservedMenuDlg : public area::CAreaMenuDlg {
public:
    explicit ObservedMenuDlg(AreaContext& context)
        : CAreaMenuDlg(IDD_PNA_MENU, context,
                       {{IDC_PNA_MENU_BOD, kBodSection, opens<ObservedBod>()}}, RouterWriter) {}
};

class RouterLineSessionTest : public AreaSessionTest {
protected:
    void SetUp() override {
        AreaSessionTest::SetUp();
        modeLines_ = "ROUTER=1\n";
    }
};

// Each dialog's items, changed from the last to the first, go out in the section's order (texts
// in CP932: "ゲスト" is "\x83Q\x83X\x83g").
// Addresses the adapter reports as "0.0.0.0" show empty and, left empty, send nothing; emptied
// ones are stored as each dialog says.
TEST_F(RouterLineSessionTest, ConfirmedDialogsSendTheirSectionInOrder) {
    const AreaRow rows[] = {
        {"incoming dial-up",
         {},
         kOpenArrive + select(IDC_PNA_ARRIVE_PROTOCOL, 1) + select(IDC_PNA_ARRIVE_MODE, 3) +
             text(IDC_PNA_ARRIVE_DISC_TIME, "32400") + click(kPnaArriveAutoDiscIds[0]) +
             text(IDC_PNA_ARRIVE_PASSWORD, "pw#1") + text(IDC_PNA_ARRIVE_USER_ID, "ゲスト") +
             click(kPnaArriveActiveIds[1]) + text(IDC_PNA_ARRIVE_PARTNER_ADDRESS, "192.0.2.2") +
             kConfirm,
         stored({"ras server enable", "ras address 0.0.0.0,192.0.2.2",
                 "ras user_id \x83Q\x83X\x83g", "ras password pw#1", "ras protocol pap",
                 "ras mode mp3", "ras auto_disc disable", "ras disc_time 32400"})},
        {"incoming dial-up, both addresses emptied; 64k takes CHAP",
         {"ras server enable", "ras address 192.0.2.1,192.0.2.2"},
         kOpenArrive + text(IDC_PNA_ARRIVE_WAN_ADDRESS, "") +
             text(IDC_PNA_ARRIVE_PARTNER_ADDRESS, "") + select(IDC_PNA_ARRIVE_PROTOCOL, 2) +
             kConfirm,
         stored({"ras address 0.0.0.0,0.0.0.0", "ras protocol chap"})},
        {"leased line",
         {},
         kOpenLeased + text(IDC_LEASED_LINE_DNS_SECONDARY, "192.0.2.54") +
             text(IDC_LEASED_LINE_PASSWORD, "secret") + text(IDC_LEASED_LINE_USER_ID, "line") +
             text(IDC_LEASED_LINE_REMOTE_ADDRESS, "10.0.0.2") +
             text(IDC_LEASED_LINE_ADDRESS, "10.0.0.1/30") + kConfirm,
         stored({"network address 10.0.0.1/30", "network remote_addr 10.0.0.2",
                 "network user_id line", "network password secret",
                 "network dns_address 0.0.0.0,192.0.2.54"})},
        {"leased line, every address emptied",
         {"network address 10.0.0.1/30", "network remote_addr 10.0.0.2",
          "network dns_address 192.0.2.53,192.0.2.54"},
         kOpenLeased + text(IDC_LEASED_LINE_ADDRESS, "") +
             text(IDC_LEASED_LINE_REMOTE_ADDRESS, "") + text(IDC_LEASED_LINE_DNS_PRIMARY, "") +
             text(IDC_LEASED_LINE_DNS_SECONDARY, "") + kConfirm,
         stored({"network address 0.0.0.0/0", "network remote_addr 0.0.0.0",
                 "network dns_address 0.0.0.0,0.0.0.0"})},
        {"connection limits, 24 hours a week",
         {},
         kOpenLimits + text(IDC_CONNECT_CLEAR_MONTH_DAY, "31") +
             select(IDC_CONNECT_CLEAR_WEEKDAY, 6) + text(IDC_CONNECT_CLEAR_MINUTE, "59") +
             text(IDC_CONNECT_COUNT_MINUTES, "1440") + text(IDC_CONNECT_COUNT, "9999") +
             click(kConnectTimePeriodIds[1]) + text(IDC_CONNECT_TIME, "24") +
             click(kConnectChargePeriodIds[0]) + text(IDC_CONNECT_CHARGE, "999999") + kConfirm,
         stored({"connect charge 999999/0", "connect time 24/1", "connect number 9999/1440",
                 "connect clr_day 0:59", "connect clr_week 6", "connect clr_mon 31"})},
        // the holding times go out in seconds as typed, 7 included
        {"BOD",
         {},
         kOpenBod + text(kDel.minTime, "1275") + text(kDel.evalTime, "255") + text(kDel.rate, "0") +
             click(kDel.direction[1]) + text(kAdd.minTime, "7") + text(kAdd.evalTime, "1") +
             text(kAdd.rate, "100") + click(kAdd.direction[3]) + click(kRouterResourceBodIds[3]) +
             click(kRouterBodChannelIds[0]) + kConfirm,
         stored({"bod channel 2", "bod resource_bod both", bod("add_evaluation_direction disable"),
                 bod("add_standard_rate 100"), bod("add_evaluation_time 1"),
                 bod("add_minimum_time 7"), bod("del_evaluation_direction send"),
                 bod("del_standard_rate 0"), bod("del_evaluation_time 255"),
                 bod("del_minimum_time 1275")})},
        // a changed mask sends its side's three answers from its bits; an answer changed back
        // is no change
        {"called-side callback request",
         {"bacpbap arrive_request reject", "bacpbap arrive_del reject"},
         kOpenBacp + click(kRouterBacpArriveIds[1][1]) + click(kRouterBacpDepartIds[0][0]) +
             click(kRouterBacpDepartIds[0][1]) + kConfirm,
         stored({"bacpbap arrive_add auto", "bacpbap arrive_request auto",
                 "bacpbap arrive_del reject"})},
        {"both sides",
         {},
         kOpenBacp + click(kRouterBacpArriveIds[2][0]) + click(kRouterBacpDepartIds[1][0]) +
             kConfirm,
         stored({"bacpbap depart_add auto", "bacpbap depart_request reject",
                 "bacpbap depart_del auto", "bacpbap arrive_add auto",
                 "bacpbap arrive_request auto", "bacpbap arrive_del reject"})},
        {"each dialog confirmed unchanged",
         {"ras address 192.0.2.1,0.0.0.0", "network address 10.0.0.1/30"},
         kOpenArrive + kConfirm + kOpenLeased + kConfirm + kOpenLimits + kConfirm + kOpenBod +
             kConfirm + kOpenBacp + kConfirm,
         stored({})},
    };
    expectRows(kRouter, rows);
}

// Each refusal names the first wrong field in the dialog's check order; the dialog stays open
// as it was, and nothing reaches the copies before every check has passed.
TEST_F(RouterLineSessionTest, RefusedEntriesShowTheirMessageInCheckOrder) {
    const AreaRow rows[] = {
        // the addresses are checked while disabled too
        {"incoming dial-up",
         {},
         kOpenArrive + select(IDC_PNA_ARRIVE_MODE, 2) + select(IDC_PNA_ARRIVE_PROTOCOL, 2) +
             text(IDC_PNA_ARRIVE_DISC_TIME, "0") + refusedIn(IDD_PNA_ARRIVE) +
             select(IDC_PNA_ARRIVE_MODE, 0) + refusedIn(IDD_PNA_ARRIVE) +
             text(IDC_PNA_ARRIVE_DISC_TIME, "32401") + refusedIn(IDD_PNA_ARRIVE) +
             text(IDC_PNA_ARRIVE_DISC_TIME, "1") + click(kPnaArriveActiveIds[1]) +
             text(IDC_PNA_ARRIVE_WAN_ADDRESS, "192.0.2") +
             text(IDC_PNA_ARRIVE_PARTNER_ADDRESS, "192.0.2.256") + click(kPnaArriveActiveIds[0]) +
             refusedIn(IDD_PNA_ARRIVE) + click(kPnaArriveActiveIds[1]) +
             text(IDC_PNA_ARRIVE_WAN_ADDRESS, "") + refusedIn(IDD_PNA_ARRIVE) +
             text(IDC_PNA_ARRIVE_PARTNER_ADDRESS, "") +
             text(IDC_PNA_ARRIVE_USER_ID, "\xF0\x9F\x98\x80") + refusedIn(IDD_PNA_ARRIVE) +
             text(IDC_PNA_ARRIVE_USER_ID, "") + click(kPnaArriveActiveIds[0]) + kConfirm,
         stored({"ras protocol chap", "ras disc_time 1"}),
         {kChapError, kDiscTimeError, kDiscTimeError, kRasWanError, kPartnerError, kRasUserError}},
        {"leased line",
         {},
         kOpenLeased + text(IDC_LEASED_LINE_DNS_SECONDARY, "192.0.2.256") +
             text(IDC_LEASED_LINE_DNS_PRIMARY, "192.0.2") +
             text(IDC_LEASED_LINE_REMOTE_ADDRESS, "10.0.0") +
             text(IDC_LEASED_LINE_ADDRESS, "10.0.0.1") + refusedIn(IDD_LEASED_LINE) +
             text(IDC_LEASED_LINE_ADDRESS, "10.0.0.1/33") + refusedIn(IDD_LEASED_LINE) +
             text(IDC_LEASED_LINE_ADDRESS, "") + refusedIn(IDD_LEASED_LINE) +
             text(IDC_LEASED_LINE_REMOTE_ADDRESS, "") + refusedIn(IDD_LEASED_LINE) +
             text(IDC_LEASED_LINE_DNS_PRIMARY, "") + refusedIn(IDD_LEASED_LINE) +
             text(IDC_LEASED_LINE_DNS_SECONDARY, "") +
             text(IDC_LEASED_LINE_PASSWORD, "\xF0\x9F\x98\x80") + refusedIn(IDD_LEASED_LINE) +
             text(IDC_LEASED_LINE_PASSWORD, "") + kConfirm,
         stored({}),
         {kGlobalError, kGlobalError, kRemoteError, kPrimaryError, kSecondaryError,
          kPasswordError}},
        // the time bound follows the period; 0 connections is no limit, 0 minutes is wrong
        {"connection limits",
         {},
         kOpenLimits + text(IDC_CONNECT_CLEAR_MONTH_DAY, "0") + text(IDC_CONNECT_COUNT, "0") +
             text(IDC_CONNECT_COUNT_MINUTES, "0") + text(IDC_CONNECT_TIME, "24") +
             click(kConnectTimePeriodIds[0]) + text(IDC_CONNECT_CHARGE, "12a") +
             refusedIn(IDD_CONNECT_LIMIT) + text(IDC_CONNECT_CHARGE, "0") +
             refusedIn(IDD_CONNECT_LIMIT) + text(IDC_CONNECT_TIME, "168") +
             click(kConnectTimePeriodIds[1]) + refusedIn(IDD_CONNECT_LIMIT) +
             text(IDC_CONNECT_TIME, "744") + click(kConnectTimePeriodIds[2]) +
             refusedIn(IDD_CONNECT_LIMIT) + text(IDC_CONNECT_TIME, "24") +
             click(kConnectTimePeriodIds[1]) + refusedIn(IDD_CONNECT_LIMIT) +
             text(IDC_CONNECT_COUNT_MINUTES, "1") + text(IDC_CONNECT_CLEAR_HOUR, "24") +
             refusedIn(IDD_CONNECT_LIMIT) + text(IDC_CONNECT_CLEAR_HOUR, "23") +
             text(IDC_CONNECT_CLEAR_MINUTE, "60") + refusedIn(IDD_CONNECT_LIMIT) +
             text(IDC_CONNECT_CLEAR_MINUTE, "0") + refusedIn(IDD_CONNECT_LIMIT) +
             text(IDC_CONNECT_CLEAR_MONTH_DAY, "32") + refusedIn(IDD_CONNECT_LIMIT) +
             text(IDC_CONNECT_CLEAR_MONTH_DAY, "1") + kConfirm,
         stored({"connect time 24/1", "connect number 0/1", "connect clr_day 23:0"}),
         {kChargeError, kTimeError, kTimeError, kTimeError, kCountError, kClearError, kClearError,
          kClearError, kClearError}},
        // the dropping side first, then the adding side, each its holding time, evaluation
        // time, threshold
        {"BOD",
         {},
         kOpenBod + text(kAdd.rate, "101") + text(kDel.evalTime, "0") + text(kDel.minTime, "4") +
             refusedIn(IDD_ROUTER_BOD) + text(kDel.minTime, "5") + refusedIn(IDD_ROUTER_BOD) +
             text(kDel.evalTime, "30") + refusedIn(IDD_ROUTER_BOD) + text(kAdd.rate, "80") +
             kConfirm,
         stored({bod("del_minimum_time 5")}),
         {kMinTimeError, kEvalError, kRateError}},
    };
    expectRows(kRouter, rows, [&](std::size_t) {
        // every refusal left the copies alone; the last OK changed what it sent
        EXPECT_EQ(routerSettings.working.ras.userId, "");
        EXPECT_EQ(routerSettings.working.network.password, "");
    });
}

// "クリア" closes the dialog without storing anything, and the menu clears the three counters
// at once. Limits that a failed write left unsent go out after the clears; opening the dialog
// again withdraws the request.
TEST_F(RouterLineSessionTest, ClearButtonClearsTheCountersOnly) {
    const AreaRow rows[] = {
        {"clear after typing a limit",
         {},
         kOpenLimits + text(IDC_CONNECT_CHARGE, "5000") + click(kConnectChargePeriodIds[0]) +
             kClear,
         kCounterClears},
        {"a limit left unsent by a failed write",
         {},
         kOpenLimits + text(IDC_CONNECT_CHARGE, "5000") + kConfirm + kOpenLimits + kClear,
         stored({"connect charge 5000/2", "connect charge", "connect time", "connect number",
                 "connect charge 5000/2"}),
         {},
         "silent/1:connect charge 5000"},
        {"cleared, then opened again and confirmed",
         {},
         kOpenLimits + kClear + kOpenLimits + text(IDC_CONNECT_COUNT_MINUTES, "30") + kConfirm +
             kOpenLimits + kRouter.back(),
         stored({"connect charge", "connect time", "connect number", "connect number 0/30"})},
    };
    expectRows(kRouter, rows, [&](std::size_t i) {
        if (i == 0) {
            EXPECT_EQ(routerSettings.working, routerSettings.snapshot);
        }
        EXPECT_EQ(resetCounters, i < 2);
    });
}

// The arrows wrap within each edit's range; the holding times step by 5 seconds, and a typed
// value becomes the next multiple of 5; the threshold arrows renew the estimate beside them. The
// evaluation times' upper arrow turns only 256 into 1: a typed 300 steps on to 301, which OK
// refuses (the digital dialog's arrow turns it into 1).
TEST_F(RouterLineSessionTest, BodSpinArrows) {
    AreaHandlers observed;
    observed.read = RouterReader;
    observed.run = [](ui::Dialog&, AreaContext& context) {
        return ObservedMenuDlg(context).DoModal();
    };
    ASSERT_TRUE(registerArea(IDC_MAIN_PNA_MENU, observed));
    const AreaRow rows[] = {
        {"the addition side up past the highest, the removal side down past the lowest",
         {bod("add_standard_rate 100"), bod("del_standard_rate 0"), bod("add_minimum_time 1275"),
          bod("del_minimum_time 5"), bod("add_evaluation_time 255"), bod("del_evaluation_time 1")},
         kOpenBod + scroll(kAdd.rateSpin, "up") + scroll(kDel.rateSpin, "down") +
             scroll(kAdd.minTimeSpin, "up") + scroll(kDel.minTimeSpin, "down") +
             scroll(kAdd.evalTimeSpin, "up") + scroll(kDel.evalTimeSpin, "down") + kConfirm,
         stored({bod("add_standard_rate 0"), bod("add_evaluation_time 1"),
                 bod("add_minimum_time 5"), bod("del_standard_rate 100"),
                 bod("del_evaluation_time 255"), bod("del_minimum_time 1275")})},
        {"12 typed up, 300 typed up on both sides",
         {},
         kOpenBod + text(kAdd.minTime, "") + "type " + std::to_string(kAdd.minTime) + " 12\n" +
             scroll(kAdd.minTimeSpin, "up") + text(kAdd.evalTime, "300") +
             scroll(kAdd.evalTimeSpin, "up") + text(kDel.evalTime, "300") +
             scroll(kDel.evalTimeSpin, "up") + refusedIn(IDD_ROUTER_BOD) + kRouter.back(),
         {},
         {kEvalError}},
    };
    // what the estimates, and the edits whose values are not sent, show at OK; the emulator
    // starts at 80 % and 40 %
    const std::vector<std::pair<int, std::string>> shown[] = {
        {{kAdd.estimate, "約 0.00 kbps"}, {kDel.estimate, "約 8.00 kbps"}},
        {{kAdd.minTime, "15"},
         {kAdd.evalTime, "301"},
         {kDel.evalTime, "301"},
         {kAdd.estimate, "約 6.40 kbps"},
         {kDel.estimate, "約 3.20 kbps"}},
    };
    expectRows(kRouter, rows, [&](std::size_t i) {
        for (const auto& [id, value] : shown[i]) EXPECT_EQ(ObservedBod::shown[id], value) << id;
        ObservedBod::shown.clear();
    });
}

// Every dialog of the HomePNA menu shows the classic router's page.
TEST_F(RouterLineSessionTest, HelpPages) {
    std::vector<HelpRow> rows;
    for (const std::string& opened :
         {kOpenArrive, kOpenLeased, kOpenBod, kOpenBacp, open(IDC_PNA_MENU_ROUTER, IDD_ROUTER),
          open(IDC_PNA_MENU_PNA_PORT, IDD_PNA_PORT), open(IDC_PNA_MENU_DHCP, IDD_DHCP),
          open(IDC_PNA_MENU_DNS, IDD_DNS), open(IDC_PNA_MENU_SYSLOG, IDD_SYSLOG),
          open(IDC_PNA_MENU_NAT, IDD_NAT), open(IDC_PNA_MENU_DNS_HOST, IDD_DNS_HOST),
          open(IDC_PNA_MENU_DIALUP1, IDD_DIALUP1), open(IDC_PNA_MENU_DIALUP4, IDD_DIALUP4)})
        rows.push_back({opened, kHelpClassicRouter});
    expectHelpPages(kRouter, rows);
    // the connection-limit dialog's help button has an id of its own
    freshAdapter();
    RecordedPages viewer;
    setHelpViewer(&viewer);
    SessionResult r =
        run(kRouter.session(kOpenLimits + "key F1\n" + click(IDC_CONNECT_HELP) + kRouter.back()));
    setHelpViewer(nullptr);
    const std::string page =
        std::string(KX_HELP_SOURCE_DIR) + "/" + helpPageName(kHelpClassicRouter);
    EXPECT_EQ(viewer.pages, Lines(2, page));
    expectSession(r, kRouter.sent({}), {}, kRouter.viewed());
}

}  // namespace
}  // namespace kx::test
