// The scripted user: its failure messages, lines read as an editor writes them, the file
// chooser's line and the boxes the program shows itself, on small dialogs of the headless
// backend. Each action driving the program's own dialogs (text, type, click, check, select,
// scroll, key F1, nested dialogs, a dialog or log line that comes later) is the session tests'
// and the replays' own.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <sstream>

#include "app/services/NumEdit.h"
#include "link/TextFunctions.h"
#include "ui/Backend.h"
#include "ui/DataExchange.h"
#include "ui/Dialog.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "ui/MessageLoop.h"
#include "ui/TemplateBuilder.h"
#include "ui/headless/Headless.h"

namespace kx::ui {
namespace {

using namespace tpl;
using namespace std::chrono_literals;

const char kDialError[] = "ダイヤル発信時間の入力に間違いがあります。";

const Template& mainTemplate() {
    static const Template t{
        .id = 9001,
        .caption = "main",
        .menu = {},
        .controls = {
            row({button(10, "open"), button(11, "log later"), button(13, "never", kDisabled),
                 button(15, "log and ask later"), button(16, "ask on open later"),
                 button(17, "save")}),
            field("note", edit(14)),
            buttons({button(1590, "exit")}),
        }};
    return t;
}

const Template& portTemplate() {
    static const Template t{.id = 9002,
                            .caption = "port",
                            .menu = {},
                            .controls = {
                                spinField("dial time", edit(21, kNoStyle, 3), 26, "s"),
                                radios({{22, "off"}, {23, "on"}}),
                                check(24, "talky"),
                                list(25, {"ring1", "ring2"}),
                                buttons({button(IDOK, "OK", kDefault), button(IDCANCEL, "Cancel")}),
                            }};
    return t;
}

struct Seen {
    int ring = -1, closes = 0;
    std::string note;
    int portResult = 0;
    std::optional<std::string> chosen;
};

class PortDlg : public Dialog {
public:
    explicit PortDlg(Seen& seen) : Dialog(portTemplate()), seen_(seen) {
        SetKeyFilter(21, &dialEdit_);
    }

protected:
    void DoDataExchange(DataExchange& dx) override { dx.listIndex(25, ring_); }
    void OnOK() override {
        if (!UpdateData(true))
            return;
        std::string text;
        if (!GetDlgItemText(21, 2, text) || CheckNumber(text, 3, 15))
            return InputError(kDialError);
        seen_.ring = ring_;
        EndDialog(IDOK);
    }

private:
    Seen& seen_;
    CNumEdit dialEdit_;
    int ring_ = -1;
};

// Asks as soon as it opens.
class AskingDlg : public Dialog {
public:
    AskingDlg() : Dialog(asking()) {}
    int answer = 0;

protected:
    bool OnInitDialog() override {
        answer = MessageBox("接続しますか？", "ask", MsgButtons::OkCancel, MsgIcon::Question);
        return true;
    }

private:
    static const Template& asking() {
        static const Template t{9003, "ask", 0, 0, kDialogNoStyle, 0, {}, {button(IDCANCEL, "No")}};
        return t;
    }
};

class MainDlg : public Dialog {
public:
    explicit MainDlg(Seen& seen) : Dialog(mainTemplate()), seen_(seen) {}
    bool askOnClose = false;

protected:
    void OnCommand(int id) override {
        if (id == 10) {
            PortDlg port(seen_);
            seen_.portResult = port.DoModal();
        } else if (id == 11) {
            setTimer(1, 50ms, [] {
                killTimer(1);
                noteLogLine("connect ok\r\n");
            });
        } else if (id == 15) {
            setTimer(3, 50ms, [] {  // a socket event that logs and then tells the user
                killTimer(3);
                noteLogLine("Local Password Check ERROR\r\n");
                MessageBox("パスワードが違います。", "main", MsgButtons::Ok, MsgIcon::Stop);
            });
        } else if (id == 16) {
            setTimer(4, 50ms, [this] {
                killTimer(4);
                AskingDlg ask;
                ask.DoModal();
                seen_.portResult = ask.answer;
            });
        } else if (id == 17) {
            seen_.chosen = ChooseFile({FileMode::Save, "保存", "/tmp", "a.txt"});
        } else if (id == 1590) {
            PostClose();
        }
    }
    void OnClose() override {
        ++seen_.closes;
        seen_.note = GetDlgItemTextUtf8(14);
        if (askOnClose)
            MessageBox("終了しますか？", "main", MsgButtons::OkCancel, MsgIcon::Question);
        EndDialog(IDCANCEL);
    }

private:
    Seen& seen_;
};

class ScriptUserTest : public ::testing::Test {
protected:
    // Runs the main dialog against `script`; returns what the user printed.
    std::string run(const std::string& script, bool askOnClose = false) {
        user = headless::ScriptUser::fromText(script);
        user->setTimeout(200ms);
        std::ostringstream out;
        user->setOutput(out);
        headless::install(user);
        {
            MainDlg main(seen);
            main.askOnClose = askOnClose;
            result = main.DoModal();
        }
        installBackend(nullptr);
        return out.str();
    }

    std::shared_ptr<headless::ScriptUser> user;
    Seen seen;
    int result = 0;
};

TEST_F(ScriptUserTest, FailedLineIsReportedAndTheProgramLeavesByItsClosePath) {
    const std::string box = std::string("message: ") + kDialError + "\n";
    struct Row {
        std::string script;
        std::string out;
        int line;
    };
    const Row rows[] = {
        {"dialog 9003\n",
         "script: line 1: dialog 9003 did not appear within 200 ms (dialog 9001 is active)\n", 1},
        {"click 77\n", "script: line 1: dialog 9001 has no control 77\n", 1},
        {"click 13\n", "script: line 1: control 13 of dialog 9001 is disabled\n", 1},
        {"text 10 x\n", "script: line 1: control 10 is not an edit\n", 1},
        {"check 10 1\n", "script: line 1: control 10 is not a check box\n", 1},
        {"dialog 9001\n", "script: line 2: the script ended while dialog 9001 waits for the user\n",
         2},
        {"answer ok\n", "script: line 1: no message box is shown (dialog 9001 is active)\n", 1},
        {"frob 1\n", "script: line 1: unknown action \"frob\"\n", 1},
        {"click 10\nselect 25 2\n", "script: line 2: list 25 has no item 2\n", 2},
        {"click x\n", "script: line 1: click needs an id, not \"x\"\n", 1},
        {"click 10\nscroll 26 sideways\n",
         "script: line 2: scroll needs up or down, not \"sideways\"\n", 2},
        {"wait hello\n", "script: line 1: no log line containing \"hello\" within 200 ms\n", 1},
        {"click 10\ntext 21 99\nclick 1\nclick 2\n",
         box + "script: line 4: a message box is shown (\"" + kDialError +
             "\"); the line must answer it\n",
         4},
        {"click 10\ntext 21 99\nclick 1\nanswer cancel\n",
         box + "script: line 4: the message box has no cancel button\n", 4},
        {"click 10\ntext 21 99\nclick 1\n",
         box + "script: line 4: the script ended while a message box is shown (\"" + kDialError +
             "\")\n",
         4},
    };
    for (const Row& row : rows) {
        seen = Seen{};
        EXPECT_EQ(run(row.script), row.out) << row.script;
        EXPECT_TRUE(user->failed());
        EXPECT_EQ(user->failedLine(), row.line);
        EXPECT_EQ(seen.closes, 1) << row.script;  // the main dialog's own close handler ran
        EXPECT_EQ(result, IDCANCEL);
    }
}

// A path and "cancel" answering the chooser are SettingsFileTest's (a restore, a cancelled
// save); a blank inside a path, a relative path and the refusals are these.
TEST_F(ScriptUserTest, TheFileLineAnswersTheChooserOpenNow) {
    const std::string here = std::filesystem::current_path().string();
    const std::string shown = "a file chooser is shown (\"保存\")";
    const struct {
        std::string script;
        std::optional<std::string> chosen;
        std::string out;  // a failure, or empty
    } kRows[] = {
        {"click 17\nfile /tmp/KESTRELX 1.txt\nclick 1590\n", "/tmp/KESTRELX 1.txt", ""},
        {"click 17\nfile  saved/doc.txt \nclick 1590\n", here + "/saved/doc.txt", ""},
        {"click 17\nclick 1590\n", std::nullopt,
         "script: line 2: " + shown + "; the line must answer it\n"},
        {"click 17\nanswer ok\n", std::nullopt,
         "script: line 2: " + shown + "; the line must answer it\n"},
        {"click 17\n", std::nullopt, "script: line 2: the script ended while " + shown + "\n"},
        {"click 17\nfile\n", std::nullopt, "script: line 2: file needs a path or cancel\n"},
        {"file a.txt\n", std::nullopt,
         "script: line 1: no file chooser is shown (dialog 9001 is active)\n"},
    };
    for (const auto& row : kRows) {
        seen = Seen{};
        EXPECT_EQ(run(row.script), row.out) << row.script;
        EXPECT_EQ(seen.chosen, row.chosen) << row.script;
        EXPECT_EQ(user->failed(), !row.out.empty());
    }
}

TEST_F(ScriptUserTest, AfterAFailureMessageBoxesAreAnsweredCancel) {
    std::string out = run("click 77\n", true);
    EXPECT_EQ(out, "script: line 1: dialog 9001 has no control 77\nmessage: 終了しますか？\n");
    ASSERT_EQ(user->messages().size(), 1u);
    EXPECT_EQ(user->messages()[0].answer, IDCANCEL);
    EXPECT_EQ(user->messages()[0].icon, MsgIcon::Question);
    EXPECT_EQ(user->messages()[0].buttons, MsgButtons::OkCancel);
}

// A box that the program shows on its own, after a log line or as a dialog opens: "answer"
// follows the "wait" or "dialog" line that the box comes after.
TEST_F(ScriptUserTest, AnswerFollowsTheWaitOrDialogLineBeforeABoxTheProgramShowsItself) {
    std::string out =
        run("click 15\nwait Password Check ERROR\nanswer ok\n"
            "click 16\ndialog 9003\nanswer ok\nclick 2\nclick 1590\n");
    EXPECT_EQ(out,
              "log: Local Password Check ERROR\nmessage: パスワードが違います。\n"
              "message: 接続しますか？\n");
    EXPECT_FALSE(user->failed()) << user->failureReason();
    EXPECT_EQ(seen.portResult, IDOK);
    EXPECT_EQ(seen.closes, 1);
}

// Blanks between the words, a byte-order mark, CRLF line ends: the value of "text" is the rest
// of the line after the one blank that follows its id.
TEST_F(ScriptUserTest, LinesReadAsAnEditorWritesThem) {
    struct Row {
        std::string script;
        std::string note;
        int ring;
    };
    const Row rows[] = {
        {"\xEF\xBB\xBF"
         "dialog  9001 \r\nclick \t11\r\nwait   connect ok \r\ntext  14 a b \r\nclose \r\n",
         "a b ", -1},
        {"text 14 x\r\ntext 14\r\nclose\r\n", "", -1},
        {"text 14 x\ntext 14 \nclose", "", -1},
        {"text 14  # not a comment\nclose\n", " # not a comment", -1},
        {"click 10\ntext 21 3\ncheck  24  1 \nselect 25  1\nclick  1 \nclose\n", "", 1},
    };
    for (const Row& row : rows) {
        seen = Seen{};
        run(row.script);
        EXPECT_FALSE(user->failed()) << row.script << ": " << user->failureReason();
        EXPECT_EQ(seen.note, row.note) << row.script;
        EXPECT_EQ(seen.ring, row.ring) << row.script;
        EXPECT_EQ(seen.closes, 1) << row.script;
    }
}

// A dialog run against a script that fails at its first line: it ends all the same, its close
// handler run once. Returns what the user printed.
template <typename Dlg>
std::string failedAtOnce() {
    std::shared_ptr<headless::ScriptUser> user = headless::ScriptUser::fromText("click 5\n");
    std::ostringstream out;
    user->setOutput(out);
    headless::install(user);
    {
        Dlg dlg;
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(dlg.closes, 1);
    }
    installBackend(nullptr);
    return out.str();
}

// After a failure, a dialog that ignores its close request is ended, and so is one whose close
// handler asks with a dialog of its own (which the user closes, so the first one stays).
TEST(ScriptUserStubborn, DialogsThatStayOpenOnCloseAreEndedAfterAFailure) {
    static const Template t{9009, "stubborn", 0, 0, kDialogNoStyle, 0, {}, {button(IDOK, "OK")}};
    struct Stubborn : Dialog {
        Stubborn() : Dialog(t) {}
        int closes = 0;
        void OnClose() override { ++closes; }  // stays open
    };
    EXPECT_EQ(failedAtOnce<Stubborn>(), "script: line 1: dialog 9009 has no control 5\n");

    static const Template outerT{9010, "outer", 0, 0, kDialogNoStyle, 0, {}, {button(IDOK, "OK")}};
    static const Template askT{9011, "ask", 0, 0, kDialogNoStyle, 0, {}, {button(IDCANCEL, "No")}};
    struct Ask : Dialog {
        Ask() : Dialog(askT) {}
    };
    struct Outer : Dialog {
        Outer() : Dialog(outerT) {}
        int closes = 0;
        void OnClose() override {
            if (++closes > 50)
                return EndDialog(IDCANCEL);  // the test's own way out
            Ask ask;
            if (ask.DoModal() == IDOK)
                EndDialog(IDCANCEL);
        }
    };
    EXPECT_EQ(failedAtOnce<Outer>(), "script: line 1: dialog 9010 has no control 5\n");
}

TEST(ScriptUserFile, MissingFileIsReported) {
    std::string error;
    EXPECT_EQ(headless::ScriptUser::fromFile("/nonexistent/session.script", &error), nullptr);
    EXPECT_EQ(error, "cannot read the script /nonexistent/session.script");
}

}  // namespace
}  // namespace kx::ui
