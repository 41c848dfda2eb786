// The settings cycle, the close path and the maintenance commands, end to end against the
// emulated adapter with test areas in place of the real ones.
#include <algorithm>

#include "app/AppState.h"
#include "app/AreaRegistry.h"
#include "link/Exchange.h"
#include "link/TerminatorSearch.h"
#include "res/ShellIds.h"
#include "sim/Faults.h"
#include "tests/app/SessionSupport.h"
#include "ui/MessageBox.h"

namespace kx::test {
namespace {

const std::string kStart = "dialog 129\nclick 1\ndialog 102\n";
const std::string kClose = "dialog 102\nclick 1590\n";

sim::EmulatorOptions withFault(const std::string& spec) {
    sim::EmulatorOptions options;
    sim::FaultRule rule;
    std::string error;
    EXPECT_TRUE(sim::parseFault(spec, rule, error)) << error;
    options.faults.push_back(rule);
    return options;
}

// A menu area on the analog button: reads "show analog tel1", and its menu ends with
// `result`, counting a confirmed dialog as the real menus do.
void registerMenuArea(int result, int* runs = nullptr) {
    AreaHandlers area;
    area.kind = AreaHandlers::Kind::Menu;
    area.read = [](CMainDlg& main) {
        return SendCommand("show analog tel1\r", main.reply(), 10000, kTerminatorPrompt);
    };
    area.run = [result, runs](CMainDlg&) {
        if (runs)
            ++*runs;
        if (result == ui::IDOK)
            ++changeCount;
        return result;
    };
    registerArea(IDC_MAIN_ANALOG, area);
}

// A direct area on the short-number button whose writer returns `writeResult`.
void registerDirectArea(int dialogResult, int writeResult) {
    AreaHandlers area;
    area.kind = AreaHandlers::Kind::Direct;
    area.read = [](CMainDlg& main) {
        return SendCommand("show shortnum\r", main.reply(), 10000, kTerminatorPrompt);
    };
    area.run = [dialogResult](CMainDlg&) {
        if (dialogResult == ui::IDOK)
            ++changeCount;
        return dialogResult;
    };
    area.write = [writeResult](CMainDlg&) { return writeResult; };
    registerArea(IDC_MAIN_SHORTNUM, area);
}

class SessionCycleTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        useFastTimings();
    }
};

TEST_F(SessionCycleTest, CloseStoresOnlyAfterAConfirmedDialog) {
    struct Row {
        const char* name;
        std::vector<int> results;  // the menu's result at each click
        std::vector<std::string> tail;
    } rows[] = {
        {"cancelled", {ui::IDCANCEL}, {"show analog tel1", "exit"}},
        {"confirmed", {ui::IDOK}, {"show analog tel1", "fromwr 15", "exit"}},
        {"confirmed, then cancelled",
         {ui::IDOK, ui::IDCANCEL},
         {"show analog tel1", "show analog tel1", "fromwr 15", "exit"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        resetAppState();
        startAdapter();
        std::string script = kStart;
        size_t click = 0;
        AreaHandlers area;
        area.read = [](CMainDlg& main) {
            return SendCommand("show analog tel1\r", main.reply(), 10000, kTerminatorPrompt);
        };
        area.run = [&](CMainDlg&) {
            int result = row.results.at(click++);
            if (result == ui::IDOK)
                ++changeCount;
            return result;
        };
        registerArea(IDC_MAIN_ANALOG, area);
        for (size_t i = 0; i < row.results.size(); ++i) script += "click 1539\ndialog 102\n";
        SessionResult r = run(script + "click 1590\n");
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.transcript, concat(probeLines(), row.tail));
        EXPECT_TRUE(r.messages.empty());
        std::vector<std::string> log{"com open"};
        for (size_t i = 0; i < row.results.size(); ++i) {
            log.push_back("Analog Status Read OK");
            log.push_back("View Analog Dlg");
        }
        EXPECT_EQ(r.log, log);
    }
}

TEST_F(SessionCycleTest, FailedReadLogsOneLineAndShowsNoDialog) {
    int runs = 0;
    registerMenuArea(ui::IDOK, &runs);
    startAdapter(withFault("silent/1:show analog"));
    SessionResult r = run(kStart + "click 1539\n" + kClose);
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(r.log, (std::vector<std::string>{"com open", "Analog Status Read ERROR"}));
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(r.transcript, concat(probeLines(), {"show analog tel1", "exit"}));
}

TEST_F(SessionCycleTest, AdapterVanishingMidReplyIsLoggedAndTheCloseGoesOn) {
    registerMenuArea(ui::IDOK);
    startAdapter(withFault("drop=10/1:show analog"));
    SessionResult r = run(kStart + "click 1539\n" + kClose + "answer ok\n");
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    ASSERT_GE(r.log.size(), 3u);
    EXPECT_EQ(r.log[0], "com open");
    EXPECT_EQ(std::count(r.log.begin(), r.log.end(), "Analog Status Read ERROR"), 1);
    EXPECT_EQ(
        std::count_if(r.log.begin(), r.log.end(),
                      [](const std::string& l) { return l.rfind("Serial link lost", 0) == 0; }),
        1);
    // nothing more reaches the adapter; the exit fails at once and says so
    EXPECT_EQ(r.transcript, concat(probeLines(), {"show analog tel1"}));
    EXPECT_EQ(r.messageTexts(), std::vector<std::string>{"正常に終了できませんでした。"});
}

TEST_F(SessionCycleTest, DirectAreaIsWrittenAfterOkOnly) {
    struct Row {
        int dialog;
        int write;
        std::vector<std::string> log;
    } rows[] = {
        {ui::IDOK,
         1,
         {"com open", "Short Number Status Read OK", "View Short Number Dlg",
          "Short Number Status Write OK"}},
        {ui::IDOK,
         0,
         {"com open", "Short Number Status Read OK", "View Short Number Dlg",
          "Short Number Status Write ERROR"}},
        {ui::IDCANCEL, 1, {"com open", "Short Number Status Read OK", "View Short Number Dlg"}},
    };
    for (const Row& row : rows) {
        resetAppState();
        registerDirectArea(row.dialog, row.write);
        startAdapter();
        SessionResult r = run(kStart + "click 1087\n" + kClose);
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.log, row.log);
    }
}

TEST_F(SessionCycleTest, AreaWithoutHandlersSaysSo) {
    startAdapter();
    SessionResult r = run(kStart + "click 1540\nanswer ok\n" + kClose);
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_EQ(r.messageTexts(),
              std::vector<std::string>{"この設定は、このバージョンではまだ使用できません。"});
    EXPECT_EQ(r.log, (std::vector<std::string>{
                         "com open", "Digital settings are not available in this version"}));
    EXPECT_EQ(r.transcript, concat(probeLines(), {"exit"}));
}

TEST_F(SessionCycleTest, FailuresAtCloseAreShownAndTheCloseGoesOn) {
    struct Row {
        const char* fault;
        std::vector<std::string> messages;
    } rows[] = {
        {"silent:fromwr", {"書込みに失敗しました。"}},
        {"silent:exit", {"正常に終了できませんでした。"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        resetAppState();
        registerMenuArea(ui::IDOK);
        startAdapter(withFault(row.fault));
        SessionResult r = run(kStart + "click 1539\n" + kClose + "answer ok\n");
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.transcript, concat(probeLines(), {"show analog tel1", "fromwr 15", "exit"}));
        EXPECT_EQ(r.messageTexts(), row.messages);
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.messages[0].icon, ui::MsgIcon::Stop);
    }
}

TEST_F(SessionCycleTest, FactoryInitialisationEndsWithoutExit) {
    startAdapter();
    SessionResult r = run(kStart + "command 32771\nanswer ok\n");
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_EQ(r.transcript, concat(probeLines(), {"restart"}));
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text,
              "工場出荷時へ初期化します。\r\n初期化後、をリブートし設定ユーティリティを終了します。"
              "\r\nよろしいですか？");
    EXPECT_EQ(r.messages[0].buttons, ui::MsgButtons::OkCancel);
    EXPECT_EQ(r.messages[0].icon, ui::MsgIcon::Question);
    EXPECT_EQ(r.log, (std::vector<std::string>{"com open", "init ok"}));
}

TEST_F(SessionCycleTest, FactoryInitialisationAfterAChangeStillStoresFirst) {
    registerMenuArea(ui::IDOK);
    startAdapter();
    SessionResult r = run(kStart + "click 1539\ndialog 102\ncommand 32771\nanswer ok\nanswer ok\n");
    EXPECT_EQ(r.transcript, concat(probeLines(), {"show analog tel1", "restart", "fromwr 15"}));
}

TEST_F(SessionCycleTest, FactoryInitialisationCancelledOrFailing) {
    startAdapter();
    SessionResult r = run(kStart + "command 32771\nanswer cancel\n" + kClose);
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_EQ(r.transcript, concat(probeLines(), {"exit"}));

    resetAppState();
    // the adapter restarts but its answer is lost: the program goes on, and its "exit\r" at
    // close finds no command line any more
    startAdapter(withFault("silent:restart"));
    r = run(kStart + "command 32771\nanswer ok\nanswer ok\n" + kClose + "answer ok\n");
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_EQ(r.messageTexts(),
              (std::vector<std::string>{r.messages.empty() ? "" : r.messages[0].text,
                                        "初期化に失敗しました。", "正常に終了できませんでした。"}));
    EXPECT_EQ(r.transcript, concat(probeLines(), {"restart", "exit"}));
}

TEST_F(SessionCycleTest, DateAndTimeOfAFixedClock) {
    CMainDlg::Config config;
    config.clock = [] { return LocalTime{2008, 3, 5, 9, 4, 7, 3}; };
    writeSettings("[MODE]\nKIKI=KESTRELX\n[PORTSEL]\nPORT=0\nCOM=1\n");
    struct Row {
        const char* fault;
        const char* answer;
        std::vector<std::string> sent;
    } rows[] = {
        {"", "ok", {"date 2008/03/05", "time 09:04:07", "youbi 3"}},
        {"", "cancel", {}},
        {"silent:date", "ok", {"date 2008/03/05"}},
        {"silent:time", "ok", {"date 2008/03/05", "time 09:04:07"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.fault) + row.answer);
        resetAppState();
        startAdapter(*row.fault ? withFault(row.fault) : sim::EmulatorOptions{});
        SessionResult r =
            run(kStart + "command 32777\nanswer " + row.answer + "\n" + kClose, config);
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.transcript, concat(concat(probeLines(), row.sent), {"exit"}));
        EXPECT_EQ(r.messageTexts(),
                  std::vector<std::string>{
                      "パソコンから日時を取得しKESTRELXへ登録します。\r\nよろしいですか？"});
        EXPECT_EQ(r.log, std::vector<std::string>{"com open"});  // nothing reports the outcome
    }
}

TEST_F(SessionCycleTest, NetworkChoiceOpensTheWindowWithoutALink) {
    writeSettings("[PORTSEL]\nPORT=1\nCOM=1\n[IPADDR]\nFIELD=192.168.0.1\n");
    registerMenuArea(ui::IDOK);
    startAdapter();
    // factory initialisation and the date do nothing in network mode, without a message
    SessionResult r = run(kStart + "command 32771\ncommand 32777\nclick 1539\n" + kClose);
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_TRUE(r.transcript.empty());
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(r.log,
              (std::vector<std::string>{"Network link (HomePNA) is not available in this version",
                                        "Analog Status Read ERROR"}));
    EXPECT_EQ(networkMode, 1);
    EXPECT_EQ(ipAddressText, "192.168.0.1");
}

}  // namespace
}  // namespace kx::test
