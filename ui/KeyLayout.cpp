#include "ui/KeyLayout.h"

namespace kx::ui {
namespace {

struct Punctuation {
    char32_t c;
    int vk;
    bool shift;
};

// The punctuation of the Japanese layout's main keyboard, unshifted and shifted.
constexpr Punctuation kPunctuation[] = {
    {U' ', kVkSpace, false},     {U'!', '1', true},          {U'"', '2', true},
    {U'#', '3', true},           {U'$', '4', true},          {U'%', '5', true},
    {U'&', '6', true},           {U'\'', '7', true},         {U'(', '8', true},
    {U')', '9', true},           {U'-', kVkOemMinus, false}, {U'=', kVkOemMinus, true},
    {U'^', 222, false},          {U'~', 222, true},          {U'\\', 226, false},
    {U'_', 226, true},           {U'\u00A5', 220, false},    {U'|', 220, true},
    {U'@', 192, false},          {U'`', 192, true},          {U'[', 219, false},
    {U'{', 219, true},           {U';', kVkOemPlus, false},  {U'+', kVkOemPlus, true},
    {U':', kVkOem1, false},      {U'*', kVkOem1, true},      {U']', 221, false},
    {U'}', 221, true},           {U',', kVkOemComma, false}, {U'<', kVkOemComma, true},
    {U'.', kVkOemPeriod, false}, {U'>', kVkOemPeriod, true}, {U'/', kVkOem2, false},
    {U'?', kVkOem2, true},
};

}  // namespace

std::optional<KeyStroke> jisKeyFor(char32_t c) {
    if (c >= U'0' && c <= U'9')
        return KeyStroke{static_cast<int>(c), false};
    if (c >= U'a' && c <= U'z')
        return KeyStroke{static_cast<int>(c - U'a' + 'A'), false};
    if (c >= U'A' && c <= U'Z')
        return KeyStroke{static_cast<int>(c), true};
    for (const Punctuation& p : kPunctuation)
        if (p.c == c)
            return KeyStroke{p.vk, p.shift};
    return std::nullopt;
}

KeySequence keySequenceFor(KeyStroke stroke, bool shiftHeld) {
    KeySequence seq;
    bool toggle = stroke.shift != shiftHeld;
    KeyEvent before = stroke.shift ? KeyEvent::Down : KeyEvent::Up;
    KeyEvent after = stroke.shift ? KeyEvent::Up : KeyEvent::Down;
    if (toggle)
        seq.messages.push_back({before, kVkShift});
    seq.keyIndex = seq.messages.size();
    seq.messages.push_back({KeyEvent::Down, stroke.vk});
    seq.messages.push_back({KeyEvent::Up, stroke.vk});
    if (toggle)
        seq.messages.push_back({after, kVkShift});
    return seq;
}

}  // namespace kx::ui
