#include "scheduler/pass_check.h"

#include "scheduler/interval_markers.h"
#include "core/week.h"

#include <algorithm>
#include "log/activity_log.h"

namespace glimro {
namespace {

void WriteLine(LogStream& log, const char* text) {
    log << text;
    log.EndLine();
}

} // namespace

DWORD NextCheckDelay(int frequency) {
    switch (frequency) {
    case kEveryMinute:
        return 10000;
    case kEveryHour:
        return 60000;
    case kEveryDay:
    case kEveryWeek:
    case kEveryMonth:
    case kSyncToMonth:
        return 3600000;
    default:
        return 60000;
    }
}

bool IsIntervalDue(int frequency, const SYSTEMTIME& t) {
    switch (frequency) {
    case kEveryMinute:
        return ReadIntervalMarker(kLastMinute) != t.wMinute ||
               ReadIntervalMarker(kLastHour) != t.wHour;
    case kEveryHour:
        return ReadIntervalMarker(kLastHour) != t.wHour || ReadIntervalMarker(kLastDay) != t.wDay;
    case kEveryDay:
        return ReadIntervalMarker(kLastDay) != t.wDay || ReadIntervalMarker(kLastMonth) != t.wMonth;
    case kEveryWeek:
        return ReadIntervalMarker(kLastWeek) != WeekOfYear(t.wYear, t.wMonth, t.wDay) ||
               ReadIntervalMarker(kLastMonth) != t.wMonth;
    case kEveryMonth:
    case kSyncToMonth:
        return ReadIntervalMarker(kLastMonth) != t.wMonth;
    default:
        return false;
    }
}

namespace {

constexpr ULONGLONG kTicksPerMinute = 60ULL * 10000000ULL;

ULONGLONG Ticks(const SYSTEMTIME& t) {
    FILETIME file = {};
    ::SystemTimeToFileTime(&t, &file);
    return (static_cast<ULONGLONG>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
}

SYSTEMTIME FromTicks(ULONGLONG ticks) {
    FILETIME file = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME t = {};
    ::FileTimeToSystemTime(&file, &t);
    return t;
}

SYSTEMTIME StartOfDay(const SYSTEMTIME& t) {
    SYSTEMTIME day = t;
    day.wHour = day.wMinute = day.wSecond = day.wMilliseconds = 0;
    return FromTicks(Ticks(day)); // fills in the day of the week
}

SYSTEMTIME StartOfNextMonth(const SYSTEMTIME& t) {
    SYSTEMTIME month = {};
    month.wYear = static_cast<WORD>(t.wMonth == 12 ? t.wYear + 1 : t.wYear);
    month.wMonth = static_cast<WORD>(t.wMonth == 12 ? 1 : t.wMonth + 1);
    month.wDay = 1;
    return FromTicks(Ticks(month));
}

} // namespace

bool NextChangeTime(int frequency, const SYSTEMTIME& t, SYSTEMTIME* next) {
    SYSTEMTIME minute = t;
    minute.wSecond = minute.wMilliseconds = 0;
    const ULONGLONG day_ticks = 24 * 60 * kTicksPerMinute;
    switch (frequency) {
    case kEveryMinute:
        *next = FromTicks(Ticks(minute) + kTicksPerMinute);
        return true;
    case kEveryHour:
        minute.wMinute = 0;
        *next = FromTicks(Ticks(minute) + 60 * kTicksPerMinute);
        return true;
    case kEveryDay:
        *next = FromTicks(Ticks(StartOfDay(t)) + day_ticks);
        return true;
    case kEveryWeek: {
        const SYSTEMTIME today = StartOfDay(t);
        const int to_monday = (8 - today.wDayOfWeek) % 7;
        const ULONGLONG monday = Ticks(today) + (to_monday == 0 ? 7 : to_monday) * day_ticks;
        *next = FromTicks(std::min(monday, Ticks(StartOfNextMonth(t))));
        return true;
    }
    case kEveryMonth:
    case kSyncToMonth:
        *next = StartOfNextMonth(t);
        return true;
    default:
        return false;
    }
}

DWORD RunScheduledPass(const SYSTEMTIME& t, AlbumListHost& albums) {
    BuildLogPath();
    LogStream log = OpenLog(LogMode::Append);
    WriteEntryBanner(log, Banner::Start);

    CAccount* album = albums.FindActiveAlbum();
    if (!album) {
        WriteLine(log, "No active account during this pass... skipping update.");
        WriteEntryBanner(log, Banner::Stop);
        return 60000;
    }
    const DWORD delay = NextCheckDelay(album->Frequency);
    if (!IsIntervalDue(album->Frequency, t)) {
        WriteLine(log, "This pass already ran... skipping update.");
        WriteEntryBanner(log, Banner::Stop);
        return delay;
    }

    log.Close();
    log = OpenLog(LogMode::Afresh);
    WriteEntryBanner(log, Banner::Start);
    // "intreval" is spelled as users' logs have always shown it.
    WriteLine(log, "New intreval... processing Album list.");
    if (albums.RunAlbumPass(album) != -1) {
        albums.RefreshAlbumList();
        albums.SaveAlbumList();
        WriteLine(log, "Album list processed successfully.");
    } else {
        WriteLine(log, "Album list processing failed.");
    }
    WriteEntryBanner(log, Banner::Stop);
    return delay;
}

} // namespace glimro
