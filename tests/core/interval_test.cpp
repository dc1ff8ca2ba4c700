#include "core/frequency.h"
#include "core/interval.h"

#include <gtest/gtest.h>

namespace glimro {
namespace {

TEST(CivilDays, RoundTripEveryDayAndStepTheWeekdayFrom1601To2400) {
    const long long first = DaysFromCivil(1601, 1, 1);
    EXPECT_EQ(CivilFromDays(first).day_of_week, 1); // a Monday
    int weekday = 1;
    for (long long days = first; days <= DaysFromCivil(2400, 12, 31); ++days) {
        const CivilTime t = CivilFromDays(days);
        ASSERT_EQ(DaysFromCivil(t.year, t.month, t.day), days);
        ASSERT_EQ(t.day_of_week, weekday);
        weekday = (weekday + 1) % 7;
    }
}

TEST(NextChange, CrossesHourDayMonthAndYearEnds) {
    const auto at = [](int y, int mo, int d, int h, int mi) {
        CivilTime t;
        t.year = y, t.month = mo, t.day = d, t.hour = h, t.minute = mi;
        return t;
    };
    const struct {
        int frequency;
        CivilTime now, next;
    } cases[] = {
        {kEveryMinute, at(2026, 12, 31, 23, 59), at(2027, 1, 1, 0, 0)},
        {kEveryHour, at(2028, 2, 28, 23, 30), at(2028, 2, 29, 0, 0)},
        {kEveryDay, at(2027, 2, 28, 8, 0), at(2027, 3, 1, 0, 0)},
        {kEveryWeek, at(2026, 12, 8, 9, 0), at(2026, 12, 14, 0, 0)},  // Tuesday to Monday
        {kEveryWeek, at(2026, 12, 29, 9, 0), at(2027, 1, 1, 0, 0)},  // the month comes first
        {kSyncToMonth, at(2026, 12, 8, 9, 0), at(2027, 1, 1, 0, 0)},
    };
    for (const auto& c : cases) {
        CivilTime next;
        ASSERT_TRUE(NextChangeTime(c.frequency, c.now, &next)) << c.frequency;
        EXPECT_EQ(DaysFromCivil(next.year, next.month, next.day),
                  DaysFromCivil(c.next.year, c.next.month, c.next.day))
            << c.frequency;
        EXPECT_EQ(next.hour * 60 + next.minute, c.next.hour * 60 + c.next.minute) << c.frequency;
    }
    CivilTime next;
    EXPECT_FALSE(NextChangeTime(6, at(2026, 1, 1, 0, 0), &next));
}

} // namespace
} // namespace glimro
