#include "core/week.h"

#include <gtest/gtest.h>

namespace glimro {
namespace {

struct Date {
    int year, month, day;
};

// Days since 1970-01-01 of a proleptic Gregorian date (era-based civil-day counting).
long long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int IsoWeekday(long long days) { // Monday = 1 ... Sunday = 7; 1970-01-01 was a Thursday
    long long w = (days + 3) % 7;
    if (w < 0)
        w += 7;
    return static_cast<int>(w) + 1;
}

// The ISO week by its definition: the week (Monday to Sunday) that holds the date's Thursday
// belongs to the Thursday's year and is numbered from the week of that year's 4 January.
int IsoWeekByDefinition(int year, int month, int day) {
    long long days = DaysFromCivil(year, month, day);
    long long thursday = days - IsoWeekday(days) + 4;
    int thursday_year = year;
    if (thursday < DaysFromCivil(year, 1, 1))
        thursday_year = year - 1;
    else if (thursday >= DaysFromCivil(year + 1, 1, 1))
        thursday_year = year + 1;
    return static_cast<int>((thursday - DaysFromCivil(thursday_year, 1, 1)) / 7) + 1;
}

TEST(WeekOfYear, KnownDates) {
    const struct {
        Date date;
        int week;
    } cases[] = {
        {{2005, 1, 1}, 53},   {{2011, 1, 1}, 52},   {{2008, 2, 29}, 9},  {{2008, 3, 2}, 9},
        {{2008, 3, 3}, 10},   {{2008, 12, 29}, 1},  {{2005, 9, 26}, 39}, {{2005, 10, 1}, 39},
        {{2005, 12, 31}, 52}, {{2004, 12, 31}, 53}, {{2010, 1, 3}, 53},  {{2020, 12, 31}, 53},
        {{2021, 1, 1}, 53},   {{2026, 12, 7}, 50},  {{2000, 2, 29}, 9},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WeekOfYear(c.date.year, c.date.month, c.date.day), c.week)
            << c.date.year << "-" << c.date.month << "-" << c.date.day;
}

TEST(WeekOfYear, AgreesWithTheIsoDefinitionOnEveryDateFrom1901To2200) {
    const int days_in_month[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int mismatches = 0;
    for (int year = 1901; year <= 2200; ++year) {
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        for (int month = 1; month <= 12; ++month) {
            const int last = days_in_month[month - 1] + (month == 2 && leap ? 1 : 0);
            for (int day = 1; day <= last; ++day) {
                const int expected = IsoWeekByDefinition(year, month, day);
                if (WeekOfYear(year, month, day) != expected && ++mismatches <= 10)
                    ADD_FAILURE() << year << "-" << month << "-" << day << ": expected week "
                                  << expected << ", got " << WeekOfYear(year, month, day);
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

} // namespace
} // namespace glimro
