#pragma once

// Qt key events as the key messages of the Japanese layout (ui/KeyLayout.h). A printable
// character is mapped by what it is, not by the key that typed it, so "*" typed as Shift+8 on a
// US keyboard reaches a filter as Shift with key 186, exactly as on a Japanese keyboard; the
// Shift state is pressed or released around it as the Japanese layout needs.

#include <QKeyEvent>

#include "ui/KeyLayout.h"

namespace kx::ui::qt {

// The messages for one key press or release; `keyIndex` marks the key's own message.
KeySequence translateKey(const QKeyEvent& event);

}  // namespace kx::ui::qt
