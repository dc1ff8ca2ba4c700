// One pass over an album: choose the entry, fetch or stage it, make it the wallpaper, log it
// and record the progress in the record.
#include "store/account.h"

#include "core/picture_limits.h"
#include "engine/entry_judge.h"
#include "engine/folder_pictures.h"
#include "engine/monitor_wallpaper.h"
#include "platform/module.h"
#include "engine/image_staging.h"
#include "engine/internet_fetch.h"
#include "core/shuffle.h"
#include "engine/shuffle_random.h"
#include "engine/wallpaper_setter.h"
#include "platform/atomic_file.h"
#include "platform/clock.h"
#include "log/activity_log.h"
#include "scheduler/day_schedule.h"
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

// Whether the pass cannot even try an entry: then the log says why.
bool ReportIfUnusable(const ImageEntry& entry, const std::wstring& target, LogStream& log) {
    const EntryProblem problem = entry.IsText() ? CheckStoredEntry(target) : EntryProblem::None;
    if (entry.IsText() && problem == EntryProblem::None)
        return false;
    const std::wstring reason = !entry.IsText()                 ? L"not a text value"
                                : problem == EntryProblem::Empty ? L"empty"
                                                                 : TooLongText(target);
    log << "Skipped an entry that cannot be used (" << reason << "): " << LogSafe(entry.Text);
    log.EndLine();
    return true;
}

// One report for a local picture that cannot go to the desktop: too large, or unreadable
// (missing, or not a picture).
void ReportUnusablePicture(const std::wstring& target, StagingProblem problem, LogStream& log) {
    if (problem == StagingProblem::TooLarge) {
        log << "Skipped a picture larger than Glimro decodes (at most "
            << static_cast<unsigned long>(kMaxPictureSide) << " pixels a side and "
            << static_cast<unsigned long>(kMaxDecodedBytes >> 20)
            << " MB decoded): " << LogSafe(target);
        log.EndLine();
        return;
    }
    const DWORD code = ::GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES
                           ? ::GetLastError()
                           : static_cast<DWORD>(ERROR_INVALID_DATA);
    ReportError(L"Could not read the picture!\n", LogSafe(target), code, log);
}

// A picture on disk staged for the screen and the album's position, then given to the
// desktop; a downloaded one goes the same way from the local wallpaper file.
Outcome StageAndSet(const std::wstring& picture, int position, LogStream& log) {
    StagingProblem problem = StagingProblem::None;
    const std::wstring path = PrepareLocalImage(picture, &problem, SupportedPosition(position));
    if (path.empty()) {
        ReportUnusablePicture(picture, problem, log);
        return Outcome::EntryFailed;
    }
    return SetDesktopWallpaper(path, log, position) ? Outcome::Applied : Outcome::SwitchFailed;
}

Outcome TryEntryOnce(const ImageEntry& entry, int position, LogStream& log) {
    const std::wstring target = entry.Expanded();
    if (ReportIfUnusable(entry, target, log))
        return Outcome::EntryFailed;
    WritePassEntryStart(log);
    if (!IsInternetEntry(target))
        return StageAndSet(target, position, log);
    // "Initalization" is spelled as users' logs have always shown it.
    log << "\tInitalization started.\n";
    const bool fetched = SUCCEEDED(DownloadImage(target, ::GetModuleHandleW(nullptr), log));
    const Outcome outcome =
        fetched ? StageAndSet(GetLocalWallpaperPath(), position, log) : Outcome::EntryFailed;
    log << "\tInitalization Completed.\n";
    WritePassEntryEnd(log);
    return outcome;
}

// Memory that runs out while one entry is decoded or fetched fails that entry, never the
// program: the next entry may well do.
Outcome TryEntry(const ImageEntry& entry, int position, LogStream& log) {
    try {
        return TryEntryOnce(entry, position, log);
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

// One picture the album stands for: a file entry, or a picture of a folder entry.
struct Candidate {
    int entry;         // its entry's position in FileList
    ImageEntry image;  // what is tried
    bool in_folder;
};

// The album's pictures with every folder entry expanded in place, read afresh. A folder that
// holds no picture is reported once and stands for nothing.
std::vector<Candidate> Expand(const std::vector<ImageEntry>& entries, bool* any_folder,
                              LogStream& log) {
    std::vector<Candidate> candidates;
    *any_folder = false;
    for (size_t i = 0; i < entries.size(); ++i) {
        const int entry = static_cast<int>(i);
        const std::wstring target = entries[i].IsText() ? entries[i].Expanded() : L"";
        if (!IsFolderEntry(target)) {
            candidates.push_back({entry, entries[i], false});
            continue;
        }
        *any_folder = true;
        const std::vector<std::wstring> pictures = FolderPictures(target);
        if (pictures.empty()) {
            log << "Skipped a folder that holds no picture: " << LogSafe(target);
            log.EndLine();
        }
        for (const std::wstring& picture : pictures)
            candidates.push_back({entry, ImageEntry(picture), true});
    }
    return candidates;
}

// The first candidate of the entry at or after `entry`; 0 past the end.
int FirstOfEntry(const std::vector<Candidate>& candidates, int entry) {
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (candidates[i].entry >= entry)
            return static_cast<int>(i);
    }
    return 0;
}

// A fingerprint of the pictures a shuffle round is drawn over (FNV-1a of their paths).
uint32_t Fingerprint(const std::vector<Candidate>& candidates) {
    uint32_t hash = 2166136261u;
    for (const Candidate& c : candidates) {
        for (const wchar_t unit : c.image.Text + L'|') {
            hash ^= static_cast<uint32_t>(unit);
            hash *= 16777619u;
        }
    }
    return hash == 0 ? 1 : hash;
}

// The first of a folder's pictures, in its order, that comes after `shown`, whether `shown`
// is still there or not; a binary search, as the pictures are in that order.
template <typename It, typename PathOf>
It NextInFolder(It first, It last, const std::wstring& shown, PathOf path_of) {
    return std::upper_bound(first, last, shown, [&](const std::wstring& path, const auto& item) {
        return ComesBefore(path, path_of(item));
    });
}

// Where a walk goes on after `last` (a picture of the folder entry at `entry`): the next
// picture in the folder, then the entries after.
int After(const std::vector<Candidate>& candidates, int entry, const std::wstring& last) {
    const auto first = std::find_if(candidates.begin(), candidates.end(),
                                    [entry](const Candidate& c) { return c.entry >= entry; });
    const auto end = std::find_if(first, candidates.end(),
                                  [entry](const Candidate& c) { return c.entry > entry; });
    const auto next =
        NextInFolder(first, end, last, [](const Candidate& c) -> const std::wstring& { return c.image.Text; });
    return next == candidates.end() ? 0 : static_cast<int>(next - candidates.begin());
}

// A picture shown comes again only in the next round.
void TakeFromRound(std::vector<int>& round, int index) {
    const auto shown = std::find(round.begin(), round.end(), index);
    if (shown != round.end())
        round.erase(shown);
}

// What the album now shows: the one place a change is recorded.
void RecordShown(CAccount& album, int entry, const std::wstring& file, const SYSTEMTIME& at,
                 std::vector<std::wstring> per_monitor = {}) {
    album.LastTime = at;
    album.LastIndex = entry;
    album.LastFile = file;
    album.ShownPerMonitor = std::move(per_monitor);
}

// The order rules: which candidates a pass tries, first to last.

// A shuffle round's pictures first (a new round when the last is used up, no longer fits an
// edited list, or was drawn over other pictures than a folder now holds), then the ones it
// has shown, for when none of those works.
std::vector<int> ShuffleOrder(CAccount& album, const std::vector<Candidate>& candidates,
                              bool any_folder) {
    const int count = static_cast<int>(candidates.size());
    const uint32_t set = any_folder ? Fingerprint(candidates) : 0;
    if (album.ShuffleRound.empty() || !IsValidShuffleRound(album.ShuffleRound, count) ||
        set != album.ShuffleSet) {
        int shown = album.LastIndex;
        if (any_folder) {
            shown = -1;
            for (int i = 0; i < count; ++i)
                if (candidates[static_cast<size_t>(i)].image.Text == album.LastFile)
                    shown = i;
        }
        album.ShuffleRound = DrawShuffleRound(count, shown, ShuffleRandom());
        album.ShuffleSet = set;
    }
    std::vector<int> order = album.ShuffleRound;
    for (int candidate = 0; candidate < count; ++candidate) {
        if (std::find(order.begin(), order.end(), candidate) == order.end())
            order.push_back(candidate);
    }
    return order;
}

// The month's entry, or the entry of the slot of the day (or of the sun) showing now.
std::vector<int> ClockOrder(const CAccount& album, const std::vector<Candidate>& candidates,
                            bool any_folder, const SYSTEMTIME& now) {
    const int count = static_cast<int>(candidates.size());
    if (album.Frequency == kSyncToMonth)
        return InListOrder(now.wMonth - 1, count);
    const int entry = SlotAt(album.Frequency, static_cast<int>(album.FileList.size()), now).entry;
    return InListOrder(any_folder ? FirstOfEntry(candidates, entry) : entry, count);
}

// The album's order from `first`: LastIndex + 1 for the next picture, LastIndex itself for
// the current one again; inside a folder entry LastFile says where the walk stands.
std::vector<int> ListOrder(const CAccount& album, const std::vector<Candidate>& candidates,
                           bool any_folder, int first) {
    const int count = static_cast<int>(candidates.size());
    if (!any_folder)
        return InListOrder(first, count);
    const int last = album.LastIndex;
    const bool placed = last >= 0 && last < static_cast<int>(album.FileList.size());
    const std::wstring folder = placed ? album.FileList[static_cast<size_t>(last)].Expanded() : L"";
    const bool resumes = placed && (first == last + 1 || first == last) && IsFolderEntry(folder) &&
                         IsInFolder(album.LastFile, folder);
    int start = first >= static_cast<int>(album.FileList.size()) ? 0 : FirstOfEntry(candidates, first);
    if (resumes) {
        start = After(candidates, last, album.LastFile);
        if (first == last) {
            for (int i = 0; i < count; ++i)
                if (candidates[static_cast<size_t>(i)].image.Text == album.LastFile)
                    start = i;
        }
    }
    return InListOrder(start, count);
}

// A picture ready for a monitor of its own: a local picture as it is (checked), an address
// downloaded and copied to a file of its own, so that the next download keeps it.
std::wstring ReadyPicture(const ImageEntry& entry, size_t slot, LogStream& log) {
    const std::wstring target = entry.IsText() ? entry.Expanded() : L"";
    if (ReportIfUnusable(entry, target, log))
        return {};
    if (IsInternetEntry(target)) {
        const std::wstring name = L"pod-net-" + std::to_wstring(slot + 1) + L".jpg";
        const std::wstring copy = ExecutableFolder() + name;
        const std::wstring written = ExecutableFolder() + L"~" + name;
        if (FAILED(DownloadImage(target, ::GetModuleHandleW(nullptr), log)) ||
            !::CopyFileW(GetLocalWallpaperPath().c_str(), written.c_str(), FALSE) ||
            FAILED(CommitFile(written, copy)))
            return {};
        return copy;
    }
    const StagingProblem problem = CheckPicture(target);
    if (problem == StagingProblem::None)
        return target;
    ReportUnusablePicture(target, problem, log);
    return {};
}

// A change with a picture for each monitor: the next pictures in the album's order, one per
// monitor (the picture the calendar or the clock chooses on every monitor for Sync to Month,
// Day and Sun); the record then stands at the last one used.
HRESULT ApplyPerMonitor(CAccount& album, const std::vector<Candidate>& candidates,
                        const std::vector<int>& order, bool by_shuffle, size_t monitors,
                        const SYSTEMTIME& now, LogStream& log) {
    const size_t wanted = FollowsTheClock(album.Frequency) ? 1 : monitors;
    std::vector<std::wstring> files;
    std::vector<int> used;
    for (const int index : order) {
        if (files.size() == wanted)
            break;
        std::wstring ready = ReadyPicture(candidates[static_cast<size_t>(index)].image,
                                          files.size(), log);
        if (ready.empty())
            continue;
        files.push_back(std::move(ready));
        used.push_back(index);
    }
    if (files.empty() || !SetMonitorWallpapers(files, album.Position, log)) {
        WriteIntervalMarkers(now);
        return kPassNothingApplied;
    }
    if (by_shuffle) {
        for (const int index : used)
            TakeFromRound(album.ShuffleRound, index);
    }
    const Candidate& last = candidates[static_cast<size_t>(used.back())];
    RecordShown(album, last.entry, last.image.Text, now, std::move(files));
    return kPassApplied;
}

// Declared first in a pass, so that it ends after everything else of the pass.
struct PassLibraries {
    PassLibraries() = default;
    PassLibraries(const PassLibraries&) = delete;
    PassLibraries& operator=(const PassLibraries&) = delete;
    ~PassLibraries() { ReleasePassLibraries(); }
};

} // namespace

bool CAccount::ReapplyForLayout() {
    const PassLibraries libraries;
    LogStream log = OpenLog(LogMode::Append);
    if (Monitors == kPictureEach && !ShownPerMonitor.empty() && OrderedMonitors().size() >= 2)
        return SetMonitorWallpapers(ShownPerMonitor, Position, log, false);
    // One picture: staged again for the new screen (a downloaded one is in the local file).
    if (LastFile.empty() || LastIndex < 0 || static_cast<size_t>(LastIndex) >= FileList.size())
        return false;
    const std::wstring shown = ShownEntry().Expanded();
    const std::wstring path =
        PrepareLocalImage(IsInternetEntry(shown) ? GetLocalWallpaperPath() : shown, nullptr,
                          SupportedPosition(Position));
    return !path.empty() && ReapplyDesktopWallpaper(path, log, Position);
}

HRESULT CAccount::ApplyNextImage() {
    // After Previous, Next goes forward again through what it went back over; an album the
    // calendar or the clock chooses for shows the clock's picture: Previous only looked back.
    if (!FollowsTheClock(Frequency) && HistoryBack > 0 && HistoryBack <= History.size()) {
        const HRESULT result = ShowAgain(History.size() - HistoryBack);
        if (result == kPassApplied) {
            --HistoryBack;
            return result;
        }
    }
    // A stored position out of the list (any number at all) starts at the first entry.
    const bool placed = LastIndex >= 0 && static_cast<size_t>(LastIndex) < FileList.size();
    const HRESULT result =
        ApplyNext(placed ? LastIndex + 1 : 0, Mode == kRandom && !FollowsTheClock(Frequency));
    if (result == kPassApplied)
        RememberShown();
    return result;
}

HRESULT CAccount::ApplyImageAt(int position) {
    // The entry at that position, whatever the mode.
    const HRESULT result = ApplyNext(position, false);
    if (result == kPassApplied)
        RememberShown();
    return result;
}

HRESULT CAccount::ApplyPreviousImage() {
    if (HistoryBack + 2 <= History.size()) {
        const HRESULT result = ShowAgain(History.size() - 2 - HistoryBack);
        if (result == kPassApplied)
            ++HistoryBack;
        return result;
    }
    // Nothing earlier shown since Glimro started: a shuffle's order is not known, an
    // album's order is.
    if (HistoryBack > 0 || FileList.empty() || (Mode == kRandom && !FollowsTheClock(Frequency)))
        return kPassNothingApplied;
    const long long count = static_cast<long long>(FileList.size());
    return ApplyImageAt(static_cast<int>(((LastIndex - 1LL) % count + count) % count));
}

HRESULT CAccount::ShowAgain(size_t at) {
    const PassLibraries libraries;
    LogStream log = OpenLog(LogMode::Afresh);
    const ShownPicture picture = History[at];
    if (TryEntry(picture.picture, Position, log) != Outcome::Applied)
        return kPassNothingApplied;
    RecordShown(*this, picture.entry, picture.picture.Text, LocalTime());
    return kPassApplied;
}

void CAccount::RememberShown() {
    constexpr size_t kRemembered = 100;
    History.resize(History.size() - std::min(HistoryBack, History.size()));
    HistoryBack = 0;
    History.push_back({LastIndex, ShownEntry()});
    if (History.size() > kRemembered)
        History.erase(History.begin());
}

HRESULT CAccount::ApplyNext(int first, bool by_shuffle) {
    if (FileList.empty())
        return E_FAIL;
    const PassLibraries libraries;
    LogStream log = OpenLog(LogMode::Afresh);
    bool any_folder = false;
    const std::vector<Candidate> candidates = Expand(FileList, &any_folder, log);
    const int count = static_cast<int>(candidates.size());

    const SYSTEMTIME now = LocalTime();
    // Folders without pictures only: nothing to try.
    std::vector<int> order;
    if (count > 0 && by_shuffle)
        order = ShuffleOrder(*this, candidates, any_folder);
    else if (count > 0 && FollowsTheClock(Frequency))
        order = ClockOrder(*this, candidates, any_folder, now);
    else if (count > 0)
        order = ListOrder(*this, candidates, any_folder, first);

    if (Monitors == kPictureEach && count > 0) {
        const size_t monitors = OrderedMonitors().size();
        if (monitors >= 2)
            return ApplyPerMonitor(*this, candidates, order, by_shuffle, monitors, now, log);
    }
    for (const int index : order) {
        const Candidate& candidate = candidates[static_cast<size_t>(index)];
        const Outcome outcome = TryEntry(candidate.image, Position, log);
        if (outcome == Outcome::Applied) {
            // A skipped entry keeps its place in the round.
            if (by_shuffle)
                TakeFromRound(ShuffleRound, index);
            RecordShown(*this, candidate.entry, candidate.image.Text, now);
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
    const PassLibraries libraries;
    LogStream log = OpenLog(LogMode::Afresh);
    ImageEntry shown = entry;
    const std::wstring target = entry.IsText() ? entry.Expanded() : L"";
    if (IsFolderEntry(target)) {
        // The picture the album would show next from this folder.
        const std::vector<std::wstring> pictures = FolderPictures(target);
        if (pictures.empty())
            return kPassNothingApplied;
        auto next = pictures.begin();
        if (position >= 0 && position == LastIndex && IsInFolder(LastFile, target))
            next = NextInFolder(pictures.begin(), pictures.end(), LastFile,
                                [](const std::wstring& path) -> const std::wstring& { return path; });
        shown = ImageEntry(next == pictures.end() ? pictures.front() : *next);
    }
    if (TryEntry(shown, Position, log) != Outcome::Applied)
        return kPassNothingApplied;
    // One picture now, on every monitor.
    const bool held = position >= 0 && static_cast<size_t>(position) < FileList.size();
    RecordShown(*this, held ? position : LastIndex, shown.Text, LocalTime());
    RememberShown();
    return kPassApplied;
}

} // namespace glimro
