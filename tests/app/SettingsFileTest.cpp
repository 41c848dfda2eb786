// "設定の保存...": every area read once behind the wait window, nothing set, and a document
// kxctl finds equal to the adapter; a failed read writes nothing and names its area.

#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "app/DocumentFile.h"
#include "app/SettingsDocument.h"
#include "app/services/StatusLine.h"
#include "cli/Fields.h"
#include "cli/Kxctl.h"
#include "res/AnalogIds.h"
#include "res/ShellIds.h"
#include "res/ShortnumIds.h"
#include "tests/support/AreaSession.h"
#include "tests/support/Files.h"
#include "tests/support/SessionSupport.h"
#include "tests/support/StateHome.h"
#include "ui/MessageBox.h"

namespace kx::test {
namespace {

// Three items of two areas, none of them as the adapter starts.
const std::string kThreeItems =
    "# a settings document\nanalog.tel1.ringSound = ring2\nanalog.tel3.ringSound = ring3\n"
    "shortnum.7 = 0312345678\n";

// On the fast time-outs: a failed read or command need not wait out the shipped ones.
class SettingsFileTest : public FastSessionTest {
protected:
    void SetUp() override {
        FastSessionTest::SetUp();
        std::filesystem::remove_all(kx::test::stateHome());  // no history yet
        folder_ = ::testing::TempDir() + "kx_save_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override {
        std::filesystem::remove_all(kx::test::stateHome());
        SessionTest::TearDown();
    }
    // kxctl with `args` against the adapter; its standard output.
    std::string kxctl(std::vector<std::string> args) {
        args.insert(args.begin(), {"--port", adapter().ptyPath()});
        std::ostringstream out, err;
        EXPECT_EQ(cli::runKxctl(args, out, err), cli::kExitOk) << err.str();
        return out.str();
    }
    // What the adapter received after the probe and the last read: the reads come first.
    static Lines sentAfterReads(const SessionResult& r) {
        Lines out;
        for (std::size_t i = probeLines().size(); i < r.transcript.size(); ++i)
            if (r.transcript[i].starts_with("show "))
                out.clear();
            else
                out.push_back(r.transcript[i]);
        return out;
    }
    // kThreeItems written to `path`; the three command lines a restore of it sends.
    Lines writeThreeItems(const std::string& path) {
        EXPECT_EQ(writeDocumentFile(path, kThreeItems), 0);
        Lines commands;
        std::istringstream in(kxctl({"diff", path}));
        for (std::string line; std::getline(in, line);) commands.push_back(line);
        EXPECT_EQ(commands.size(), 3u);
        return commands;
    }
    std::string folder_;
};

TEST_F(SettingsFileTest, SaveReadsEveryAreaOnceAndWritesWhatKxctlFindsEqual) {
    const struct {
        const char* name;
        std::string mode;
        const char* lastArea;  // the last area's header in the document
    } kRows[] = {
        {"ISDN variant", "", "\n# shortnum\n"},
        {"router variant", "ROUTER=1\n", "\n# router\n"},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.name);
        freshRun(serialSettings(row.mode));
        const std::string path = folder_ + "/saved.txt";
        SessionResult r = run(kStart + "command 32780\nfile " + path + "\n" + kClose);
        EXPECT_FALSE(r.scriptFailed) << r.output;
        EXPECT_TRUE(r.messages.empty());
        // the probe, each reader's "show" lines once, and the close: no setting command
        std::set<std::string> seen;
        ASSERT_GT(r.transcript.size(), probeLines().size() + 1);
        for (std::size_t i = probeLines().size(); i + 1 < r.transcript.size(); ++i) {
            EXPECT_TRUE(r.transcript[i].starts_with("show ")) << r.transcript[i];
            EXPECT_TRUE(seen.insert(r.transcript[i]).second) << r.transcript[i] << " twice";
        }
        EXPECT_EQ(r.transcript.back(), "exit");
        EXPECT_EQ(statusLine().text(), "設定を " + path + " に保存しました");

        const std::string document = readFile(path);
        EXPECT_TRUE(document.starts_with("# KESTRELX settings document (kestrelx-setup)\n"));
        EXPECT_NE(document.find(row.lastArea), std::string::npos);
        struct stat status {};
        ASSERT_EQ(::stat(path.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0600u);
        EXPECT_EQ(kxctl({"diff", path}), "");
        std::filesystem::remove(path);
    }
}

TEST_F(SettingsFileTest, ACancelledChooserReadsNothing) {
    freshRun(serialSettings());
    SessionResult r = run(kStart + "command 32780\nfile cancel\n" + kClose);
    EXPECT_FALSE(r.scriptFailed) << r.output;
    EXPECT_EQ(r.transcript, concat(probeLines(), {"exit"}));
}

TEST_F(SettingsFileTest, AFailedReadWritesNothingAndNamesTheArea) {
    freshRun(serialSettings(), withFault("silent/1:show arrive"));
    const std::string path = folder_ + "/failed.txt";
    SessionResult r = run(kStart + "command 32780\nfile " + path + "\nanswer ok\n" + kClose);
    EXPECT_FALSE(r.scriptFailed) << r.output;
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text,
              "着信制御設定を読み込めませんでした（機器から応答がありません）。\r\n設定は保存"
              "していません。");
    EXPECT_EQ(r.messages[0].icon, ui::MsgIcon::Stop);
    EXPECT_FALSE(std::filesystem::exists(path));
    // nothing after the failed read but the close
    EXPECT_TRUE(r.transcript[r.transcript.size() - 2].starts_with("show arrive"));
}

// A document without its header comments (the date differs from run to run).
std::string body(const std::string& document) {
    return document.substr(std::min(document.find("\n\n"), document.size()));
}

TEST_F(SettingsFileTest, AChangeLeavesWhatTheAdapterHeldBeforeInTheHistory) {
    freshRun(serialSettings());
    const std::string before = folder_ + "/before.txt";
    kxctl({"backup", before, "analog"});
    adapter().transcript().clear();
    // TEL3's ring, then TEL1's: the area is saved once, before its first write
    const AreaScript& analog = analogArea();
    const std::string script = analog.session(open(IDC_ANALOG_MENU_TEL3, IDD_TEL3_PORT) +
                                              click(kTel3PortIds.ringSound[2]) + analog.confirm() +
                                              open(IDC_ANALOG_MENU_TEL1, IDD_TEL1_PORT) +
                                              click(kTel1PortIds.ringSound[1]) + analog.confirm());
    SessionResult r = run(script);
    EXPECT_FALSE(r.scriptFailed) << r.output;
    EXPECT_EQ(r.transcript,
              concat(probeLines(), analog.sent(stored({"analog ring_sound tel3 ring3",
                                                       "analog ring_sound tel1 ring2"}))));
    // the history adds nothing to what a replay prints
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(r.output.find("history"), std::string::npos);

    const std::vector<HistoryEntry> history = listHistory();
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(body(readFile(history[0].path)), body(readFile(before)));
    EXPECT_TRUE(history[0].path.ends_with("-KESTRELX.txt")) << history[0].path;

    // restoring it puts the old rings back
    kxctl({"--quiet", "restore", "--no-history", history[0].path});
    EXPECT_EQ(kxctl({"diff", before}), "");
}

// An item the adapter did not report: the saved document leaves it out as a backup does, and
// the history leaves its area out rather than keep a value nobody read.
TEST_F(SettingsFileTest, AnItemTheAdapterDidNotReportIsNeverSavedAsAValue) {
    freshRun(serialSettings(), withFault("nolabel=ring sound::show analog tel3"));
    const std::string path = folder_ + "/saved.txt";
    SessionResult r =
        run(kStart + "command 32780\nfile " + path + "\n" + open(IDC_MAIN_ANALOG, IDD_ANALOG_MENU) +
            open(IDC_ANALOG_MENU_TEL1, IDD_TEL1_PORT) + click(kTel1PortIds.ringSound[1]) +
            analogArea().confirm() + click(IDCANCEL) + kClose);
    EXPECT_FALSE(r.scriptFailed) << r.output;
    const std::string document = readFile(path);
    EXPECT_NE(document.find("\n# analog.tel3.ringSound: not reported by the adapter\n"),
              std::string::npos);
    EXPECT_NE(document.find("\nanalog.tel1.ringSound = "), std::string::npos);
    EXPECT_TRUE(listHistory().empty());
    EXPECT_EQ(statusLine().text(),
              "アナログ設定の一部の項目を機器が報告しなかったため、変更前の設"
              "定を履歴に保存していません");
}

TEST_F(SettingsFileTest, InitialisationSavesEveryAreaReadInTheRunFirst) {
    freshRun(serialSettings());
    const std::string before = folder_ + "/before.txt";
    kxctl({"backup", before, "analog", "shortnum"});
    SessionResult r = run(kStart + open(IDC_MAIN_ANALOG, IDD_ANALOG_MENU) + click(IDCANCEL) +
                          dialog(IDD_MAIN) + open(IDC_MAIN_SHORTNUM, IDD_SHORT_NUMBER) +
                          click(IDCANCEL) + dialog(IDD_MAIN) + "command 32771\nanswer ok\n");
    EXPECT_FALSE(r.scriptFailed) << r.output;
    EXPECT_EQ(r.transcript.back(), "restart");
    const std::vector<HistoryEntry> history = listHistory();
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(body(readFile(history[0].path)), body(readFile(before)));
}

std::string restoreScript(const std::string& path, const std::string& then) {
    return kStart + command(ID_FILE_RESTORE) + "file " + path + "\n" + then + kClose;
}

// The preview names an item as its dialog does: every item a command sets has a label, and no
// two items share one, or a line of the preview could stand for either.
TEST(RestoreLabelTest, EveryWrittenItemHasALabelOfItsOwn) {
    std::set<std::string> seen;
    for (const cli::Field& field : cli::allFields()) {
        if (field.readOnly)
            continue;
        EXPECT_FALSE(field.label.empty()) << field.name;
        EXPECT_TRUE(seen.insert(field.label).second) << field.name << ": " << field.label;
    }
}

TEST_F(SettingsFileTest, RestorePreviewsTheChangesAndSendsThemOnlyWhenConfirmed) {
    const struct {
        const char* name;
        std::string answer;
        bool sent;
    } kRows[] = {
        {"復元", dialog(IDD_RESTORE) + click(IDOK), true},
        {"戻る", dialog(IDD_RESTORE) + click(IDCANCEL), false},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.name);
        freshRun(serialSettings());
        const std::string path = folder_ + "/three.txt";
        const Lines commands = writeThreeItems(path);
        adapter().transcript().clear();
        SessionResult r = run(restoreScript(path, row.answer));
        EXPECT_FALSE(r.scriptFailed) << r.output;
        EXPECT_TRUE(r.messages.empty());
        const Lines preview = lastRestorePreview();
        ASSERT_EQ(preview.size(), 3u);
        EXPECT_TRUE(preview[0].starts_with("ＴＥＬ１ 内線呼出音：")) << preview[0];
        EXPECT_TRUE(preview[1].starts_with("ＴＥＬ３ 内線呼出音：")) << preview[1];
        EXPECT_TRUE(preview[2].starts_with("短縮番号 7：")) << preview[2];
        EXPECT_TRUE(preview[2].ends_with(" → 0312345678")) << preview[2];
        EXPECT_EQ(sentAfterReads(r),
                  row.sent ? concat(commands, {"fromwr 15", "exit"}) : Lines{"exit"});
        EXPECT_EQ(kxctl({"diff", path}).empty(), row.sent);
    }
}

TEST_F(SettingsFileTest, ARestoreThatCannotGoAheadSaysWhyAndSendsNothing) {
    // the reasons in Japanese, naming the item as its dialog does and as the document does
    const std::string kNot = "\r\n設定は復元していません。";
    const struct {
        const char* document;
        std::string message;  // its start
        const char* mode = "";
    } kRows[] = {
        {"shortnum.7 = 0312345678\nanalog.tel1.ringSound = ring9\n",
         "bad.txt:2: ＴＥＬ１ 内線呼出音（analog.tel1.ringSound）の値「ring9」は使えません"
         "（ring1 ring2 ring3 のいずれか）" +
             kNot},
        {"# a comment\ndigital.addMinTime = 62\n",
         "bad.txt:2: デジタル スループットＢＯＤ チャネル追加 最小保持時間（digital.addMinTime）"
         "の値「62」は使えません（5～1275の数、5の倍数）" +
             kNot},
        {"analog.tel9.ringSound = ring1\n",
         "bad.txt:1: analog.tel9.ringSound という設定項目はありません" + kNot},
        {"shortnum.7 0312345678\n", "bad.txt:1: 「名前 = 値」の行ではありません" + kNot},
        {"\n# nothing\n", "bad.txt: 設定がありません（「名前 = 値」の行がありません）" + kNot},
        {"analog.tel1.ringSound = ring1\n",
         "bad.txt の設定は機器の設定と同じです。変更する項目はありません。"},
        // checked against what was read: still nothing is sent
        {"shortnum.7 = 0312345678\nrouter.routerName = other\n",
         "bad.txt:2: router.routerNameは機器から読み出すだけの項目で、書き込めません（ファイルの"
         "「other」、機器の「",
         "ROUTER=1\n"},
        {"router.dialup2.protocol = chap\nrouter.dialup2.mode = mp1\n",
         "bad.txt: ダイヤルアップ2（router.dialup2）: ＣＨＡＰは接続情報が64kのときだけ使えます" +
             kNot,
         "ROUTER=1\n"},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.document);
        freshRun(serialSettings(row.mode));
        const std::string path = folder_ + "/bad.txt";
        ASSERT_EQ(writeDocumentFile(path, row.document), 0);
        SessionResult r = run(restoreScript(path, "answer ok\n"));
        EXPECT_FALSE(r.scriptFailed) << r.output;
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_TRUE(r.messages[0].text.starts_with(row.message)) << r.messages[0].text;
        EXPECT_EQ(sentAfterReads(r), Lines{"exit"});
    }
}

TEST_F(SettingsFileTest, AFailedCommandStopsTheRestoreAndSaysHowManyWentBefore) {
    freshRun(serialSettings());
    const std::string path = folder_ + "/three.txt";
    const Lines commands = writeThreeItems(path);
    ASSERT_EQ(commands.size(), 3u);
    freshRun(serialSettings(), withFault("silent/1:" + commands[1]));
    SessionResult r = run(restoreScript(path, dialog(IDD_RESTORE) + click(IDOK) + "answer ok\n"));
    EXPECT_FALSE(r.scriptFailed) << r.output;
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text, "「" + commands[1] +
                                      "」で設定の復元に失敗しました。\r\nそれまでに1件のコマンドを"
                                      "送信しました（フラッシュには保存していません）。");
    EXPECT_EQ(r.messages[0].icon, ui::MsgIcon::Stop);
    EXPECT_EQ(sentAfterReads(r), (Lines{commands[0], commands[1], "exit"}));
}

TEST_F(SettingsFileTest, RestoringTheHistoryPutsTheOldValuesBack) {
    freshRun(serialSettings());
    const std::string before = folder_ + "/before.txt";
    kxctl({"backup", before, "analog", "shortnum"});
    const std::string path = folder_ + "/three.txt";
    ASSERT_EQ(writeDocumentFile(path, kThreeItems), 0);
    const std::string confirm = dialog(IDD_RESTORE) + click(IDOK);
    EXPECT_FALSE(run(restoreScript(path, confirm)).scriptFailed);
    const std::vector<HistoryEntry> history = listHistory();
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(body(readFile(history[0].path)), body(readFile(before)));
    EXPECT_FALSE(run(restoreScript(history[0].path, confirm)).scriptFailed);
    EXPECT_EQ(kxctl({"diff", before}), "");
}

TEST_F(SettingsFileTest, AChangedRouterAddressIsWrittenLastAndEndsTheRun) {
    freshRun(serialSettings("ROUTER=1\n"));
    const std::string path = folder_ + "/address.txt";
    ASSERT_EQ(writeDocumentFile(path,
                                "router.routerAddress = 192.168.1.5/24\n"
                                "analog.tel1.ringSound = ring2\n"),
              0);
    // the program ends by itself: no close in the script
    SessionResult r = run(kStart + command(ID_FILE_RESTORE) + "file " + path + "\n" +
                          dialog(IDD_RESTORE) + click(IDOK));
    EXPECT_FALSE(r.scriptFailed) << r.output;
    EXPECT_EQ(lastRestorePreview().size(), 2u);
    const Lines sent = sentAfterReads(r);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0], "analog ring_sound tel1 ring2");
    EXPECT_NE(sent[1].find("192.168.1.5"), std::string::npos) << sent[1];
}

TEST_F(SettingsFileTest, OverTheNetworkTheSkippedItemsAreListedAndNotSent) {
    freshRun(networkSettings(), networkAdapter());
    const std::string path = folder_ + "/three.txt";
    ASSERT_EQ(writeDocumentFile(path, kThreeItems), 0);
    SessionResult r = run(kStart + kLoggedIn + command(ID_FILE_RESTORE) + "file " + path + "\n" +
                              dialog(IDD_RESTORE) + click(IDOK) + kClose,
                          networkLink(adapter().telnetPort(), 500));
    EXPECT_FALSE(r.scriptFailed) << r.failure << r.output;
    const Lines preview = lastRestorePreview();
    // the item the network link cannot write is listed, marked; the others are not
    ASSERT_EQ(preview.size(), 3u) << r.output;
    EXPECT_EQ(preview[2],
              "短縮番号 7：（なし） → 0312345678（ネットワーク接続では書き込みません）");
    EXPECT_FALSE(preview[0].ends_with("）") || preview[1].ends_with("）")) << preview[0];
    EXPECT_EQ(sentAfterReads(r),
              (Lines{"analog ring_sound tel1 ring2", "analog ring_sound tel3 ring3", "fromwr 15"}));
}

}  // namespace
}  // namespace kx::test
