#pragma once

// Key messages as a control's pre-filter sees them: key-down and key-up with the virtual-key
// code that the Japanese keyboard layout gives for the key. Both backends translate what the
// user types into these codes (ui/KeyLayout.h), so a filter admits the same characters on any
// keyboard.

namespace kx::ui {

enum class KeyEvent { Down, Up };

struct KeyMessage {
    KeyEvent event = KeyEvent::Down;
    int vk = 0;  // virtual-key code (below)
};

// Virtual-key codes the program refers to by name.
inline constexpr int kVkBack = 8;
inline constexpr int kVkTab = 9;
inline constexpr int kVkReturn = 13;
inline constexpr int kVkShift = 16;
inline constexpr int kVkControl = 17;
inline constexpr int kVkEscape = 27;
inline constexpr int kVkSpace = 32;
inline constexpr int kVkEnd = 35;
inline constexpr int kVkHome = 36;
inline constexpr int kVkLeft = 37;
inline constexpr int kVkUp = 38;
inline constexpr int kVkRight = 39;
inline constexpr int kVkDown = 40;
inline constexpr int kVkDelete = 46;
inline constexpr int kVk0 = 48;        // '0'..'9' are 48..57, 'A'..'Z' are 65..90
inline constexpr int kVkNumpad0 = 96;  // numeric pad '0'..'9' are 96..105
inline constexpr int kVkMultiply = 106;
inline constexpr int kVkAdd = 107;
inline constexpr int kVkSeparator = 108;
inline constexpr int kVkSubtract = 109;
inline constexpr int kVkDecimal = 110;
inline constexpr int kVkDivide = 111;
inline constexpr int kVkF1 = 112;
inline constexpr int kVkOem1 = 186;        // ':' ('*' with Shift) on the Japanese layout
inline constexpr int kVkOemPlus = 187;     // ';' ('+')
inline constexpr int kVkOemComma = 188;    // ',' ('<')
inline constexpr int kVkOemMinus = 189;    // '-' ('=')
inline constexpr int kVkOemPeriod = 190;   // '.' ('>')
inline constexpr int kVkOem2 = 191;        // '/' ('?')
inline constexpr int kVkProcessKey = 229;  // what an input method sends while it composes

// A control's key pre-filter (CNumEdit is one). Called on the UI thread for each key message
// addressed to the control, before the control sees it.
class KeyFilter {
public:
    virtual ~KeyFilter() = default;
    // true: swallowed (the control never sees the key); false: passed on.
    virtual bool PreTranslateMessage(const KeyMessage& message) = 0;
};

}  // namespace kx::ui
