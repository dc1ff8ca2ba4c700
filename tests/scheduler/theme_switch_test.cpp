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
    TIME_ZONE_INFORMATION europe = {};

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
        europe.Bias = -60, europe.DaylightBias = -60;
        europe.StandardDate = {0, 10, 0, 5, 3}, europe.DaylightDate = {0, 3, 0, 5, 2};
    }
    void TearDown() override { ::DestroyWindow(listener); }

    static void SetUser(const wchar_t* name, DWORD value) {
        RegKey key;
        ASSERT_EQ(key.Create(HKEY_CURRENT_USER, kPersonalizeKey, KEY_SET_VALUE), ERROR_SUCCESS);
        key.SetDword(name, value);
    }
    static test::StoredValue User(const wchar_t* name) {
        return test::ReadStoredValue(HKEY_CURRENT_USER, kPersonalizeKey, name);
    }
};

TEST_F(ThemeSwitchTest, FollowsTheSunAndTheTimesWritingOnlyWhatDiffers) {
    RegKey product;
    ASSERT_EQ(product.Create(HKEY_CURRENT_USER, kProductKey, kProductKeyAccess), ERROR_SUCCESS);
    product.SetText(kLatitudeValue, L"52.37"); // Amsterdam: up at 07:27 on 28 March 2027
    product.SetText(kLongitudeValue, L"4.9");
    Seam<const TIME_ZONE_INFORMATION*()>::Override zone(TimeZoneRules, [&] { return &europe; });
    SetUser(kAppsLightValue, 1);
    SetUser(kSystemLightValue, 1);

    ThemeChoice never;
    ThemeChoice sun_apps{kThemeWithSun, false};
    ThemeChoice sun_all{kThemeWithSun, true};
    ThemeChoice times_all{kThemeAtTimes, true, 7 * 60 + 30, 19 * 60};
    const struct {
        const char* what;
        ThemeChoice choice;
        SYSTEMTIME at;
        DWORD apps, system;
        int broadcasts;
    } steps[] = {
        {"off: left as it is", never, test::LocalTimeAt(2027, 3, 28, 3, 0), 1, 1, 0},
        {"before sunrise, apps only", sun_apps, test::LocalTimeAt(2027, 3, 28, 7, 0), 0, 1, 1},
        {"again: already right", sun_apps, test::LocalTimeAt(2027, 3, 28, 7, 10), 0, 1, 1},
        {"after sunrise, apps and Windows", sun_all, test::LocalTimeAt(2027, 3, 28, 7, 40), 1, 1, 2},
        {"at the dark time", times_all, test::LocalTimeAt(2027, 3, 28, 19, 0), 0, 0, 3},
        {"a laptop opened at night", times_all, test::LocalTimeAt(2027, 3, 29, 2, 0), 0, 0, 3},
        {"at the light time", times_all, test::LocalTimeAt(2027, 3, 29, 7, 30), 1, 1, 4},
    };
    for (const auto& step : steps) {
        FollowTheme(step.choice, step.at);
        EXPECT_EQ(User(kAppsLightValue).Dword(), step.apps) << step.what;
        EXPECT_EQ(User(kSystemLightValue).Dword(), step.system) << step.what;
        EXPECT_EQ(g_color_set_broadcasts, step.broadcasts) << step.what;
    }
}

TEST_F(ThemeSwitchTest, NeverTouchesTheValuesWhenOffAndLooksAgainASecondAfterTheSwitch) {
    FollowTheme(ThemeChoice{}, test::LocalTimeAt(2027, 3, 28, 23, 0));
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kPersonalizeKey));
    EXPECT_EQ(g_color_set_broadcasts, 0);
    // Missing values are written, and only the apps' without Windows.
    SYSTEMTIME before_dark = test::LocalTimeAt(2027, 3, 28, 18, 59);
    before_dark.wSecond = 30;
    EXPECT_EQ(FollowTheme(ThemeChoice{kThemeAtTimes, false, 7 * 60, 19 * 60}, before_dark), 31000u);
    EXPECT_EQ(User(kAppsLightValue).Dword(), 1u);
    EXPECT_FALSE(User(kSystemLightValue).exists);
    // Across midnight: light from 20:00 to 05:00.
    const ThemeChoice night_owl{kThemeAtTimes, false, 20 * 60, 5 * 60};
    EXPECT_TRUE(ThemeAt(night_owl, test::LocalTimeAt(2027, 3, 28, 2, 0)).light);
    EXPECT_FALSE(ThemeAt(night_owl, test::LocalTimeAt(2027, 3, 28, 12, 0)).light);
    EXPECT_EQ(ThemeAt(night_owl, test::LocalTimeAt(2027, 3, 28, 19, 0)).next_ms, 3600000u);
}

// What the Options window stores comes back as the choice; what is out of range is not used.
TEST_F(ThemeSwitchTest, TheStoredChoiceReadsBackAndUnknownValuesMeanNever) {
    EXPECT_EQ(ReadThemeChoice().when, kThemeNever);
    WriteProductNumber(kThemeSwitchValue, kThemeAtTimes);
    WriteProductNumber(kThemeScopeValue, 1);
    WriteProductNumber(kThemeLightAtValue, 8 * 60);
    WriteProductNumber(kThemeDarkAtValue, 5000);
    const ThemeChoice choice = ReadThemeChoice();
    EXPECT_EQ(choice.when, kThemeAtTimes);
    EXPECT_TRUE(choice.windows_too);
    EXPECT_EQ(choice.light_at, 8 * 60);
    EXPECT_EQ(choice.dark_at, 1439);
    WriteProductNumber(kThemeSwitchValue, 7);
    EXPECT_EQ(ReadThemeChoice().when, kThemeNever);
}

} // namespace
} // namespace glimro
