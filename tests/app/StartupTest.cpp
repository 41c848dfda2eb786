// Start-up end to end: the port dialog, the device probe against the emulated adapter, the
// firmware gate and every message of the failure table; what the settings file and the command
// line change in the main window, help and the version dialog.

#include "app/AreaRegistry.h"
#include "app/services/AppState.h"
#include "app/services/HelpPages.h"
#include "res/ShellIds.h"
#include "tests/support/SessionSupport.h"
#include "ui/MessageBox.h"

namespace kx::test {
namespace {

using StartupTest = FastSessionTest;

TEST_F(StartupTest, EachProbeFailureShowsItsMessageAndSendsNothingMore) {
    const char* const kNotThere = "KESTRELXが接続されていません。";
    struct Row {
        const char* mode;   // [MODE] lines
        const char* fault;  // "" for none
        const char* message;
        std::vector<std::string> transcript;
    } rows[] = {
        {"KIKI=KESTRELX\n", "silent:ATI", "機器が接続されていません。", {"ATI"}},
        {"KIKI=KXOTHER\n", "", "KXOTHERが接続されていません。", {"ATI"}},
        {"KIKI=KESTRELX\n", "silent:AT%I2", kNotThere, {"ATI", "AT%I2"}},
        {"KIKI=KESTRELX\n", "silent:AT%M", kNotThere, {"ATI", "AT%I2", "AT%M"}},
        {"KIKI=KESTRELX\n", "silent:ATT1", kNotThere, {"ATI", "AT%I2", "AT%M", "ATT1"}},
        // the gate comes after the probe: the link is open, so the close leaves with "exit\r"
        {"VER=2.11\n", "", "現在のファームウェアでは、ご使用になれません。",
         concat(probeLines(), {"exit"})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.mode) + row.fault);
        freshRun(serialSettings(row.mode), withFault(row.fault));
        SessionResult r = run(kStartFails);
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.messages[0].text, row.message);
        EXPECT_EQ(r.messages[0].icon, ui::MsgIcon::Stop);
        EXPECT_EQ(r.messages[0].caption, windowTitle);
        EXPECT_EQ(r.transcript, row.transcript);
        EXPECT_TRUE(r.log.empty() || r.log.back() == "com open");
    }
}

TEST_F(StartupTest, NameAndVersionChecksFollowTheReplies) {
    struct Row {
        const char* mode;
        const char* version;
        bool passes;
    } rows[] = {
        {"KIKI=kestrelx\n", "2.10a", true},  // letters compared without regard to case
        {"VER=2.10\n", "2.10a", true},       // the same number: passes
        {"VER=0.5\n", "x.yzw", false},       // a number part that is no number reads as 0.0
        {"", "x.yzw", true},                 // no VER: every version passes
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.mode) + row.version);
        sim::EmulatorOptions options;
        options.adapter.version = row.version;
        freshRun(serialSettings(row.mode), options);
        SessionResult r = run(row.passes ? kStart + kClose : kStartFails);
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.messages.empty(), row.passes);
        EXPECT_EQ(firmwareVersionText, std::string("Version ") + row.version);
    }
}

TEST_F(StartupTest, PortThatCannotBeOpenedNamesTheReason) {
    CMainDlg::Config config;
    config.runDevice = startupFolder() + "/no-such-tty";
    SessionResult r = run(kStartFails, config);
    EXPECT_EQ(r.messageTexts(), std::vector<std::string>{"指定したポートがオープンできません。"});
    ASSERT_EQ(r.log.size(), 1u);
    EXPECT_NE(r.log[0].find("Cannot open COM1 (" + config.runDevice + "): "), std::string::npos)
        << r.log[0];
}

TEST_F(StartupTest, ComOutOfRangeLeavesNoSelectionAndCannotOpen) {
    // also values that do not fit an int, and ones that are no number at all
    for (const char* com : {"0", "10", "-1", "99999999999", "-99999999999", "x1"}) {
        SCOPED_TRACE(com);
        freshRun(std::string("[PORTSEL]\nPORT=0\nCOM=") + com + "\n");
        SessionResult r = run(kStartFails);
        EXPECT_EQ(r.messageTexts(),
                  std::vector<std::string>{"指定したポートがオープンできません。"});
        EXPECT_TRUE(r.transcript.empty());
        EXPECT_NE(readSettings().find("COM=0"), std::string::npos) << readSettings();
    }
}

TEST_F(StartupTest, CancelledPortDialogEndsWithoutAnyExchange) {
    startAdapter();
    SessionResult r = run(dialog(IDD_PORT_SELECT) + click(IDCANCEL));
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_TRUE(r.transcript.empty());
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(readSettings(), serialSettings());  // nothing written
}

// Looks at the running main window from inside an area's dialog.
struct WindowProbe {
    bool logVisible = false;
    bool pnaButtons = false;
    void install() {
        AreaHandlers area;
        area.read = [](AreaContext&) { return 1; };
        area.run = [this](ui::Dialog& owner, AreaContext&) {
            logVisible = owner.IsControlVisible(IDC_MAIN_DEBUG_GROUP);
            pnaButtons = owner.hasControl(IDC_MAIN_PNA_EASY) && owner.hasControl(IDC_MAIN_PNA_MENU);
            return ui::IDCANCEL;
        };
        registerArea(IDC_MAIN_ANALOG, area);
    }
};

class MainWindowTest : public FastSessionTest {
protected:
    void SetUp() override {
        FastSessionTest::SetUp();
        startAdapter();
    }
};

TEST_F(MainWindowTest, LogPaneAndRouterControls) {
    // DEBUG is read as the number at its start, like the Windows function reads it
    struct Row {
        bool routerOption;
        std::string mode;
        bool logVisible, router;
    } rows[] = {
        // the reading itself (digits after the number, numbers beyond an int) is ProfileTest's:
        // here only that 99 and nothing else shows it
        {false, "DEBUG=99\n", true, false},
        {false, "DEBUG=98\n", false, false},
        {true, "", false, true},
        {false, "ROUTER=1\n", false, true},
        {false, "ROUTER=2\n", false, false},
        {false, "", false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.mode + (row.routerOption ? "--router" : ""));
        resetAppState();
        writeSettings(serialSettings(row.mode));
        WindowProbe probe;
        probe.install();
        CMainDlg::Config config;
        config.router = row.routerOption;
        // that the router buttons run their areas is FaultMatrixTest's (router, easy setup)
        SessionResult r = run(kStart + click(IDC_MAIN_ANALOG) + kClose, config);
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(probe.logVisible, row.logVisible);
        EXPECT_EQ(probe.pnaButtons, row.router);
        EXPECT_EQ(r.messages.size(), 0u);
        EXPECT_EQ(windowTitle, " 設定ユーティリティ");  // no KIKI: any adapter
    }
}

TEST_F(MainWindowTest, HelpAndVersionSendNothing) {
    const SessionResult r =
        run(kStart + "key F1\n" + command(ID_HELP_CONTENTS) + command(ID_HELP_VERSION) +
            dialog(IDD_VERSION) + "key F1\n" + click(IDOK) + kClose);
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(r.transcript, concat(probeLines(), {"exit"}));
    EXPECT_EQ(lastHelpPage(), std::string(KX_HELP_SOURCE_DIR) + "/10000.html");
    // a missing page and its message: the install test, with the pages removed
}

}  // namespace
}  // namespace kx::test
