// The sun's times against the almanac's reference table (tests/data/sun-times.tsv), the
// slots of Sync to Day and Sync to Sun, and the coordinates as typed.
#include "core/day_slots.h"
#include "core/interval.h"
#include "core/sun.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace glimro {
namespace {

std::string ReferencePath() {
    std::string root = GLIMRO_SOURCE_DIR;
    if (!root.empty() && root[0] == '/' && std::string(__FILE__).find('\\') != std::string::npos)
        root = "Z:" + root; // the host's tree, seen from Wine
    return root + "/tests/data/sun-times.tsv";
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

TEST(SunSlots, DayEntriesFromSunriseToSunsetTheRestThroughTheNight) {
    const LocalSun normal{SunDay::RisesAndSets, 360, 1080}; // 06:00 to 18:00 each day
    const LocalSun up{SunDay::AlwaysUp}, down{SunDay::AlwaysDown};
    const struct {
        const char* what;
        int entries;
        double minute;
        LocalSun yesterday, today, tomorrow;
        int entry;
        double start, end;
    } cases[] = {
        {"one entry", 1, 100, normal, normal, normal, 0, 0, 1440},
        {"dawn", 4, 360, normal, normal, normal, 0, 360, 720},
        {"afternoon", 4, 900, normal, normal, normal, 1, 720, 1080},
        {"dusk", 4, 1080, normal, normal, normal, 2, 1080, 1440},
        {"after midnight: the second half of the night that began yesterday", 4, 200, normal,
         normal, normal, 3, 0, 360},
        {"before midnight: its first half", 4, 1300, normal, normal, normal, 2, 1080, 1440},
        {"three: two by day, one by night", 3, 1200, normal, normal, normal, 2, 1080, 1800},
        {"polar day: the day entries from midnight", 4, 1000, normal, up, up, 1, 720, 1440},
        {"polar night: the night entries from midnight", 5, 100, down, down, down, 3, 0, 720},
        {"the evening before a polar night ends at midnight", 4, 1300, normal, normal, down,
         3, 1260, 1440},
    };
    for (const auto& c : cases) {
        const LocalSun three[3] = {c.yesterday, c.today, c.tomorrow};
        const Slot slot = SunSlot(c.entries, c.minute, three);
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
        if (c.valid)
            EXPECT_NEAR(value, c.value, 1e-9);
    }
}

} // namespace
} // namespace glimro
