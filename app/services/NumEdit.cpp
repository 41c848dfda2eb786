#include "app/services/NumEdit.h"

namespace kx {
namespace {

bool isArrow(int vk) {
    return vk >= ui::kVkLeft && vk <= ui::kVkDown;
}

// The keys that move the caret without typing: the arrows, Home and End.
bool movesCaret(int vk) {
    return isArrow(vk) || vk == ui::kVkHome || vk == ui::kVkEnd;
}

// Keys that type digits and the punctuation of numbers and addresses, and the editing keys.
bool isCandidate(int vk) {
    return vk == ui::kVkBack || movesCaret(vk) || vk == ui::kVkDelete || (vk >= '0' && vk <= '9') ||
           (vk >= ui::kVkNumpad0 && vk <= ui::kVkMultiply) ||  // pad digits and "*"
           (vk >= ui::kVkSubtract && vk <= ui::kVkDivide) ||   // pad "-", ".", "/"
           (vk >= ui::kVkOemMinus && vk <= ui::kVkOem2);       // "-", ".", "/"
}

// With Shift held only these candidates type something wanted: the arrows, Home and End select,
// "3" gives "#", "8" and "9" give the parentheses of the Japanese layout; the pad minus stays a
// minus.
bool passesWithShift(int vk) {
    return movesCaret(vk) || vk == '3' || vk == '8' || vk == '9' || vk == ui::kVkSubtract;
}

}  // namespace

NumEditDecision filterNumEditKey(ui::KeyEvent event, int vk, std::uint32_t shiftDown,
                                 std::uint32_t ctrlDown) {
    NumEditDecision d{false, shiftDown, ctrlDown};
    if (event == ui::KeyEvent::Up) {
        if (vk == ui::kVkShift)
            d.shiftDown = 0;
        if (vk == ui::kVkControl)
            d.ctrlDown = 0;
        d.pass = true;
        return d;
    }
    if (vk == ui::kVkShift) {
        d.shiftDown = 1;
        d.pass = true;
    } else if (vk == ui::kVkControl) {
        d.ctrlDown = 1;
        d.pass = true;
    } else if (vk == ui::kVkTab || vk == ui::kVkReturn) {
        d.pass = true;  // Return types nothing: the dialog presses its default button
    } else if (vk == 'A' || vk == 'C' || vk == 'V' || vk == 'X') {
        d.pass = ctrlDown != 0;  // select all, copy, paste, cut
    } else if (vk == ui::kVkOem1) {
        d.pass = shiftDown != 0;  // "*" only, never ":"
    } else if (isCandidate(vk)) {
        d.pass = shiftDown == 0 || passesWithShift(vk);
    }
    return d;
}

bool CNumEdit::PreTranslateMessage(const ui::KeyMessage& message) {
    NumEditDecision d = filterNumEditKey(message.event, message.vk, shiftDown, ctrlDown);
    shiftDown = d.shiftDown;
    ctrlDown = d.ctrlDown;
    return !d.pass;
}

}  // namespace kx
