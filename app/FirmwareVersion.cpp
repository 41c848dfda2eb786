#include "app/FirmwareVersion.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstddef>

#include "link/TextFunctions.h"

namespace kx {

double leadingDecimal(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                               text[i] == '\v' || text[i] == '\f' || text[i] == '\r'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // only digits, one point and an exponent count as a number: no hex, no "inf" or "nan"
    if (i >= text.size() || !(std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == '.'))
        return 0.0;
    double value = 0.0;
    auto [end, ec] = std::from_chars(text.data() + i, text.data() + text.size(), value,
                                     std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // too small to hold reads as 0, as strtod reads it; only a number too large is infinite
        std::string_view digits(text.data() + i, static_cast<size_t>(end - (text.data() + i)));
        size_t e = digits.find_first_of("eE");
        if (e != std::string_view::npos && e + 1 < digits.size() && digits[e + 1] == '-')
            return 0.0;
        return negative ? -HUGE_VAL : HUGE_VAL;
    }
    if (ec != std::errc() || end == text.data() + i)
        return 0.0;
    return negative ? -value : value;
}

bool firmwareAccepted(std::string_view firmwareVersionText, double minimum) {
    int p = FindText(firmwareVersionText, "Version ", 0);
    if (p <= 0)
        return true;
    size_t start = static_cast<size_t>(p - 1) + 8;
    std::string_view number = start <= firmwareVersionText.size()
                                  ? firmwareVersionText.substr(start)
                                  : std::string_view{};
    return !(leadingDecimal(number) < minimum);
}

}  // namespace kx
