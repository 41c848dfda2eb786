// The digital area end to end: the main window reads "show digital data", "usb" and "common",
// the menu opens the DATA, USB, common, throughput BOD and BACP/BAP dialogs, a scripted user
// edits them, and the adapter receives one setting command per changed item of that dialog.
#include <array>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "app/AreaRegistry.h"
#include "area/AreaMenuDlg.h"
#include "digital/DigitalSettings.h"
#include "digital/ThroughputBodDlg.h"
#include "res/DigitalIds.h"
#include "tests/support/AreaSession.h"

namespace kx::test {
namespace {

const AreaScript& kDigital = digitalArea();

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

const std::string kOpenData = open(IDC_DIGITAL_MENU_DATA, IDD_DATA_PORT);
const std::string kOpenUsb = open(IDC_DIGITAL_MENU_USB, IDD_USB_PORT);
const std::string kOpenCommon = open(IDC_DIGITAL_MENU_COMMON, IDD_DIGITAL_COMMON);
const std::string kOpenBod = open(IDC_DIGITAL_MENU_BOD, IDD_THROUGHPUT_BOD);
const std::string kOpenBacp = open(IDC_DIGITAL_MENU_BACP_BAP, IDD_BACP_BAP);
const std::string kConfirm = kDigital.confirm();
const std::string kRefused = kDigital.refused();
const std::string kBack = kDigital.back();

std::string bod(const std::string& command) {
    return "digital throughput_bod " + command;
}

using ObservedBod = ObservedBodDlg<CThroughputBodDlg, kBodAddIds, kBodDelIds>;

// The digital menu with its throughput BOD button on the observed dialog, written as usual.
class ObservedMenuDlg : public area::CAreaMenuDlg {
public:
    explicit ObservedMenuDlg(AreaContext& context)
        : CAreaMenuDlg(IDD_DIGITAL_MENU, context,
                       {{IDC_DIGITAL_MENU_BOD, kDigitalBodArea, opens<ObservedBod>()}},
                       WriteDigitalSettings) {}
};

using DigitalSessionTest = AreaSessionTest;

TEST_F(DigitalSessionTest, ConfirmedDialogsSendTheChangedItemsInTableOrder) {
    const AreaRow rows[] = {
        // every item of each port, changed from the last to the first
        {"DATA and USB in table order",
         {"digital global_arrive usb disable", "digital arrive_transfer usb enable"},
         kOpenData + click(kData.iNumber[3]) + click(kData.noticeNumber[2]) +
             click(kData.subaddressLessArrive[0]) + click(kData.globalArrive[0]) +
             click(kData.arriveTransfer[1]) + text(kData.transferAddress, "0611112222") +
             text(kData.selfAddress, "0312345678*9") + kConfirm + kOpenUsb +
             click(kUsb.iNumber[1]) + click(kUsb.noticeNumber[0]) + click(kUsb.globalArrive[1]) +
             click(kUsb.arriveTransfer[0]) + text(kUsb.selfAddress, kLongest) + kConfirm,
         stored({"digital address data 0312345678*9",
                 "digital arrive_transfer address data 0611112222",
                 "digital arrive_transfer data enable", "digital global_arrive data disable",
                 "digital no_subaddress data disable", "digital notice_number data address",
                 "digital i_number data add2", "digital address usb " + kLongest,
                 "digital arrive_transfer usb disable", "digital global_arrive usb enable",
                 "digital notice_number usb disable", "digital i_number usb contract"})},
        {"common in table order",
         {},
         kOpenCommon + select(IDC_DIGITAL_COMMON_PIAFS, 2) +
             text(IDC_DIGITAL_COMMON_DISC_TIME, "30") + click(kBacpBapIds[1]) +
             click(kThroughputBodIds[1]) + click(kResourceBodIds[2]) +
             click(kArrivePriorityIds[1]) + click(kInitChannelIds[0]) + kConfirm,
         stored({"digital channel 2", "digital arrive usb", "digital resource_bod arrive",
                 "digital throughput_bod enable", "digital bacp_bap enable", "digital disc_time 30",
                 "digital piafs 2"})},
        // the holding times go out in 5-second units, what is left over dropped
        {"throughput BOD in table order",
         {"digital throughput_bod enable"},
         kOpenBod + text(kDel.minTime, "7") + text(kDel.evalTime, "30") + text(kDel.rate, "10") +
             click(kDel.direction[1]) + text(kAdd.minTime, "100") + text(kAdd.evalTime, "20") +
             text(kAdd.rate, "50") + click(kAdd.direction[0]) + kConfirm,
         stored({bod("add_evaluation_direction both"), bod("add_standard_rate 50"),
                 bod("add_evaluation_time 20"), bod("add_minimum_time 20"),
                 bod("del_evaluation_direction send"), bod("del_standard_rate 10"),
                 bod("del_evaluation_time 30"), bod("del_minimum_time 1")})},
        // a changed mask sends its side's three answers, from its bits; an answer changed back
        // is no change
        {"called-side callback request",
         {"digital bacp_bap arrive_request reject"},
         kOpenBacp + click(kBacpArriveIds[1][1]) + click(kBacpDepartIds[0][0]) +
             click(kBacpDepartIds[0][1]) + kConfirm,
         stored({"digital bacp_bap arrive_add auto", "digital bacp_bap arrive_request auto",
                 "digital bacp_bap arrive_del auto"})},
        {"both sides",
         {},
         kOpenBacp + click(kBacpArriveIds[0][0]) + click(kBacpDepartIds[1][0]) +
             click(kBacpDepartIds[2][0]) + kConfirm,
         stored({"digital bacp_bap depart_add auto", "digital bacp_bap depart_request reject",
                 "digital bacp_bap depart_del reject", "digital bacp_bap arrive_add reject",
                 "digital bacp_bap arrive_request auto", "digital bacp_bap arrive_del auto"})},
    };
    expectRows(kDigital, rows);
}

// Both ports and the common settings away from the factory's: each dialog confirmed without a
// change sends nothing, though the close stores into flash.
TEST_F(DigitalSessionTest, UnchangedDialogsOverReadValuesSendNothing) {
    // clang-format off
    freshAdapter({"digital address data " + kLongest, "digital arrive_transfer data enable",
        "digital arrive_transfer address data 0598765432", "digital arrive_transfer talky data 2",
        "digital global_arrive data disable", "digital no_subaddress data disable",
        "digital notice_number data address", "digital i_number data add1",
        "digital address usb 0422*9", "digital arrive_transfer address usb 0311",
        "digital arrive_transfer talky usb 3", "digital notice_number usb contract",
        "digital i_number usb add2", "digital channel 2", "digital arrive usb",
        "digital resource_bod both", "digital throughput_bod enable",
        bod("add_evaluation_direction send"), bod("add_standard_rate 55"),
        bod("add_evaluation_time 20"), bod("add_minimum_time 7"),
        bod("del_evaluation_direction recv"), bod("del_standard_rate 15"),
        bod("del_evaluation_time 30"), bod("del_minimum_time 255"), "digital bacp_bap enable",
        "digital bacp_bap depart_request reject", "digital bacp_bap arrive_add reject",
        "digital disc_time 200", "digital piafs 1"});
    // clang-format on
    SessionResult r =
        run(kDigital.session(kOpenData + kConfirm + kOpenUsb + kConfirm + kOpenCommon + kConfirm +
                             kOpenBod + kConfirm + kOpenBacp + kConfirm));
    expectSession(r, kDigital.sent(stored({})), {}, kDigital.viewed());
    // what each item reads is checked by the round trip of every value
    EXPECT_NE(digitalSettings.snapshot, DigitalSettings{});
    EXPECT_EQ(digitalSettings.working, digitalSettings.snapshot);
}

// The BACP/BAP masks carry bits 3 to 7 through the dialog; only bits 0 to 2 reach commands,
// and only those of the side that changed.
TEST_F(DigitalSessionTest, MaskBitsAboveTheAnswersAreCarried) {
    sim::EmulatorOptions options;
    options.stateFile = startupFolder() + "/digital-masks.state";
    std::ofstream(options.stateFile, std::ios::trunc)
        << "digital.common.departMask=127\ndigital.common.arriveMask=240\n";
    freshRun(serialSettings(), options);
    ASSERT_FALSE(HasFatalFailure());
    SessionResult r = run(kDigital.session(kOpenBacp + click(kBacpDepartIds[0][0]) + kConfirm));
    expectSession(r,
                  kDigital.sent(stored({"digital bacp_bap depart_add reject",
                                        "digital bacp_bap depart_request auto",
                                        "digital bacp_bap depart_del auto"})),
                  {}, kDigital.viewed());
    EXPECT_EQ(digitalSettings.working.departMask, 126);
    EXPECT_EQ(digitalSettings.working.arriveMask, 240);
    EXPECT_EQ(digitalSettings.snapshot.departMask, 127);
}

// The spin arrows wrap within each edit's range, the evaluation times' upper arrow turning
// anything above 255 into 1 (a typed 300 shows 1; the router's dialog steps on to 301 instead).
// The threshold arrows renew the estimate beside them ("約 %.2f kbps", 0.08 kbps a percent), and
// only that one.
TEST_F(DigitalSessionTest, SpinArrowsWrapAndRenewTheEstimates) {
    AreaHandlers observed;
    observed.read = ReadDigitalSettings;
    observed.run = [](ui::Dialog&, AreaContext& context) {
        return ObservedMenuDlg(context).DoModal();
    };
    ASSERT_TRUE(registerArea(IDC_MAIN_DIGITAL, observed));
    const AreaRow rows[] = {
        {"the addition side up past the highest, a typed 300 up",
         {bod("add_standard_rate 100"), bod("add_evaluation_time 30"), bod("add_minimum_time 255")},
         kOpenBod + scroll(kAdd.rateSpin, "up") + scroll(kAdd.minTimeSpin, "up") +
             text(kAdd.evalTime, "300") + scroll(kAdd.evalTimeSpin, "up") + kConfirm,
         stored({bod("add_standard_rate 0"), bod("add_evaluation_time 1"),
                 bod("add_minimum_time 1")})},
        {"the removal side down past the lowest",
         {bod("del_standard_rate 0"), bod("del_evaluation_time 1"), bod("del_minimum_time 1")},
         kOpenBod + scroll(kDel.rateSpin, "down") + scroll(kDel.minTimeSpin, "down") +
             scroll(kDel.evalTimeSpin, "down") + kConfirm,
         stored({bod("del_standard_rate 100"), bod("del_evaluation_time 255"),
                 bod("del_minimum_time 255")})},
    };
    // what the estimates show at OK, after the last arrow (the edits' values are sent)
    const std::vector<std::pair<int, std::string>> shown[] = {
        {{kAdd.estimate, "約 0.00 kbps"}, {kDel.estimate, "約 2.40 kbps"}},
        {{kDel.estimate, "約 8.00 kbps"}, {kAdd.estimate, "約 6.40 kbps"}},
    };
    expectRows(kDigital, rows, [&](std::size_t i) {
        for (const auto& [id, value] : shown[i]) EXPECT_EQ(ObservedBod::shown[id], value) << id;
        ObservedBod::shown.clear();
    });
}

// Each refusal names the first wrong edit in the dialog's check order: a port's self address
// before its forwarding number; throughput BOD the removal side first, then the addition side,
// each its holding time, evaluation time, threshold. The dialog stays open as it was.
TEST_F(DigitalSessionTest, RefusedEntriesShowTheirMessageInCheckOrder) {
    const AreaRow rows[] = {
        {"a port, disconnect time",
         {},
         kOpenData + text(kData.transferAddress, "03-12a") + text(kData.selfAddress, "03ab") +
             kRefused + text(kData.selfAddress, "0312") + kRefused + kBack + kOpenCommon +
             text(IDC_DIGITAL_COMMON_DISC_TIME, "256") + kRefused +
             text(IDC_DIGITAL_COMMON_DISC_TIME, "2a") + kRefused + kBack,
         {},
         {kSelfError, kTransferError, kDiscTimeError, kDiscTimeError}},
        {"throughput BOD, each wrong edit in turn",
         {},
         kOpenBod + text(kAdd.minTime, "4") + text(kAdd.evalTime, "") + text(kAdd.rate, "101") +
             text(kDel.rate, "101") + text(kDel.evalTime, "0") + text(kDel.minTime, "1276") +
             kRefused + text(kDel.minTime, "5") + kRefused + text(kDel.evalTime, "256") + kRefused +
             text(kDel.evalTime, "30") + kRefused + text(kDel.rate, "100") + kRefused +
             text(kAdd.minTime, "5") + kRefused + text(kAdd.evalTime, "20") + kRefused +
             text(kAdd.rate, "50") + kConfirm,
         stored({bod("add_standard_rate 50"), bod("add_evaluation_time 20"),
                 bod("add_minimum_time 1"), bod("del_standard_rate 100"),
                 bod("del_evaluation_time 30"), bod("del_minimum_time 1")}),
         {kMinTimeError, kEvalError, kEvalError, kRateError, kMinTimeError, kEvalError,
          kRateError}},
    };
    expectRows(kDigital, rows, [&](std::size_t i) {
        // a refused OK keeps both copies as read
        if (rows[i].tail.empty()) {
            EXPECT_EQ(digitalSettings.working, digitalSettings.snapshot);
        }
    });
}

// Throughput BOD on or off in the common dialog and the directions of the throughput BOD dialog
// follow each other in the working copy only; each write sends its own area.
TEST_F(DigitalSessionTest, ThroughputBodCouplingsStayInTheWorkingCopy) {
    const AreaRow rows[] = {
        // the BOD dialog opens on "追加を行わない" / "削除を行わない" and so sends nothing
        {"off in the common dialog",
         {"digital throughput_bod enable", bod("add_evaluation_direction both"),
          bod("del_evaluation_direction send")},
         kOpenCommon + click(kThroughputBodIds[0]) + kConfirm + kOpenBod + kConfirm,
         stored({"digital throughput_bod disable"})},
        // the common dialog opens on "使用する" and so sends nothing
        {"a direction in the BOD dialog",
         {},
         kOpenBod + click(kAdd.direction[1]) + kConfirm + kOpenCommon + kConfirm,
         stored({bod("add_evaluation_direction send")})},
    };
    // throughputBod, addDirection, delDirection of the working copy afterwards
    const std::array<int, 3> working[] = {{0, 3, 3}, {1, 1, 3}};
    expectRows(kDigital, rows, [&](std::size_t i) {
        const DigitalSettings& w = digitalSettings.working;
        EXPECT_EQ((std::array{w.throughputBod, w.addDirection, w.delDirection}), working[i]);
    });
}

// A failed exchange ends that dialog's commands; the menu stays usable. The items not sent
// are not taken for sent by the next confirmed dialog: until the area is read again the
// snapshot stays what the adapter was last known to hold, so each later write of a part sends
// what differs from it (the common part sends the throughput BOD that the BOD dialog switched
// on, and BOD again tries its unsent threshold). Every area's menu writes this way; this row
// stands for all of them.
TEST_F(DigitalSessionTest, FailedExchangeStopsTheRestOfTheDialog) {
    const AreaRow rows[] = {
        {"BOD, then common, then BOD again",
         {},
         kOpenBod + text(kDel.evalTime, "30") + text(kAdd.rate, "50") + click(kAdd.direction[1]) +
             kConfirm + kOpenCommon + select(IDC_DIGITAL_COMMON_PIAFS, 1) + kConfirm + kOpenBod +
             kConfirm,
         stored({bod("add_evaluation_direction send"), bod("add_standard_rate 50"),
                 "digital throughput_bod enable", "digital piafs 1",
                 bod("add_evaluation_direction send"), bod("add_standard_rate 50")}),
         {},
         "silent:digital throughput_bod add_standard_rate"},
    };
    expectRows(kDigital, rows);
}

// What was read before the failed reply stays in the snapshot; the working copy is left as it
// was.
TEST_F(DigitalSessionTest, FailedReadStopsAndOpensNoMenu) {
    expectReadStops(kDigital, {"digital notice_number data address"}, [](std::size_t failed) {
        EXPECT_EQ(digitalSettings.snapshot.data.noticeNumber, failed > 0 ? 2 : 0);
        EXPECT_EQ(digitalSettings.snapshot.usb.globalArrive, failed > 1 ? 1 : 0);
        EXPECT_EQ(digitalSettings.working, DigitalSettings{});
    });
}

TEST_F(DigitalSessionTest, HelpPages) {
    expectHelpPages(kDigital, {{kOpenData, 10009},
                               {kOpenUsb, 10009},
                               {kOpenCommon, 10010},
                               {kOpenBod, 10013},
                               {kOpenBacp, 10012}});
}

}  // namespace
}  // namespace kx::test
