#include "sim/Clock.h"

#include <cstdio>
#include <ctime>

namespace kx::sim {

using namespace std::chrono;

namespace {

sys_seconds hostLocalTime() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const sys_days day =
        year_month_day{year{local.tm_year + 1900}, month{static_cast<unsigned>(local.tm_mon + 1)},
                       std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
    return day + hours{local.tm_hour} + minutes{local.tm_min} + seconds{local.tm_sec};
}

int naturalWeekday(sys_seconds value) {
    return static_cast<int>(weekday{floor<days>(value)}.c_encoding());
}

}  // namespace

Clock::Clock() {
    rebase(hostLocalTime());
}

sys_seconds Clock::current() const {
    return base_ + duration_cast<seconds>(Steady::now() - setAt_);
}

void Clock::rebase(sys_seconds value) {
    base_ = value;
    setAt_ = Steady::now();
}

bool Clock::setDate(int y, int m, int d) {
    if (y < 1980 || y > 2099 || m < 1 || m > 12 || d < 1 || d > 31)
        return false;
    const year_month_day date{year{y}, month{static_cast<unsigned>(m)},
                              day{static_cast<unsigned>(d)}};
    if (!date.ok())
        return false;
    const sys_seconds now = current();
    const int oldNatural = naturalWeekday(now);
    const auto timeOfDay = now - floor<days>(now);
    rebase(sys_days{date} + timeOfDay);
    // keep the weekday that was set: a new date does not change it by itself
    weekdayOffset_ = ((oldNatural + weekdayOffset_ - naturalWeekday(base_)) % 7 + 7) % 7;
    return true;
}

bool Clock::setTime(int h, int m, int s) {
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59)
        return false;
    const sys_seconds now = current();
    rebase(floor<days>(now) + hours{h} + minutes{m} + seconds{s});
    return true;
}

bool Clock::setWeekday(int w) {
    if (w < 0 || w > 6)
        return false;
    weekdayOffset_ = ((w - naturalWeekday(current())) % 7 + 7) % 7;
    return true;
}

Clock::Reading Clock::now() const {
    const sys_seconds value = current();
    const sys_days day = floor<days>(value);
    const year_month_day date{day};
    const hh_mm_ss<seconds> time{value - day};
    return {static_cast<int>(date.year()),
            static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day())),
            static_cast<int>(time.hours().count()),
            static_cast<int>(time.minutes().count()),
            static_cast<int>(time.seconds().count()),
            (naturalWeekday(value) + weekdayOffset_) % 7};
}

std::string Clock::showText() const {
    const Reading r = now();
    char text[96];
    std::snprintf(text, sizeof text,
                  "date: %04d/%02d/%02d\r\ntime: %02d:%02d:%02d\r\nyoubi: %d\r\n", r.year, r.month,
                  r.day, r.hour, r.minute, r.second, r.weekday);
    return text;
}

}  // namespace kx::sim
