// The analog area end to end: the main window reads the four "show analog" replies, the menu
// opens the TEL port and common dialogs, a scripted user edits them, and the adapter receives
// one setting command per changed item.
#include <array>
#include <string>
#include <vector>

#include "analog/AnalogSettings.h"
#include "app/AppState.h"
#include "app/HelpPages.h"
#include "res/AnalogIds.h"
#include "res/ShellIds.h"
#include "tests/support/SessionSupport.h"
#include "ui/MessageBox.h"

namespace kx::test {
namespace {

using Lines = std::vector<std::string>;

const Lines kShows{"show analog tel1", "show analog tel2", "show analog tel3",
                   "show analog common"};
const Lines kReadOk{"com open", "Analog Status Read OK", "View Analog Dlg"};

const char* const kSelfError = "自己アドレスの入力に間違いがあります。";
const char* const kTransferError = "転送先電話番号の入力に間違いがあります。";
const char* const kDialTimeError = "ダイヤル発信時間の入力に間違いがあります。";
const char* const kFrequencyError = "呼出音周波数の入力に間違いがあります。";
const char* const kDelayError = "遅延回数の入力に間違いがあります。";

const TelPortIds& kTel1 = kTel1PortIds;
const TelPortIds& kTel2 = kTel2PortIds;
const TelPortIds& kTel3 = kTel3PortIds;

std::string click(int id) {
    return "click " + std::to_string(id) + "\n";
}
std::string text(int id, const std::string& value) {
    return "text " + std::to_string(id) + " " + value + "\n";
}
std::string check(int id) {
    return "check " + std::to_string(id) + " 1\n";
}
std::string uncheck(int id) {
    return "check " + std::to_string(id) + " 0\n";
}
std::string scroll(int id, const char* direction) {
    return "scroll " + std::to_string(id) + " " + direction + "\n";
}

// Opens a dialog from the analog menu.
std::string openTel(const TelPortIds& port) {
    constexpr std::array kButtons{IDC_ANALOG_MENU_TEL1, IDC_ANALOG_MENU_TEL2, IDC_ANALOG_MENU_TEL3};
    return click(kButtons[static_cast<std::size_t>(port.dialog - IDD_TEL1_PORT)]) + "dialog " +
           std::to_string(port.dialog) + "\n";
}
const std::string kOpenCommon =
    click(IDC_ANALOG_MENU_COMMON) + "dialog " + std::to_string(IDD_ANALOG_COMMON) + "\n";
// "登録" that passes the checks, "登録" refused with a message, "戻る": each back in the menu.
const std::string kMenu = "dialog " + std::to_string(IDD_ANALOG_MENU) + "\n";
const std::string kConfirm = click(ui::IDOK) + kMenu;
const std::string kRefused = click(ui::IDOK) + "answer ok\n";
const std::string kBack = click(ui::IDCANCEL) + kMenu;

// The whole session: start, the analog button, `menu` inside the menu, "戻る", close.
std::string session(const std::string& menu) {
    return kStart + click(IDC_MAIN_ANALOG) + kMenu + menu + click(ui::IDCANCEL) + kClose;
}
// `commands` followed by the store into flash that a confirmed dialog asks for at close.
Lines stored(Lines commands) {
    commands.push_back("fromwr 15");
    return commands;
}

class AnalogSessionTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        useFastTimings();
    }
    // A fresh program and adapter, the adapter set by `presets` without them reaching the
    // transcript.
    void freshAdapter(const Lines& presets, const std::string& fault = "") {
        freshRun(serialSettings(), withFault(fault));
        for (const std::string& preset : presets)
            EXPECT_EQ(adapter().device().execute(preset).body, "") << preset;
    }
    // What the adapter receives: the probe, the read, `tail`, "exit".
    static Lines sent(const Lines& tail) {
        return concat(concat(concat(probeLines(), kShows), tail), {"exit"});
    }
};

TEST_F(AnalogSessionTest, ConfirmedDialogsSendTheChangedItemsInTableOrder) {
    struct Row {
        const char* name;
        Lines presets;
        std::string menu;
        Lines tail;
    } rows[] = {
        {"cancelled", {}, openTel(kTel1) + click(kTel1.ringSound[2]) + kBack, {}},
        {"TEL3 ring pattern",
         {},
         openTel(kTel3) + click(kTel3.ringSound[2]) + kConfirm,
         stored({"analog ring_sound tel3 ring3"})},
        // every item of TEL1, changed from the last to the first
        {"TEL1 in table order",
         {},
         openTel(kTel1) + click(kTel1.discSignal[1]) + text(kTel1.sendDialTime, "9") +
             click(kTel1.ringSound[1]) + click(kTel1.callWaiting[1]) +
             click(kTel1.noticeNumber[1]) + click(kTel1.iNumber[3]) +
             click(kTel1.numberDisplay[2]) + click(kTel1.analogPortMode[1]) +
             click(kTel1.subaddressLessArrive[0]) + click(kTel1.globalArrive[0]) +
             check(kTel1.talkySource) + click(kTel1.arriveTransfer[1]) +
             text(kTel1.transferAddress, "0312345678*12") + text(kTel1.selfAddress, "0311112222") +
             kConfirm,
         stored({"analog address tel1 0311112222",
                 "analog arrive_transfer address tel1 0312345678*12",
                 "analog arrive_transfer tel1 enable", "analog arrive_transfer talky tel1 1",
                 "analog global_arrive tel1 disable", "analog no_subaddress tel1 disable",
                 "analog port_mode tel1 audio", "analog number_display tel1 cd",
                 "analog i_number tel1 add2", "analog notice_number tel1 contract",
                 "analog callwaiting tel1 ntt", "analog ring_sound tel1 ring2",
                 "analog dial_time tel1 9", "analog disc_signal tel1 enable"})},
        {"emptied self address",
         {"analog address tel1 0312345678"},
         openTel(kTel1) + text(kTel1.selfAddress, "") + kConfirm,
         stored({"analog address tel1 "})},
        {"TEL2 dial time",
         {},
         openTel(kTel2) + text(kTel2.sendDialTime, "7") + kConfirm,
         stored({"analog dial_time tel2 7"})},
        {"dial time bounds",
         {},
         openTel(kTel1) + text(kTel1.sendDialTime, "3") + kConfirm + openTel(kTel3) +
             text(kTel3.sendDialTime, "15") + kConfirm,
         stored({"analog dial_time tel1 3", "analog dial_time tel3 15"})},
        {"talky, both boxes",
         {},
         openTel(kTel1) + check(kTel1.talkyTransfer) + check(kTel1.talkySource) + kConfirm,
         stored({"analog arrive_transfer talky tel1 3"})},
        {"talky, source only",
         {},
         openTel(kTel1) + check(kTel1.talkySource) + kConfirm,
         stored({"analog arrive_transfer talky tel1 1"})},
        {"talky, transfer kept",
         {"analog arrive_transfer talky tel2 3"},
         openTel(kTel2) + uncheck(kTel2.talkySource) + kConfirm,
         stored({"analog arrive_transfer talky tel2 2"})},
        {"common in table order",
         {},
         kOpenCommon + text(IDC_ANALOG_COMMON_FREQUENCY, "20") +
             text(IDC_ANALOG_COMMON_DELAY, "5") + click(IDC_ANALOG_COMMON_INUMBER_ON) + kConfirm,
         stored(
             {"analog use_i_number enable", "analog delay_number 5", "analog ring_sound_freq 20"})},
        {"empty delay is 0",
         {},
         kOpenCommon + text(IDC_ANALOG_COMMON_DELAY, "") + kConfirm,
         stored({"analog delay_number 0"})},
        {"dial time spin up past 15",
         {"analog dial_time tel1 15"},
         openTel(kTel1) + scroll(kTel1.dialTimeSpin, "up") + kConfirm,
         stored({"analog dial_time tel1 3"})},
        {"frequency spin down past 16",
         {"analog ring_sound_freq 16"},
         kOpenCommon + scroll(IDC_ANALOG_COMMON_FREQUENCY_SPIN, "down") + kConfirm,
         stored({"analog ring_sound_freq 30"})},
        {"delay spin down past 0",
         {"analog delay_number 0"},
         kOpenCommon + scroll(IDC_ANALOG_COMMON_DELAY_SPIN, "down") + kConfirm,
         stored({"analog delay_number 9"})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        freshAdapter(row.presets);
        SessionResult r = run(session(row.menu));
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.transcript, sent(row.tail));
        EXPECT_TRUE(r.messages.empty());
        EXPECT_EQ(r.log, kReadOk);
    }
}

// Every item of a port and of the common settings is read from its own label; a dialog
// confirmed without a change then sends nothing, though the close stores into flash.
TEST_F(AnalogSessionTest, ReadTakesEveryItemAndAnUnchangedDialogSendsNothing) {
    freshAdapter({"analog address tel2 0311*22", "analog arrive_transfer tel2 enable",
                  "analog arrive_transfer address tel2 0499", "analog arrive_transfer talky tel2 2",
                  "analog i_number tel2 add1", "analog number_display tel2 cd",
                  "analog global_arrive tel2 disable", "analog no_subaddress tel2 disable",
                  "analog notice_number tel2 address", "analog callwaiting tel2 pseudo",
                  "analog dial_time tel2 12", "analog port_mode tel2 audio",
                  "analog ring_sound tel2 ring2", "analog disc_signal tel2 enable",
                  "analog use_i_number enable", "analog delay_number 7",
                  "analog ring_sound_freq 25"});
    SessionResult r = run(session(openTel(kTel2) + kConfirm + kOpenCommon + kConfirm));
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_EQ(r.transcript, sent(stored({})));
    EXPECT_EQ(r.log, kReadOk);
    // clang-format off
    const TelPortSettings expected{"0311*22", /* arrive transfer */ 1, "0499", /* talky */ 2,
                                   /* i number */ 2, /* number display */ 2, /* global */ 0,
                                   /* no subaddress */ 0, /* notice */ 2, /* call waiting */ 2,
                                   /* dial time */ 12, /* port mode */ 1, /* ring */ 1,
                                   /* disc signal */ 1};
    // clang-format on
    EXPECT_EQ(analogSettings.snapshot.tel[1], expected);
    EXPECT_EQ(analogSettings.snapshot.useINumber, 1);
    EXPECT_EQ(analogSettings.snapshot.delayNumber, 7);
    EXPECT_EQ(analogSettings.snapshot.ringSoundFrequency, 25);
    EXPECT_EQ(analogSettings.working, analogSettings.snapshot);
}

// A failed exchange ends that dialog's commands; the menu stays usable.
TEST_F(AnalogSessionTest, FailedExchangeStopsTheRestOfTheDialog) {
    freshAdapter({}, "silent:analog global_arrive");
    SessionResult r =
        run(session(openTel(kTel1) + click(kTel1.ringSound[2]) + click(kTel1.globalArrive[0]) +
                    text(kTel1.selfAddress, "0311") + kConfirm + openTel(kTel3) +
                    click(kTel3.ringSound[1]) + kConfirm));
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_EQ(r.transcript,
              sent(stored({"analog address tel1 0311", "analog global_arrive tel1 disable",
                           "analog ring_sound tel3 ring2"})));
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(r.log, kReadOk);
}

TEST_F(AnalogSessionTest, RefusedEntriesShowTheirMessageAndStoreNothing) {
    struct Row {
        const char* name;
        std::string menu;
        Lines messages;
        Lines tail;
    } rows[] = {
        {"self address with letters",
         openTel(kTel1) + text(kTel1.selfAddress, "03ab") + kRefused + kBack,
         {kSelfError},
         {}},
        {"self address with a tab",
         openTel(kTel1) + text(kTel1.selfAddress, "03\t1") + kRefused + kBack,
         {kSelfError},
         {}},
        {"self address outside CP932",
         openTel(kTel3) + text(kTel3.selfAddress, "03\U0001F600") + kRefused + kBack,
         {kSelfError},
         {}},
        {"forwarding number",
         openTel(kTel2) + text(kTel2.transferAddress, "12x") + kRefused + kBack,
         {kTransferError},
         {}},
        {"dial time 2",
         openTel(kTel1) + text(kTel1.sendDialTime, "2") + kRefused + kBack,
         {kDialTimeError},
         {}},
        {"dial time 16",
         openTel(kTel2) + text(kTel2.sendDialTime, "16") + kRefused + kBack,
         {kDialTimeError},
         {}},
        {"dial time empty",
         openTel(kTel1) + text(kTel1.sendDialTime, "") + kRefused + kBack,
         {kDialTimeError},
         {}},
        {"dial time 1a",
         openTel(kTel1) + text(kTel1.sendDialTime, "1a") + kRefused + kBack,
         {kDialTimeError},
         {}},
        // the first refused entry is the only one reported
        {"self address before dial time",
         openTel(kTel1) + text(kTel1.sendDialTime, "16") + text(kTel1.selfAddress, "abc") +
             kRefused + kBack,
         {kSelfError},
         {}},
        {"frequency before delay",
         kOpenCommon + text(IDC_ANALOG_COMMON_DELAY, "x") +
             text(IDC_ANALOG_COMMON_FREQUENCY, "31") + kRefused + kBack,
         {kFrequencyError},
         {}},
        {"empty frequency",
         kOpenCommon + text(IDC_ANALOG_COMMON_FREQUENCY, "") + kRefused + kBack,
         {kFrequencyError},
         {}},
        // the dialog stays open with what was typed; the next OK checks afresh
        {"corrected after the message",
         openTel(kTel1) + click(kTel1.ringSound[1]) + text(kTel1.selfAddress, "03ab") + kRefused +
             text(kTel1.selfAddress, "0312") + kConfirm,
         {kSelfError},
         stored({"analog address tel1 0312", "analog ring_sound tel1 ring2"})},
        {"common corrected after two messages",
         kOpenCommon + text(IDC_ANALOG_COMMON_FREQUENCY, "15") + text(IDC_ANALOG_COMMON_DELAY, "") +
             kRefused + text(IDC_ANALOG_COMMON_FREQUENCY, "30") +
             text(IDC_ANALOG_COMMON_DELAY, "12") + kRefused + text(IDC_ANALOG_COMMON_DELAY, "9") +
             kConfirm,
         {kFrequencyError, kDelayError},
         stored({"analog delay_number 9", "analog ring_sound_freq 30"})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        freshAdapter({});
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
            EXPECT_EQ(analogSettings.working, analogSettings.snapshot);
        }
    }
}

// TEL1 and TEL2 cannot both use number display: a port opened while the other one uses it is
// set to "対応機器を使用しない" with the other two choices greyed. TEL3 is free.
TEST_F(AnalogSessionTest, NumberDisplayExclusion) {
    const Lines kBoth{"analog number_display tel1 cd", "analog number_display tel2 nd"};
    struct Row {
        const char* name;
        Lines presets;
        std::string menu;
        std::string failure;
        Lines tail;
        std::array<int, 2> displays;  // TEL1 and TEL2 of the working copy afterwards
    } rows[] = {
        // the forced "対応機器を使用しない" is not sent by itself
        {"TEL1 confirmed",
         kBoth,
         openTel(kTel1) + click(kTel1.ringSound[1]) + kConfirm,
         "",
         stored({"analog ring_sound tel1 ring2"}),
         {0, 1}},
        {"TEL1 greyed",
         kBoth,
         openTel(kTel1) + click(kTel1.numberDisplay[1]),
         "control 1142 of dialog 132 is disabled",
         {},
         {0, 1}},
        {"TEL2 greyed",
         {"analog number_display tel1 nd"},
         openTel(kTel2) + click(kTel2.numberDisplay[2]),
         "control 1210 of dialog 133 is disabled",
         {},
         {1, 0}},
        {"TEL3 free",
         kBoth,
         openTel(kTel3) + click(kTel3.numberDisplay[2]) + kConfirm,
         "",
         stored({"analog number_display tel3 cd"}),
         {2, 1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        freshAdapter(row.presets);
        SessionResult r = run(session(row.menu));
        EXPECT_EQ(r.scriptFailed, !row.failure.empty());
        EXPECT_EQ(r.failure, row.failure);
        EXPECT_EQ(r.transcript, sent(row.tail));
        EXPECT_EQ(analogSettings.working.tel[0].numberDisplay, row.displays[0]);
        EXPECT_EQ(analogSettings.working.tel[1].numberDisplay, row.displays[1]);
    }
}

TEST_F(AnalogSessionTest, FailedReadStopsAndOpensNoMenu) {
    freshAdapter({"analog ring_sound tel1 ring3"}, "silent/1:show analog tel2");
    SessionResult r = run(kStart + click(IDC_MAIN_ANALOG) + kClose);
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_EQ(r.transcript, concat(probeLines(), {"show analog tel1", "show analog tel2", "exit"}));
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(r.log, (Lines{"com open", "Analog Status Read ERROR"}));
    // TEL1 was read; the working copy is left as it was
    EXPECT_EQ(analogSettings.snapshot.tel[0].ringSound, 2);
    EXPECT_EQ(analogSettings.working, AnalogSettings{});
}

TEST_F(AnalogSessionTest, HelpKeyAndButton) {
    const std::string kF1 = "key F1\n";
    const std::string kButton = click(IDC_HELP_BUTTON);
    struct Row {
        std::string menu;
        const char* page;
    } rows[] = {
        {openTel(kTel1) + kF1 + kBack, "10006.html"},
        {openTel(kTel3) + kButton + kBack, "10006.html"},
        {kOpenCommon + kF1 + kBack, "10007.html"},
        {kOpenCommon + kButton + kBack, "10007.html"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.menu);
        freshAdapter({});
        setLastHelpPage("");
        SessionResult r = run(session(row.menu));
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_TRUE(r.messages.empty());
        EXPECT_EQ(r.transcript, sent({}));
        EXPECT_EQ(lastHelpPage(), std::string(KX_HELP_SOURCE_DIR) + "/" + row.page);
    }
}

}  // namespace
}  // namespace kx::test
