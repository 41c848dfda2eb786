#pragma once

// CNumEdit: the key filter of the number, address and phone-number fields. It lets through
// the keys that type digits and the punctuation of addresses and phone numbers ("#", "(",
// ")", "*", "-", ".", "/"), the editing keys (Backspace, Delete, the arrows, Home, End),
// Ctrl+A/C/V/X, Tab and Return (which reaches the dialog's default button), and swallows every
// other key-down, Esc and input-method composition included. Pasting is not filtered.
//
// Attach it to an edit with Dialog::SetKeyFilter(id, &member) in the dialog's constructor.

#include <cstdint>

#include "ui/KeyFilter.h"

namespace kx {

struct NumEditDecision {
    bool pass = false;            // false: the message is swallowed
    std::uint32_t shiftDown = 0;  // the flags after the message
    std::uint32_t ctrlDown = 0;
};

// The filter as a pure function: what happens to key message (`event`, `vk`) given the flags
// before it. The flags follow only the Shift and Ctrl messages the control itself sees, so a
// Shift released while the focus was elsewhere stays "down" until the next Shift key-up.
NumEditDecision filterNumEditKey(ui::KeyEvent event, int vk, std::uint32_t shiftDown,
                                 std::uint32_t ctrlDown);

class CNumEdit final : public ui::KeyFilter {
public:
    bool PreTranslateMessage(const ui::KeyMessage& message) override;

    std::uint32_t shiftDown = 0;
    std::uint32_t ctrlDown = 0;
};

}  // namespace kx
