#include "isdn/Bod.h"

namespace kx {

std::string rateEstimateText(int percent) {
    // percent x 0.08 in hundredths, written without the C library's locale
    const long long hundredths = static_cast<long long>(percent) * 8;
    const long long magnitude = hundredths < 0 ? -hundredths : hundredths;
    const long long cents = magnitude % 100;
    return std::string("約 ") + (hundredths < 0 ? "-" : "") + std::to_string(magnitude / 100) +
           (cents < 10 ? ".0" : ".") + std::to_string(cents) + " kbps";
}

}  // namespace kx
