#pragma once
// Moments for tests to give the clock seams.
#include <windows.h>

#include <ctime>

namespace glimro::test {

inline SYSTEMTIME LocalTimeAt(WORD year, WORD month, WORD day, WORD hour, WORD minute,
                              WORD second = 0, WORD day_of_week = 0) {
    SYSTEMTIME t = {};
    t.wYear = year;
    t.wMonth = month;
    t.wDayOfWeek = day_of_week;
    t.wDay = day;
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    return t;
}

// Central Europe's rules: an hour east of UTC, summer time from the last Sunday of March to
// the last of October.
inline TIME_ZONE_INFORMATION CentralEurope() {
    TIME_ZONE_INFORMATION europe = {};
    europe.Bias = -60, europe.DaylightBias = -60;
    europe.StandardDate = {0, 10, 0, 5, 3, 0, 0, 0};
    europe.DaylightDate = {0, 3, 0, 5, 2, 0, 0, 0};
    return europe;
}

// The calendar time of a local date and time.
inline std::time_t CalendarTimeAt(int year, int month, int day, int hour, int minute, int second) {
    std::tm t = {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

} // namespace glimro::test
