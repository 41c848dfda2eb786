#pragma once

// Conversion between the adapter's text (Shift-JIS as Windows code page 932 has it) and the
// UTF-8 of the dialogs. Records keep the adapter's bytes; conversion happens only where text
// meets the user. Both directions are safe to call from any thread at once.

#include <cstddef>
#include <string>
#include <string_view>

namespace kx {

// Adapter bytes -> UTF-8. Never fails: bytes that are not CP932 (a stray trail byte, a lead byte
// cut off at the end, an unassigned pair) each show as U+FFFD and conversion goes on after them.
std::string SjisToUtf8(std::string_view cp932);

enum class SjisError {
    None,
    InvalidUtf8,   // the input is not well-formed UTF-8 at errorOffset
    NotEncodable,  // the character at errorOffset has no CP932 form
    Unavailable,   // the system offers no CP932 converter
};

struct SjisEncoding {
    std::string bytes;  // the CP932 text; empty unless ok()
    SjisError error = SjisError::None;
    std::size_t errorOffset = 0;  // byte offset in the UTF-8 input of the offending character

    bool ok() const { return error == SjisError::None; }
};

// UTF-8 -> adapter bytes. Text that cannot be represented exactly is refused, never altered.
// (CP932 also accepts a few look-alikes, such as U+301C for its wave dash U+FF5E; they encode.)
SjisEncoding Utf8ToSjis(std::string_view utf8);

}  // namespace kx
