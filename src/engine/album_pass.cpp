// One pass over an album: choose the entry, fetch or stage it, make it the wallpaper, log it
// and record the progress in the record.
#include "store/account.h"

#include "core/picture_limits.h"
#include "engine/image_staging.h"
#include "engine/internet_fetch.h"
#include "core/shuffle.h"
#include "engine/wallpaper_setter.h"
#include "platform/clock.h"
#include "log/activity_log.h"
#include "scheduler/interval_markers.h"

#include <algorithm>
#include <new>
#include <vector>

namespace glimro {
namespace {

enum class Outcome {
    Applied,
    EntryFailed,  // this entry could not be used: the next one may do
    SwitchFailed, // the system refused the wallpaper: another entry would fare no better
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

// Why the pass cannot even try an entry; null when it can.
const char* UnusableReason(const ImageEntry& entry, const std::wstring& target) {
    if (!entry.IsText())
        return "not a text value";
    if (target.empty())
        return "empty";
    if (target.size() <= MaxEntryChars(target))
        return nullptr;
    return IsInternetEntry(target) ? "an address longer than 2048 characters"
                                   : "a path longer than 259 characters";
}

Outcome TryEntryOnce(const ImageEntry& entry, LogStream& log) {
    const std::wstring target = entry.Expanded();
    if (const char* reason = UnusableReason(entry, target)) {
        log << "Skipped an entry that cannot be used (" << reason << "): " << LogSafe(entry.Text);
        log.EndLine();
        return Outcome::EntryFailed;
    }
    WritePassEntryStart(log);
    if (IsInternetEntry(target)) {
        // "Initalization" is spelled as users' logs have always shown it.
        log << "\tInitalization started.\n";
        const bool fetched = SUCCEEDED(DownloadImage(target, ::GetModuleHandleW(nullptr), log));
        const bool switched = fetched && SetDesktopWallpaper(GetLocalWallpaperPath(), log);
        log << "\tInitalization Completed.\n";
        WritePassEntryEnd(log);
        return switched ? Outcome::Applied : fetched ? Outcome::SwitchFailed : Outcome::EntryFailed;
    }
    StagingProblem problem = StagingProblem::None;
    const std::wstring path = PrepareLocalImage(target, &problem);
    if (problem == StagingProblem::TooLarge) {
        log << "Skipped a picture larger than Glimro decodes (at most "
            << static_cast<unsigned long>(kMaxPictureSide) << " pixels a side and "
            << static_cast<unsigned long>(kMaxDecodedBytes >> 20)
            << " MB decoded): " << LogSafe(target);
        log.EndLine();
        return Outcome::EntryFailed;
    }
    if (path.empty()) {
        const DWORD code = ::GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES
                               ? ::GetLastError()
                               : static_cast<DWORD>(ERROR_INVALID_DATA);
        ReportError(L"Could not read the picture!\n", LogSafe(target), code, log);
        return Outcome::EntryFailed;
    }
    return SetDesktopWallpaper(path, log) ? Outcome::Applied : Outcome::SwitchFailed;
}

// Memory that runs out while one entry is decoded or fetched fails that entry, never the
// program: the next entry may well do.
Outcome TryEntry(const ImageEntry& entry, LogStream& log) {
    try {
        return TryEntryOnce(entry, log);
    } catch (const std::bad_alloc&) {
        log << "Skipped an entry: not enough memory to use it: " << LogSafe(entry.Text);
        log.EndLine();
        return Outcome::EntryFailed;
    }
}

// first, then the entries after it, each once, wrapping at the end.
std::vector<int> InListOrder(int first, int count) {
    if (first >= count || first < 0)
        first = 0;
    std::vector<int> order;
    order.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        order.push_back((first + i) % count);
    return order;
}

} // namespace

HRESULT CAccount::ApplyNextImage() {
    return ApplyNext(LastIndex + 1, Mode == kRandom && Frequency != kSyncToMonth);
}

HRESULT CAccount::ApplyImageAt(int position) {
    // The entry at that position, whatever the mode.
    return ApplyNext(position, false);
}

HRESULT CAccount::ApplyNext(int first, bool by_shuffle) {
    const int count = static_cast<int>(FileList.size());
    if (count == 0)
        return E_FAIL;

    const SYSTEMTIME now = LocalTime();
    std::vector<int> order;
    if (by_shuffle) {
        // A new round when the last is used up, or no longer fits an edited list.
        if (ShuffleRound.empty() || !IsValidShuffleRound(ShuffleRound, count)) {
            static std::mt19937 random{std::random_device{}()};
            ShuffleRound = DrawShuffleRound(count, LastIndex, random);
        }
        // The round's entries first; the ones it has shown only when none of those works.
        order = ShuffleRound;
        for (int position = 0; position < count; ++position) {
            if (std::find(order.begin(), order.end(), position) == order.end())
                order.push_back(position);
        }
    } else {
        order = InListOrder(Frequency == kSyncToMonth ? now.wMonth - 1 : first, count);
    }

    LogStream log = OpenLog(LogMode::Afresh);
    for (const int position : order) {
        const ImageEntry& entry = FileList[static_cast<size_t>(position)];
        const Outcome outcome = TryEntry(entry, log);
        if (outcome == Outcome::Applied) {
            // A skipped entry keeps its place in the round.
            if (by_shuffle) {
                const auto shown = std::find(ShuffleRound.begin(), ShuffleRound.end(), position);
                if (shown != ShuffleRound.end())
                    ShuffleRound.erase(shown);
            }
            LastTime = now;
            LastIndex = position;
            LastFile = entry.Text;
            return kPassApplied;
        }
        if (outcome == Outcome::SwitchFailed)
            break;
    }
    // Nothing applied: this interval counts as tried, so a dead server or a missing folder
    // is tried again at the next interval, not at every check.
    WriteIntervalMarkers(now);
    return kPassNothingApplied;
}

HRESULT CAccount::ShowEntry(const ImageEntry& entry, int position) {
    LogStream log = OpenLog(LogMode::Afresh);
    if (TryEntry(entry, log) != Outcome::Applied)
        return kPassNothingApplied;
    LastTime = LocalTime();
    LastFile = entry.Text;
    if (position >= 0 && static_cast<size_t>(position) < FileList.size())
        LastIndex = position;
    return kPassApplied;
}

} // namespace glimro
