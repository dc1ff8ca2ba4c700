#include "scheduler/theme_switch.h"

#include "core/day_slots.h"
#include "core/frequency.h"
#include "platform/reg_key.h"
#include "scheduler/day_schedule.h"
#include "store/product_key.h"

#include <algorithm>

namespace glimro {
namespace {

constexpr DWORD kMostDelay = 3600000;

} // namespace

ThemeChoice ReadThemeChoice() {
    ThemeChoice choice;
    const DWORD when = ReadProductNumber(kThemeSwitchValue, kThemeNever);
    choice.when = when == kThemeWithSun || when == kThemeAtTimes ? static_cast<int>(when)
                                                                 : kThemeNever;
    choice.windows_too = ReadProductNumber(kThemeScopeValue, 0) == 1;
    choice.light_at = static_cast<int>(std::min<DWORD>(
        ReadProductNumber(kThemeLightAtValue, static_cast<DWORD>(choice.light_at)), 1439));
    choice.dark_at = static_cast<int>(std::min<DWORD>(
        ReadProductNumber(kThemeDarkAtValue, static_cast<DWORD>(choice.dark_at)), 1439));
    return choice;
}

ThemeMoment ThemeAt(const ThemeChoice& choice, const SYSTEMTIME& t) {
    if (choice.when == kThemeNever)
        return {};
    // The sun's two halves are a Sync to Sun album's two entries: day, then night.
    const Slot slot = choice.when == kThemeWithSun
                          ? SlotAt(kSyncToSun, 2, t)
                          : TwoTimesSlot(choice.light_at, choice.dark_at, MinuteOfDay(t));
    const double ms = (slot.end - MinuteOfDay(t)) * 60000 + 1000;
    return {slot.entry == 0, static_cast<DWORD>(std::clamp(ms, 1000.0, double{kMostDelay}))};
}

DWORD FollowTheme(const ThemeChoice& choice, const SYSTEMTIME& t) {
    if (choice.when == kThemeNever)
        return kMostDelay;
    const ThemeMoment moment = ThemeAt(choice, t);
    const DWORD wanted = moment.light ? 1 : 0;
    RegKey key;
    if (key.Create(HKEY_CURRENT_USER, kPersonalizeKey, KEY_QUERY_VALUE | KEY_SET_VALUE) !=
        ERROR_SUCCESS)
        return moment.next_ms;
    bool changed = false;
    for (const wchar_t* name : {kAppsLightValue, kSystemLightValue}) {
        if (name == kSystemLightValue && !choice.windows_too)
            continue;
        DWORD now = 2; // neither: a missing value is written
        if (key.QueryDword(name, &now) == ERROR_SUCCESS && now == wanted)
            continue;
        changed |= key.SetDword(name, wanted) == ERROR_SUCCESS;
    }
    if (changed)
        ::SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0,
                              reinterpret_cast<LPARAM>(L"ImmersiveColorSet"), SMTO_ABORTIFHUNG,
                              1000, nullptr);
    return moment.next_ms;
}

} // namespace glimro
