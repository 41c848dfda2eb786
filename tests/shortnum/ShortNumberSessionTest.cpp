// The short numbers end to end: the main window's button, the dialog with a scripted user, and
// the command lines the emulated adapter received.
#include <map>
#include <ostream>

#include "app/AppState.h"
#include "app/AreaRegistry.h"
#include "app/HelpPages.h"
#include "app/ShellTimings.h"
#include "res/ShortnumIds.h"
#include "shortnum/ShortNumberDlg.h"
#include "shortnum/ShortNumbers.h"
#include "tests/support/SessionSupport.h"
#include "ui/MessageBox.h"

namespace kx {
// readable tables in failure output
void PrintTo(const ShortNumberEntry& entry, std::ostream* os) {
    *os << '"' << entry.number << '"';
}
}  // namespace kx

namespace kx::test {
namespace {

using Lines = std::vector<std::string>;

// What the adapter holds before each run: entry 10 has the four-character label, entry 20 is
// on the second page.
const std::map<int, std::string> kPreset{
    {3, "0311112222"}, {9, "(03)1234-5678"}, {10, "0312345678*1234"}, {20, "09011112222#"}};

// 32 digits, "*" and 19 digits: with its "*" the subaddress may take 20 characters, so no text of
// 53 characters can pass the phone check.
const std::string kLongest = "01234567890123456789012345678901*0123456789012345678";

const std::string kOpen = "click 1087\ndialog 144\n";
const std::string kRegister = "click 1\n";
const std::string kRefusedThenBack = "click 1\nanswer ok\ndialog 144\nclick 2\n";
const Lines kReads{"show shortnum num1", "show shortnum num2"};
const Lines kViewed{"com open", "Short Number Status Read OK", "View Short Number Dlg"};

std::string editOf(int entry) {
    return std::to_string(kShortNumberEdits[static_cast<std::size_t>(entry - 1)]);
}
std::string setText(int entry, const std::string& value) {
    return "text " + editOf(entry) + " " + value + "\n";
}
std::string typeKeys(int entry, const std::string& keys) {
    return "type " + editOf(entry) + " " + keys + "\n";
}

ShortNumberTable presetTable() {
    ShortNumberTable table;
    for (const auto& [k, number] : kPreset) table[static_cast<std::size_t>(k - 1)].number = number;
    return table;
}

class ShortNumberSessionTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        // a quick probe; the settings exchanges keep the program's time-outs unless a case
        // expects one to run out
        useFastTimings();
        ShellTimings& t = shellTimings();
        t.commandTimeoutMs = ShellTimings{}.commandTimeoutMs;
        t.fromwrTimeoutMs = ShellTimings{}.fromwrTimeoutMs;
        t.exitTimeoutMs = ShellTimings{}.exitTimeoutMs;
    }

    void freshAdapter(const std::string& fault = "") {
        freshRun(serialSettings(), withFault(fault));
        for (const auto& [k, number] : kPreset)
            EXPECT_EQ(
                adapter().device().execute("shortnum add " + std::to_string(k) + " " + number).body,
                "");
    }

    void expectInputErrors(const SessionResult& r, const Lines& texts) {
        EXPECT_EQ(r.messageTexts(), texts);
        for (const auto& m : r.messages) {
            EXPECT_EQ(m.caption, windowTitle);
            EXPECT_EQ(m.icon, ui::MsgIcon::None);
            EXPECT_EQ(m.buttons, ui::MsgButtons::Ok);
        }
    }
};

TEST_F(ShortNumberSessionTest, CancelWritesNothingAndTheTablesHoldWhatWasRead) {
    freshAdapter();
    SessionResult r =
        run(kStart + kOpen + setText(7, "0377") + setText(3, "") + "click 2\n" + kClose);
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_EQ(r.transcript, concat(concat(probeLines(), kReads), {"exit"}));
    EXPECT_EQ(r.log, kViewed);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(shortNumbers.snapshot, presetTable());
    EXPECT_EQ(shortNumbers.working, presetTable());
}

TEST_F(ShortNumberSessionTest, ConfirmedChangesAreWrittenInEntryOrder) {
    struct Row {
        const char* name;
        std::string edits;
        Lines sent;
    } rows[] = {
        {"only entry 7", setText(7, "0312345678"), {"shortnum add 7 0312345678"}},
        {"a preset entry emptied", setText(3, ""), {"shortnum add 3 "}},
        {"entry 10 emptied, entry 20 changed",
         setText(10, "") + setText(20, "0120"),
         {"shortnum add 10 ", "shortnum add 20 0120"}},
        {"edited out of order",
         setText(20, "20") + setText(1, "1") + setText(11, "11"),
         {"shortnum add 1 1", "shortnum add 11 11", "shortnum add 20 20"}},
        {"every phone character typed",
         typeKeys(5, "(03)1234-5678#*12"),
         {"shortnum add 5 (03)1234-5678#*12"}},
        {"letters and blanks typed are swallowed", typeKeys(6, "03ab 12"), {"shortnum add 6 0312"}},
        {"typed after a preset number", typeKeys(3, "99"), {"shortnum add 3 031111222299"}},
        {"subaddress of 19 digits",
         setText(8, "0312345678*0123456789012345678"),
         {"shortnum add 8 0312345678*0123456789012345678"}},
        {"the longest number", setText(12, kLongest), {"shortnum add 12 " + kLongest}},
        {"the same number given again", setText(9, "(03)1234-5678"), {}},
        {"confirmed unchanged", "", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        freshAdapter();
        SessionResult r = run(kStart + kOpen + row.edits + kRegister + kClose);
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        // a confirmed dialog is stored into flash at close, even when nothing differed
        EXPECT_EQ(r.transcript,
                  concat(concat(concat(probeLines(), kReads), row.sent), {"fromwr 15", "exit"}));
        EXPECT_EQ(r.log, concat(kViewed, {"Short Number Status Write OK"}));
        EXPECT_TRUE(r.messages.empty());
    }
}

TEST_F(ShortNumberSessionTest, WrongEntryIsNamedAndTheDialogStaysOpen) {
    struct Row {
        std::string edits;
        const char* message;
    } rows[] = {
        {setText(1, "03abc"), "電話番号01の入力に間違いがあります。"},
        {setText(12, "03 1234"), "電話番号12の入力に間違いがあります。"},
        {setText(5, "0 5") + setText(2, "0b"), "電話番号02の入力に間違いがあります。"},
        {typeKeys(4, "03.1234"), "電話番号04の入力に間違いがあります。"},
        {setText(20, "012345678901234567890123456789012"), "電話番号20の入力に間違いがあります。"},
        {setText(7, "0312345678*01234567890123456789"), "電話番号07の入力に間違いがあります。"},
        {setText(13, kLongest + "9"), "電話番号13の入力に間違いがあります。"},
        {setText(8, "03\t1234"), "電話番号08の入力に間違いがあります。"},
        // a line end must never reach the adapter as a second command
        {setText(9, "03\rshortnum add 1 5"), "電話番号09の入力に間違いがあります。"},
        // refused, not taken as an emptied entry
        {setText(10, "03\xF0\x9F\x98\x80"), "電話番号10の入力に間違いがあります。"},
        {setText(11, "０３１２"), "電話番号11の入力に間違いがあります。"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        freshAdapter();
        SessionResult r = run(kStart + kOpen + row.edits + kRefusedThenBack + kClose);
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.transcript, concat(concat(probeLines(), kReads), {"exit"}));
        EXPECT_EQ(r.log, kViewed);
        expectInputErrors(r, {row.message});
    }
}

TEST_F(ShortNumberSessionTest, CorrectedEntryIsWrittenWithTheOthers) {
    freshAdapter();
    SessionResult r =
        run(kStart + kOpen + setText(1, "03abc") + setText(7, "0377") +
            "click 1\nanswer ok\ndialog 144\n" + setText(1, "0311") + kRegister + kClose);
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_EQ(r.transcript,
              concat(concat(probeLines(), kReads),
                     {"shortnum add 1 0311", "shortnum add 7 0377", "fromwr 15", "exit"}));
    EXPECT_EQ(r.log, concat(kViewed, {"Short Number Status Write OK"}));
    expectInputErrors(r, {"電話番号01の入力に間違いがあります。"});
}

TEST_F(ShortNumberSessionTest, FailedExchangeEndsTheReadOrTheWrite) {
    useFastTimings();
    const std::string kTwoChanges = kOpen + setText(4, "0344") + setText(12, "0312") + kRegister;
    struct Row {
        const char* fault;
        std::string script;  // after kStart
        Lines tail;          // sent after the probe
        Lines log;
    } rows[] = {
        {"silent/1:show shortnum num1",
         "click 1087\n" + kClose,
         {"show shortnum num1", "exit"},
         {"com open", "Short Number Status Read ERROR"}},
        {"silent/1:show shortnum num2",
         "click 1087\n" + kClose,
         {"show shortnum num1", "show shortnum num2", "exit"},
         {"com open", "Short Number Status Read ERROR"}},
        {"silent/1:shortnum add", kTwoChanges + kClose,
         concat(kReads, {"shortnum add 4 0344", "fromwr 15", "exit"}),
         concat(kViewed, {"Short Number Status Write ERROR"})},
        {"silent/1:shortnum add 12", kTwoChanges + kClose,
         concat(kReads, {"shortnum add 4 0344", "shortnum add 12 0312", "fromwr 15", "exit"}),
         concat(kViewed, {"Short Number Status Write ERROR"})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        freshAdapter(row.fault);
        SessionResult r = run(kStart + row.script);
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(r.transcript, concat(probeLines(), row.tail));
        EXPECT_EQ(r.log, row.log);
        EXPECT_TRUE(r.messages.empty());
        // a read that failed half way leaves nothing of its first page for a dialog
        if (row.log.back() == "Short Number Status Read ERROR") {
            EXPECT_EQ(shortNumbers.working, ShortNumberTable{});
        }
    }
}

// Records what entries 7 and 8 hold when 登録 is pressed.
class EditSpyDlg : public CShortNumberDlg {
public:
    explicit EditSpyDlg(Lines& seen) : seen_(seen) {}

protected:
    void OnOK() override {
        for (int entry : {7, 8}) {
            std::string text;
            EXPECT_TRUE(GetDlgItemText(std::stoi(editOf(entry)), 100, text));
            seen_.push_back(text);
        }
        CShortNumberDlg::OnOK();
    }

private:
    Lines& seen_;
};

TEST_F(ShortNumberSessionTest, EditsTakeAtMost53Characters) {
    freshAdapter();
    Lines seen;
    AreaHandlers area = *findArea(IDC_MAIN_SHORTNUM);
    area.run = [&seen](ui::Dialog&, AreaContext&) { return EditSpyDlg(seen).DoModal(); };
    registerArea(IDC_MAIN_SHORTNUM, area);
    const std::string digits54 = "012345678901234567890123456789012345678901234567890123";
    SessionResult r = run(kStart + kOpen + typeKeys(7, digits54) + setText(8, digits54 + "45") +
                          kRefusedThenBack + kClose);
    EXPECT_FALSE(r.scriptFailed) << r.failure;
    EXPECT_EQ(seen, (Lines{digits54.substr(0, 53), digits54.substr(0, 53)}));
    expectInputErrors(r, {"電話番号07の入力に間違いがあります。"});
    EXPECT_EQ(r.transcript, concat(concat(probeLines(), kReads), {"exit"}));
}

TEST_F(ShortNumberSessionTest, HelpKeyAndButtonOpenTheShortNumberPage) {
    for (const char* help : {"key F1\n", "click 1587\n"}) {
        SCOPED_TRACE(help);
        freshAdapter();
        setLastHelpPage("");
        SessionResult r = run(kStart + kOpen + help + "dialog 144\nclick 2\n" + kClose);
        EXPECT_FALSE(r.scriptFailed) << r.failure;
        EXPECT_EQ(lastHelpPage(), std::string(KX_HELP_SOURCE_DIR) + "/10016.html");
        EXPECT_TRUE(r.messages.empty());
        EXPECT_EQ(r.transcript, concat(concat(probeLines(), kReads), {"exit"}));
    }
}

}  // namespace
}  // namespace kx::test
