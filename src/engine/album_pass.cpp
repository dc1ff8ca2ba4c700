// One pass over an album: choose the entry, fetch or stage it, make it the wallpaper, log it
// and record the progress in the record.
#include "store/account.h"

#include "engine/image_staging.h"
#include "engine/internet_fetch.h"
#include "engine/shuffle.h"
#include "engine/wallpaper_setter.h"
#include "platform/clock.h"
#include "log/activity_log.h"

namespace glimro {
namespace {

// Set while a pass runs. A download dispatches messages, so a timer tick or a user command
// could otherwise start a second pass inside the first.
bool g_pass_running = false;

class PassGuard {
public:
    PassGuard() { g_pass_running = true; }
    ~PassGuard() { g_pass_running = false; }
    PassGuard(const PassGuard&) = delete;
    PassGuard& operator=(const PassGuard&) = delete;
};

void WritePassEntryStart(LogStream& log) {
    if (!log.IsOpen())
        return;
    log << "***Tembrel Log Entry***";
    log.EndLine();
    log.EndLine();
    WriteTimeLine(log, "Start time: ");
}

void WritePassEntryEnd(LogStream& log) {
    if (log.IsOpen())
        WriteTimeLine(log, "Stop time: ");
}

} // namespace

HRESULT CAccount::ApplyNextImage() {
    return ApplyNext(Mode == kRandom && Frequency != kSyncToMonth);
}

HRESULT CAccount::ApplyNext(bool by_shuffle) {
    if (g_pass_running)
        return kPassAlreadyRunning;
    const int count = static_cast<int>(FileList.size());
    if (count == 0)
        return E_FAIL;

    PassGuard guard;
    int position = LastIndex + 1;
    const SYSTEMTIME now = LocalTime();
    if (by_shuffle) {
        // A new round when the last is used up, or no longer fits an edited list.
        if (ShuffleRound.empty() || !IsValidShuffleRound(ShuffleRound, count)) {
            static std::mt19937 random{std::random_device{}()};
            ShuffleRound = DrawShuffleRound(count, LastIndex, random);
        }
        position = ShuffleRound.front();
    }
    if (Frequency == kSyncToMonth)
        position = now.wMonth - 1;
    if (position >= count || position < 0)
        position = 0;

    const std::wstring entry = FileList[static_cast<size_t>(position)];
    if (!ApplyImage(entry))
        return kPassEmptyEntry;
    if (by_shuffle)
        ShuffleRound.erase(ShuffleRound.begin());
    LastTime = now;
    LastIndex = position;
    LastFile = entry;
    return kPassApplied;
}

HRESULT CAccount::ApplyImageAt(int position) {
    if (g_pass_running)
        return kPassAlreadyRunning;
    LastIndex = position - 1;
    // The entry at that position, whatever the mode.
    return ApplyNext(false);
}

bool CAccount::ApplyImage(const std::wstring& entry) {
    if (entry.empty())
        return false;
    LogStream log = OpenLog(LogMode::Afresh);
    WritePassEntryStart(log);
    if (IsInternetEntry(entry)) {
        // "Initalization" is spelled as users' logs have always shown it.
        log << "\tInitalization started.\n";
        if (SUCCEEDED(DownloadImage(entry, ::GetModuleHandleW(nullptr), log)))
            SetDesktopWallpaper(GetLocalWallpaperPath(), log);
        log << "\tInitalization Completed.\n";
        WritePassEntryEnd(log);
    } else {
        SetDesktopWallpaper(PrepareLocalImage(entry), log);
    }
    return true;
}

} // namespace glimro
