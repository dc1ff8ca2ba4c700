#include "scheduler/day_schedule.h"

#include "core/interval.h"
#include "core/sun.h"
#include "log/activity_log.h"
#include "platform/clock.h"
#include "store/product_key.h"

#include <algorithm>
#include <cmath>

namespace glimro {
namespace {

constexpr double kDay = 1440;

long long DayNumber(const SYSTEMTIME& t) {
    return DaysFromCivil(t.wYear, t.wMonth, t.wDay);
}

SYSTEMTIME CivilDay(long long days) {
    const CivilTime civil = CivilFromDays(days);
    SYSTEMTIME t = {};
    t.wYear = static_cast<WORD>(civil.year);
    t.wMonth = static_cast<WORD>(civil.month);
    t.wDay = static_cast<WORD>(civil.day);
    return t;
}

// A moment in minutes after 1970-01-01 00:00 UTC, in minutes after the local midnight of
// `day`, as the time zone's rules for that date have it.
double LocalMinutes(long long day, double utc_minutes) {
    const double whole = std::floor(utc_minutes);
    const long long utc_day = static_cast<long long>(std::floor(whole / kDay));
    const int within = static_cast<int>(whole - static_cast<double>(utc_day) * kDay);
    SYSTEMTIME utc = CivilDay(utc_day);
    utc.wHour = static_cast<WORD>(within / 60);
    utc.wMinute = static_cast<WORD>(within % 60);
    const double fraction = utc_minutes - whole;
    SYSTEMTIME local = {};
    if (!::SystemTimeToTzSpecificLocalTime(TimeZoneRules(), &utc, &local))
        local = utc;
    return static_cast<double>(DayNumber(local) - day) * kDay + MinuteOfDay(local) + fraction;
}

// The sun's events from two days before `today` to three after, on the local clock. Without
// a place the sun rises at 06:00 and sets at 18:00 every day.
SunEvents SunAround(const Place* place, long long today) {
    SunEvents sun;
    if (!place) {
        for (int k = -2; k <= 3; ++k) {
            sun.events.push_back({k * kDay + 360, true});
            sun.events.push_back({k * kDay + 1080, false});
        }
        return sun;
    }
    // A time zone is never more than 14 hours from UTC: a day more either way covers it.
    const double from = static_cast<double>(today - 3) * kDay;
    const double to = static_cast<double>(today + 5) * kDay;
    sun = SunEventsBetween(place->latitude, place->longitude, from, to);
    for (SunEvent& event : sun.events)
        event.at = LocalMinutes(today, event.at);
    return sun;
}

bool ReadDegrees(const wchar_t* name, double limit, double* degrees) {
    const std::optional<std::wstring> text = ReadProductText(name);
    return text && ParseDegrees(*text, limit, degrees);
}

} // namespace

bool ReadPlace(Place* place) {
    if (!HasProductValue(kLatitudeValue) && !HasProductValue(kLongitudeValue))
        return false;
    if (ReadDegrees(kLatitudeValue, 90, &place->latitude) &&
        ReadDegrees(kLongitudeValue, 180, &place->longitude))
        return true;
    static bool reported = false;
    if (!reported) {
        reported = true;
        BuildLogPath();
        LogStream log = OpenLog(LogMode::Append);
        log << "The stored place (Latitude, Longitude) is no pair of coordinates: Sync to Sun "
               "takes sunrise at 06:00 and sunset at 18:00.";
        log.EndLine();
    }
    return false;
}

double MinuteOfDay(const SYSTEMTIME& t) {
    return t.wHour * 60 + t.wMinute + (t.wSecond + t.wMilliseconds / 1000.0) / 60;
}

bool IsSlotFrequency(int frequency) {
    return frequency == kSyncToDay || frequency == kSyncToSun;
}

Slot SlotAt(int frequency, int entries, const SYSTEMTIME& t) {
    const double minute = MinuteOfDay(t);
    if (frequency == kSyncToDay)
        return DaySlot(entries, minute);
    Place place;
    const Place* where = ReadPlace(&place) ? &place : nullptr;
    const SunEvents sun = SunAround(where, DayNumber(t));
    return SunSlot(entries, minute, sun.events, sun.up_at_start);
}

bool IsSlotDue(const CAlbum& album, const SYSTEMTIME& t) {
    // A slot whose pass applied nothing counts as tried.
    const SYSTEMTIME& attempt = album.LastAttempt();
    if (attempt.wYear == 0)
        return true;
    const Slot slot = SlotAt(album.Frequency, static_cast<int>(album.FileList.size()), t);
    const double last = static_cast<double>(DayNumber(attempt) - DayNumber(t)) * kDay + MinuteOfDay(attempt);
    return last < slot.start || last > MinuteOfDay(t) + 1;
}

DWORD SlotCheckDelay(const CAlbum& album, const SYSTEMTIME& t) {
    const Slot slot = SlotAt(album.Frequency, static_cast<int>(album.FileList.size()), t);
    const double ms = (slot.end - MinuteOfDay(t)) * 60000 + 1000;
    return static_cast<DWORD>(std::clamp(ms, 1000.0, 3600000.0));
}

SYSTEMTIME NextSlotChange(const CAlbum& album, const SYSTEMTIME& t) {
    const Slot slot = SlotAt(album.Frequency, static_cast<int>(album.FileList.size()), t);
    const long long minutes = DayNumber(t) * 1440 + static_cast<long long>(std::ceil(slot.end - 1e-9));
    SYSTEMTIME next = CivilDay(minutes / 1440);
    const long long within = minutes % 1440;
    next.wHour = static_cast<WORD>(within / 60);
    next.wMinute = static_cast<WORD>(within % 60);
    return next;
}

} // namespace glimro
