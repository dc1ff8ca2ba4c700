// Windows' light and dark theme following the sun or two times: the user's values are
// written at the switch, only those that differ, and every window is told only then.
#include "scheduler/theme_switch.h"

#include "platform/clock.h"
#include "platform/reg_key.h"
#include "scheduler/day_schedule.h"
#include "store/product_key.h"
#include "support/clock_values.h"
#include "support/registry_sandbox.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace glimro {
namespace {

int g_color_set_broadcasts = 0;

LRESULT CALLBACK Listener(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_SETTINGCHANGE && lparam &&
        std::wcscmp(reinterpret_cast<const wchar_t*>(lparam), L"ImmersiveColorSet") == 0)
        ++g_color_set_broadcasts;
    return ::DefWindowProcW(window, message, wparam, lparam);
}

class ThemeSwitchTest : public ::testing::Test {
protected:
    test::RegistrySandbox sandbox;
    HWND listener = nullptr;
    TIME_ZONE_INFORMATION europe = test::CentralEurope();

    void SetUp() override {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = Listener;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"GlimroThemeListener";
        ::RegisterClassW(&wc);
        // A top-level window, as every program's that listens for the theme.
        listener = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10,
                                     nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(listener, nullptr);
        g_color_set_broadcasts = 0;
    }
    void TearDown() override { ::DestroyWindow(listener); }
};

constexpr DWORD kMissing = 9;

// Off, nothing is touched; on, the values are written at the switch (missing ones too, the
// Windows one only when asked), only those that differ, and every window told only then.
TEST_F(ThemeSwitchTest, FollowsTheSunAndTheTimesWritingOnlyWhatDiffers) {
    RegKey product;
    ASSERT_EQ(product.Create(HKEY_CURRENT_USER, kProductKey, kProductKeyAccess), ERROR_SUCCESS);
    product.SetText(kLatitudeValue, L"52.37"); // Amsterdam: up at 07:27 on 28 March 2027
    product.SetText(kLongitudeValue, L"4.9");
    Seam<const TIME_ZONE_INFORMATION*()>::Override zone(TimeZoneRules, [&] { return &europe; });
    FollowTheme(ThemeChoice{}, test::LocalTimeAt(2027, 3, 28, 23, 0));
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kPersonalizeKey));

    const ThemeChoice times_apps{kThemeAtTimes, false, 7 * 60, 19 * 60};
    const ThemeChoice sun_apps{kThemeWithSun, false};
    const ThemeChoice sun_all{kThemeWithSun, true};
    const ThemeChoice times_all{kThemeAtTimes, true, 7 * 60 + 30, 19 * 60};
    const ThemeChoice night_owl{kThemeAtTimes, true, 20 * 60, 5 * 60}; // light across midnight
    const struct {
        const char* what;
        ThemeChoice choice;
        SYSTEMTIME at;
        DWORD apps, system;
        int broadcasts;
    } steps[] = {
        {"missing, apps only", times_apps, test::LocalTimeAt(2027, 3, 28, 18, 59), 1, kMissing, 1},
        {"before sunrise, apps only", sun_apps, test::LocalTimeAt(2027, 3, 28, 7, 0), 0, kMissing, 2},
        {"again: already right", sun_apps, test::LocalTimeAt(2027, 3, 28, 7, 10), 0, kMissing, 2},
        {"after sunrise, apps and Windows", sun_all, test::LocalTimeAt(2027, 3, 28, 7, 40), 1, 1, 3},
        {"at the dark time", times_all, test::LocalTimeAt(2027, 3, 28, 19, 0), 0, 0, 4},
        {"a laptop opened at night", times_all, test::LocalTimeAt(2027, 3, 29, 2, 0), 0, 0, 4},
        {"at the light time", times_all, test::LocalTimeAt(2027, 3, 29, 7, 30), 1, 1, 5},
        {"night owl at noon", night_owl, test::LocalTimeAt(2027, 3, 29, 12, 0), 0, 0, 6},
        {"night owl at 02:00", night_owl, test::LocalTimeAt(2027, 3, 30, 2, 0), 1, 1, 7},
        {"off again: left as it is", ThemeChoice{}, test::LocalTimeAt(2027, 3, 30, 12, 0), 1, 1, 7},
    };
    for (const auto& step : steps) {
        FollowTheme(step.choice, step.at);
        const test::StoredValue apps =
            test::ReadStoredValue(HKEY_CURRENT_USER, kPersonalizeKey, kAppsLightValue);
        const test::StoredValue system =
            test::ReadStoredValue(HKEY_CURRENT_USER, kPersonalizeKey, kSystemLightValue);
        EXPECT_EQ(apps.Dword(), step.apps) << step.what;
        EXPECT_EQ(system.exists ? system.Dword() : kMissing, step.system) << step.what;
        EXPECT_EQ(g_color_set_broadcasts, step.broadcasts) << step.what;
    }
    // The next look: a second after the switch, at most an hour away.
    SYSTEMTIME before_dark = test::LocalTimeAt(2027, 3, 28, 18, 59);
    before_dark.wSecond = 30;
    EXPECT_EQ(ThemeAt(times_apps, before_dark).next_ms, 31000u);
    EXPECT_EQ(ThemeAt(night_owl, test::LocalTimeAt(2027, 3, 28, 19, 0)).next_ms, 3600000u);
}

} // namespace
} // namespace glimro
