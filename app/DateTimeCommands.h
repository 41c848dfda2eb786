#pragma once

#include <array>
#include <functional>
#include <string>

namespace kx {

// The PC's local time as the date and time registration sends it.
struct LocalTime {
    int year = 0;     // e.g. 2008
    int month = 0;    // 1..12
    int day = 0;      // 1..31
    int hour = 0;     // 0..23
    int minute = 0;   // 0..59
    int second = 0;   // 0..60
    int weekday = 0;  // 0 = Sunday .. 6 = Saturday
};

// Where the registration takes the time from; tests give a fixed one.
using Clock = std::function<LocalTime()>;
LocalTime systemLocalTime();

// "date 2008/03/05\r", "time 09:04:07\r", "youbi 3\r", in the order they are sent.
std::array<std::string, 3> dateTimeCommands(const LocalTime& t);

}  // namespace kx
