// Sync to Sun with the user's place and the time zone's rules: the sunrise of a day when the
// clocks change is on that day's clock, in the north and in the south, and the sun is the
// place's across the date line and past midnight.
#include "scheduler/day_schedule.h"

#include "platform/clock.h"
#include "store/product_key.h"
#include "support/clock_values.h"
#include "support/registry_sandbox.h"

#include <gtest/gtest.h>

namespace glimro {
namespace {

void StorePlace(const wchar_t* latitude, const wchar_t* longitude) {
    RegKey product;
    ASSERT_EQ(product.Create(HKEY_CURRENT_USER, kProductKey, kProductKeyAccess), ERROR_SUCCESS);
    product.SetText(kLatitudeValue, latitude);
    product.SetText(kLongitudeValue, longitude);
}

TEST(SyncToSun, TakesTheSunriseOnTheClockOfTheDaysTheClocksChange) {
    test::RegistrySandbox sandbox;
    // Central Europe (last Sundays of March and October) and Sydney (first Sundays of
    // October and April).
    TIME_ZONE_INFORMATION europe = test::CentralEurope(), sydney = {}, apia = {}, alaska = {};
    sydney.Bias = -600, sydney.DaylightBias = -60;
    sydney.StandardDate = {0, 4, 0, 1, 3, 0, 0, 0}, sydney.DaylightDate = {0, 10, 0, 1, 2, 0, 0, 0};
    // Across the date line from its longitude, and summer time far from the sun's hour.
    apia.Bias = -780, alaska.Bias = 480;
    const struct {
        const char* what;
        const wchar_t *latitude, *longitude;
        const TIME_ZONE_INFORMATION* zone;
        SYSTEMTIME at;
        int entry; // of two: 0 by day, 1 by night
    } cases[] = {
        {"Amsterdam, the Saturday: up at 06:29", L"52.37", L"4.9", &europe,
         test::LocalTimeAt(2027, 3, 27, 6, 50), 0},
        {"Amsterdam, summer time: up at 07:27", L"52.37", L"4.9", &europe,
         test::LocalTimeAt(2027, 3, 28, 6, 50), 1},
        {"Sydney, the Saturday, still summer time: up at 07:14", L"-33.87", L"151.21", &sydney,
         test::LocalTimeAt(2027, 4, 3, 6, 40), 1},
        {"Sydney, standard time: up at 06:15", L"-33.87", L"151.21", &sydney,
         test::LocalTimeAt(2027, 4, 4, 6, 40), 0},
        {"Apia, noon: up from 06:37", L"-13.83", L"-171.76", &apia,
         test::LocalTimeAt(2027, 5, 6, 12, 0), 0},
        {"Apia, 20:00: down since 18:11", L"-13.83", L"-171.76", &apia,
         test::LocalTimeAt(2027, 5, 6, 20, 0), 1},
        {"Fairbanks, 00:30: up until 00:48", L"64.84", L"-147.72", &alaska,
         test::LocalTimeAt(2027, 6, 22, 0, 30), 0},
    };
    for (const auto& c : cases) {
        StorePlace(c.latitude, c.longitude);
        Seam<const TIME_ZONE_INFORMATION*()>::Override zone(TimeZoneRules, [&] { return c.zone; });
        EXPECT_EQ(SlotAt(kSyncToSun, 2, c.at).entry, c.entry) << c.what;
    }
    // No place, or one that is no coordinate: the sun rises at 06:00 and sets at 18:00.
    for (const wchar_t* latitude : {L"", L"52,37"}) {
        StorePlace(latitude, L"4.9");
        EXPECT_EQ(SlotAt(kSyncToSun, 2, test::LocalTimeAt(2027, 6, 21, 5, 59)).entry, 1);
        EXPECT_EQ(SlotAt(kSyncToSun, 2, test::LocalTimeAt(2027, 6, 21, 6, 0)).entry, 0);
        EXPECT_EQ(SlotAt(kSyncToSun, 2, test::LocalTimeAt(2027, 6, 21, 18, 0)).entry, 1);
    }
}

} // namespace
} // namespace glimro
