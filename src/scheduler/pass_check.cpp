#include "scheduler/pass_check.h"

#include "scheduler/day_schedule.h"
#include "scheduler/interval_markers.h"
#include "core/interval.h"

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

} // namespace

bool IsIntervalDue(int frequency, const SYSTEMTIME& t) {
    return glimro::IsIntervalDue(frequency, ReadIntervalMarkers(), Civil(t));
}

bool NextChangeTime(int frequency, const SYSTEMTIME& t, SYSTEMTIME* next) {
    CivilTime civil;
    if (!glimro::NextChangeTime(frequency, Civil(t), &civil))
        return false;
    *next = SYSTEMTIME{static_cast<WORD>(civil.year), static_cast<WORD>(civil.month),
                       static_cast<WORD>(civil.day_of_week), static_cast<WORD>(civil.day),
                       static_cast<WORD>(civil.hour), static_cast<WORD>(civil.minute), 0, 0};
    return true;
}

DWORD RunScheduledPass(const SYSTEMTIME& t, AlbumListHost& albums) {
    BuildLogPath();
    LogStream log = OpenLog(LogMode::Append);
    // Most checks find nothing to do: their entry goes to the log in one write.
    log.GatherLines();
    WriteEntryBanner(log, Banner::Start);

    CAccount* album = albums.FindActiveAlbum();
    if (!album) {
        WriteLine(log, "No active account during this pass... skipping update.");
        WriteEntryBanner(log, Banner::Stop);
        return 60000;
    }
    // An album that follows the day or the sun looks again when its slot ends.
    const bool slots = IsSlotFrequency(album->Frequency);
    const DWORD delay = slots ? SlotCheckDelay(*album, t) : NextCheckDelay(album->Frequency);
    if (!(slots ? IsSlotDue(*album, t) : IsIntervalDue(album->Frequency, t))) {
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
