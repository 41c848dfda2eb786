// What the settings file and the command line change in the windows, the fields the port dialog
// writes, help and the version dialog.
#include "app/AppState.h"
#include "app/AreaRegistry.h"
#include "app/HelpPages.h"
#include "res/ShellIds.h"
#include "tests/app/SessionSupport.h"
#include "ui/MessageBox.h"

namespace kx::test {
namespace {

const std::string kStart = "dialog 129\nclick 1\ndialog 102\n";
const std::string kClose = "dialog 102\nclick 1590\n";

// Looks at the running main window from inside an area's dialog.
struct WindowProbe {
    bool logVisible = false;
    bool pnaButtons = false;
    void install() {
        AreaHandlers area;
        area.read = [](CMainDlg&) { return 1; };
        area.run = [this](CMainDlg& main) {
            logVisible = main.IsControlVisible(IDC_MAIN_DEBUG_GROUP);
            pnaButtons = main.hasControl(IDC_MAIN_PNA_EASY) && main.hasControl(IDC_MAIN_PNA_MENU);
            return ui::IDCANCEL;
        };
        registerArea(IDC_MAIN_ANALOG, area);
    }
};

class MainWindowTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        useFastTimings();
        startAdapter();
    }
};

TEST_F(MainWindowTest, LogPaneOnlyWithDebug99) {
    // the value is read as the number at its start, like the Windows function reads it
    struct Row {
        const char* value;
        bool visible;
    } rows[] = {{"99", true},  {"98", false},        {"100", false}, {"0", false},
                {"99x", true}, {"abc", false},       {" 99 ", true}, {"-99", false},
                {"", false},   {"4294967395", false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        resetAppState();
        writeSettings(std::string("[MODE]\nDEBUG=") + row.value + "\n[PORTSEL]\nPORT=0\nCOM=1\n");
        WindowProbe probe;
        probe.install();
        SessionResult r = run(kStart + "click 1539\n" + kClose);
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(probe.logVisible, row.visible);
        EXPECT_FALSE(probe.pnaButtons);
    }
}

TEST_F(MainWindowTest, RouterControlsFromTheCommandLineOrTheSettingsFile) {
    struct Row {
        bool option;
        const char* mode;
        bool shown;
    } rows[] = {{true, "", true},
                {false, "ROUTER=1\n", true},
                {false, "ROUTER=2\n", false},
                {false, "", false}};
    for (const Row& row : rows) {
        resetAppState();
        writeSettings(std::string("[MODE]\n") + row.mode + "[PORTSEL]\nPORT=0\nCOM=1\n");
        WindowProbe probe;
        probe.install();
        CMainDlg::Config config;
        config.router = row.option;
        // the router buttons run their areas; none is registered, which the window says
        std::string extra =
            row.shown ? "click 1001\nanswer ok\ndialog 102\nclick 1538\nanswer ok\n" : "";
        SessionResult r = run(kStart + "click 1539\n" + extra + kClose, config);
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(probe.pnaButtons, row.shown);
        EXPECT_EQ(r.messages.size(), row.shown ? 2u : 0u);
    }
}

TEST_F(MainWindowTest, PortDialogWritesItsFieldsBeforeConnecting) {
    writeSettings(
        "[PORTSEL]\nPORT=0\nCOM=1\n[IPADDR]\nFIELD=10.0.0.1\n[OPTION]\nDATA1=abc\nDATA2="
        "averylongpassword12\n");
    // the short window hides the address and passwords: the user cannot reach them
    SessionResult r = run("dialog 129\ntext 1010 newpw\n");
    EXPECT_TRUE(r.scriptFailed);
    EXPECT_EQ(r.failure, "control 1010 of dialog 129 is hidden");

    resetAppState();
    r = run("dialog 129\nclick 1\n" + kClose);
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    // the long administrator password was written by hand and never touched: kept whole
    EXPECT_EQ(readSettings(),
              "[PORTSEL]\nPORT=0\nCOM=1\n[IPADDR]\nFIELD=10.0.0.1\n[OPTION]\nDATA1=abc\nDATA2="
              "averylongpassword12\n");
    EXPECT_EQ(ipAddressText, "10.0.0.1");
    EXPECT_EQ(loginPassword, "abc");
    EXPECT_EQ(adminPassword, "averylongpassword12");
}

TEST_F(MainWindowTest, NoSettingsFileMeansSerialCom1AndAnyAdapter) {
    writeSettings("");
    SessionResult r = run(kStart + "click 1590\n");
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_EQ(windowTitle, " 設定ユーティリティ");
    EXPECT_EQ(r.transcript, concat(probeLines(), {"exit"}));
    EXPECT_EQ(readSettings(),
              "[PORTSEL]\nPORT=0\nCOM=1\n[IPADDR]\nFIELD=\n[OPTION]\nDATA1=\nDATA2=\n");
}

TEST_F(MainWindowTest, HelpOpensTheMainWindowPageOrSaysItIsMissing) {
    SessionResult r = run(kStart + "key F1\ncommand 32774\n" + kClose);
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(lastHelpPage(), std::string(KX_HELP_SOURCE_DIR) + "/10000.html");

    resetAppState();
    helpSearchDirectories() = {startupFolder() + "/nowhere"};
    r = run(kStart + "key F1\nanswer ok\n" + kClose);
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_EQ(r.messageTexts(),
              std::vector<std::string>{"ヘルプファイル（10000.html）が見つかりません。"});
}

TEST_F(MainWindowTest, VersionDialogSendsNothing) {
    SessionResult r = run(kStart + "command 32773\ndialog 100\nkey F1\nclick 1\n" + kClose);
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(r.transcript, concat(probeLines(), {"exit"}));
}

}  // namespace
}  // namespace kx::test
