#include "scheduler/pass_check.h"

#include "scheduler/day_schedule.h"
#include "scheduler/interval_markers.h"
#include "core/interval.h"
#include "core/schedule.h"

#include <algorithm>
#include <string>
#include <utility>
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

namespace {

CivilTime Civil(const SYSTEMTIME& t) {
    CivilTime civil;
    civil.year = t.wYear;
    civil.month = t.wMonth;
    civil.day = t.wDay;
    civil.hour = t.wHour;
    civil.minute = t.wMinute;
    civil.second = t.wSecond;
    return civil;
}

SYSTEMTIME SystemTime(const CivilTime& civil) {
    return SYSTEMTIME{static_cast<WORD>(civil.year), static_cast<WORD>(civil.month),
                      static_cast<WORD>(civil.day_of_week), static_cast<WORD>(civil.day),
                      static_cast<WORD>(civil.hour), static_cast<WORD>(civil.minute), 0, 0};
}

} // namespace

bool IsIntervalDue(int frequency, const SYSTEMTIME& t) {
    return glimro::IsIntervalDue(frequency, ReadIntervalMarkers(), Civil(t));
}

bool IsAlbumDue(const CAlbum& album, const SYSTEMTIME& t) {
    if (IsSlotFrequency(album.Frequency))
        return IsSlotDue(album, t);
    // An album with its own rhythm goes by its own last attempt, with the year: an interval
    // whose pass applied nothing counts as tried.
    const Rhythm rhythm = album.OwnRhythm();
    const SYSTEMTIME& last = album.LastAttempt();
    if (HasOwnRhythm(rhythm))
        return last.wYear == 0 || IsRhythmDue(rhythm, Civil(last), Civil(t));
    return IsIntervalDue(album.Frequency, t);
}

DWORD AlbumCheckDelay(const CAlbum& album, const SYSTEMTIME& t) {
    if (IsSlotFrequency(album.Frequency))
        return SlotCheckDelay(album, t);
    const Rhythm rhythm = album.OwnRhythm();
    const DWORD base = NextCheckDelay(album.Frequency);
    if (!HasOwnRhythm(rhythm))
        return base;
    // A second after the next change, and at most as long as the unit's own checks, so a
    // change that failed is tried again as often as before.
    const long long minutes =
        MinutesFromCivil(NextIntervalStart(rhythm, Civil(t))) - MinutesFromCivil(Civil(t));
    const long long ms = minutes * 60000 - t.wSecond * 1000LL - t.wMilliseconds + 1000;
    return static_cast<DWORD>(std::clamp<long long>(ms, 1000, base));
}

bool NextAlbumChange(const CAlbum& album, const SYSTEMTIME& t, SYSTEMTIME* next) {
    if (IsSlotFrequency(album.Frequency)) {
        *next = NextSlotChange(album, t);
        return true;
    }
    const Rhythm rhythm = album.OwnRhythm();
    if (!HasOwnRhythm(rhythm))
        return NextChangeTime(album.Frequency, t, next);
    *next = SystemTime(NextIntervalStart(rhythm, Civil(t)));
    return true;
}

bool NextChangeTime(int frequency, const SYSTEMTIME& t, SYSTEMTIME* next) {
    CivilTime civil;
    if (!glimro::NextChangeTime(frequency, Civil(t), &civil))
        return false;
    *next = SystemTime(civil);
    return true;
}

DWORD RunScheduledPass(const SYSTEMTIME& t, AlbumListHost& albums) {
    BuildLogPath();
    LogStream log = OpenLog(LogMode::Append);
    // Most checks find nothing to do: their entry goes to the log in one write.
    log.GatherLines();
    WriteEntryBanner(log, Banner::Start);

    CAlbum* album = albums.FindActiveAlbum();
    if (!album) {
        WriteLine(log, "No active account during this pass... skipping update.");
        WriteEntryBanner(log, Banner::Stop);
        return 60000;
    }
    // An album that follows the day or the sun, or its own rhythm, looks again when its
    // slot or interval ends.
    const DWORD delay = AlbumCheckDelay(*album, t);
    if (!IsAlbumDue(*album, t)) {
        WriteLine(log, "This pass already ran... skipping update.");
        WriteEntryBanner(log, Banner::Stop);
        return delay;
    }

    if (const char* reason = albums.HoldReason()) {
        // Nothing is recorded: the first check after the hold makes the change, once.
        albums.ChangeHeld = true;
        WriteLine(log, (std::string("Holding the change while ") + reason + "... waiting.").c_str());
        WriteEntryBanner(log, Banner::Stop);
        return delay < kHeldCheckDelay ? delay : kHeldCheckDelay;
    }

    log.Close();
    log = OpenLog(LogMode::Afresh);
    WriteEntryBanner(log, Banner::Start);
    // "intreval" is spelled as users' logs have always shown it.
    WriteLine(log, "New intreval... processing Album list.");
    // Said after the pass, which starts the log afresh.
    const bool waited = std::exchange(albums.ChangeHeld, false);
    if (albums.RunAlbumPass(album) != -1) {
        if (waited)
            WriteLine(log, "The change waited until the hold ended.");
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
