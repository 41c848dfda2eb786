#include "ui/qt/QtKeys.h"

namespace kx::ui::qt {
namespace {

struct NamedKey {
    int qtKey;
    int vk;
};

constexpr NamedKey kNamedKeys[] = {
    {Qt::Key_Backspace, kVkBack},
    {Qt::Key_Tab, kVkTab},
    {Qt::Key_Backtab, kVkTab},
    {Qt::Key_Return, kVkReturn},
    {Qt::Key_Enter, kVkReturn},
    {Qt::Key_Escape, kVkEscape},
    {Qt::Key_Delete, kVkDelete},
    {Qt::Key_Left, kVkLeft},
    {Qt::Key_Up, kVkUp},
    {Qt::Key_Right, kVkRight},
    {Qt::Key_Down, kVkDown},
    {Qt::Key_Home, 36},
    {Qt::Key_End, 35},
    {Qt::Key_Insert, 45},
    {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},
    {Qt::Key_Space, kVkSpace},
    {Qt::Key_Shift, kVkShift},
    {Qt::Key_Control, kVkControl},
};

// The numeric pad's keys, which Qt reports with the keypad modifier.
int keypadVk(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return kVkNumpad0 + (key - Qt::Key_0);
    switch (key) {
        case Qt::Key_Asterisk:
            return kVkMultiply;
        case Qt::Key_Plus:
            return kVkAdd;
        case Qt::Key_Minus:
            return kVkSubtract;
        case Qt::Key_Period:
        case Qt::Key_Comma:
            return kVkDecimal;
        case Qt::Key_Slash:
            return kVkDivide;
        default:
            return 0;
    }
}

KeySequence single(KeyEvent event, int vk) {
    KeySequence seq;
    seq.messages.push_back({event, vk});
    return seq;
}

}  // namespace

KeySequence translateKey(const QKeyEvent& e) {
    KeyEvent event = e.type() == QEvent::KeyRelease ? KeyEvent::Up : KeyEvent::Down;
    int key = e.key();
    Qt::KeyboardModifiers mods = e.modifiers();

    if (mods & Qt::KeypadModifier) {
        if (int vk = keypadVk(key))
            return single(event, vk);
    }
    for (const NamedKey& named : kNamedKeys)
        if (named.qtKey == key)
            return single(event, named.vk);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return single(event, kVkF1 + (key - Qt::Key_F1));
    // with Ctrl the text is a control character: the letter key itself counts
    if ((mods & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return single(event, 'A' + (key - Qt::Key_A));

    QString text = e.text();
    if (!text.isEmpty()) {
        char32_t c = text.toUcs4().value(0);
        if (std::optional<KeyStroke> stroke = jisKeyFor(c)) {
            if (event == KeyEvent::Up)
                return single(event, stroke->vk);
            return keySequenceFor(*stroke, (mods & Qt::ShiftModifier) != 0);
        }
        return single(event, kVkProcessKey);  // a character the layout has no key for
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return single(event, 'A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return single(event, '0' + (key - Qt::Key_0));
    return single(event, 0);  // no key of the layout: every filter swallows it
}

}  // namespace kx::ui::qt
