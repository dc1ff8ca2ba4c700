// One pass over an album: choose the picture, have its entry's source fetch, stage and set
// it, log it, and record the outcome in the record.
#include "store/album.h"

#include "core/orientation.h"
#include "core/picture_fit.h"
#include "core/shuffle.h"
#include "engine/entry_source.h"
#include "engine/image_header.h"
#include "engine/image_staging.h"
#include "engine/monitor_wallpaper.h"
#include "engine/picture_show.h"
#include "engine/shuffle_random.h"
#include "engine/wallpaper_setter.h"
#include "log/activity_log.h"
#include "platform/clock.h"
#include "scheduler/day_schedule.h"
#include "scheduler/interval_markers.h"

#include <algorithm>
#include <new>
#include <unordered_set>
#include <vector>

namespace glimro {
namespace {

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

// Memory that runs out while one picture is decoded or fetched fails that picture, never the
// program: the next one may well do.
TryOutcome TryCandidate(const Candidate& candidate, const CAlbum& album, LogStream& log) {
    try {
        if (ReportIfUnusable(candidate.image, candidate.image.Expanded(), log))
            return TryOutcome::EntryFailed;
        return candidate.source->Show(candidate, Look{album.Position, CaptionChoiceFor(album)}, log);
    } catch (const std::bad_alloc&) {
        log << "Skipped an entry: not enough memory to use it: " << LogSafe(candidate.image.Text);
        log.EndLine();
        return TryOutcome::EntryFailed;
    }
}

// A picture the album showed, to be shown again (History, or a recent one).
Candidate Remembered(const CAlbum& album, int entry, const ImageEntry& picture,
                     const PictureCredit& credit) {
    Candidate candidate{entry, picture, &PictureSourceFor(picture.Expanded())};
    candidate.credit = credit;
    // A feed's picture (the one kind with a credit) names it for good: fetched only when the
    // cache lacks it.
    if (!credit.Empty()) {
        const bool held = entry >= 0 && static_cast<size_t>(entry) < album.FileList.size();
        candidate.feed = held ? album.FileList[static_cast<size_t>(entry)].Expanded() : picture.Text;
    }
    return candidate;
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

// The album's pictures, every entry expanded in place by its source, read afresh.
struct Expansion {
    std::vector<Candidate> candidates;
    std::vector<const EntrySource*> kinds; // each entry's source, by its position
    bool holds_many = false;               // some entry stands for pictures of its own
};

Expansion Expand(const std::vector<ImageEntry>& entries, LogStream& log, const std::wstring& fresh_feed) {
    Expansion expansion;
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::wstring target = entries[i].IsText() ? entries[i].Expanded() : L"";
        const EntrySource& source = SourceFor(target);
        expansion.kinds.push_back(&source);
        expansion.holds_many = expansion.holds_many || source.HoldsMany();
        source.Expand(static_cast<int>(i), entries[i], target, fresh_feed, log, expansion.candidates);
    }
    return expansion;
}

// The first candidate of the entry at or after `entry`; the count past the end.
int FirstOfEntry(const std::vector<Candidate>& candidates, int entry) {
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (candidates[i].entry >= entry)
            return static_cast<int>(i);
    }
    return static_cast<int>(candidates.size());
}

// How many candidates the entry of the candidate at `first` has from there.
size_t EntryLength(const std::vector<Candidate>& candidates, int first) {
    size_t end = static_cast<size_t>(first);
    while (end < candidates.size() && candidates[end].entry == candidates[static_cast<size_t>(first)].entry)
        ++end;
    return end - static_cast<size_t>(first);
}

// Where a walk that comes to the entry whose first candidate is at `first` begins, by its
// source; `first` itself past the end.
int EntryStart(const CAlbum& album, const Expansion& all, int first) {
    if (first < 0 || static_cast<size_t>(first) >= all.candidates.size())
        return first;
    const Candidate& head = all.candidates[static_cast<size_t>(first)];
    const EntrySource& source = *all.kinds[static_cast<size_t>(head.entry)];
    return first + static_cast<int>(source.Start(album, &head, EntryLength(all.candidates, first)));
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

// The position of the picture among the candidates of the entry; -1 when it is not there.
int FindInEntry(const std::vector<Candidate>& candidates, int entry, const std::wstring& picture) {
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (candidates[i].entry == entry && candidates[i].image.Text == picture)
            return static_cast<int>(i);
    }
    return -1;
}

// What a pass may show, decided in one place: never a picture the album skips, and, by the
// album's size and shape rules, only one that fits the screen it goes to. A picture's size
// comes from its header (an address's from its cached copy; one never fetched is tried),
// read when the walk reaches it and once a pass.
class PassRules {
public:
    PassRules(const CAlbum& album, const std::vector<Candidate>& candidates)
        : candidates_(candidates), rule_{album.SmallestShare, album.Shape},
          sizes_(candidates.size()), read_(candidates.size(), false) {
        for (const std::wstring& picture : album.Skipped)
            skipped_.insert(PictureKey(picture));
    }

    // By the picture's key, and by its stored text for what was skipped before keys were
    // expanded.
    bool Skipped(int index) const {
        if (skipped_.empty())
            return false;
        const ImageEntry& image = candidates_[static_cast<size_t>(index)].image;
        return skipped_.count(PictureKey(image)) != 0 || skipped_.count(PictureKey(image.Text)) != 0;
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
            const Candidate& candidate = candidates_[i];
            const std::wstring file =
                candidate.image.IsText() ? candidate.source->FileOf(candidate.image.Expanded()) : L"";
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

// From start on, wrapping, the first candidate the rules let a pass show; -1 when none.
int FirstShowable(PassRules& rules, int start, int count, const Box& screen) {
    for (int i = 0; i < count; ++i) {
        const int at = (start + i) % count;
        if (rules.MayShow(at, screen))
            return at;
    }
    return -1;
}

void ReportNothingFits(LogStream& log) {
    log << "No picture of the album fits the screen by its size and shape rules: showing the largest.";
    log.EndLine();
}

// The pictures a pass takes from the shuffle round (the one shown, those passed over for
// their size or shape), which come again only in the next round. They leave the round in one
// sweep when the pass is done with it: one at a time would cost the square of a large
// folder's size.
class RoundTakings {
public:
    RoundTakings(std::vector<int>& round, size_t count) : round_(round), taken_(count, false) {}
    RoundTakings(const RoundTakings&) = delete;
    RoundTakings& operator=(const RoundTakings&) = delete;
    ~RoundTakings() {
        if (any_)
            round_.erase(std::remove_if(round_.begin(), round_.end(), [&](int index) { return Taken(index); }),
                         round_.end());
    }
    void Take(int index) {
        if (index >= 0 && static_cast<size_t>(index) < taken_.size())
            taken_[static_cast<size_t>(index)] = any_ = true;
    }

private:
    bool Taken(int index) const { return index >= 0 && static_cast<size_t>(index) < taken_.size() && taken_[static_cast<size_t>(index)]; }
    std::vector<int>& round_;
    std::vector<bool> taken_;
    bool any_ = false;
};

// What the album now shows; when it came, Record says.
void RecordShown(CAlbum& album, int entry, const std::wstring& file,
                 std::vector<std::wstring> per_monitor = {}, PictureCredit credit = {}) {
    album.LastIndex = entry;
    album.LastFile = file;
    album.ShownPerMonitor = std::move(per_monitor);
    album.SubjectsPerMonitor.clear();
    album.Credit = std::move(credit);
    album.Aside.reset();
}

// A candidate shown: a feed's picture is also remembered as shown from its feed.
void RecordCandidate(CAlbum& album, const Candidate& shown, std::vector<std::wstring> per_monitor = {}) {
    if (!shown.feed.empty())
        album.RememberFeedPicture(shown.feed, shown.image.Text);
    RecordShown(album, shown.entry, shown.image.Text, std::move(per_monitor), shown.credit);
}

// The order rules: which candidates a pass tries, first to last.

// A shuffle round's pictures first (a new round when the last is used up, no longer fits an
// edited list, or was drawn over other pictures than a folder now holds), then the ones it
// has shown, for when none of those works.
std::vector<int> ShuffleOrder(CAlbum& album, const Expansion& all, const PassRules& rules) {
    const std::vector<Candidate>& candidates = all.candidates;
    const int count = static_cast<int>(candidates.size());
    const uint32_t set = all.holds_many ? Fingerprint(candidates) : 0;
    // A picture skipped since the round was drawn leaves it.
    if (IsValidShuffleRound(album.ShuffleRound, count))
        album.ShuffleRound.erase(std::remove_if(album.ShuffleRound.begin(), album.ShuffleRound.end(),
                                                [&](int candidate) { return rules.Skipped(candidate); }),
                                 album.ShuffleRound.end());
    if (album.ShuffleRound.empty() || !IsValidShuffleRound(album.ShuffleRound, count) ||
        set != album.ShuffleSet) {
        int shown = album.LastIndex;
        if (all.holds_many) {
            shown = -1;
            for (int i = 0; i < count; ++i)
                if (candidates[static_cast<size_t>(i)].image.Text == album.LastFile)
                    shown = i;
        }
        album.ShuffleRound = DrawShuffleRound(count, shown, ShuffleRandom());
        album.ShuffleSet = set;
    }
    // The pictures the album never showed (a feed's new ones) come first, newest first; then
    // the round.
    std::vector<int> order;
    for (int candidate = 0; candidate < count; ++candidate) {
        if (IsNewPicture(album, candidates[static_cast<size_t>(candidate)]))
            order.push_back(candidate);
    }
    std::vector<bool> listed(static_cast<size_t>(count), false);
    for (const int candidate : order)
        listed[static_cast<size_t>(candidate)] = true;
    for (const int candidate : album.ShuffleRound) {
        if (!listed[static_cast<size_t>(candidate)]) {
            order.push_back(candidate);
            listed[static_cast<size_t>(candidate)] = true;
        }
    }
    for (int candidate = 0; candidate < count; ++candidate) {
        if (!listed[static_cast<size_t>(candidate)])
            order.push_back(candidate);
    }
    return order;
}

// The month's entry, or the entry of the slot of the day (or of the sun) showing now.
std::vector<int> ClockOrder(const CAlbum& album, const Expansion& all, const SYSTEMTIME& now) {
    const int count = static_cast<int>(all.candidates.size());
    // The month counts the expanded pictures; a month past the last starts at the first.
    if (album.Frequency == kSyncToMonth)
        return InListOrder(now.wMonth - 1, count);
    const int entry = SlotAt(album.Frequency, static_cast<int>(album.FileList.size()), now).entry;
    return InListOrder(EntryStart(album, all, FirstOfEntry(all.candidates, entry)), count);
}

// The album's order from `first`: LastIndex + 1 for the next picture, LastIndex itself for
// the current one again; inside an entry that holds pictures of its own, LastFile says where
// the walk stands, and its source where it goes on.
std::vector<int> ListOrder(const CAlbum& album, const Expansion& all, int first) {
    const std::vector<Candidate>& candidates = all.candidates;
    const int count = static_cast<int>(candidates.size());
    if (!all.holds_many)
        return InListOrder(first, count);
    const int last = album.LastIndex;
    const bool placed = last >= 0 && last < static_cast<int>(album.FileList.size());
    const bool again = placed && first == last;
    const bool resumes = placed && (first == last + 1 || again);
    int start = first >= static_cast<int>(album.FileList.size()) ? 0 : FirstOfEntry(candidates, first);
    const int head = placed ? FirstOfEntry(candidates, last) : count;
    const bool inside = resumes && head < count && candidates[static_cast<size_t>(head)].entry == last &&
                        all.kinds[static_cast<size_t>(last)]->HoldsMany();
    if (inside) {
        const int shown = FindInEntry(candidates, last, album.LastFile);
        const EntrySource& source = *all.kinds[static_cast<size_t>(last)];
        if (again)
            start = shown >= 0 ? shown : EntryStart(album, all, head);
        else
            start = head + static_cast<int>(source.After(album, &candidates[static_cast<size_t>(head)],
                                                         EntryLength(candidates, head), album.LastFile));
        // Past the entry: the walk comes to the next one.
        if (start < count && candidates[static_cast<size_t>(start)].entry != last)
            start = EntryStart(album, all, start);
    } else if (!again) {
        start = EntryStart(album, all, start);
    }
    return InListOrder(start >= count ? 0 : start, count);
}

// The captions of each monitor's picture (files[k] holding subjects[k]); none when the album
// shows none.
std::vector<Caption> CaptionsOf(const CAlbum& album, const std::vector<std::wstring>& files,
                                const std::vector<CAlbum::MonitorSubject>& subjects) {
    const CaptionChoice choice = CaptionChoiceFor(album);
    std::vector<Caption> captions;
    for (size_t k = 0; choice.shown && k < files.size() && k < subjects.size(); ++k)
        captions.push_back(CaptionOf(choice, subjects[k].picture, subjects[k].credit, files[k]));
    return captions;
}

// A picture ready for a monitor of its own, by its source; empty when it cannot be.
std::wstring ReadyPicture(const Candidate& candidate, size_t slot, LogStream& log) {
    if (ReportIfUnusable(candidate.image, candidate.image.Expanded(), log))
        return {};
    return candidate.source->ReadyFile(candidate, slot, log);
}

// A change with a picture for each monitor: each monitor, in their order, takes the next
// picture in the album's order that fits it and no other monitor took (the picture the
// calendar or the clock chooses on every monitor for Sync to Month, Day and Sun); a monitor
// that nothing fits takes the largest picture left. With "match each monitor", each monitor
// goes on after the picture it showed last, so the landscape and the portrait pictures each
// keep their own turn. The record stands at the last picture used in the album's order (the
// primary's with "match each monitor").
PassOutcome ApplyPerMonitor(CAlbum& album, const std::vector<Candidate>& candidates,
                            const std::vector<int>& order, bool by_shuffle, const std::vector<Box>& screens,
                            PassRules& rules, LogStream& log) {
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
        RoundTakings taken(album.ShuffleRound, candidates.size());
        for (const int index : order) {
            const bool fits_one = std::any_of(screens.begin(), screens.begin() + static_cast<std::ptrdiff_t>(wanted),
                                              [&](const Box& screen) { return rules.Fits(index, screen); });
            if (std::find(used.begin(), used.end(), index) != used.end() || !fits_one)
                taken.Take(index);
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
    std::vector<CAlbum::MonitorSubject> subjects;
    for (size_t slot = 0; slot < wanted; ++slot) {
        if (used[slot] >= 0) {
            const Candidate& picture = candidates[static_cast<size_t>(used[slot])];
            subjects.push_back({picture.image.Expanded(), picture.credit});
        }
    }
    if (shown.empty() || !SetMonitorWallpapers(shown, album.Position, log, CaptionsOf(album, shown, subjects)))
        return kPassNothingApplied;
    RecordCandidate(album, candidates[static_cast<size_t>(last)], std::move(shown));
    album.SubjectsPerMonitor = std::move(subjects);
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

bool CAlbum::ReapplyForLayout() {
    const PassLibraries libraries;
    LogStream log = OpenLog(LogMode::Append);
    if (!Aside && Monitors == kPictureEach && !ShownPerMonitor.empty() && OrderedMonitors().size() >= 2)
        return SetMonitorWallpapers(ShownPerMonitor, Position, log,
                                    CaptionsOf(*this, ShownPerMonitor, SubjectsPerMonitor));
    // One picture: staged again for the new screen (a downloaded one is in the local file).
    if (!Aside && (LastFile.empty() || LastIndex < 0 || static_cast<size_t>(LastIndex) >= FileList.size()))
        return false;
    const AsidePicture current = Current();
    const std::wstring shown = current.picture.Expanded();
    const Candidate picture = Remembered(*this, -1, current.picture, current.credit);
    return StageAndSet(PictureSourceFor(shown).ShownFile(shown), picture, Look{Position, CaptionChoiceFor(*this)},
                       log) == TryOutcome::Applied;
}

PassOutcome CAlbum::Record(PassOutcome outcome, Shown shown, const SYSTEMTIME& started) {
    if (outcome == kPassApplied) {
        // The interval is served, so the timer does not change the picture again within it.
        WriteIntervalMarkers(started);
        if (shown == Shown::Aside)
            return outcome;
        LastTime = started;
        if (shown == Shown::New || shown == Shown::Chosen)
            RememberShown();
    } else if (outcome == kPassNothingApplied && (shown == Shown::New || shown == Shown::Again)) {
        // This interval (or slot) counts as tried, so a dead server or a missing folder is
        // tried again at the next one, not at every check.
        WriteIntervalMarkers(started);
        TriedTime = started;
    }
    return outcome;
}

CAlbum::Walk CAlbum::NextWalk() const {
    if (FollowsTheClock(Frequency))
        return Walk::Clock;
    return Mode == kRandom ? Walk::Shuffle : Walk::List;
}

PassOutcome CAlbum::ApplyNextImage() {
    // After Previous, Next goes forward again through what it went back over; a picture
    // there that cannot be shown any more gives way to a new one.
    if (HistoryBack > 0 && HistoryBack <= History.size() &&
        ShowAgain(History.size() - HistoryBack, LocalTime()) == kPassApplied) {
        --HistoryBack;
        return kPassApplied;
    }
    return ApplyNewImage();
}

PassOutcome CAlbum::ApplyScheduledImage() {
    // An album the calendar or the clock chooses for shows the clock's picture: what
    // Previous went back over was only a look back. Others go forward through it first.
    return NextWalk() == Walk::Clock ? ApplyNewImage() : ApplyNextImage();
}

PassOutcome CAlbum::ApplyNewImage() {
    // A stored position out of the list (any number at all) starts at the first entry.
    const bool placed = LastIndex >= 0 && static_cast<size_t>(LastIndex) < FileList.size();
    return ApplyNext(placed ? LastIndex + 1 : 0, NextWalk(), LocalTime());
}

PassOutcome CAlbum::ApplyImageAt(int position) {
    // The entry at that position, whatever the mode; the calendar's or the clock's for an
    // album that follows them.
    return ApplyNext(position, NextWalk() == Walk::Clock ? Walk::Clock : Walk::List, LocalTime());
}

PassOutcome CAlbum::ApplyPreviousImage() {
    const SYSTEMTIME now = LocalTime();
    const size_t standing = History.size() - std::min(HistoryBack, History.size());
    if (standing >= 2) {
        const PassOutcome result = ShowAgain(standing - 2, now);
        if (result == kPassApplied)
            ++HistoryBack;
        return result;
    }
    // Back through what the album showed since Glimro started, and no further. With only
    // the picture shown now (or none), the entry before it in the album's order, whatever
    // the frequency; a shuffle's order is not known.
    if (HistoryBack > 0 || FileList.empty() || NextWalk() == Walk::Shuffle)
        return kPassNothingApplied;
    const long long from = standing == 1 ? History.front().entry : LastIndex;
    const long long count = static_cast<long long>(FileList.size());
    const int before = static_cast<int>(((from - 1) % count + count) % count);
    const PassLibraries libraries;
    LogStream log = OpenLog(LogMode::Afresh);
    const PassOutcome result = Record(Choose(before, Walk::List, now, log), Shown::Again, now);
    if (result == kPassApplied)
        RememberBefore();
    return result;
}

PassOutcome CAlbum::ShowAgain(size_t at, const SYSTEMTIME& now) {
    const PassLibraries libraries;
    LogStream log = OpenLog(LogMode::Afresh);
    const ShownPicture picture = History[at];
    const Candidate again = Remembered(*this, picture.entry, picture.picture, picture.credit);
    if (TryCandidate(again, *this, log) != TryOutcome::Applied)
        return Record(kPassNothingApplied, Shown::Again, now);
    RecordShown(*this, picture.entry, picture.picture.Text, {}, picture.credit);
    return Record(kPassApplied, Shown::Again, now);
}

PassOutcome CAlbum::ShowAside(const AsidePicture& picture) {
    const PassLibraries libraries;
    LogStream log = OpenLog(LogMode::Afresh);
    const SYSTEMTIME now = LocalTime();
    if (TryCandidate(Remembered(*this, -1, picture.picture, picture.credit), *this, log) != TryOutcome::Applied)
        return Record(kPassNothingApplied, Shown::Aside, now);
    Aside = picture;
    return Record(kPassApplied, Shown::Aside, now);
}

void CAlbum::RememberShown() {
    constexpr size_t kRemembered = 100;
    History.resize(History.size() - std::min(HistoryBack, History.size()));
    HistoryBack = 0;
    History.push_back({LastIndex, ShownEntry(), Credit});
    if (History.size() > kRemembered)
        History.erase(History.begin());
}

void CAlbum::RememberBefore() {
    constexpr size_t kRemembered = 100;
    History.insert(History.begin(), {LastIndex, ShownEntry(), Credit});
    if (History.size() > kRemembered)
        History.pop_back();
    HistoryBack = History.size() - 1;
}

PassOutcome CAlbum::ApplyNext(int first, Walk walk, const SYSTEMTIME& now) {
    if (FileList.empty())
        return kPassNoEntries;
    const PassLibraries libraries;
    LogStream log = OpenLog(LogMode::Afresh);
    return Record(Choose(first, walk, now, log), Shown::New, now);
}

PassOutcome CAlbum::Choose(int first, Walk walk, const SYSTEMTIME& now, LogStream& log) {
    if (FileList.empty())
        return kPassNoEntries;
    const bool by_shuffle = walk == Walk::Shuffle;
    // An address found to be a feed's makes the album read again, once: it then stands for
    // the feed's pictures.
    std::wstring found_feed;
    for (int reading = 0; reading < 2; ++reading) {
        const Expansion all = Expand(FileList, log, found_feed);
        const std::vector<Candidate>& candidates = all.candidates;
        const int count = static_cast<int>(candidates.size());

        // Folders without pictures only: nothing to try.
        PassRules rules(*this, candidates);
        std::vector<int> order;
        if (count > 0 && walk == Walk::Shuffle)
            order = ShuffleOrder(*this, all, rules);
        else if (count > 0 && walk == Walk::Clock)
            order = ClockOrder(*this, all, now);
        else if (count > 0)
            order = ListOrder(*this, all, first);

        if (Monitors == kPictureEach && count > 0) {
            const std::vector<Box> screens = OrderedMonitors();
            if (screens.size() >= 2)
                return ApplyPerMonitor(*this, candidates, order, by_shuffle, screens, rules, log);
        }
        // The album's order over the pictures that fit; when none did, the largest first.
        RoundTakings taken(ShuffleRound, by_shuffle ? candidates.size() : 0);
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
                    taken.Take(index);
                    continue;
                }
                const Candidate& candidate = candidates[static_cast<size_t>(index)];
                const TryOutcome outcome = TryCandidate(candidate, *this, log);
                if (outcome == TryOutcome::Applied) {
                    // A skipped entry keeps its place in the round.
                    taken.Take(index);
                    RecordCandidate(*this, candidate);
                    return kPassApplied;
                }
                stop = outcome == TryOutcome::SwitchFailed ||
                       (outcome == TryOutcome::FoundFeed && reading == 0);
                if (outcome == TryOutcome::FoundFeed && reading == 0)
                    found_feed = candidate.image.Expanded();
                if (stop)
                    break;
            }
        }
        if (found_feed.empty())
            break;
    }
    return kPassNothingApplied;
}

PassOutcome CAlbum::ShowEntry(const ImageEntry& entry, int position) {
    const PassLibraries libraries;
    LogStream log = OpenLog(LogMode::Afresh);
    const SYSTEMTIME now = LocalTime();
    const bool held = position >= 0 && static_cast<size_t>(position) < FileList.size();
    const int at = held ? position : LastIndex;
    const std::wstring target = entry.IsText() ? entry.Expanded() : L"";
    Candidate shown;
    for (int reading = 0; reading < 2; ++reading) {
        const EntrySource& source = SourceFor(target);
        shown = {at, entry, &source};
        if (source.HoldsMany()) {
            // The picture the album would show next from this entry, among those it may show.
            std::vector<Candidate> pictures;
            source.Expand(at, entry, target, reading == 0 ? L"" : target, log, pictures);
            const int count = static_cast<int>(pictures.size());
            if (count == 0)
                return Record(kPassNothingApplied, Shown::Chosen, now);
            const size_t start = held && position == LastIndex
                                     ? source.After(*this, pictures.data(), pictures.size(), LastFile)
                                     : source.Start(*this, pictures.data(), pictures.size());
            PassRules rules(*this, pictures);
            const int chosen = FirstShowable(rules, static_cast<int>(start) % count, count, ScreenFor(Position));
            if (chosen < 0)
                return Record(kPassNothingApplied, Shown::Chosen, now);
            shown = pictures[static_cast<size_t>(chosen)];
        }
        const TryOutcome outcome = TryCandidate(shown, *this, log);
        if (outcome == TryOutcome::FoundFeed && reading == 0)
            continue;
        if (outcome != TryOutcome::Applied)
            return Record(kPassNothingApplied, Shown::Chosen, now);
        break;
    }
    // One picture now, on every monitor.
    RecordCandidate(*this, shown);
    return Record(kPassApplied, Shown::Chosen, now);
}

} // namespace glimro
