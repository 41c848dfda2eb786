// CNumEdit: the key table. Typing through it in a dialog is checked end to end by the session
// tests' "type" lines (short numbers, addresses, control keys): digits, "#", "(", ")", "*", "-",
// ".", "=", ":", ";", ",", blanks, letters and wide characters go through it there, the keys of
// other layouts and Ctrl+V, Ctrl+A, Home, Esc and Backspace in QtKeyTranslation. These are the
// other keys.

#include <gtest/gtest.h>

#include "app/services/NumEdit.h"

namespace kx {
namespace {

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
}  // namespace kx
