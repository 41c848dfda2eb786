#pragma once

#include <chrono>
#include <string>

namespace kx::sim {

// The adapter's calendar clock. It starts at the host's local time and runs on from whatever
// "date", "time" and "youbi" set. The weekday is kept apart from the date, as the adapter takes
// it as a separate command (0 Sunday .. 6 Saturday), and advances with the days.
class Clock {
public:
    Clock();

    // Each returns false (and changes nothing) for a value out of range or a date that does
    // not exist. Years 1980..2099.
    bool setDate(int year, int month, int day);
    bool setTime(int hour, int minute, int second);
    bool setWeekday(int weekday);

    struct Reading {
        int year, month, day, hour, minute, second, weekday;
    };
    Reading now() const;

    // "date: 2008/03/05\r\ntime: 09:04:07\r\nyoubi: 3\r\n"
    std::string showText() const;

private:
    using Steady = std::chrono::steady_clock;
    // local seconds (as if UTC) at `setAt_`
    std::chrono::sys_seconds base_;
    Steady::time_point setAt_;
    int weekdayOffset_ = 0;  // added to the weekday the date gives

    std::chrono::sys_seconds current() const;
    void rebase(std::chrono::sys_seconds value);
};

}  // namespace kx::sim
