// The sun's times against the almanac's reference table (tests/data/sun-times.tsv) and
// moments on the local clock against an independent ephemeris (tests/data/sun-local.tsv),
// the slots of Sync to Day and Sync to Sun, and the coordinates as typed.
#include "core/day_slots.h"
#include "core/interval.h"
#include "core/sun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace glimro {
namespace {

std::string ReferencePath(const char* name = "sun-times.tsv") {
    std::string root = GLIMRO_SOURCE_DIR;
    if (!root.empty() && root[0] == '/' && std::string(__FILE__).find('\\') != std::string::npos)
        root = "Z:" + root; // the host's tree, seen from Wine
    return root + "/tests/data/" + name;
}

// "2027-01-14T18:59Z" as minutes after 00:00 UTC of the date (y, m, d).
double MinutesAfter(const std::string& moment, int y, int m, int d) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    std::sscanf(moment.c_str(), "%d-%d-%dT%d:%d", &year, &month, &day, &hour, &minute);
    return static_cast<double>(DaysFromCivil(year, month, day) - DaysFromCivil(y, m, d)) * 1440 +
           hour * 60 + minute;
}

TEST(SunTimes, MeetEveryRowOfTheReferenceTableWithinItsTolerance) {
    std::ifstream table(ReferencePath());
    ASSERT_TRUE(table.good()) << ReferencePath();
    int rows = 0;
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string place, date, rise, set;
        double latitude = 0, longitude = 0, tolerance = 0;
        fields >> place >> latitude >> longitude >> date >> rise >> set >> tolerance;
        SCOPED_TRACE(place + " " + date);
        int y = 0, m = 0, d = 0;
        std::sscanf(date.c_str(), "%d-%d-%d", &y, &m, &d);
        const SunDay sun = SunTimes(latitude, longitude, y, m, d);
        ++rows;
        if (rise == "up" || rise == "down") {
            EXPECT_EQ(sun.kind, rise == "up" ? SunDay::AlwaysUp : SunDay::AlwaysDown);
            continue;
        }
        ASSERT_EQ(sun.kind, SunDay::RisesAndSets);
        // The table's minutes are rounded: half a minute more either way.
        EXPECT_NEAR(sun.sunrise, MinutesAfter(rise, y, m, d), tolerance + 0.5);
        EXPECT_NEAR(sun.sunset, MinutesAfter(set, y, m, d), tolerance + 0.5);
    }
    EXPECT_EQ(rows, 20);
}

TEST(DaySlots, DivideTheDayFromMidnight) {
    const struct {
        int entries;
        double minute;
        int entry;
        double start, end;
    } cases[] = {
        {1, 700, 0, 0, 1440},        {2, 719.9, 0, 0, 720},     {2, 720, 1, 720, 1440},
        {3, 480, 1, 480, 960},       {4, 1439.9, 3, 1080, 1440}, {24, 0, 0, 0, 60},
        {24, 60, 1, 60, 120},        {24, 1439, 23, 1380, 1440}, {25, 57.6, 1, 57.6, 115.2},
        {25, 1439.99, 24, 1382.4, 1440},
    };
    for (const auto& c : cases) {
        const Slot slot = DaySlot(c.entries, c.minute);
        EXPECT_EQ(slot.entry, c.entry) << c.entries << " at " << c.minute;
        EXPECT_NEAR(slot.start, c.start, 1e-9) << c.entries << " at " << c.minute;
        EXPECT_NEAR(slot.end, c.end, 1e-9) << c.entries << " at " << c.minute;
    }
}

// "2027-05-06T03:00" as minutes after 1970-01-01 00:00 on the same clock.
double ClockMinutes(const std::string& moment) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    std::sscanf(moment.c_str(), "%d-%d-%dT%d:%d", &year, &month, &day, &hour, &minute);
    return static_cast<double>(DaysFromCivil(year, month, day)) * 1440 + hour * 60 + minute;
}

// Across the date line, with the clock far from the sun's hour and with sunsets after
// midnight: whether the sun is up, which picture of [day, night] shows, and the events
// either side, all on the place's own clock.
TEST(SunSlots, FollowTheSunOnTheLocalClockOnBothSidesOfTheDateLineAndPastMidnight) {
    std::ifstream table(ReferencePath("sun-local.tsv"));
    ASSERT_TRUE(table.good()) << ReferencePath("sun-local.tsv");
    int rows = 0;
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string place, moment, up, last, last_at, next, next_at;
        double latitude = 0, longitude = 0, offset = 0;
        fields >> place >> latitude >> longitude >> offset >> moment >> up >> last >> last_at >>
            next >> next_at;
        SCOPED_TRACE(place + " " + moment);
        ++rows;
        const double tolerance = (std::fabs(latitude) > 60 ? 6 : 2) + 0.5;
        const double clock = ClockMinutes(moment);
        const double midnight = std::floor(clock / 1440) * 1440, minute = clock - midnight;
        const double utc = clock - offset;
        SunEvents sun = SunEventsBetween(latitude, longitude, utc - 3 * 1440, utc + 3 * 1440);
        for (SunEvent& event : sun.events)
            event.at += offset - midnight;
        const auto after = std::upper_bound(
            sun.events.begin(), sun.events.end(), minute,
            [](double m, const SunEvent& e) { return m < e.at; });
        if (last == "none") {
            for (const SunEvent& event : sun.events)
                EXPECT_GT(std::fabs(event.at - minute), 36 * 60);
        } else {
            ASSERT_NE(after, sun.events.begin());
            ASSERT_NE(after, sun.events.end());
            EXPECT_EQ(std::prev(after)->rise, last == "sunrise");
            EXPECT_NEAR(std::prev(after)->at, ClockMinutes(last_at) - midnight, tolerance);
            EXPECT_EQ(after->rise, next == "sunrise");
            EXPECT_NEAR(after->at, ClockMinutes(next_at) - midnight, tolerance);
        }
        EXPECT_EQ(SunSlot(2, minute, sun.events, sun.up_at_start).entry, up == "yes" ? 0 : 1);
    }
    EXPECT_EQ(rows, 21);
}

TEST(SunSlots, DayEntriesFromSunriseToSunsetTheRestThroughTheNight) {
    // Events from two days before to three after: each day's, or none on a polar day.
    constexpr double kNone = -9999;
    const auto days = [](std::initializer_list<std::pair<double, double>> suns) {
        std::vector<SunEvent> events;
        double midnight = -2 * 1440;
        for (const auto& [rise, set] : suns) {
            if (rise > kNone)
                events.push_back({midnight + rise, true});
            if (set > kNone)
                events.push_back({midnight + set, false});
            midnight += 1440;
        }
        return events;
    };
    const std::pair<double, double> normal{360, 1080}, none{kNone, kNone};
    const auto everyday = days({normal, normal, normal, normal, normal, normal});
    const struct {
        const char* what;
        int entries;
        double minute;
        std::vector<SunEvent> events;
        bool up_at_start;
        int entry;
        double start, end;
    } cases[] = {
        {"one entry", 1, 100, everyday, false, 0, 0, 1440},
        {"dawn", 4, 360, everyday, false, 0, 360, 720},
        {"afternoon", 4, 900, everyday, false, 1, 720, 1080},
        {"dusk", 4, 1080, everyday, false, 2, 1080, 1440},
        {"after midnight: the second half of the night that began yesterday", 4, 200, everyday,
         false, 3, 0, 360},
        {"three: two by day, one by night", 3, 1200, everyday, false, 2, 1080, 1800},
        {"polar day: the day entries from midnight", 4, 1000,
         days({normal, {360, kNone}, none, none, none, none}), false, 1, 720, 1440},
        {"polar night: the night entries from midnight", 5, 100, {}, false, 3, 0, 720},
        {"the evening before a polar night ends at midnight", 4, 1300,
         days({normal, normal, normal, none, none, none}), false, 3, 1260, 1440},
        {"the morning after a polar night begins at midnight", 4, 100,
         days({none, none, normal, normal, normal, normal}), false, 2, 0, 180},
    };
    for (const auto& c : cases) {
        const Slot slot = SunSlot(c.entries, c.minute, c.events, c.up_at_start);
        EXPECT_EQ(slot.entry, c.entry) << c.what;
        EXPECT_NEAR(slot.start, c.start, 1e-9) << c.what;
        EXPECT_NEAR(slot.end, c.end, 1e-9) << c.what;
    }
}

TEST(Degrees, AreDecimalWithAPointWithinTheirLimit) {
    const struct {
        const wchar_t* text;
        bool valid;
        double value;
    } cases[] = {
        {L"52.37", true, 52.37}, {L" -33.87 ", true, -33.87}, {L"+4.9", true, 4.9},
        {L"90", true, 90},       {L"90.01", false, 0},        {L"52,37", false, 0},
        {L"1e2", false, 0},      {L"-", false, 0},            {L"1.2.3", false, 0},
    };
    for (const auto& c : cases) {
        double value = 0;
        EXPECT_EQ(ParseDegrees(c.text, 90, &value), c.valid) << static_cast<int>(c.valid);
        if (c.valid) {
            EXPECT_NEAR(value, c.value, 1e-9);
        }
    }
}

} // namespace
} // namespace glimro
