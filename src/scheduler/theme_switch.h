#pragma once
// Windows' light and dark theme following the day: with the sun (light from sunrise, dark
// from sunset) or at two chosen times, for the apps alone or for Windows too. Only when the
// user turned it on; turning it off leaves the theme as it is.
#include <windows.h>

namespace glimro {

// Product values. "ThemeSwitch": 0 never (also when missing), 1 with the sun, 2 at the two
// times. "ThemeScope": 0 the apps, 1 the apps and Windows (taskbar, Start). "ThemeLightAt"
// and "ThemeDarkAt": minutes after midnight (missing: 06:00 and 18:00).
inline constexpr wchar_t kThemeSwitchValue[] = L"ThemeSwitch";
inline constexpr wchar_t kThemeScopeValue[] = L"ThemeScope";
inline constexpr wchar_t kThemeLightAtValue[] = L"ThemeLightAt";
inline constexpr wchar_t kThemeDarkAtValue[] = L"ThemeDarkAt";

enum ThemeSwitch : int { kThemeNever = 0, kThemeWithSun = 1, kThemeAtTimes = 2 };

struct ThemeChoice {
    int when = kThemeNever;
    bool windows_too = false;
    int light_at = 6 * 60;
    int dark_at = 18 * 60;
};
ThemeChoice ReadThemeChoice();

// The user's theme values, under HKEY_CURRENT_USER.
inline constexpr wchar_t kPersonalizeKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
inline constexpr wchar_t kAppsLightValue[] = L"AppsUseLightTheme";
inline constexpr wchar_t kSystemLightValue[] = L"SystemUsesLightTheme";

// Whether the theme is light at t, and in how many milliseconds it switches next (a second
// after, at most an hour, so a clock that jumps is caught up).
struct ThemeMoment {
    bool light = true;
    DWORD next_ms = 3600000;
};
ThemeMoment ThemeAt(const ThemeChoice& choice, const SYSTEMTIME& t);

// Makes the user's values what the choice wants at t, writing only those that differ and
// telling every window ("ImmersiveColorSet") only when one did; nothing when the choice is
// never. The delay until the next look.
DWORD FollowTheme(const ThemeChoice& choice, const SYSTEMTIME& t);

} // namespace glimro
