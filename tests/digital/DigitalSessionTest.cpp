// The digital area end to end: the main window reads "show digital data", "usb" and "common",
// the menu opens the DATA, USB, common, throughput BOD and BACP/BAP dialogs, a scripted user
// edits them, and the adapter receives one setting command per changed item of that dialog.
#include <array>
#include <fstream>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/AppState.h"
#include "app/AreaRegistry.h"
#include "app/HelpPages.h"
#include "area/AreaMenuDlg.h"
#include "digital/DigitalSettings.h"
#include "digital/ThroughputBodDlg.h"
#include "res/DigitalIds.h"
#include "res/ShellIds.h"
#include "tests/support/SessionSupport.h"
#include "ui/MessageBox.h"

namespace kx {
// readable records in failure output
void PrintTo(const DigitalPortSettings& p, std::ostream* os) {
    *os << "{\"" << p.selfAddress << "\", " << p.arriveTransfer << ", \"" << p.transferAddress
        << "\", " << p.talky << ", " << p.globalArrive << ", " << p.subaddressLessArrive << ", "
        << p.noticeNumber << ", " << p.iNumber << "}";
}
void PrintTo(const DigitalSettings& d, std::ostream* os) {
    for (int v :
         {d.initChannel, d.resourceBod, d.arrivePriority, d.throughputBod, d.bacpBap, d.discTime,
          d.piafs, d.addDirection, d.addRate, d.addEvalTime, d.addMinTime, d.delDirection,
          d.delRate, d.delEvalTime, d.delMinTime, d.departMask, d.arriveMask})
        *os << v << " ";
    *os << "usb ";
    PrintTo(d.usb, os);
    *os << " data ";
    PrintTo(d.data, os);
    *os << " pna ";
    PrintTo(d.pna, os);
}
}  // namespace kx

namespace kx::test {
namespace {

using Lines = std::vector<std::string>;

const Lines kShows{"show digital data", "show digital usb", "show digital common"};
const Lines kReadOk{"com open", "Digital Status Read OK", "View Digital Dlg"};

const char* const kSelfError = "自己アドレスの入力に間違いがあります。";
const char* const kTransferError = "転送先電話番号の入力に間違いがあります。";
const char* const kDiscTimeError = "切断時間の入力に間違いがあります。";
const char* const kRateError = "しきい値の入力に間違いがあります。";
const char* const kEvalError = "評価時間の入力に間違いがあります。";
const char* const kMinTimeError = "最小保持時間の入力に間違いがあります。";

// 32 digits, "*" and a 19-digit subaddress: the longest number the adapter takes.
const std::string kLongest = "01234567890123456789012345678901*1234567890123456789";

const DigitalPortIds& kData = kDataPortIds;
const DigitalPortIds& kUsb = kUsbPortIds;
const BodSideIds& kAdd = kBodAddIds;
const BodSideIds& kDel = kBodDelIds;

std::string click(int id) {
    return "click " + std::to_string(id) + "\n";
}
std::string text(int id, const std::string& value) {
    return "text " + std::to_string(id) + " " + value + "\n";
}
std::string scroll(int id, const char* direction) {
    return "scroll " + std::to_string(id) + " " + direction + "\n";
}
std::string select(int id, int index) {
    return "select " + std::to_string(id) + " " + std::to_string(index) + "\n";
}
std::string dialog(int id) {
    return "dialog " + std::to_string(id) + "\n";
}

const std::string kMenu = dialog(IDD_DIGITAL_MENU);
const std::string kOpenData = click(IDC_DIGITAL_MENU_DATA) + dialog(IDD_DATA_PORT);
const std::string kOpenUsb = click(IDC_DIGITAL_MENU_USB) + dialog(IDD_USB_PORT);
const std::string kOpenCommon = click(IDC_DIGITAL_MENU_COMMON) + dialog(IDD_DIGITAL_COMMON);
const std::string kOpenBod = click(IDC_DIGITAL_MENU_BOD) + dialog(IDD_THROUGHPUT_BOD);
const std::string kOpenBacp = click(IDC_DIGITAL_MENU_BACP_BAP) + dialog(IDD_BACP_BAP);
// "登録" that passes the checks, "登録" refused with a message, "戻る": each back in the menu.
const std::string kConfirm = click(ui::IDOK) + kMenu;
const std::string kRefused = click(ui::IDOK) + "answer ok\n";
const std::string kBack = click(ui::IDCANCEL) + kMenu;

// The whole session: start, the digital button, `menu` inside the menu, "戻る", close.
std::string session(const std::string& menu) {
    return kStart + click(IDC_MAIN_DIGITAL) + kMenu + menu + click(ui::IDCANCEL) + kClose;
}
// `commands` followed by the store into flash that a confirmed dialog asks for at close.
Lines stored(Lines commands) {
    commands.push_back("fromwr 15");
    return commands;
}
std::string bod(const std::string& command) {
    return "digital throughput_bod " + command;
}

// The throughput BOD dialog, noting what its estimates and edits show after it opened and after
// each spin arrow.
class ObservedBodDlg : public CThroughputBodDlg {
public:
    static inline std::map<int, std::string> shown;

protected:
    bool OnInitDialog() override {
        bool result = CThroughputBodDlg::OnInitDialog();
        note();
        return result;
    }
    void OnVScroll(int id, int code) override {
        CThroughputBodDlg::OnVScroll(id, code);
        note();
    }

private:
    void note() {
        for (const BodSideIds* side : {&kAdd, &kDel})
            for (int id : {side->rate, side->estimate, side->evalTime, side->minTime})
                shown[id] = GetDlgItemTextUtf8(id);
    }
};

// The digital menu with its throughput BOD button on the observed dialog, written as usual.
class ObservedMenuDlg : public area::CAreaMenuDlg {
public:
    explicit ObservedMenuDlg(AreaContext& context)
        : CAreaMenuDlg(IDD_DIGITAL_MENU, context,
                       {{IDC_DIGITAL_MENU_BOD, kDigitalBodArea, opens<ObservedBodDlg>()}},
                       WriteDigitalSettings) {}
};

class DigitalSessionTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        useFastTimings();
    }
    // A fresh program and adapter, the adapter set by `presets` without them reaching the
    // transcript.
    void freshAdapter(const Lines& presets, const std::string& fault = "",
                      const std::string& stateFile = "") {
        sim::EmulatorOptions options = withFault(fault);
        options.stateFile = stateFile;
        freshRun(serialSettings(), std::move(options));
        if (!emulator_)
            return;  // the start failed the test; the caller stops at HasFatalFailure()
        for (const std::string& preset : presets)
            EXPECT_EQ(adapter().device().execute(preset).body, "") << preset;
    }
    // What the adapter receives: the probe, the read, `tail`, "exit".
    static Lines sent(const Lines& tail) {
        return concat(concat(concat(probeLines(), kShows), tail), {"exit"});
    }
    std::string adapterValue(const std::string& key) { return adapter().device().state()[key]; }
};

TEST_F(DigitalSessionTest, ConfirmedDialogsSendTheChangedItemsInTableOrder) {
    struct Row {
        const char* name;
        Lines presets;
        std::string menu;
        Lines tail;
    } rows[] = {
        {"cancelled", {}, kOpenData + click(kData.noticeNumber[0]) + kBack, {}},
        {"DATA notice net",
         {"digital notice_number data disable"},
         kOpenData + click(kData.noticeNumber[3]) + kConfirm,
         stored({"digital notice_number data net"})},
        {"USB notice net",
         {"digital notice_number usb contract"},
         kOpenUsb + click(kUsb.noticeNumber[3]) + kConfirm,
         stored({"digital notice_number usb net"})},
        // every item of a port, changed from the last to the first
        {"DATA in table order",
         {},
         kOpenData + click(kData.iNumber[3]) + click(kData.noticeNumber[2]) +
             click(kData.subaddressLessArrive[0]) + click(kData.globalArrive[0]) +
             click(kData.arriveTransfer[1]) + text(kData.transferAddress, "0611112222") +
             text(kData.selfAddress, "0312345678*9") + kConfirm,
         stored({"digital address data 0312345678*9",
                 "digital arrive_transfer address data 0611112222",
                 "digital arrive_transfer data enable", "digital global_arrive data disable",
                 "digital no_subaddress data disable", "digital notice_number data address",
                 "digital i_number data add2"})},
        {"USB in table order",
         {"digital global_arrive usb disable", "digital arrive_transfer usb enable"},
         kOpenUsb + click(kUsb.iNumber[1]) + click(kUsb.noticeNumber[0]) +
             click(kUsb.globalArrive[1]) + click(kUsb.arriveTransfer[0]) +
             text(kUsb.selfAddress, kLongest) + kConfirm,
         stored({"digital address usb " + kLongest, "digital arrive_transfer usb disable",
                 "digital global_arrive usb enable", "digital notice_number usb disable",
                 "digital i_number usb contract"})},
        {"emptied self address",
         {"digital address usb 0422"},
         kOpenUsb + text(kUsb.selfAddress, "") + kConfirm,
         stored({"digital address usb "})},
        {"common in table order",
         {},
         kOpenCommon + select(IDC_DIGITAL_COMMON_PIAFS, 2) +
             text(IDC_DIGITAL_COMMON_DISC_TIME, "30") + click(kBacpBapIds[1]) +
             click(kThroughputBodIds[1]) + click(kResourceBodIds[2]) +
             click(kArrivePriorityIds[1]) + click(kInitChannelIds[0]) + kConfirm,
         stored({"digital channel 2", "digital arrive usb", "digital resource_bod arrive",
                 "digital throughput_bod enable", "digital bacp_bap enable", "digital disc_time 30",
                 "digital piafs 2"})},
        {"one channel",
         {"digital channel 2"},
         kOpenCommon + click(kInitChannelIds[1]) + kConfirm,
         stored({"digital channel 1"})},
        {"PIAFS 64k Version 2.1",
         {},
         kOpenCommon + select(IDC_DIGITAL_COMMON_PIAFS, 2) + kConfirm,
         stored({"digital piafs 2"})},
        {"disconnect time 255 and empty",
         {"digital disc_time 10"},
         kOpenCommon + text(IDC_DIGITAL_COMMON_DISC_TIME, "255") + kConfirm + kOpenCommon +
             text(IDC_DIGITAL_COMMON_DISC_TIME, "") + kConfirm,
         stored({"digital disc_time 255", "digital disc_time 0"})},
        {"throughput BOD in table order",
         {"digital throughput_bod enable"},
         kOpenBod + text(kDel.minTime, "7") + text(kDel.evalTime, "30") + text(kDel.rate, "10") +
             click(kDel.direction[1]) + text(kAdd.minTime, "100") + text(kAdd.evalTime, "20") +
             text(kAdd.rate, "50") + click(kAdd.direction[0]) + kConfirm,
         stored({bod("add_evaluation_direction both"), bod("add_standard_rate 50"),
                 bod("add_evaluation_time 20"), bod("add_minimum_time 20"),
                 bod("del_evaluation_direction send"), bod("del_standard_rate 10"),
                 bod("del_evaluation_time 30"), bod("del_minimum_time 1")})},
        // the holding times go out in 5-second units
        {"60 seconds",
         {bod("add_minimum_time 5")},
         kOpenBod + text(kAdd.minTime, "60") + kConfirm,
         stored({bod("add_minimum_time 12")})},
        {"64 seconds are the 60 held",
         {},
         kOpenBod + text(kAdd.minTime, "64") + kConfirm,
         stored({})},
        {"limits accepted",
         {bod("add_standard_rate 50"), bod("del_evaluation_time 9")},
         kOpenBod + text(kAdd.rate, "") + text(kAdd.minTime, "1275") + text(kDel.evalTime, "255") +
             kConfirm,
         stored({bod("add_standard_rate 0"), bod("add_minimum_time 255"),
                 bod("del_evaluation_time 255")})},
        // a changed mask sends its side's three answers, from its bits
        {"called-side callback request",
         {"digital bacp_bap arrive_request reject"},
         kOpenBacp + click(kBacpArriveIds[1][1]) + kConfirm,
         stored({"digital bacp_bap arrive_add auto", "digital bacp_bap arrive_request auto",
                 "digital bacp_bap arrive_del auto"})},
        {"calling-side removal",
         {},
         kOpenBacp + click(kBacpDepartIds[2][0]) + kConfirm,
         stored({"digital bacp_bap depart_add auto", "digital bacp_bap depart_request auto",
                 "digital bacp_bap depart_del reject"})},
        {"both sides",
         {},
         kOpenBacp + click(kBacpArriveIds[0][0]) + click(kBacpDepartIds[1][0]) + kConfirm,
         stored({"digital bacp_bap depart_add auto", "digital bacp_bap depart_request reject",
                 "digital bacp_bap depart_del auto", "digital bacp_bap arrive_add reject",
                 "digital bacp_bap arrive_request auto", "digital bacp_bap arrive_del auto"})},
        {"answer changed back",
         {},
         kOpenBacp + click(kBacpDepartIds[0][0]) + click(kBacpDepartIds[0][1]) + kConfirm,
         stored({})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        freshAdapter(row.presets);
        ASSERT_FALSE(HasFatalFailure());
        SessionResult r = run(session(row.menu));
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.transcript, sent(row.tail));
        EXPECT_TRUE(r.messages.empty());
        EXPECT_EQ(r.log, kReadOk);
    }
}

// Every item of both ports and of the common settings is read from its own label; each dialog
// confirmed without a change then sends nothing, though the close stores into flash.
TEST_F(DigitalSessionTest, ReadTakesEveryItemAndUnchangedDialogsSendNothing) {
    freshAdapter({"digital address data " + kLongest,
                  "digital arrive_transfer data enable",
                  "digital arrive_transfer address data 0598765432",
                  "digital arrive_transfer talky data 2",
                  "digital global_arrive data disable",
                  "digital no_subaddress data disable",
                  "digital notice_number data address",
                  "digital i_number data add1",
                  "digital address usb 0422*9",
                  "digital arrive_transfer address usb 0311",
                  "digital arrive_transfer talky usb 3",
                  "digital notice_number usb contract",
                  "digital i_number usb add2",
                  "digital channel 2",
                  "digital arrive usb",
                  "digital resource_bod both",
                  "digital throughput_bod enable",
                  bod("add_evaluation_direction send"),
                  bod("add_standard_rate 55"),
                  bod("add_evaluation_time 20"),
                  bod("add_minimum_time 7"),
                  bod("del_evaluation_direction recv"),
                  bod("del_standard_rate 15"),
                  bod("del_evaluation_time 30"),
                  bod("del_minimum_time 255"),
                  "digital bacp_bap enable",
                  "digital bacp_bap depart_request reject",
                  "digital bacp_bap arrive_add reject",
                  "digital disc_time 200",
                  "digital piafs 1"});
    ASSERT_FALSE(HasFatalFailure());
    SessionResult r = run(session(kOpenData + kConfirm + kOpenUsb + kConfirm + kOpenCommon +
                                  kConfirm + kOpenBod + kConfirm + kOpenBacp + kConfirm));
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_EQ(r.transcript, sent(stored({})));
    EXPECT_EQ(r.log, kReadOk);
    // clang-format off
    DigitalSettings expected;
    expected.initChannel = 0; expected.resourceBod = 3; expected.arrivePriority = 1;
    expected.throughputBod = 1; expected.bacpBap = 1; expected.discTime = 200; expected.piafs = 1;
    expected.addDirection = 1; expected.addRate = 55; expected.addEvalTime = 20;
    expected.addMinTime = 7; expected.delDirection = 2; expected.delRate = 15;
    expected.delEvalTime = 30; expected.delMinTime = 255;
    expected.departMask = 5; expected.arriveMask = 6;
    expected.data = {kLongest, /* transfer */ 1, "0598765432", /* talky */ 2, /* global */ 0,
                     /* no subaddress */ 0, /* notice */ 2, /* i number */ 2};
    expected.usb = {"0422*9", 0, "0311", 3, 1, 1, 1, 3};
    // clang-format on
    EXPECT_EQ(digitalSettings.snapshot, expected);
    EXPECT_EQ(digitalSettings.working, expected);
}

// The BACP/BAP masks carry bits 3 to 7 through the dialog; only bits 0 to 2 reach commands.
TEST_F(DigitalSessionTest, MaskBitsAboveTheAnswersAreCarried) {
    const std::string stateFile = startupFolder() + "/digital-masks.state";
    std::ofstream(stateFile, std::ios::trunc)
        << "digital.common.departMask=127\ndigital.common.arriveMask=240\n";
    freshAdapter({}, "", stateFile);
    ASSERT_FALSE(HasFatalFailure());
    SessionResult r = run(session(kOpenBacp + click(kBacpDepartIds[0][0]) + kConfirm));
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_EQ(r.transcript, sent(stored({"digital bacp_bap depart_add reject",
                                         "digital bacp_bap depart_request auto",
                                         "digital bacp_bap depart_del auto"})));
    EXPECT_EQ(digitalSettings.working.departMask, 126);
    EXPECT_EQ(digitalSettings.working.arriveMask, 240);
    EXPECT_EQ(digitalSettings.snapshot.departMask, 127);
    EXPECT_EQ(adapterValue("digital.common.departMask"), "126");
}

// The spin arrows wrap within each edit's range; the threshold arrows renew the estimate beside
// them ("約 %.2f kbps", 0.08 kbps a percent).
TEST_F(DigitalSessionTest, SpinArrowsWrapAndRenewTheEstimates) {
    using Shown = std::vector<std::pair<int, std::string>>;
    const Shown kFactoryEstimates{{kAdd.estimate, "約 6.40 kbps"}, {kDel.estimate, "約 2.40 kbps"}};
    struct Row {
        const char* name;
        Lines presets;
        std::string dialog;
        Shown shown;  // after the last arrow
        Lines tail;
    } rows[] = {
        {"nothing pressed", {}, "", kFactoryEstimates, {}},
        {"threshold 100 up",
         {bod("add_standard_rate 100")},
         scroll(kAdd.rateSpin, "up"),
         {{kAdd.rate, "0"}, {kAdd.estimate, "約 0.00 kbps"}, {kDel.estimate, "約 2.40 kbps"}},
         {bod("add_standard_rate 0")}},
        {"threshold 0 down",
         {bod("del_standard_rate 0")},
         scroll(kDel.rateSpin, "down"),
         {{kDel.rate, "100"}, {kDel.estimate, "約 8.00 kbps"}, {kAdd.estimate, "約 6.40 kbps"}},
         {bod("del_standard_rate 100")}},
        {"typed threshold up and down",
         {},
         text(kAdd.rate, "50") + scroll(kAdd.rateSpin, "up") + scroll(kAdd.rateSpin, "down"),
         {{kAdd.rate, "50"}, {kAdd.estimate, "約 4.00 kbps"}},
         {bod("add_standard_rate 50")}},
        {"empty threshold up",
         {},
         text(kDel.rate, "") + scroll(kDel.rateSpin, "up"),
         {{kDel.rate, "1"}, {kDel.estimate, "約 0.08 kbps"}},
         {bod("del_standard_rate 1")}},
        {"holding time 1275 up",
         {bod("add_minimum_time 255")},
         scroll(kAdd.minTimeSpin, "up"),
         {{kAdd.minTime, "5"}},
         {bod("add_minimum_time 1")}},
        {"holding time 5 down",
         {bod("del_minimum_time 1")},
         scroll(kDel.minTimeSpin, "down"),
         {{kDel.minTime, "1275"}},
         {bod("del_minimum_time 255")}},
        {"typed 12 up",
         {},
         text(kAdd.minTime, "") + "type " + std::to_string(kAdd.minTime) + " 12\n" +
             scroll(kAdd.minTimeSpin, "up"),
         {{kAdd.minTime, "15"}},
         {bod("add_minimum_time 3")}},
        {"evaluation time 255 up",
         {bod("add_evaluation_time 255")},
         scroll(kAdd.evalTimeSpin, "up"),
         {{kAdd.evalTime, "1"}, {kAdd.estimate, "約 6.40 kbps"}},
         {bod("add_evaluation_time 1")}},
        {"evaluation time 1 down",
         {bod("del_evaluation_time 1")},
         scroll(kDel.evalTimeSpin, "down"),
         {{kDel.evalTime, "255"}},
         {bod("del_evaluation_time 255")}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        freshAdapter(row.presets);
        ASSERT_FALSE(HasFatalFailure());
        AreaHandlers observed;
        observed.read = ReadDigitalSettings;
        observed.run = [](ui::Dialog&, AreaContext& context) {
            return ObservedMenuDlg(context).DoModal();
        };
        ASSERT_TRUE(registerArea(IDC_MAIN_DIGITAL, observed));
        ObservedBodDlg::shown.clear();
        SessionResult r = run(session(kOpenBod + row.dialog + kConfirm));
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.transcript, sent(stored(row.tail)));
        for (const auto& [id, value] : row.shown) EXPECT_EQ(ObservedBodDlg::shown[id], value) << id;
    }
}

TEST_F(DigitalSessionTest, RefusedEntriesShowTheirMessageAndStoreNothing) {
    struct Row {
        const char* name;
        std::string menu;
        Lines messages;
        Lines tail;
    } rows[] = {
        {"DATA self address with letters",
         kOpenData + text(kData.selfAddress, "03ab") + kRefused + kBack,
         {kSelfError},
         {}},
        {"DATA transfer number",
         kOpenData + text(kData.transferAddress, "03-12a") + kRefused + kBack,
         {kTransferError},
         {}},
        {"USB transfer number",
         kOpenUsb + text(kUsb.transferAddress, "12x") + kRefused + kBack,
         {kTransferError},
         {}},
        {"self address before transfer number",
         kOpenUsb + text(kUsb.transferAddress, "x") + text(kUsb.selfAddress, "a") + kRefused +
             kBack,
         {kSelfError},
         {}},
        // the dialog stays open with what was done; the next OK stores all of it
        {"corrected after the message",
         kOpenData + click(kData.globalArrive[0]) + text(kData.selfAddress, "03ab") + kRefused +
             text(kData.selfAddress, "0312") + kConfirm,
         {kSelfError},
         stored({"digital address data 0312", "digital global_arrive data disable"})},
        {"disconnect time 256",
         kOpenCommon + text(IDC_DIGITAL_COMMON_DISC_TIME, "256") + kRefused + kBack,
         {kDiscTimeError},
         {}},
        {"disconnect time 2a",
         kOpenCommon + text(IDC_DIGITAL_COMMON_DISC_TIME, "2a") + kRefused + kBack,
         {kDiscTimeError},
         {}},
        // removal side first, then the addition side, each holding time, evaluation time,
        // threshold
        {"removal threshold before addition holding time",
         kOpenBod + text(kAdd.minTime, "4") + text(kDel.rate, "101") + kRefused + kBack,
         {kRateError},
         {}},
        {"removal evaluation time before addition threshold",
         kOpenBod + text(kAdd.rate, "101") + text(kDel.evalTime, "0") + kRefused + kBack,
         {kEvalError},
         {}},
        {"removal holding time before removal evaluation time",
         kOpenBod + text(kDel.evalTime, "256") + text(kDel.minTime, "1276") + kRefused + kBack,
         {kMinTimeError},
         {}},
        {"empty evaluation time",
         kOpenBod + text(kAdd.evalTime, "") + kRefused + kBack,
         {kEvalError},
         {}},
        {"corrected one by one",
         kOpenBod + text(kAdd.minTime, "4") + text(kDel.rate, "101") + kRefused +
             text(kDel.rate, "100") + kRefused + text(kAdd.minTime, "5") + kConfirm,
         {kRateError, kMinTimeError},
         stored({bod("add_minimum_time 1"), bod("del_standard_rate 100")})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        freshAdapter({});
        ASSERT_FALSE(HasFatalFailure());
        SessionResult r = run(session(row.menu));
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.transcript, sent(row.tail));
        EXPECT_EQ(r.messageTexts(), row.messages);
        for (const auto& m : r.messages) {
            EXPECT_EQ(m.caption, windowTitle);
            EXPECT_EQ(m.buttons, ui::MsgButtons::Ok);
            EXPECT_EQ(m.icon, ui::MsgIcon::None);
        }
        EXPECT_EQ(r.log, kReadOk);
        // a refused OK keeps both copies as read
        if (row.tail.empty()) {
            EXPECT_EQ(digitalSettings.working, digitalSettings.snapshot);
        }
    }
}

// Throughput BOD on or off in the common dialog and the directions of the throughput BOD dialog
// follow each other in the working copy only; each write sends its own area.
TEST_F(DigitalSessionTest, ThroughputBodCouplingsStayInTheWorkingCopy) {
    struct Row {
        const char* name;
        Lines presets;
        std::string menu;
        Lines tail;
        std::array<int, 3> working;  // throughputBod, addDirection, delDirection afterwards
        std::array<const char*, 3> adapter;
    } rows[] = {
        // the BOD dialog opens on "追加を行わない" / "削除を行わない" and so sends nothing
        {"off in the common dialog",
         {"digital throughput_bod enable", bod("add_evaluation_direction both"),
          bod("del_evaluation_direction send")},
         kOpenCommon + click(kThroughputBodIds[0]) + kConfirm + kOpenBod + kConfirm,
         stored({"digital throughput_bod disable"}),
         {0, 3, 3},
         {"0", "0", "1"}},
        // the common dialog opens on "使用する" and so sends nothing
        {"a direction in the BOD dialog",
         {},
         kOpenBod + click(kAdd.direction[1]) + kConfirm + kOpenCommon + kConfirm,
         stored({bod("add_evaluation_direction send")}),
         {1, 1, 3},
         {"0", "1", "3"}},
        {"both directions none", {}, kOpenBod + kConfirm, stored({}), {0, 3, 3}, {"0", "3", "3"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        freshAdapter(row.presets);
        ASSERT_FALSE(HasFatalFailure());
        SessionResult r = run(session(row.menu));
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.transcript, sent(row.tail));
        const DigitalSettings& w = digitalSettings.working;
        EXPECT_EQ((std::array{w.throughputBod, w.addDirection, w.delDirection}), row.working);
        EXPECT_EQ(adapterValue("digital.common.throughputBod"), row.adapter[0]);
        EXPECT_EQ(adapterValue("digital.common.addDirection"), row.adapter[1]);
        EXPECT_EQ(adapterValue("digital.common.delDirection"), row.adapter[2]);
    }
}

// A failed exchange ends that dialog's commands; the menu stays usable, and the items not sent
// are not sent later either (the next confirmed dialog takes the working copy as the snapshot).
TEST_F(DigitalSessionTest, FailedExchangeStopsTheRestOfTheDialog) {
    struct Row {
        const char* fault;
        std::string menu;
        Lines tail;
    } rows[] = {
        {"silent:digital throughput_bod add_standard_rate",
         kOpenBod + text(kDel.evalTime, "30") + text(kAdd.rate, "50") + click(kAdd.direction[1]) +
             kConfirm + kOpenCommon + select(IDC_DIGITAL_COMMON_PIAFS, 1) + kConfirm + kOpenBod +
             kConfirm,
         stored({bod("add_evaluation_direction send"), bod("add_standard_rate 50"),
                 "digital piafs 1"})},
        {"silent:digital global_arrive",
         kOpenData + click(kData.iNumber[2]) + click(kData.globalArrive[0]) +
             text(kData.selfAddress, "0311") + kConfirm + kOpenUsb + click(kUsb.iNumber[1]) +
             kConfirm,
         stored({"digital address data 0311", "digital global_arrive data disable",
                 "digital i_number usb contract"})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        freshAdapter({}, row.fault);
        ASSERT_FALSE(HasFatalFailure());
        SessionResult r = run(session(row.menu));
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.transcript, sent(row.tail));
        EXPECT_TRUE(r.messages.empty());
        EXPECT_EQ(r.log, kReadOk);
    }
}

TEST_F(DigitalSessionTest, FailedReadStopsAndOpensNoMenu) {
    for (std::size_t failing = 0; failing < kShows.size(); ++failing) {
        SCOPED_TRACE(kShows[failing]);
        freshAdapter({"digital notice_number data address"}, "silent/1:" + kShows[failing]);
        ASSERT_FALSE(HasFatalFailure());
        SessionResult r = run(kStart + click(IDC_MAIN_DIGITAL) + kClose);
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        Lines shows(kShows.begin(), kShows.begin() + static_cast<long>(failing) + 1);
        EXPECT_EQ(r.transcript, concat(concat(probeLines(), shows), {"exit"}));
        EXPECT_TRUE(r.messages.empty());
        EXPECT_EQ(r.log, (Lines{"com open", "Digital Status Read ERROR"}));
        // what was read stays in the snapshot; the working copy is left as it was
        EXPECT_EQ(digitalSettings.snapshot.data.noticeNumber, failing > 0 ? 2 : 0);
        EXPECT_EQ(digitalSettings.snapshot.usb.globalArrive, failing > 1 ? 1 : 0);
        EXPECT_EQ(digitalSettings.working, DigitalSettings{});
    }
}

TEST_F(DigitalSessionTest, HelpKeyAndButton) {
    const std::string kF1 = "key F1\n";
    const std::string kButton = click(IDC_HELP_BUTTON);
    struct Row {
        std::string menu;
        const char* page;  // "" when no page opens
    } rows[] = {
        {kOpenData + kF1 + kBack, "10009.html"},
        {kOpenUsb + kButton + kBack, "10009.html"},
        {kOpenCommon + kF1 + kBack, "10010.html"},
        {kOpenCommon + kButton + kBack, "10010.html"},
        {kOpenBod + kF1 + kBack, "10013.html"},
        {kOpenBod + kButton + kBack, "10013.html"},
        {kOpenBacp + kF1 + kBack, "10012.html"},
        {kOpenBacp + kButton + kBack, "10012.html"},
        {kF1, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.menu);
        freshAdapter({});
        ASSERT_FALSE(HasFatalFailure());
        setLastHelpPage("");
        SessionResult r = run(session(row.menu));
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_TRUE(r.messages.empty());
        EXPECT_EQ(r.transcript, sent({}));
        EXPECT_EQ(lastHelpPage(),
                  *row.page ? std::string(KX_HELP_SOURCE_DIR) + "/" + row.page : std::string());
    }
}

}  // namespace
}  // namespace kx::test
