#include "core/week.h"

namespace glimro {
namespace {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

constexpr int kDaysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

} // namespace

int WeekOfYear(int year, int month, int day) {
    const bool leap = IsLeapYear(year);
    // Day of the year, 1-based.
    const int d = day + kDaysBeforeMonth[month - 1] + ((leap && month > 2) ? 1 : 0);
    // Weekday of 1 January, Monday = 1 ... Sunday = 7.
    const int yy = (year - 1) % 100;
    const int c = (year - 1) - yy;
    const int j1 = 1 + (5 * ((c / 100) % 4) + yy + yy / 4) % 7;
    // Weekday of the date.
    const int w = 1 + (d + j1 - 2) % 7;

    if (d <= 8 - j1 && j1 > 4) // belongs to the last week of the previous year
        return (j1 == 5 || (j1 == 6 && IsLeapYear(year - 1))) ? 53 : 52;
    if ((leap ? 366 : 365) - d < 4 - w) // belongs to week 1 of the next year
        return 1;
    int week = (d + (7 - w) + (j1 - 1)) / 7;
    return j1 > 4 ? week - 1 : week;
}

} // namespace glimro
