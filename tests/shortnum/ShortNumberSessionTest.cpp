// The short numbers end to end: the main window's button, the dialog with a scripted user, and
// the command lines the emulated adapter received.
#include <map>
#include <ostream>

#include "app/AreaRegistry.h"
#include "res/ShortnumIds.h"
#include "shortnum/ShortNumberDlg.h"
#include "shortnum/ShortNumbers.h"
#include "tests/support/AreaSession.h"

namespace kx {
// readable tables in failure output
void PrintTo(const ShortNumberEntry& entry, std::ostream* os) {
    *os << '"' << entry.number << '"';
}
}  // namespace kx

namespace kx::test {
namespace {

const AreaScript& kShortnum = shortnumArea();
const char* const kWritten = "Short Number Status Write OK";

// What the adapter holds before each run: entry 10 has the four-character label, entry 20 is
// on the second page.
const std::map<int, std::string> kPreset{
    {3, "0311112222"}, {9, "(03)1234-5678"}, {10, "0312345678*1234"}, {20, "09011112222#"}};

// 32 digits, "*" and 19 digits: with its "*" the subaddress may take 20 characters, so no text of
// 53 characters can pass the phone check.
const std::string kLongest = "01234567890123456789012345678901*0123456789012345678";

const std::string kOpen = open(IDC_MAIN_SHORTNUM, IDD_SHORT_NUMBER);
const std::string kRefused = kShortnum.refused() + dialog(IDD_SHORT_NUMBER);

std::string editOf(int entry) {
    return std::to_string(kShortNumberEdits[static_cast<std::size_t>(entry - 1)]);
}
std::string setText(int entry, const std::string& value) {
    return "text " + editOf(entry) + " " + value + "\n";
}
std::string typeKeys(int entry, const std::string& keys) {
    return "type " + editOf(entry) + " " + keys + "\n";
}

Lines presetCommands() {
    Lines commands;
    for (const auto& [k, number] : kPreset)
        commands.push_back("shortnum add " + std::to_string(k) + " " + number);
    return commands;
}
ShortNumberTable presetTable() {
    ShortNumberTable table;
    for (const auto& [k, number] : kPreset) table[static_cast<std::size_t>(k - 1)].number = number;
    return table;
}

using ShortNumberSessionTest = AreaSessionTest;

// The changed entries go out in entry order, however they were edited: set out of order, emptied,
// typed (every phone character passes; letters, blanks, other punctuation and wide characters
// are swallowed; keys typed into a preset entry follow its number), or given the number they
// had, which is no change.
TEST_F(ShortNumberSessionTest, ConfirmedChangesAreWrittenInEntryOrder) {
    freshAdapter(presetCommands());
    SessionResult r = run(kShortnum.session(
        kOpen + setText(20, "20") + setText(10, "") + setText(1, "1") + setText(11, "11") +
        typeKeys(6, "03ab ,:;+=電話12") + typeKeys(5, "(03)1234-5678#*12") + typeKeys(3, "99") +
        setText(9, "(03)1234-5678") + kShortnum.confirm()));
    expectSession(
        r,
        kShortnum.sent(stored({"shortnum add 1 1", "shortnum add 3 031111222299",
                               "shortnum add 5 (03)1234-5678#*12", "shortnum add 6 0312",
                               "shortnum add 10 ", "shortnum add 11 11", "shortnum add 20 20"})),
        {}, concat(kShortnum.viewed(), {kWritten}));
}

// The entries are checked in order, each refusal naming the first wrong one by its number;
// once that one is emptied the next 登録 names the next. An entry changed meanwhile is written
// with the corrected ones at last; an emptied preset entry is written as an empty number.
TEST_F(ShortNumberSessionTest, WrongEntriesAreNamedInOrderAndTheDialogStaysOpen) {
    const std::pair<int, std::string> kWrong[] = {
        {1, setText(1, "03abc")},
        {2, setText(2, "0b")},
        {4, typeKeys(4, "03.1234")},
        {5, setText(5, "0 5")},
        {7, setText(7, "0312345678*01234567890123456789")},  // a subaddress of 20 digits
        // refused, not taken as an emptied entry
        {10, setText(10, "03\xF0\x9F\x98\x80")},
        {11, setText(11, "０３１２")},
        {12, setText(12, "03 1234")},
        {13, setText(13, kLongest + "9")},
        {20, setText(20, "012345678901234567890123456789012")},  // 33 digits
    };
    std::string script = kOpen + setText(6, "0366");
    for (const auto& [entry, edit] : kWrong) script += edit;
    Lines messages;
    for (const auto& [entry, edit] : kWrong) {
        script += kRefused + setText(entry, "");
        messages.push_back(std::string("電話番号") + (entry < 10 ? "0" : "") +
                           std::to_string(entry) + "の入力に間違いがあります。");
    }
    freshAdapter(presetCommands());
    SessionResult r = run(kShortnum.session(script + kShortnum.confirm()));
    expectSession(
        r, kShortnum.sent(stored({"shortnum add 6 0366", "shortnum add 10 ", "shortnum add 20 "})),
        messages, concat(kShortnum.viewed(), {kWritten}));
    // the snapshot taken at 登録 is the table as read
    EXPECT_EQ(shortNumbers.snapshot, presetTable());
}

// A read that failed half way leaves nothing of its first page for a dialog.
TEST_F(ShortNumberSessionTest, FailedReadStopsAndOpensNoDialog) {
    expectReadStops(kShortnum, presetCommands(), [](std::size_t failed) {
        EXPECT_EQ(shortNumbers.snapshot[2].number, failed > 0 ? "0311112222" : "");
        EXPECT_EQ(shortNumbers.working, ShortNumberTable{});
    });
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
    freshAdapter(presetCommands());
    Lines seen;
    AreaHandlers area = *findArea(IDC_MAIN_SHORTNUM);
    area.run = [&seen](ui::Dialog&, AreaContext&) { return EditSpyDlg(seen).DoModal(); };
    registerArea(IDC_MAIN_SHORTNUM, area);
    const std::string digits54 = "012345678901234567890123456789012345678901234567890123";
    SessionResult r = run(kShortnum.session(
        kOpen + typeKeys(7, digits54) + setText(8, digits54 + "45") + kRefused + kShortnum.back()));
    EXPECT_EQ(seen, (Lines{digits54.substr(0, 53), digits54.substr(0, 53)}));
    expectSession(r, kShortnum.sent({}), {"電話番号07の入力に間違いがあります。"},
                  kShortnum.viewed());
}

TEST_F(ShortNumberSessionTest, HelpPage) {
    expectHelpPages(kShortnum, {{kOpen, 10016}});
}

}  // namespace
}  // namespace kx::test
