#include "app/DateTimeCommands.h"

#include <ctime>

namespace kx {

LocalTime systemLocalTime() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
            tm.tm_min,         tm.tm_sec,     tm.tm_wday};
}

namespace {

// The adapter takes month, day and the clock fields as exactly two digits.
std::string twoDigits(int v) {
    std::string s = "00" + std::to_string(v);
    return s.substr(s.size() - 2);
}

}  // namespace

std::array<std::string, 3> dateTimeCommands(const LocalTime& t) {
    return {
        "date " + std::to_string(t.year) + "/" + twoDigits(t.month) + "/" + twoDigits(t.day) + "\r",
        "time " + twoDigits(t.hour) + ":" + twoDigits(t.minute) + ":" + twoDigits(t.second) + "\r",
        "youbi " + std::to_string(t.weekday) + "\r",
    };
}

}  // namespace kx
