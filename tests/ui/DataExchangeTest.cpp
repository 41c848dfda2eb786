// Data exchange and the edit texts at the CP932 boundary, on the headless backend. Check boxes
// and lists are read and set through every area's dialogs in the session tests; an edit's text
// goes through GetDlgItemText, as the bindings read it (BindingsTest checks their messages).
// CNumEdit's key table. Typing through it in a dialog is checked end to end by the session
// tests' "type" lines (short numbers, addresses, control keys): digits, "#", "(", ")", "*", "-",
// ".", "=", ":", ";", ",", blanks, letters and wide characters go through it there, the keys of
// other layouts and Ctrl+V, Ctrl+A, Home, Esc and Backspace in QtKeyTranslation. These are the
// other keys.

#include <gtest/gtest.h>

#include "app/services/NumEdit.h"
#include "ui/Backend.h"
#include "ui/DataExchange.h"
#include "ui/Dialog.h"
#include "ui/TemplateBuilder.h"
#include "ui/headless/Headless.h"
#include "ui/headless/HeadlessWindow.h"

namespace kx::ui {
namespace {

using namespace tpl;

const Template& exchangeTemplate() {
    static const Template t{.id = 9100,
                            .caption = "exchange",
                            .menu = {},
                            .controls = {
                                group("first", {radios({{101, "a"}, {102, "b"}, {103, "c"}})}),
                                radios({{111, "x"}, {112, "y"}}),
                                check(120, "check"),
                                list(130, {"one", "two"}),
                                field("name", edit(140)),
                                field("code", edit(150)),
                                buttons({button(IDOK, "OK"), button(IDCANCEL, "Cancel")}),
                            }};
    return t;
}

class ExchangeDlg : public Dialog {
public:
    ExchangeDlg() : Dialog(exchangeTemplate()) {}
    int first = -1, second = -1, checked = 0, item = -1;

    void DoDataExchange(DataExchange& dx) override {
        dx.radio(101, first);
        dx.radio(111, second);
        dx.check(120, checked);
        dx.listIndex(130, item);
    }
};

class DataExchangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless::install();
        ASSERT_TRUE(dlg_.Create());
        window_ = dynamic_cast<headless::HeadlessWindow*>(DialogEvents::peer(dlg_));
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        dlg_.DestroyWindow();
        installBackend(nullptr);
    }

    ExchangeDlg dlg_;
    headless::HeadlessWindow* window_ = nullptr;
};

TEST_F(DataExchangeTest, RadioGroupsAreIndicesInTemplateOrderAndMinusOneForNone) {
    struct Row {
        int first;
        std::vector<bool> checked;  // 101, 102, 103 after the exchange to the controls
        int readBack;
    };
    const Row rows[] = {
        {-1, {false, false, false}, -1},
        {0, {true, false, false}, 0},
        {2, {false, false, true}, 2},
        {3, {false, false, false}, -1},  // past the group: none checked
    };
    for (const Row& row : rows) {
        dlg_.first = row.first;
        EXPECT_TRUE(dlg_.UpdateData(false));
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(dlg_.IsDlgButtonChecked(101 + i), row.checked[i]) << row.first;
        EXPECT_FALSE(dlg_.IsDlgButtonChecked(111));  // the next group is a group of its own
        dlg_.first = 99;
        EXPECT_TRUE(dlg_.UpdateData(true));
        EXPECT_EQ(dlg_.first, row.readBack);
    }
}

TEST_F(DataExchangeTest, TextLimitCountsCp932BytesForTypingAndPasting) {
    dlg_.LimitText(140, 6);
    struct Row {
        const char* pasted;
        const char* shown;
    };
    const Row rows[] = {
        {"abcdefgh", "abcdef"},
        {"あいうえ", "あいう"},  // two bytes each
        {"aあいう", "aあい"},    // a character is never split
        {"ｱｲｳｴｵｶｷ", "ｱｲｳｴｵｶ"},   // half-width katakana take one byte
    };
    for (const Row& row : rows) {
        EXPECT_EQ(window_->paste(140, row.pasted), "");
        EXPECT_EQ(dlg_.GetDlgItemTextUtf8(140), row.shown);
    }
    window_->paste(140, "");
    EXPECT_EQ(window_->type(140, "12345678"), "");
    EXPECT_EQ(dlg_.GetDlgItemTextUtf8(140), "123456");
}

TEST_F(DataExchangeTest, ReadLimitShorterThanTheTextKeepsWholeCharacters) {
    struct Row {
        const char* text;
        int maxChars;
        std::string cp932;
    };
    const Row rows[] = {
        {"0123456789", 4, "0123"},
        {"あいう", 3, "\x82\xa0"},  // "あ", not half of "い"
        {"あいう", 4, "\x82\xa0\x82\xa2"},
        {"", 10, ""},
        {"abc", 0, ""},
    };
    for (const Row& row : rows) {
        dlg_.SetDlgItemTextUtf8(150, row.text);
        std::string got = "unchanged";
        EXPECT_TRUE(dlg_.GetDlgItemText(150, row.maxChars, got));
        EXPECT_EQ(got, row.cp932) << row.text;
    }
}

TEST_F(DataExchangeTest, TextThatCannotGoToTheAdapterIsRefused) {
    const char* refused[] = {"12\t3", "a\r\nb", "😀", "x\x7f"};
    for (const char* text : refused) {
        std::string got = "unchanged";
        dlg_.SetDlgItemTextUtf8(140, text);
        EXPECT_FALSE(dlg_.GetDlgItemText(140, 59, got)) << text;
        EXPECT_EQ(got, "");
    }
}

using ui::KeyEvent;

struct KeyRow {
    const char* what;
    int vk;
    bool shift, ctrl;  // the flags before the key-down
    bool pass;
};

const KeyRow kKeyDowns[] = {
    {"digit 0 with Shift", 48, true, false, false},
    {"pad 0", 96, false, false, true},
    {"pad *", 106, false, false, true},
    {"pad +", 107, false, false, false},
    {"pad separator", 108, false, false, false},
    {"pad -", 109, false, false, true},
    {"pad - with Shift", 109, true, false, true},
    {"pad .", 110, false, false, true},
    {"pad . with Shift", 110, true, false, false},
    {"pad /", 111, false, false, true},
    {"slash", 191, false, false, true},
    {"slash with Shift (?)", 191, true, false, false},
    {"backspace with Shift", 8, true, false, false},
    {"delete", 46, false, false, true},
    {"left", 37, false, false, true},
    {"down with Shift", 40, true, false, true},
    {"tab", 9, false, false, true},
    {"tab with Shift", 9, true, false, true},
    {"letter A with Shift", 65, true, false, false},
    {"C", 67, false, false, false},
    {"Ctrl+C", 67, false, true, true},
    {"Ctrl+Shift+V", 86, true, true, true},
    {"key 58", 58, false, false, false},
    {"F1", 112, false, false, false},
    {"end", 35, false, false, true},
    {"enter", 13, false, false, true},
};

TEST(NumEditKeyTable, KeyDown) {
    for (const KeyRow& row : kKeyDowns) {
        NumEditDecision d = filterNumEditKey(KeyEvent::Down, row.vk, row.shift, row.ctrl);
        EXPECT_EQ(d.pass, row.pass) << row.what;
        EXPECT_EQ(d.shiftDown, row.shift ? 1u : 0u) << row.what;  // only Shift and Ctrl change them
        EXPECT_EQ(d.ctrlDown, row.ctrl ? 1u : 0u) << row.what;
    }
}

TEST(NumEditKeyTable, ShiftAndCtrlSetAndClearTheFlagsAndPass) {
    struct Row {
        KeyEvent event;
        int vk;
        std::uint32_t shift, ctrl, shiftAfter, ctrlAfter;
    };
    const Row rows[] = {
        {KeyEvent::Down, 16, 0, 0, 1, 0}, {KeyEvent::Down, 17, 0, 0, 0, 1},
        {KeyEvent::Up, 16, 1, 1, 0, 1},   {KeyEvent::Up, 17, 1, 1, 1, 0},
        {KeyEvent::Up, 65, 1, 1, 1, 1},  // any other key-up passes and changes nothing
    };
    for (const Row& row : rows) {
        NumEditDecision d = filterNumEditKey(row.event, row.vk, row.shift, row.ctrl);
        EXPECT_TRUE(d.pass);
        EXPECT_EQ(d.shiftDown, row.shiftAfter);
        EXPECT_EQ(d.ctrlDown, row.ctrlAfter);
    }
}

TEST(NumEditKeyTable, ShiftReleasedElsewhereStaysDownUntilTheNextShiftKeyUp) {
    CNumEdit edit;
    EXPECT_FALSE(edit.PreTranslateMessage({KeyEvent::Down, 16}));
    // the focus moved away while Shift was held: the control never saw its key-up
    EXPECT_TRUE(edit.PreTranslateMessage({KeyEvent::Down, '1'}));
    EXPECT_FALSE(edit.PreTranslateMessage({KeyEvent::Down, 186}));  // still "*"
    EXPECT_FALSE(edit.PreTranslateMessage({KeyEvent::Up, 16}));
    EXPECT_EQ(edit.shiftDown, 0u);
    EXPECT_FALSE(edit.PreTranslateMessage({KeyEvent::Down, '1'}));
}

}  // namespace
}  // namespace kx::ui
