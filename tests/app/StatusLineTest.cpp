// The status line of the main window and of the open menu, end to end: the real areas against
// the emulated adapter, without the log pane, the adapter made silent for a read or a write.
#include <string>
#include <vector>

#include "app/services/StatusLine.h"
#include "res/AnalogIds.h"
#include "res/ShortnumIds.h"
#include "tests/support/AreaSession.h"

namespace kx::test {
namespace {

const char* const kAnalogNoReply = "アナログ設定を読み込めませんでした（機器から応答がありません）";
const char* const kTel1NotWritten =
    "TEL1ポート設定の一部を書き込めませんでした。メニューを閉じて開き直すと、機器の現在の設定が"
    "読み込まれます。";

const AreaScript& kAnalog = analogArea();

class StatusLineTest : public AreaSessionTest {
protected:
    void SetUp() override {
        AreaSessionTest::SetUp();
        // every change of the line: what each window that shows it shows then
        statusLine().setObserver(
            [this](const StatusLine& line) { changes.push_back(line.shown()); });
    }
    void TearDown() override {
        statusLine().setObserver(nullptr);
        AreaSessionTest::TearDown();
    }
    std::vector<Lines> changes;
};

TEST_F(StatusLineTest, AFailedReadIsShownUntilTheNextReadSucceeds) {
    freshAdapter({}, "silent/1:show analog tel2");
    changes.clear();  // the main window clears it when it opens
    SessionResult r = run(kStart + click(IDC_MAIN_ANALOG) + dialog(IDD_MAIN) +
                          open(IDC_MAIN_ANALOG, IDD_ANALOG_MENU) + click(IDCANCEL) + kClose);
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_EQ(r.transcript, concat(concat(probeLines(), {"show analog tel1", "show analog tel2"}),
                                   kAnalog.sent({})));
    EXPECT_EQ(r.log, (Lines{"com open", "Analog Status Read ERROR", "Analog Status Read OK",
                            "View Analog Dlg"}));
    EXPECT_TRUE(r.messages.empty());
    // the main window alone shows it; the read that succeeds clears it before the menu opens
    EXPECT_EQ(changes, (std::vector<Lines>{{""}, {kAnalogNoReply}, {""}}));
}

TEST_F(StatusLineTest, AFailedWriteInAMenuIsShownThereAndTheChangeGoesOutAgain) {
    freshAdapter({}, "silent/1:analog ring_sound");
    changes.clear();
    const std::string openTel1 = open(IDC_ANALOG_MENU_TEL1, kTel1PortIds.dialog);
    SessionResult r = run(kAnalog.session(openTel1 + click(kTel1PortIds.ringSound[1]) +
                                          kAnalog.confirm() + openTel1 + kAnalog.confirm()));
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    // the ring pattern that did not reach the adapter is sent again by the next confirmation,
    // though the user changed nothing in it
    EXPECT_EQ(r.transcript,
              concat(probeLines(), kAnalog.sent(stored({"analog ring_sound tel1 ring2",
                                                        "analog ring_sound tel1 ring2"}))));
    EXPECT_EQ(r.log, kAnalog.viewed());
    EXPECT_TRUE(r.messages.empty());
    // main window and menu alike; the write that succeeds clears both
    EXPECT_EQ(changes,
              (std::vector<Lines>{{""}, {""}, {kTel1NotWritten, kTel1NotWritten}, {"", ""}}));
}

TEST_F(StatusLineTest, AFailedDirectWriteAndTheReasonsTheLinkTellsApart) {
    freshAdapter({}, "silent/1:shortnum add");
    changes.clear();
    const std::string kShortNumbers = open(IDC_MAIN_SHORTNUM, IDD_SHORT_NUMBER);
    SessionResult r = run(kStart + kShortNumbers + text(kShortNumberEdits[0], "0311") +
                          click(IDOK) + dialog(IDD_MAIN) + kClose);
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back(),
              Lines{"短縮番号設定を書き込めませんでした（機器から応答がありません）"});

    EXPECT_EQ(sectionName("ＢＡＣＰ／ＢＡＰ設定"), "BACP/BAP設定");
    EXPECT_EQ(readFailedText("デジタル設定", ExchangeOutcome::LinkLost),
              "デジタル設定を読み込めませんでした（機器との接続が切れています）");
    EXPECT_EQ(sectionWriteFailedText("BOD設定", ExchangeOutcome::NoLink),
              "BOD設定の一部を書き込めませんでした（機器との接続が切れています）。メニューを閉じ"
              "て開き直すと、機器の現在の設定が読み込まれます。");
}

}  // namespace
}  // namespace kx::test
