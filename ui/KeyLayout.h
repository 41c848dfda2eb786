#pragma once

// The Japanese (JIS) keyboard layout: which key, with or without Shift, types a character.
// The headless backend types script text with it and the Qt backend maps the characters of
// foreign layouts onto it.

#include <cstddef>
#include <optional>
#include <vector>

#include "ui/KeyFilter.h"

namespace kx::ui {

struct KeyStroke {
    int vk = 0;
    bool shift = false;
};

// The key of the main keyboard that types `c` on the Japanese layout; nullopt for characters
// the layout has no key for (those reach a filter as kVkProcessKey, like input-method text).
std::optional<KeyStroke> jisKeyFor(char32_t c);

// The key messages a Japanese-keyboard user sends to type one stroke, given whether Shift is
// already held: Shift is pressed (or released) around the key as the stroke needs, and put
// back as it was afterwards. The message of the key itself is marked by `keyIndex`.
struct KeySequence {
    std::vector<KeyMessage> messages;
    std::size_t keyIndex = 0;
};
KeySequence keySequenceFor(KeyStroke stroke, bool shiftHeld);

}  // namespace kx::ui
