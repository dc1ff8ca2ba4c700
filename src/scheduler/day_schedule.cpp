#include "scheduler/day_schedule.h"

#include "core/interval.h"
#include "core/sun.h"
#include "log/activity_log.h"
#include "platform/clock.h"
#include "platform/reg_key.h"
#include "store/product_key.h"

#include <algorithm>
#include <cmath>

namespace glimro {
namespace {

constexpr double kDay = 1440;

long long DayNumber(const SYSTEMTIME& t) {
    return DaysFromCivil(t.wYear, t.wMonth, t.wDay);
}

double MinuteOfDay(const SYSTEMTIME& t) {
    return t.wHour * 60 + t.wMinute + (t.wSecond + t.wMilliseconds / 1000.0) / 60;
}

SYSTEMTIME CivilDay(long long days) {
    const CivilTime civil = CivilFromDays(days);
    SYSTEMTIME t = {};
    t.wYear = static_cast<WORD>(civil.year);
    t.wMonth = static_cast<WORD>(civil.month);
    t.wDay = static_cast<WORD>(civil.day);
    return t;
}

// The local time `minutes` after 00:00 UTC of the day, in minutes after that day's local
// midnight, as the time zone's rules for that date have it.
double LocalMinutes(long long day, double minutes) {
    SYSTEMTIME utc = CivilDay(day);
    FILETIME file;
    ::SystemTimeToFileTime(&utc, &file);
    ULARGE_INTEGER at;
    at.LowPart = file.dwLowDateTime;
    at.HighPart = file.dwHighDateTime;
    at.QuadPart += static_cast<LONGLONG>(std::llround(minutes * 60)) * 10000000LL;
    file.dwLowDateTime = at.LowPart;
    file.dwHighDateTime = at.HighPart;
    SYSTEMTIME moment = {}, local = {};
    if (!::FileTimeToSystemTime(&file, &moment) ||
        !::SystemTimeToTzSpecificLocalTime(TimeZoneRules(), &moment, &local))
        return minutes;
    return static_cast<double>(DayNumber(local) - day) * kDay + MinuteOfDay(local);
}

LocalSun SunOn(const Place* place, long long day) {
    LocalSun sun; // 06:00 to 18:00 without a place
    if (!place)
        return sun;
    const SYSTEMTIME date = CivilDay(day);
    const SunDay times = SunTimes(place->latitude, place->longitude, date.wYear, date.wMonth, date.wDay);
    sun.kind = times.kind;
    if (times.kind == SunDay::RisesAndSets) {
        sun.sunrise = LocalMinutes(day, times.sunrise);
        sun.sunset = LocalMinutes(day, times.sunset);
    }
    return sun;
}

bool ReadDegrees(const RegKey& key, const wchar_t* name, double limit, double* degrees) {
    std::wstring text;
    return key.QueryText(name, &text) == ERROR_SUCCESS && ParseDegrees(text, limit, degrees);
}

} // namespace

bool ReadPlace(Place* place) {
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, kProductKey, KEY_READ) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, bytes = 0;
    const bool stored = key.QueryInfo(kLatitudeValue, &type, &bytes) == ERROR_SUCCESS ||
                        key.QueryInfo(kLongitudeValue, &type, &bytes) == ERROR_SUCCESS;
    if (!stored)
        return false;
    if (ReadDegrees(key, kLatitudeValue, 90, &place->latitude) &&
        ReadDegrees(key, kLongitudeValue, 180, &place->longitude))
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

bool IsSlotFrequency(int frequency) {
    return frequency == kSyncToDay || frequency == kSyncToSun;
}

Slot SlotAt(int frequency, int entries, const SYSTEMTIME& t) {
    const double minute = MinuteOfDay(t);
    if (frequency == kSyncToDay)
        return DaySlot(entries, minute);
    Place place;
    const Place* where = ReadPlace(&place) ? &place : nullptr;
    const long long today = DayNumber(t);
    const LocalSun days[3] = {SunOn(where, today - 1), SunOn(where, today),
                              SunOn(where, today + 1)};
    return SunSlot(entries, minute, days);
}

bool IsSlotDue(const CAccount& album, const SYSTEMTIME& t) {
    if (album.LastTime.wYear == 0)
        return true;
    const Slot slot = SlotAt(album.Frequency, static_cast<int>(album.FileList.size()), t);
    const double last =
        static_cast<double>(DayNumber(album.LastTime) - DayNumber(t)) * kDay + MinuteOfDay(album.LastTime);
    return last < slot.start || last > MinuteOfDay(t) + 1;
}

DWORD SlotCheckDelay(const CAccount& album, const SYSTEMTIME& t) {
    const Slot slot = SlotAt(album.Frequency, static_cast<int>(album.FileList.size()), t);
    const double ms = (slot.end - MinuteOfDay(t)) * 60000 + 1000;
    return static_cast<DWORD>(std::clamp(ms, 1000.0, 3600000.0));
}

SYSTEMTIME NextSlotChange(const CAccount& album, const SYSTEMTIME& t) {
    const Slot slot = SlotAt(album.Frequency, static_cast<int>(album.FileList.size()), t);
    const long long minutes = DayNumber(t) * 1440 + static_cast<long long>(std::ceil(slot.end - 1e-9));
    SYSTEMTIME next = CivilDay(minutes / 1440);
    const long long within = minutes % 1440;
    next.wHour = static_cast<WORD>(within / 60);
    next.wMinute = static_cast<WORD>(within % 60);
    return next;
}

} // namespace glimro
