// One pass over an album: choose the entry, fetch or stage it, make it the wallpaper, log it
// and record the progress in the record.
#include "store/account.h"

#include "core/orientation.h"
#include "core/picture_fit.h"
#include "core/picture_limits.h"
#include "engine/image_header.h"
#include "engine/web_cache.h"
#include "engine/entry_judge.h"
#include "engine/folder_pictures.h"
#include "engine/monitor_wallpaper.h"
#include "platform/module.h"
#include "engine/image_staging.h"
#include "engine/internet_fetch.h"
#include "core/shuffle.h"
#include "engine/shuffle_random.h"
#include "engine/wallpaper_setter.h"
#include "engine/web_entry.h"
#include "platform/atomic_file.h"
#include "platform/clock.h"
#include "log/activity_log.h"
#include "scheduler/day_schedule.h"
#include "scheduler/interval_markers.h"

#include <algorithm>
#include <new>
#include <unordered_set>
#include <vector>

namespace glimro {
namespace {

enum class Outcome {
    Applied,
    EntryFailed,  // this entry could not be used: the next one may do
    SwitchFailed, // the system refused the wallpaper: another entry would fare no better
    FoundFeed,    // the address is a feed's: the pass reads the album again
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

Outcome TryEntryOnce(const ImageEntry& entry, int position, bool feed_picture, LogStream& log) {
    const std::wstring target = entry.Expanded();
    if (ReportIfUnusable(entry, target, log))
        return Outcome::EntryFailed;
    WritePassEntryStart(log);
    if (!IsInternetEntry(target))
        return StageAndSet(target, position, log);
    // "Initalization" is spelled as users' logs have always shown it.
    log << "\tInitalization started.\n";
    std::wstring downloaded;
    const WebOutcome fetched = FetchWebPicture(target, feed_picture, log, &downloaded);
    Outcome outcome = fetched == WebOutcome::Feed ? Outcome::FoundFeed : Outcome::EntryFailed;
    // The wallpaper file holds the picture as downloaded, as it always has: a new screen
    // layout stages it again from there.
    const std::wstring local = GetLocalWallpaperPath();
    if (fetched == WebOutcome::Picture &&
        (downloaded == local || SUCCEEDED(CopyWhole(downloaded, local))))
        outcome = StageAndSet(local, position, log);
    log << "\tInitalization Completed.\n";
    WritePassEntryEnd(log);
    return outcome;
}

// Memory that runs out while one entry is decoded or fetched fails that entry, never the
// program: the next entry may well do.
Outcome TryEntry(const ImageEntry& entry, int position, LogStream& log, bool feed_picture = false) {
    try {
        return TryEntryOnce(entry, position, feed_picture, log);
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

// One picture the album stands for: a file entry, or a picture of a folder or feed entry.
struct Candidate {
    int entry;         // its entry's position in FileList
    ImageEntry image;  // what is tried
    bool in_feed = false;
    FeedPicture about = {}; // a feed's picture: what its item says
};

// What a pass may show, decided in one place: never a picture the album skips, and, by the
// album's size and shape rules, only one that fits the screen it goes to. A picture's size
// comes from its header (an address's from its cached copy; one never fetched is tried),
// read when the walk reaches it and once a pass.
class PassRules {
public:
    PassRules(const CAccount& album, const std::vector<Candidate>& candidates)
        : candidates_(candidates), rule_{album.SmallestShare, album.Shape},
          sizes_(candidates.size()), read_(candidates.size(), false) {
        for (const std::wstring& picture : album.Skipped)
            skipped_.insert(PictureKey(picture));
    }

    bool Skipped(int index) const {
        return !skipped_.empty() &&
               skipped_.count(PictureKey(candidates_[static_cast<size_t>(index)].image.Text)) != 0;
    }
    bool Fits(int index, const Box& screen) {
        if (rule_.Any())
            return true;
        const PictureSize& size = SizeOf(index);
        // A picture whose size is not known yet is tried: its download or decode judges it.
        return size.width == 0 ||
               FitsScreen(rule_, size.width, size.height, static_cast<uint64_t>(screen.Width()),
                          static_cast<uint64_t>(screen.Height()));
    }
    bool MayShow(int index, const Box& screen) { return !Skipped(index) && Fits(index, screen); }
    // When nothing fits: the pictures not skipped, the largest first.
    std::vector<int> LargestFirst() {
        std::vector<int> order;
        for (int i = 0; i < static_cast<int>(candidates_.size()); ++i)
            if (!Skipped(i))
                order.push_back(i);
        const auto area = [&](int i) { return SizeOf(i).width * SizeOf(i).height; };
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return area(a) > area(b); });
        return order;
    }

private:
    const PictureSize& SizeOf(int index) {
        const size_t i = static_cast<size_t>(index);
        if (!read_[i]) {
            read_[i] = true;
            const ImageEntry& image = candidates_[i].image;
            std::wstring file = image.IsText() ? image.Expanded() : L"";
            if (IsInternetEntry(file))
                file = CachedFile(file, kCachedPicture);
            PictureSize size;
            if (!file.empty() && ReadImageHeaderSize(file, &size) && SwapsSides(size.orientation))
                std::swap(size.width, size.height);
            sizes_[i] = size;
        }
        return sizes_[i];
    }

    const std::vector<Candidate>& candidates_;
    FitRule rule_;
    std::unordered_set<std::wstring> skipped_;
    std::vector<PictureSize> sizes_;
    std::vector<bool> read_;
};

// The screen one picture goes to, as staging takes it.
Box ScreenFor(int position) {
    const SIZE size = StagingScreen(position);
    return Box{0, 0, size.cx, size.cy};
}

// From start on, wrapping, the first candidate the rules let a pass show; start when none.
int FirstShowable(PassRules& rules, int start, int count, const Box& screen) {
    for (int i = 0; i < count; ++i) {
        const int at = (start + i) % count;
        if (rules.MayShow(at, screen))
            return at;
    }
    return start;
}

void ReportNothingFits(LogStream& log) {
    log << "No picture of the album fits the screen by its size and shape rules: showing the largest.";
    log.EndLine();
}

// A feed entry's pictures, newest first; false when the entry is no feed known as one.
// fresh: the feed whose copy this pass fetched already.
bool ExpandFeed(int entry, const std::wstring& address, std::vector<Candidate>& candidates,
                LogStream& log, const std::wstring& fresh = {}) {
    if (!IsInternetEntry(address) || !IsKnownFeed(address))
        return false;
    const std::optional<Feed> feed = LoadFeed(address, log, address != fresh);
    if (!feed)
        return false;
    if (feed->pictures.empty()) {
        log << "Skipped a feed that holds no picture: " << LogSafe(address);
        log.EndLine();
    }
    for (const FeedPicture& picture : feed->pictures)
        candidates.push_back({entry, ImageEntry(picture.address), true, picture});
    return true;
}

// The album's pictures with every folder and feed entry expanded in place, read afresh. A
// folder that holds no picture is reported once and stands for nothing.
std::vector<Candidate> Expand(const std::vector<ImageEntry>& entries, bool* any_folder,
                              LogStream& log, const std::wstring& fresh_feed) {
    std::vector<Candidate> candidates;
    *any_folder = false;
    for (size_t i = 0; i < entries.size(); ++i) {
        const int entry = static_cast<int>(i);
        const std::wstring target = entries[i].IsText() ? entries[i].Expanded() : L"";
        if (ExpandFeed(entry, target, candidates, log, fresh_feed)) {
            *any_folder = true;
            continue;
        }
        if (!IsFolderEntry(target)) {
            candidates.push_back({entry, entries[i]});
            continue;
        }
        *any_folder = true;
        const std::vector<std::wstring> pictures = FolderPictures(target);
        if (pictures.empty()) {
            log << "Skipped a folder that holds no picture: " << LogSafe(target);
            log.EndLine();
        }
        for (const std::wstring& picture : pictures)
            candidates.push_back({entry, ImageEntry(picture)});
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

// The address of the feed entry a feed's picture came from.
std::wstring FeedOf(const CAccount& album, const Candidate& candidate) {
    return album.FileList[static_cast<size_t>(candidate.entry)].Expanded();
}

// Whether the candidate is a feed's picture the album has not shown from that feed yet.
bool IsNewFromFeed(const CAccount& album, const Candidate& candidate) {
    return candidate.in_feed && !album.WasShownFromFeed(FeedOf(album, candidate), candidate.image.Text);
}

// Where a walk that reaches a feed's picture at `start` begins: that feed's newest picture
// not yet shown, while there is one.
int FeedStart(const CAccount& album, const std::vector<Candidate>& candidates, int start) {
    const int count = static_cast<int>(candidates.size());
    if (start < 0 || start >= count || !candidates[static_cast<size_t>(start)].in_feed)
        return start;
    const int entry = candidates[static_cast<size_t>(start)].entry;
    for (int i = FirstOfEntry(candidates, entry);
         i < count && candidates[static_cast<size_t>(i)].entry == entry; ++i) {
        if (IsNewFromFeed(album, candidates[static_cast<size_t>(i)]))
            return i;
    }
    return start;
}

// The position of the picture among the candidates of the entry; -1 when it is not there.
int FindInEntry(const std::vector<Candidate>& candidates, int entry, const std::wstring& picture) {
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (candidates[i].entry == entry && candidates[i].image.Text == picture)
            return static_cast<int>(i);
    }
    return -1;
}

// A picture shown comes again only in the next round.
void TakeFromRound(std::vector<int>& round, int index) {
    const auto shown = std::find(round.begin(), round.end(), index);
    if (shown != round.end())
        round.erase(shown);
}

// What the album now shows: the one place a change is recorded.
void RecordShown(CAccount& album, int entry, const std::wstring& file, const SYSTEMTIME& at,
                 std::vector<std::wstring> per_monitor = {}, PictureCredit credit = {}) {
    album.LastTime = at;
    album.LastIndex = entry;
    album.LastFile = file;
    album.ShownPerMonitor = std::move(per_monitor);
    album.Credit = std::move(credit);
    album.Aside.reset();
}

// A candidate shown: a feed's picture is also remembered as shown from its feed.
void RecordCandidate(CAccount& album, const Candidate& shown, const SYSTEMTIME& at,
                     std::vector<std::wstring> per_monitor = {}) {
    PictureCredit credit;
    if (shown.in_feed) {
        credit = {shown.about.title, shown.about.credit, shown.about.page};
        album.RememberFeedPicture(FeedOf(album, shown), shown.image.Text);
    }
    RecordShown(album, shown.entry, shown.image.Text, at, std::move(per_monitor), std::move(credit));
}

// The order rules: which candidates a pass tries, first to last.

// A shuffle round's pictures first (a new round when the last is used up, no longer fits an
// edited list, or was drawn over other pictures than a folder now holds), then the ones it
// has shown, for when none of those works.
std::vector<int> ShuffleOrder(CAccount& album, const std::vector<Candidate>& candidates,
                              bool any_folder, const PassRules& rules) {
    const int count = static_cast<int>(candidates.size());
    const uint32_t set = any_folder ? Fingerprint(candidates) : 0;
    // A picture skipped since the round was drawn leaves it.
    if (IsValidShuffleRound(album.ShuffleRound, count))
        album.ShuffleRound.erase(std::remove_if(album.ShuffleRound.begin(), album.ShuffleRound.end(),
                                                [&](int candidate) { return rules.Skipped(candidate); }),
                                 album.ShuffleRound.end());
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
    // A feed's new pictures come first, newest first; then the round.
    std::vector<int> order;
    for (int candidate = 0; candidate < count; ++candidate) {
        if (IsNewFromFeed(album, candidates[static_cast<size_t>(candidate)]))
            order.push_back(candidate);
    }
    const size_t fresh = order.size();
    const auto listed = [&](int candidate) {
        return std::find(order.begin(), order.end(), candidate) != order.end();
    };
    for (const int candidate : album.ShuffleRound)
        if (fresh == 0 || !listed(candidate))
            order.push_back(candidate);
    for (int candidate = 0; candidate < count; ++candidate) {
        if (!listed(candidate))
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
    return InListOrder(any_folder ? FeedStart(album, candidates, FirstOfEntry(candidates, entry)) : entry,
                       count);
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
    const bool again = placed && first == last;
    const std::wstring folder = placed ? album.FileList[static_cast<size_t>(last)].Expanded() : L"";
    const bool resumes = placed && (first == last + 1 || again);
    int start = first >= static_cast<int>(album.FileList.size()) ? 0 : FirstOfEntry(candidates, first);
    const int shown = resumes ? FindInEntry(candidates, last, album.LastFile) : -1;
    if (resumes && IsFolderEntry(folder) && IsInFolder(album.LastFile, folder))
        start = again && shown >= 0 ? shown : After(candidates, last, album.LastFile);
    else if (shown >= 0 && candidates[static_cast<size_t>(shown)].in_feed)
        start = again ? shown : (shown + 1) % count; // on through the feed, then the entries after
    if (!again)
        start = FeedStart(album, candidates, start);
    return InListOrder(start, count);
}

// A picture ready for a monitor of its own: a local picture as it is (checked), an address
// downloaded and copied to a file of its own, so that the next download keeps it.
std::wstring ReadyPicture(const Candidate& candidate, size_t slot, LogStream& log) {
    const ImageEntry& entry = candidate.image;
    const std::wstring target = entry.IsText() ? entry.Expanded() : L"";
    if (ReportIfUnusable(entry, target, log))
        return {};
    if (IsInternetEntry(target)) {
        const std::wstring copy = ExecutableFolder() + L"pod-net-" + std::to_wstring(slot + 1) + L".jpg";
        std::wstring downloaded;
        if (FetchWebPicture(target, candidate.in_feed, log, &downloaded) != WebOutcome::Picture ||
            FAILED(CopyWhole(downloaded, copy)))
            return {};
        return copy;
    }
    const StagingProblem problem = CheckPicture(target);
    if (problem == StagingProblem::None)
        return target;
    ReportUnusablePicture(target, problem, log);
    return {};
}

// A change with a picture for each monitor: each monitor, in their order, takes the next
// picture in the album's order that fits it and no other monitor took (the picture the
// calendar or the clock chooses on every monitor for Sync to Month, Day and Sun); a monitor
// that nothing fits takes the largest picture left. With "match each monitor", each monitor
// goes on after the picture it showed last, so the landscape and the portrait pictures each
// keep their own turn. The record stands at the last picture used in the album's order (the
// primary's with "match each monitor").
HRESULT ApplyPerMonitor(CAccount& album, const std::vector<Candidate>& candidates,
                        const std::vector<int>& order, bool by_shuffle, const std::vector<Box>& screens,
                        PassRules& rules, const SYSTEMTIME& now, LogStream& log) {
    const size_t wanted = FollowsTheClock(album.Frequency) ? 1 : screens.size();
    const bool own_turns = album.Shape == kMatchMonitor && !by_shuffle && wanted > 1;
    std::vector<std::wstring> files(wanted);
    std::vector<int> used(wanted, -1);
    std::vector<int> tried;
    const auto taken = [&](int index) { return std::find(tried.begin(), tried.end(), index) != tried.end(); };
    // A picture a monitor could show, tried there (it stays empty when it cannot be made ready).
    const auto fill = [&](int index, size_t slot) {
        tried.push_back(index);
        std::wstring ready = ReadyPicture(candidates[static_cast<size_t>(index)], slot, log);
        if (ready.empty())
            return;
        files[slot] = std::move(ready);
        used[slot] = index;
    };
    bool unfit = false;
    for (size_t slot = 0; slot < wanted; ++slot) {
        size_t start = 0;
        if (own_turns && slot < album.ShownPerMonitor.size()) {
            const auto last = std::find_if(order.begin(), order.end(), [&](int index) {
                return candidates[static_cast<size_t>(index)].image.Text == album.ShownPerMonitor[slot];
            });
            start = last == order.end() ? 0 : static_cast<size_t>(last - order.begin()) + 1;
        }
        for (size_t step = 0; step < order.size() && files[slot].empty(); ++step) {
            const int index = order[(start + step) % order.size()];
            if (taken(index) || rules.Skipped(index))
                continue;
            if (!rules.Fits(index, screens[slot])) {
                unfit = true;
                continue;
            }
            fill(index, slot);
        }
    }
    if (unfit) {
        bool reported = false;
        for (size_t slot = 0; slot < wanted; ++slot) {
            for (const int index : rules.LargestFirst()) {
                if (!files[slot].empty())
                    break;
                if (taken(index))
                    continue;
                if (!reported)
                    ReportNothingFits(log);
                reported = true;
                fill(index, slot);
            }
        }
    }
    // A picture passed over in a shuffle for its size or shape counts as used in the round,
    // which otherwise would never run out.
    if (by_shuffle) {
        for (const int index : order) {
            const bool fits_one = std::any_of(screens.begin(), screens.begin() + static_cast<std::ptrdiff_t>(wanted),
                                              [&](const Box& screen) { return rules.Fits(index, screen); });
            if (std::find(used.begin(), used.end(), index) != used.end() || !fits_one)
                TakeFromRound(album.ShuffleRound, index);
        }
    }
    // Fewer pictures than monitors: they come round again, in monitor order.
    std::vector<std::wstring> shown;
    int last = -1;
    ptrdiff_t last_at = -1;
    for (size_t slot = 0; slot < wanted; ++slot) {
        if (files[slot].empty())
            continue;
        shown.push_back(std::move(files[slot]));
        const ptrdiff_t at = std::find(order.begin(), order.end(), used[slot]) - order.begin();
        if (last == -1 || (!own_turns && at > last_at)) {
            last = used[slot];
            last_at = at;
        }
    }
    if (shown.empty() || !SetMonitorWallpapers(shown, album.Position, log)) {
        WriteIntervalMarkers(now);
        return kPassNothingApplied;
    }
    RecordCandidate(album, candidates[static_cast<size_t>(last)], now, std::move(shown));
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
    if (!Aside && Monitors == kPictureEach && !ShownPerMonitor.empty() && OrderedMonitors().size() >= 2)
        return SetMonitorWallpapers(ShownPerMonitor, Position, log, false);
    // One picture: staged again for the new screen (a downloaded one is in the local file).
    if (!Aside && (LastFile.empty() || LastIndex < 0 || static_cast<size_t>(LastIndex) >= FileList.size()))
        return false;
    const std::wstring shown = Current().picture.Expanded();
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
    if (TryEntry(picture.picture, Position, log, !picture.credit.Empty()) != Outcome::Applied)
        return kPassNothingApplied;
    RecordShown(*this, picture.entry, picture.picture.Text, LocalTime(), {}, picture.credit);
    return kPassApplied;
}

HRESULT CAccount::ShowAside(const AsidePicture& picture) {
    const PassLibraries libraries;
    LogStream log = OpenLog(LogMode::Afresh);
    if (TryEntry(picture.picture, Position, log, !picture.credit.Empty()) != Outcome::Applied)
        return kPassNothingApplied;
    Aside = picture;
    return kPassApplied;
}

void CAccount::RememberShown() {
    constexpr size_t kRemembered = 100;
    History.resize(History.size() - std::min(HistoryBack, History.size()));
    HistoryBack = 0;
    History.push_back({LastIndex, ShownEntry(), Credit});
    if (History.size() > kRemembered)
        History.erase(History.begin());
}

HRESULT CAccount::ApplyNext(int first, bool by_shuffle) {
    if (FileList.empty())
        return E_FAIL;
    const PassLibraries libraries;
    LogStream log = OpenLog(LogMode::Afresh);
    const SYSTEMTIME now = LocalTime();
    // An address found to be a feed's makes the album read again, once: it then stands for
    // the feed's pictures.
    std::wstring found_feed;
    for (int reading = 0; reading < 2; ++reading) {
        bool any_folder = false;
        const std::vector<Candidate> candidates = Expand(FileList, &any_folder, log, found_feed);
        const int count = static_cast<int>(candidates.size());

        // Folders without pictures only: nothing to try.
        PassRules rules(*this, candidates);
        std::vector<int> order;
        if (count > 0 && by_shuffle)
            order = ShuffleOrder(*this, candidates, any_folder, rules);
        else if (count > 0 && FollowsTheClock(Frequency))
            order = ClockOrder(*this, candidates, any_folder, now);
        else if (count > 0)
            order = ListOrder(*this, candidates, any_folder, first);

        if (Monitors == kPictureEach && count > 0) {
            const std::vector<Box> screens = OrderedMonitors();
            if (screens.size() >= 2)
                return ApplyPerMonitor(*this, candidates, order, by_shuffle, screens, rules, now, log);
        }
        // The album's order over the pictures that fit; when none did, the largest first.
        const Box screen = ScreenFor(Position);
        bool unfit = false, stop = false;
        for (int attempt = 0; attempt < 2 && !stop; ++attempt) {
            if (attempt == 1) {
                if (!unfit)
                    break;
                ReportNothingFits(log);
                order = rules.LargestFirst();
            }
            for (const int index : order) {
                if (rules.Skipped(index))
                    continue;
                if (attempt == 0 && !rules.Fits(index, screen)) {
                    // Passed over for its size or shape: used for this round.
                    unfit = true;
                    if (by_shuffle)
                        TakeFromRound(ShuffleRound, index);
                    continue;
                }
                const Candidate& candidate = candidates[static_cast<size_t>(index)];
                const Outcome outcome = TryEntry(candidate.image, Position, log, candidate.in_feed);
                if (outcome == Outcome::Applied) {
                    // A skipped entry keeps its place in the round.
                    if (by_shuffle)
                        TakeFromRound(ShuffleRound, index);
                    RecordCandidate(*this, candidate, now);
                    return kPassApplied;
                }
                stop = outcome == Outcome::SwitchFailed ||
                       (outcome == Outcome::FoundFeed && reading == 0);
                if (outcome == Outcome::FoundFeed && reading == 0)
                    found_feed = candidate.image.Expanded();
                if (stop)
                    break;
            }
        }
        if (found_feed.empty())
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
    const bool held = position >= 0 && static_cast<size_t>(position) < FileList.size();
    const int at = held ? position : LastIndex;
    Candidate shown{at, entry};
    const std::wstring target = entry.IsText() ? entry.Expanded() : L"";
    std::vector<Candidate> feed;
    if (IsFolderEntry(target)) {
        // The picture the album would show next from this folder.
        const std::vector<std::wstring> pictures = FolderPictures(target);
        if (pictures.empty())
            return kPassNothingApplied;
        auto next = pictures.begin();
        if (position >= 0 && position == LastIndex && IsInFolder(LastFile, target))
            next = NextInFolder(pictures.begin(), pictures.end(), LastFile,
                                [](const std::wstring& path) -> const std::wstring& { return path; });
        std::vector<Candidate> folder;
        for (const std::wstring& picture : pictures)
            folder.push_back({at, ImageEntry(picture)});
        PassRules rules(*this, folder);
        const int start = next == pictures.end() ? 0 : static_cast<int>(next - pictures.begin());
        shown = folder[static_cast<size_t>(
            FirstShowable(rules, start, static_cast<int>(folder.size()), ScreenFor(Position)))];
    }
    for (int reading = 0; reading < 2; ++reading) {
        // The feed's picture the album would show next: its newest not shown, else the one
        // after the picture shown now.
        feed.clear();
        if (ExpandFeed(at, target, feed, log, reading == 0 ? L"" : target)) {
            if (feed.empty())
                return kPassNothingApplied;
            const int now = at == LastIndex ? FindInEntry(feed, at, LastFile) : -1;
            const int start = now < 0 ? 0 : (now + 1) % static_cast<int>(feed.size());
            PassRules rules(*this, feed);
            shown = feed[static_cast<size_t>(FirstShowable(rules, FeedStart(*this, feed, start),
                                                           static_cast<int>(feed.size()),
                                                           ScreenFor(Position)))];
        }
        const Outcome outcome = TryEntry(shown.image, Position, log, shown.in_feed);
        if (outcome == Outcome::FoundFeed && reading == 0)
            continue;
        if (outcome != Outcome::Applied)
            return kPassNothingApplied;
        break;
    }
    // One picture now, on every monitor.
    if (shown.in_feed)
        RecordCandidate(*this, shown, LocalTime());
    else
        RecordShown(*this, at, shown.image.Text, LocalTime());
    RememberShown();
    return kPassApplied;
}

} // namespace glimro
