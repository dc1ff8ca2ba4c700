#include "scheduler/pass_check.h"

#include "scheduler/interval_markers.h"
#include "scheduler/week.h"
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
