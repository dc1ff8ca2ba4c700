#include "core/interval.h"

#include "core/frequency.h"
#include "core/schedule.h"
#include "core/week.h"

#include <algorithm>

namespace glimro {
namespace {

constexpr long long kMinutesPerDay = kMinutesInDay;

long long Minutes(const CivilTime& t) {
    return MinutesFromCivil(t);
}

CivilTime FromMinutes(long long minutes) {
    return CivilFromMinutes(minutes);
}

CivilTime StartOfNextMonth(const CivilTime& t) {
    return CivilFromDays(
        DaysFromCivil(t.month == 12 ? t.year + 1 : t.year, t.month == 12 ? 1 : t.month + 1, 1));
}

} // namespace

// After Howard Hinnant's days_from_civil: eras of 400 years, March-based years.
long long DaysFromCivil(int year, int month, int day) {
    const long long y = static_cast<long long>(year) - (month <= 2 ? 1 : 0);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long year_of_era = y - era * 400;
    const long long day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 +
                                 day_of_year;
    return era * 146097 + day_of_era - 719468;
}

int DaysInMonth(int year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

CivilTime CivilFromDays(long long days) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long day_of_era = days - era * 146097;
    const long long year_of_era =
        (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const long long day_of_year =
        day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const long long mp = (5 * day_of_year + 2) / 153;
    CivilTime t;
    t.day = static_cast<int>(day_of_year - (153 * mp + 2) / 5 + 1);
    t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    t.year = static_cast<int>(year_of_era + era * 400 + (t.month <= 2 ? 1 : 0));
    const long long weekday = (days - 719468 + 4) % 7; // 1970-01-01 was a Thursday
    t.day_of_week = static_cast<int>(weekday >= 0 ? weekday : weekday + 7);
    return t;
}

bool IsIntervalDue(int frequency, const IntervalMarkers& last, const CivilTime& t) {
    switch (frequency) {
    case kEveryMinute:
        return last.minute != t.minute || last.hour != t.hour;
    case kEveryHour:
        return last.hour != t.hour || last.day != t.day;
    case kEveryDay:
        return last.day != t.day || last.month != t.month;
    case kEveryWeek:
        return last.week != WeekOfYear(t.year, t.month, t.day) || last.month != t.month;
    case kEveryMonth:
    case kSyncToMonth:
        return last.month != t.month;
    default:
        return false;
    }
}

bool NextChangeTime(int frequency, const CivilTime& t, CivilTime* next) {
    const long long now = Minutes(t);
    const long long today = now - t.hour * 60 - t.minute;
    switch (frequency) {
    case kEveryMinute:
        *next = FromMinutes(now + 1);
        return true;
    case kEveryHour:
        *next = FromMinutes(now - t.minute + 60);
        return true;
    case kEveryDay:
        *next = FromMinutes(today + kMinutesPerDay);
        return true;
    case kEveryWeek: {
        const int day_of_week = CivilFromDays(today / kMinutesPerDay).day_of_week;
        const int to_monday = (8 - day_of_week) % 7;
        const long long monday = today + (to_monday == 0 ? 7 : to_monday) * kMinutesPerDay;
        *next = FromMinutes(std::min(monday, Minutes(StartOfNextMonth(t))));
        return true;
    }
    case kEveryMonth:
    case kSyncToMonth:
        *next = StartOfNextMonth(t);
        return true;
    default:
        return false;
    }
}

} // namespace glimro
