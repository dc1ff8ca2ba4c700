#include "core/frequency.h"
#include "core/schedule.h"

#include <gtest/gtest.h>

#include <string>

namespace glimro {
namespace {

CivilTime At(int y, int mo, int d, int h, int mi) {
    CivilTime t;
    t.year = y, t.month = mo, t.day = d, t.hour = h, t.minute = mi;
    return t;
}

std::string Text(const CivilTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute);
    return text;
}

constexpr int kDay = kMinutesInDay;

// Where each interval begins and the next one, over the units, N, the chosen time and day,
// and the boundaries: the short last interval of a day, month ends, leap days, year ends,
// the fixed date the grids of days and weeks count from, and stored values out of range.
TEST(Rhythm, IntervalsLieOnTheClockAndTheCalendar) {
    const struct {
        const char* what;
        Rhythm rhythm;
        CivilTime now, start, next;
    } cases[] = {
        {"15 minutes", {kEveryMinute, 15, 0}, At(2026, 12, 9, 10, 7), At(2026, 12, 9, 10, 0),
         At(2026, 12, 9, 10, 15)},
        {"15 minutes, year end", {kEveryMinute, 15, 0}, At(2026, 12, 31, 23, 50),
         At(2026, 12, 31, 23, 45), At(2027, 1, 1, 0, 0)},
        {"7 minutes: the day's last is short", {kEveryMinute, 7, 0}, At(2026, 12, 9, 23, 56),
         At(2026, 12, 9, 23, 55), At(2026, 12, 10, 0, 0)},
        {"10 minutes at :05, before the first", {kEveryMinute, 10, 5}, At(2026, 12, 9, 0, 3),
         At(2026, 12, 8, 23, 55), At(2026, 12, 9, 0, 5)},
        {"2 hours", {kEveryHour, 2, 0}, At(2026, 12, 9, 13, 30), At(2026, 12, 9, 12, 0),
         At(2026, 12, 9, 14, 0)},
        {"2 hours at 07:30", {kEveryHour, 2, 7 * 60 + 30}, At(2026, 12, 9, 0, 10),
         At(2026, 12, 8, 23, 30), At(2026, 12, 9, 1, 30)},
        {"5 hours: the day's last is short", {kEveryHour, 5, 0}, At(2026, 12, 9, 23, 0),
         At(2026, 12, 9, 20, 0), At(2026, 12, 10, 0, 0)},
        {"30 hours, from the fixed date", {kEveryHour, 30, 0}, At(2026, 12, 9, 10, 0),
         At(2026, 12, 8, 12, 0), At(2026, 12, 9, 18, 0)},
        {"a day at 07:30, before it", {kEveryDay, 1, 7 * 60 + 30}, At(2026, 12, 9, 7, 29),
         At(2026, 12, 8, 7, 30), At(2026, 12, 9, 7, 30)},
        {"a day at 07:30, on it", {kEveryDay, 1, 7 * 60 + 30}, At(2026, 12, 9, 7, 30),
         At(2026, 12, 9, 7, 30), At(2026, 12, 10, 7, 30)},
        {"3 days, from the fixed date", {kEveryDay, 3, 0}, At(2026, 12, 9, 10, 0),
         At(2026, 12, 7, 0, 0), At(2026, 12, 10, 0, 0)},
        {"3 days, the first of the grid", {kEveryDay, 3, 0}, At(2001, 1, 3, 23, 59),
         At(2001, 1, 1, 0, 0), At(2001, 1, 4, 0, 0)},
        {"a week on Sunday 20:00", {kEveryWeek, 1, 6 * kDay + 20 * 60}, At(2026, 12, 9, 10, 0),
         At(2026, 12, 6, 20, 0), At(2026, 12, 13, 20, 0)},
        {"2 weeks on Wednesday 09:00", {kEveryWeek, 2, 2 * kDay + 9 * 60},
         At(2026, 12, 9, 10, 0), At(2026, 12, 2, 9, 0), At(2026, 12, 16, 9, 0)},
        {"a month on the 31st, February", {kEveryMonth, 1, 30 * kDay + 8 * 60},
         At(2027, 2, 15, 12, 0), At(2027, 1, 31, 8, 0), At(2027, 2, 28, 8, 0)},
        {"a month on the 31st, leap day", {kEveryMonth, 1, 30 * kDay + 8 * 60},
         At(2028, 2, 29, 9, 0), At(2028, 2, 29, 8, 0), At(2028, 3, 31, 8, 0)},
        {"3 months on the 1st", {kEveryMonth, 3, 0}, At(2026, 12, 9, 10, 0),
         At(2026, 10, 1, 0, 0), At(2027, 1, 1, 0, 0)},
        {"12 months on 15 January, before it", {kEveryMonth, 12, 14 * kDay},
         At(2027, 1, 14, 23, 59), At(2026, 1, 15, 0, 0), At(2027, 1, 15, 0, 0)},
        // Stored values out of range are used within it.
        {"0 minutes: every minute", {kEveryMinute, 0, 0}, At(2026, 12, 9, 10, 7),
         At(2026, 12, 9, 10, 7), At(2026, 12, 9, 10, 8)},
        {"5,000 minutes: once a day", {kEveryMinute, 5000, 0}, At(2026, 12, 9, 10, 7),
         At(2026, 12, 9, 0, 0), At(2026, 12, 10, 0, 0)},
        {"the 10th weekday: Sunday", {kEveryWeek, 1, 9 * kDay + 20 * 60}, At(2026, 12, 9, 10, 0),
         At(2026, 12, 6, 20, 0), At(2026, 12, 13, 20, 0)},
        {"a day for a daily album: its time only", {kEveryDay, 1, 3 * kDay + 60},
         At(2026, 12, 9, 0, 30), At(2026, 12, 8, 1, 0), At(2026, 12, 9, 1, 0)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Text(CivilFromMinutes(IntervalStartMinutes(c.rhythm, c.now))), Text(c.start))
            << c.what;
        EXPECT_EQ(Text(NextIntervalStart(c.rhythm, c.now)), Text(c.next)) << c.what;
        // The next interval begins where it says.
        EXPECT_EQ(Text(CivilFromMinutes(IntervalStartMinutes(c.rhythm, c.next))), Text(c.next))
            << c.what;
    }
}

// Due once in a new interval however many were missed, never twice in one, and when the clock
// went back to another interval; the clocks' changes are jumps of the local clock.
TEST(Rhythm, IsDueOnceInEachNewInterval) {
    const Rhythm quarter{kEveryMinute, 15, 0};
    const Rhythm morning{kEveryDay, 1, 7 * 60 + 30};
    const struct {
        const char* what;
        Rhythm rhythm;
        CivilTime last, now;
        bool due;
    } cases[] = {
        {"same quarter", quarter, At(2026, 12, 9, 10, 0), At(2026, 12, 9, 10, 14), false},
        {"next quarter", quarter, At(2026, 12, 9, 10, 0), At(2026, 12, 9, 10, 15), true},
        {"clock put back", quarter, At(2026, 12, 9, 10, 20), At(2026, 12, 9, 10, 5), true},
        {"clock put back within it", quarter, At(2026, 12, 9, 10, 20), At(2026, 12, 9, 10, 16),
         false},
        {"spring forward 02:00 to 03:00", quarter, At(2027, 3, 28, 1, 45), At(2027, 3, 28, 3, 0),
         true},
        {"fall back 02:00 to 01:00", quarter, At(2027, 10, 31, 1, 50), At(2027, 10, 31, 1, 5),
         true},
        {"resumed before the morning", morning, At(2026, 12, 8, 22, 0), At(2026, 12, 9, 7, 0),
         false},
        {"resumed after the morning", morning, At(2026, 12, 8, 22, 0), At(2026, 12, 9, 8, 10),
         true},
        {"off for a week", morning, At(2026, 12, 1, 8, 0), At(2026, 12, 9, 8, 0), true},
        {"a year on, same day and time", {kEveryDay, 1, 60}, At(2025, 12, 9, 1, 0),
         At(2026, 12, 9, 1, 30), true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsRhythmDue(c.rhythm, c.last, c.now), c.due) << c.what;
}

} // namespace
} // namespace glimro
