// CP932 <-> UTF-8 (link/Sjis.h) on arbitrary bytes in both directions. Checks: decoding never
// fails and always gives well-formed UTF-8; encoding refuses only with an offset inside the
// input and refuses well-formed UTF-8 never as malformed; and text the encoder produced decodes
// and encodes again to the same bytes, so a value shown and stored unchanged stays unchanged.

#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "link/Sjis.h"

namespace {

using kx::fuzz::check;

// Well-formed UTF-8: shortest forms only, no surrogates, nothing above U+10FFFF.
bool wellFormedUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        unsigned long code = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
            code = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            code = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            code = b & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            if ((c & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (c & 0x3F);
        }
        const unsigned long lowest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < lowest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string decoded = kx::SjisToUtf8(bytes);
    check(wellFormedUtf8(decoded), "SjisToUtf8 gave malformed UTF-8");

    const kx::SjisEncoding encoded = kx::Utf8ToSjis(bytes);
    if (encoded.error == kx::SjisError::Unavailable)
        return 0;  // no CP932 converter on this system: nothing more to learn
    if (!encoded.ok()) {
        check(encoded.bytes.empty(), "a refused encoding left bytes behind");
        check(encoded.errorOffset < bytes.size(), "the refusal's offset is outside the input");
        check(encoded.error != kx::SjisError::InvalidUtf8 || !wellFormedUtf8(bytes),
              "well-formed UTF-8 refused as malformed");
        return 0;
    }
    check(wellFormedUtf8(bytes), "malformed UTF-8 encoded");
    const std::string shown = kx::SjisToUtf8(encoded.bytes);
    const kx::SjisEncoding again = kx::Utf8ToSjis(shown);
    check(again.ok() && again.bytes == encoded.bytes,
          "encoded text does not decode and encode back to the same bytes");
    return 0;
}
