#include "link/Sjis.h"

#include <iconv.h>

#include <cerrno>

namespace kx {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// One iconv descriptor per thread and direction: iconv_t keeps shift state, so it must never be
// shared between threads, and opening one per call would cost a module look-up each time.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of [in, in + inLeft) as it can, appending to out. Returns 0 when all was
    // converted, else the errno that stopped it (EILSEQ, EINVAL); in/inLeft point at the cause.
    int convert(const char*& in, std::size_t& inLeft, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // a fresh start for every piece
        while (inLeft > 0) {
            const std::size_t used = out.size();
            out.resize(used + inLeft * 3 + 16);
            char* outPtr = out.data() + used;
            std::size_t outLeft = out.size() - used;
            char* inPtr = const_cast<char*>(in);  // iconv's signature is not const-correct
            const std::size_t result = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            const int error = errno;
            in = inPtr;
            out.resize(static_cast<std::size_t>(outPtr - out.data()));
            if (result != static_cast<std::size_t>(-1)) {
                return 0;
            }
            if (error != E2BIG) {
                return error;
            }
        }
        return 0;
    }

private:
    iconv_t cd_;
};

Converter& decoder() {
    thread_local Converter converter("UTF-8", "CP932");
    return converter;
}

Converter& encoder() {
    thread_local Converter converter("CP932", "UTF-8");
    return converter;
}

bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrailByte(unsigned char b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// Offset of the first byte that does not begin a well-formed UTF-8 character (no overlong
// forms, no surrogates, nothing above U+10FFFF), or npos.
std::size_t firstInvalidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;  // allowed range of the second byte
        if (b < 0x80) {
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            low = b == 0xE0 ? 0xA0 : 0x80;
            high = b == 0xED ? 0x9F : 0xBF;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            low = b == 0xF0 ? 0x90 : 0x80;
            high = b == 0xF4 ? 0x8F : 0xBF;
        } else {
            return i;
        }
        if (text.size() - i < length) {
            return i;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            if (k == 1 ? (c < low || c > high) : (c < 0x80 || c > 0xBF)) {
                return i;
            }
        }
        i += length;
    }
    return std::string_view::npos;
}

}  // namespace

std::string SjisToUtf8(std::string_view cp932) {
    std::string out;
    out.reserve(cp932.size() * 3);
    Converter& converter = decoder();
    const char* in = cp932.data();
    std::size_t inLeft = cp932.size();
    while (inLeft > 0) {
        if (converter.valid() && converter.convert(in, inLeft, out) == 0) {
            break;
        }
        // Replace one character: a lead byte with a plausible trail byte counts as one
        // (unassigned) character, so the text after it stays aligned; anything else is one byte.
        const auto b = static_cast<unsigned char>(*in);
        std::size_t skip = 1;
        if (!converter.valid() && b < 0x80) {
            out.push_back(static_cast<char>(b));  // without a converter, ASCII still reads
        } else {
            if (isLeadByte(b) && inLeft >= 2 && isTrailByte(static_cast<unsigned char>(in[1]))) {
                skip = 2;
            }
            out.append(kReplacement);
        }
        in += skip;
        inLeft -= skip;
    }
    return out;
}

SjisEncoding Utf8ToSjis(std::string_view utf8) {
    SjisEncoding result;
    const std::size_t invalid = firstInvalidUtf8(utf8);
    if (invalid != std::string_view::npos) {
        result.error = SjisError::InvalidUtf8;
        result.errorOffset = invalid;
        return result;
    }
    Converter& converter = encoder();
    if (!converter.valid()) {
        result.error = SjisError::Unavailable;
        return result;
    }
    const char* in = utf8.data();
    std::size_t inLeft = utf8.size();
    if (converter.convert(in, inLeft, result.bytes) != 0) {
        // The input is well-formed, so whatever stopped iconv is a character CP932 lacks.
        result.bytes.clear();
        result.error = SjisError::NotEncodable;
        result.errorOffset = static_cast<std::size_t>(in - utf8.data());
    }
    return result;
}

}  // namespace kx
