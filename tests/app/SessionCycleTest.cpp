// The settings cycle, the close path and the maintenance commands, end to end against the
// emulated adapter with test areas in place of the real ones.

#include "app/AreaRegistry.h"
#include "app/services/AppState.h"
#include "res/ShellIds.h"
#include "tests/support/SessionSupport.h"
#include "ui/MessageBox.h"

namespace kx::test {
namespace {

using Lines = std::vector<std::string>;

const char* const kInitQuestion =
    "工場出荷時へ初期化します。\r\n初期化後、をリブートし設定ユーティリティを終了します。"
    "\r\nよろしいですか？";

// A menu area on the analog button: reads "show analog tel1", and its menu ends with the next
// of `results`, counting a confirmed dialog as the real menus do.
void registerMenuArea(std::shared_ptr<std::vector<int>> results) {
    AreaHandlers area;
    area.kind = AreaHandlers::Kind::Menu;
    area.read = [](AreaContext& context) { return context.send("show analog tel1\r"); };
    area.run = [results](ui::Dialog&, AreaContext&) {
        int result = results->empty() ? ui::IDCANCEL : results->front();
        if (!results->empty())
            results->erase(results->begin());
        if (result == ui::IDOK)
            ++changeCount;
        return result;
    };
    registerArea(IDC_MAIN_ANALOG, area);
}

using SessionCycleTest = FastSessionTest;

TEST_F(SessionCycleTest, ClosePathAndFactoryInitialisation) {
    const std::string kAnalog = open(IDC_MAIN_ANALOG, IDD_MAIN);
    const std::string kInit = command(ID_FILE_INIT) + "answer ok\n";
    const Lines kViewed{"com open", "Analog Status Read OK", "View Analog Dlg"};
    struct Row {
        const char* name;
        const char* fault;
        std::vector<int> results;  // the menu's result at each click
        std::string script;        // after kStart
        Lines tail;                // sent after the probe
        Lines messages;
        Lines log;
    } rows[] = {
        {"confirmed, then cancelled",
         "",
         {ui::IDOK, ui::IDCANCEL},
         kAnalog + kAnalog + kClose,
         {"show analog tel1", "show analog tel1", "fromwr 15", "exit"},
         {},
         concat(kViewed, {"Analog Status Read OK", "View Analog Dlg"})},
        {"fromwr fails",
         "silent:fromwr",
         {ui::IDOK},
         kAnalog + kClose + "answer ok\n",
         {"show analog tel1", "fromwr 15", "exit"},
         {"書込みに失敗しました。"},
         kViewed},
        // the adapter restarts: nothing more is sent, not even "exit\r"; a change confirmed
        // before is gone with the factory settings, so nothing is stored either
        {"factory initialisation after a change",
         "",
         {ui::IDOK},
         kAnalog + kInit,
         {"show analog tel1", "restart"},
         {kInitQuestion},
         concat(kViewed, {"init ok"})},
        {"factory initialisation cancelled",
         "",
         {},
         command(ID_FILE_INIT) + "answer cancel\n" + kClose,
         {"exit"},
         {kInitQuestion},
         {"com open"}},
        // the answer to "restart" is lost: the program goes on, and "exit\r" finds no command line
        {"factory initialisation fails",
         "silent:restart",
         {},
         kInit + "answer ok\n" + kClose + "answer ok\n",
         {"restart", "exit"},
         {kInitQuestion, "初期化に失敗しました。", "正常に終了できませんでした。"},
         {"com open"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        freshRun(serialSettings(), withFault(row.fault));
        registerMenuArea(std::make_shared<std::vector<int>>(row.results));
        SessionResult r = run(kStart + row.script);
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.transcript, concat(probeLines(), row.tail));
        EXPECT_EQ(r.messageTexts(), row.messages);
        EXPECT_EQ(r.log, row.log);
        for (const auto& m : r.messages) {
            bool question = m.text == kInitQuestion;
            EXPECT_EQ(m.icon, question ? ui::MsgIcon::Question : ui::MsgIcon::Stop) << m.text;
            EXPECT_EQ(m.buttons, question ? ui::MsgButtons::OkCancel : ui::MsgButtons::Ok);
        }
    }
}

TEST_F(SessionCycleTest, DateAndTimeOfAFixedClock) {
    CMainDlg::Config config;
    config.clock = [] { return LocalTime{2008, 3, 5, 9, 4, 7, 3}; };
    struct Row {
        const char* fault;
        const char* answer;
        Lines sent;
    } rows[] = {
        {"", "ok", {"date 2008/03/05", "time 09:04:07", "youbi 3"}},
        {"", "cancel", {}},
        {"silent:date", "ok", {"date 2008/03/05"}},
        {"silent:time", "ok", {"date 2008/03/05", "time 09:04:07"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.fault) + row.answer);
        freshRun(serialSettings("KIKI=KESTRELX\n"), withFault(row.fault));
        SessionResult r =
            run(kStart + command(ID_DATE_TIME) + "answer " + row.answer + "\n" + kClose, config);
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.transcript, concat(concat(probeLines(), row.sent), {"exit"}));
        EXPECT_EQ(r.messageTexts(),
                  Lines{"パソコンから日時を取得しKESTRELXへ登録します。\r\nよろしいですか？"});
        EXPECT_EQ(r.log, Lines{"com open"});  // nothing reports the outcome
    }
}

}  // namespace
}  // namespace kx::test
