#include "ui/album_row.h"

#include "scheduler/day_schedule.h"
#include "scheduler/pass_check.h"
#include "platform/window.h"
#include "resource.h"
#include "store/album_set.h"

#include <cwchar>

namespace glimro {

std::wstring LastRunText(const SYSTEMTIME& time) {
    if (time.wYear == 0)
        return LoadResourceString(IDS_NEVER_RUN);
    constexpr int kFormatChars = 100;
    wchar_t date[kFormatChars] = {};
    wchar_t clock[kFormatChars] = {};
    // In the user's own date and time forms: a 12-hour clock with two-digit hours, as the list
    // has always shown it, or the locale's own 24-hour clock.
    wchar_t format[kFormatChars] = {};
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, format, kFormatChars);
    const bool twelve_hours = std::wcschr(format, L't') != nullptr;
    ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, kFormatChars);
    ::GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &time, twelve_hours ? L"hh':'mm tt" : nullptr, clock,
                     kFormatChars);
    return ResourceText(IDS_LAST_RUN_AT, {date, clock});
}

std::vector<std::wstring> AlbumRowTexts(const CAlbum& album, const SYSTEMTIME& now) {
    std::wstring last_run = LastRunText(album.LastTime);
    // An album that follows the day or the sun, or its own rhythm, says when it changes
    // next: the time, with the date when that is another day.
    SYSTEMTIME next = {};
    if ((IsSlotFrequency(album.Frequency) || HasOwnRhythm(album.OwnRhythm())) &&
        NextAlbumChange(album, now, &next)) {
        wchar_t clock[64] = {}, date[64] = {};
        ::GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &next, nullptr, clock, 64);
        const bool today =
            next.wYear == now.wYear && next.wMonth == now.wMonth && next.wDay == now.wDay;
        if (!today)
            ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &next, nullptr, date, 64);
        last_run += ResourceText(IDS_NEXT_CHANGE_IN_ROW, {today ? std::wstring(clock) : date + std::wstring(L" ") + clock});
    }
    return {DisplayText(album), album.Description, last_run, album.LastFile};
}

} // namespace glimro
