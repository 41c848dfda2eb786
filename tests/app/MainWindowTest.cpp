// What the settings file and the command line change in the main window, help and the version
// dialog.
#include "app/AreaRegistry.h"
#include "app/services/AppState.h"
#include "app/services/HelpPages.h"
#include "res/ShellIds.h"
#include "tests/support/SessionSupport.h"
#include "ui/MessageBox.h"

namespace kx::test {
namespace {

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
