// The router area end to end: the main window's HomePNA command reads the 16 replies, the
// HomePNA menu opens the dial-up profiles, and the easy setup runs its own cycle; a scripted
// user edits them, and the adapter receives one setting command per changed item.
#include <string>

#include "app/AreaRegistry.h"
#include "res/RouterIds.h"
#include "router/RouterSettings.h"
#include "tests/support/AreaSession.h"

namespace kx::test {
namespace {

const AreaScript& kRouter = routerArea();
const AreaScript& kEasy = easySetupArea();

const char* const kChapError = "64k 以外は、CHAPに設定できません。";
const char* const kTimeError = "切断時間の入力に間違いがあります。";
const char* const kWanError = "ＷＡＮ側ＩＰアドレスの入力に間違いがあります。";
const char* const kServerError = "サーバーアドレスの入力に間違いがあります。";
const char* const kPrimaryError = "プライマリＤＮＳサーバーＩＰアドレスの入力に間違いがあります。";
const char* const kNumber2Error = "電話番号2の入力に間違いがあります。";

const DialupIds& kP1 = kDialup1Ids;
const DialupIds& kP2 = kDialup2Ids;
const std::string kOpen1 = open(IDC_PNA_MENU_DIALUP1, IDD_DIALUP1);
const std::string kOpen2 = open(IDC_PNA_MENU_DIALUP2, IDD_DIALUP2);
const std::string kOpenEasy = open(IDC_MAIN_PNA_EASY, IDD_PNA_EASY);
const std::string kConfirm = kRouter.confirm();
const std::string kBack = kRouter.back();

std::string refusedIn(int dialogId) {
    return kRouter.refused() + dialog(dialogId);
}

class RouterSessionTest : public AreaSessionTest {
protected:
    void SetUp() override {
        AreaSessionTest::SetUp();
        modeLines_ = "ROUTER=1\n";
    }
};

TEST_F(RouterSessionTest, DialupProfiles) {
    const std::string kLongest = "01234567890123456789012345678901*1234567890123456789";
    const AreaRow rows[] = {
        // profile 1 in the section's order; the DNS addresses of the factory (0.0.0.0) show
        // empty and, left empty, send nothing
        {"every item of profile 1",
         {},
         kOpen1 + click(kP1.dnsSelect[0]) + text(kP1.dnsPrimary, "192.0.2.1") +
             text(kP1.address, "203.0.113.2") + text(kP1.disconnectTime, "32400") +
             click(kP1.autoDisconnect[0]) + select(kP1.mode, 0) + select(kP1.protocol, 2) +
             text(kP1.password, "pass#;=[") + text(kP1.userId, "user@example.jp") +
             text(kP1.dialNumber[1], "0322") + text(kP1.providerName, "isp.example") + kConfirm,
         stored({"dialup provider_name num1 isp.example", "dialup dial_number num1 ,0322,",
                 "dialup user_id num1 user@example.jp", "dialup password num1 pass#;=[",
                 "dialup protocol num1 chap", "dialup auto_disc num1 disable",
                 "dialup disc_time num1 32400", "dialup address num1 203.0.113.2",
                 "dialup dns_select num1 manual", "dialup dns_address num1 192.0.2.1,0.0.0.0"})},
        {"both DNS addresses cleared",
         {"dialup dns_select num1 manual", "dialup dns_address num1 192.0.2.1,192.0.2.2"},
         kOpen1 + text(kP1.dnsPrimary, "") + text(kP1.dnsSecondary, "") + click(kP1.dnsSelect[1]) +
             kConfirm,
         stored({"dialup dns_select num1 auto", "dialup dns_address num1 0.0.0.0,0.0.0.0"})},
        // the 53rd character of a number survives in profiles 2 to 4
        {"profile 2, a number of 52 and the WAN address emptied",
         {"dialup address num2 203.0.113.9"},
         kOpen2 + text(kP2.dialNumber[2], kLongest) + text(kP2.address, "") + kConfirm,
         stored({"dialup dial_number num2 ,," + kLongest, "dialup address num2 0.0.0.0"})},
        {"refusals, then a valid change",
         {},
         kOpen1 + select(kP1.mode, 2) + select(kP1.protocol, 2) + refusedIn(IDD_DIALUP1) +
             select(kP1.mode, 0) + text(kP1.disconnectTime, "0") + refusedIn(IDD_DIALUP1) +
             text(kP1.disconnectTime, "32401") + refusedIn(IDD_DIALUP1) +
             text(kP1.disconnectTime, "60") + text(kP1.address, "1.2.3") + refusedIn(IDD_DIALUP1) +
             text(kP1.address, "") + click(kP1.dnsSelect[0]) + refusedIn(IDD_DIALUP1) +
             text(kP1.dnsPrimary, "192.0.2.300") + refusedIn(IDD_DIALUP1) +
             text(kP1.dnsPrimary, "") + click(kP1.dnsSelect[1]) +
             text(kP1.dialNumber[1], "03*123456789012345678901") + refusedIn(IDD_DIALUP1) +
             text(kP1.dialNumber[1], "") + kConfirm,
         stored({"dialup protocol num1 chap"}),
         {kChapError, kTimeError, kTimeError, kWanError, kServerError, kPrimaryError,
          kNumber2Error}},
        // a number is read whole: its 53rd character makes a subaddress too long
        {"profile 2, a number of 53",
         {},
         kOpen2 + text(kP2.dialNumber[2], kLongest + "9") + refusedIn(IDD_DIALUP2) + kBack,
         {},
         {"電話番号3の入力に間違いがあります。"}},
        // the adapter may hold a longer password than the dialog lets the user type
        {"a held password of 40 bytes is no change",
         {"dialup password num1 " + std::string(40, 'p')},
         kOpen1 + kConfirm,
         stored({})},
    };
    expectRows(kRouter, rows);
}

// Without its "submask:" line the router address is not known: it shows empty and, left so,
// goes nowhere (a new address restarts the adapter).
TEST_F(RouterSessionTest, AnUnknownRouterAddressIsNotSent) {
    freshAdapter({}, "nolabel=submask::show router");
    SessionResult r = run(kRouter.session(open(IDC_PNA_MENU_ROUTER, IDD_ROUTER) + kConfirm));
    expectSession(r, kRouter.sent(stored({})), {}, kRouter.viewed());
    EXPECT_EQ(routerSettings.working.routerAddress, "");
}

// What was read before the failed reply stays in the snapshots (the PNA port's address is the
// seventh reply); the working copies are left as they were.
TEST_F(RouterSessionTest, AFailedReadOpensNoMenu) {
    expectReadStops(kRouter, {"digital address pna 0311"}, [](std::size_t failed) {
        EXPECT_EQ(routerSettings.snapshot.routerAddress, failed > 0 ? "192.168.1.1/24" : "");
        EXPECT_EQ(digitalSettings.snapshot.pna.selfAddress, failed > 6 ? "0311" : "");
        EXPECT_EQ(routerSettings.working, RouterSettings{});
        EXPECT_EQ(digitalSettings.working, DigitalSettings{});
    });
}

TEST_F(RouterSessionTest, EasySetup) {
    const Lines written = {"com open", "Dialup Status Read OK", "View Dialup Dlg",
                           "Dialup Status Write OK"};
    const struct {
        const char* name;
        Lines presets;
        std::string form;
        Lines commands;
        Lines messages = {};
    } rows[] = {
        {"number 2 only, given DNS with a primary only",
         {"dialup dial_number num1 0311,,0333"},
         text(kPnaEasyDialNumberIds[1], "0322") + click(kPnaEasyDnsSelectIds[0]) +
             refusedIn(IDD_PNA_EASY) + text(IDC_PNA_EASY_DNS_PRIMARY, "192.0.2.1"),
         {"dialup dial_number num1 0311,0322,0333", "dialup dns_select num1 manual",
          "dialup dns_address num1 192.0.2.1,0.0.0.0"},
         {kServerError}},
        // disabled, the addresses are neither checked nor stored
        {"automatic DNS",
         {"dialup dns_select num1 manual", "dialup dns_address num1 192.0.2.1,192.0.2.2"},
         text(IDC_PNA_EASY_DNS_PRIMARY, "bad") + click(kPnaEasyDnsSelectIds[1]),
         {"dialup dns_select num1 auto"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        freshAdapter(row.presets);
        SessionResult r = run(kEasy.session(kOpenEasy + row.form + kEasy.confirm()));
        expectSession(r, kEasy.sent(stored(row.commands)), row.messages, written);
    }
    freshAdapter();
    SessionResult r = run(kEasy.session(kOpenEasy + kEasy.confirm()));
    expectSession(r, kEasy.sent(stored({})), {}, written);
}

}  // namespace
}  // namespace kx::test
