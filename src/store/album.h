#pragma once
// One album: a named, ordered list of image entries with its schedule, choice rule, active
// flag and progress. In the registry it is one subkey of the album list key.
#include "core/frequency.h"
#include "core/schedule.h"
#include "platform/reg_key.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace glimro {

class LogStream;


// The album list's suffix for a frequency: " (on the minute)" ... " (calendar)"; empty for
// a frequency outside 0-5.
std::wstring FrequencyLabel(int frequency);
// The unit of "every N" for the frequency, for that count ("minute", "hours"); empty
// without a unit.
std::wstring UnitText(int frequency, int count);

// The longest entry the pass uses: an address, and a local path (the file functions' limit).
inline constexpr size_t kMaxAddressChars = 2048;
inline constexpr size_t kMaxPathChars = MAX_PATH - 1;

// What a pass came to.
enum class PassOutcome {
    Applied,        // a picture is the wallpaper, and the album records it
    NothingApplied, // every picture tried failed or could not be used: the interval counts as
                    // tried, the wallpaper and the album's place stay as they were
    NoEntries,      // the album holds no entry: nothing was tried, nothing is recorded
    Busy,           // another pass holds the albums: nothing was tried
};
inline constexpr PassOutcome kPassApplied = PassOutcome::Applied;
inline constexpr PassOutcome kPassNothingApplied = PassOutcome::NothingApplied;
inline constexpr PassOutcome kPassNoEntries = PassOutcome::NoEntries;
inline constexpr PassOutcome kPassBusy = PassOutcome::Busy;

// One entry of an album: its text, and the form it was stored in when that is not simply
// the text, so that a save writes back exactly what another tool (or a newer Glimro) wrote.
struct ImageEntry {
    ImageEntry() = default;
    ImageEntry(std::wstring text) : Text(std::move(text)) {}
    ImageEntry(const wchar_t* text) : Text(text) {}

    // What the list shows and the pass uses: a string value's characters up to its first
    // NUL, not expanded; empty for a value of another type.
    std::wstring Text;
    // REG_SZ, or REG_EXPAND_SZ (expanded when used); any other type is kept and never used.
    DWORD Type = REG_SZ;
    // The exact stored bytes when they are more than Text (a terminating NUL, another type);
    // empty otherwise, and then Text is written.
    std::vector<BYTE> Stored;

    bool IsText() const { return Type == REG_SZ || Type == REG_EXPAND_SZ; }
    // The text with environment variables expanded for REG_EXPAND_SZ.
    std::wstring Expanded() const;
    friend bool operator==(const ImageEntry&, const ImageEntry&) = default;
};

// The form in which two pictures compare equal: a local path by its letters in upper case,
// as Windows finds files whatever the case; an address exactly, as a server may tell its
// paths apart by case.
std::wstring PictureKey(const std::wstring& picture);
// The key of an entry's picture: always the picture expanded, so an expandable entry and
// the path it stands for are one picture for skips, History and Recent Pictures.
inline std::wstring PictureKey(const ImageEntry& picture) {
    return PictureKey(picture.Expanded());
}
// Whether two pictures are one: the same text, or the same key.
bool SamePicture(const std::wstring& a, const std::wstring& b);

// What a feed said of the picture shown: its item's title, credit and page.
struct PictureCredit {
    std::wstring Title;
    std::wstring Credit;
    std::wstring Page;
    bool Empty() const { return Title.empty() && Credit.empty() && Page.empty(); }
    friend bool operator==(const PictureCredit&, const PictureCredit&) = default;
};

// The pictures of one feed entry an album has shown, oldest first, at most kMaxFeedShown.
struct FeedShown {
    std::wstring Feed;
    std::vector<std::wstring> Pictures;
    friend bool operator==(const FeedShown&, const FeedShown&) = default;
};
inline constexpr size_t kMaxFeedShown = 500;
inline constexpr size_t kMaxSkipped = 2000;

// The album's "Caption" on the desktop: as the Options window says (also when the value is
// absent), on, or off.
enum CaptionRule : int {
    kCaptionAsOptions = 0,
    kCaptionOn = 1,
    kCaptionOff = 2,
};

class CAlbum {
public:
    std::wstring Name;
    std::wstring Description;
    std::wstring LastFile = L"Unavailable";
    int LastIndex = 0;
    int Frequency = kEveryDay;
    SYSTEMTIME LastTime = {};
    // The start of the last pass that applied nothing, while Glimro runs: that interval (or
    // slot) counts as tried, and the next attempt comes with the next one.
    SYSTEMTIME TriedTime = {};
    // The later of LastTime and TriedTime: what the album's own rhythm and its slots go by.
    const SYSTEMTIME& LastAttempt() const;
    bool Enabled = false;
    int Mode = kSequential;
    std::vector<ImageEntry> FileList;
    // With Mode "Random": the positions still to be shown in this round, next first. Stored
    // as the extra value "Shuffle Round", which other tools may ignore.
    std::vector<int> ShuffleRound;
    // With folder entries, which pictures the round was drawn over (a fingerprint of the
    // expanded list), stored as "Shuffle Set"; 0 for none. A round of another set is
    // drawn afresh.
    uint32_t ShuffleSet = 0;
    // How the picture fills the screen (Position); stored as "Position", absent for Center.
    int Position = kCenter;
    // The same picture on every monitor, or one each (MonitorChoice); stored as "Monitors".
    int Monitors = kSamePicture;
    // Every how many of the frequency's units it changes ("Every", absent 1), and when
    // ("At": minutes after midnight plus the day, from Monday or the 1st, times 1,440;
    // absent 0). The rhythm is core/schedule.h's.
    int Every = 1;
    int At = 0;
    Rhythm OwnRhythm() const { return Rhythm{Frequency, Every, At}; }
    // With a picture for each monitor: the pictures the last change showed, in monitor order
    // (kept while Glimro runs, so a new screen layout can show them again).
    std::vector<std::wstring> ShownPerMonitor;
    // The pictures this album's changes showed while Glimro runs, oldest first, and how many
    // steps Previous has gone back from the newest (Next then goes forward through them).
    // Each is the entry as stored (expanded when used) or a folder's picture, with its
    // entry's position, which follows the entries when they are moved or deleted.
    struct ShownPicture {
        int entry;
        ImageEntry picture;
        PictureCredit credit = {};
    };
    std::vector<ShownPicture> History;
    size_t HistoryBack = 0;
    // A recent picture shown out of turn while Glimro runs: the album's place stays where it
    // was, and its next change goes on from there (and forgets this). From another album
    // when `album` names one.
    struct AsidePicture {
        ImageEntry picture;
        PictureCredit credit;
        std::wstring album;
    };
    std::optional<AsidePicture> Aside;
    // What the desktop shows now for this album: the picture shown aside, else the last one
    // recorded (at LastIndex, with its credit).
    AsidePicture Current() const;

    // The credit of the picture shown now when it came from a feed; stored as "LastTitle",
    // "LastCredit" and "LastPage", each left out when empty.
    PictureCredit Credit;
    // Per feed entry, by its address, the pictures shown from it; stored as the multi-string
    // "Feed Pictures Shown": each feed's address after "@", then its pictures' addresses.
    std::vector<FeedShown> FeedsShown;
    bool WasShownFromFeed(const std::wstring& feed, const std::wstring& picture) const;
    // Remembers the picture for the feed, dropping the oldest past the bound and the feeds
    // the album no longer holds.
    void RememberFeedPicture(const std::wstring& feed, const std::wstring& picture);

    // The pictures the user asked never to see again from this album, oldest first: a
    // folder's or a feed's picture, or an entry's text (the entry stays in the list). Stored
    // as the multi-string "Skipped Pictures"; at most kMaxSkipped, the oldest going first.
    std::vector<std::wstring> Skipped;
    // By the picture's key; a picture stored as skipped before keys were expanded matches
    // its stored text too.
    bool IsSkipped(const ImageEntry& picture) const;
    // Skips the picture (stored expanded); History forgets it, so Previous and Next never
    // bring it back.
    void Skip(const ImageEntry& picture);
    // Shows the picture again; false when it was not skipped.
    bool Unskip(const std::wstring& picture);
    // Which pictures fit (core/picture_fit.h): "Smallest Share" (percent of the screen's
    // width and height a picture must reach, absent 0 for any size) and "Shape" (absent for
    // any shape).
    int SmallestShare = 0;
    int Shape = 0;
    // Whether its pictures carry a caption (CaptionRule); stored as "Caption", absent for as
    // in Options.
    int Caption = kCaptionAsOptions;
    // With a picture for each monitor: what each one is, for its caption (the picture's path
    // or address and its credit), in monitor order, while Glimro runs.
    struct MonitorSubject {
        std::wstring picture;
        PictureCredit credit;
    };
    std::vector<MonitorSubject> SubjectsPerMonitor;

    void SetEnabled(bool enabled) { Enabled = enabled; }

    // Fills the record from its album key; never touches Name. A value of the wrong type or
    // size counts as missing. The registry's code when the FileList key is there but cannot
    // be read: the record is then not the album, and must never be saved over it.
    LSTATUS LoadFromKey(const RegKey& album_key);
    // Writes the record as the subkey Name of parent; false when that subkey cannot be made
    // or any write fails.
    bool SaveToKey(HKEY parent, int ordinal) const;
    // Writes the album into a new, empty key. What the album's old key holds that the record
    // does not own (other values, other subkeys, other values of FileList), and the record's
    // own values that are unchanged since `stored` (the record as last loaded or saved), are
    // copied from old_key exactly, type and bytes; the rest is written from the record.
    // Without an old key every value is written. The first failure's code.
    LSTATUS WriteToKey(RegKey& album_key, const RegKey* old_key = nullptr,
                       const CAlbum* stored = nullptr) const;
    // Every value named "ImageFile" and a position (decimal, no leading zeros), in the order
    // of the positions, gaps closed; each keeps its stored form. The code of a failed listing.
    LSTATUS LoadFileList(const RegKey& file_list_key);
    static LSTATUS WriteFileListEntry(RegKey& file_list_key, size_t position,
                                      const ImageEntry& entry);
    // Whether everything the registry holds of the album is the same in both records (the
    // name aside).
    bool SameStoredForm(const CAlbum& other) const;

    // The picture shown now as an entry: LastFile in the stored form of the entry at
    // LastIndex when it is that entry (so an expandable one is expanded when used), else as
    // the path it is (a folder's picture).
    ImageEntry ShownEntry() const;
    // The entries were moved or deleted: moved[p] is where the entry at p went, or -1.
    // The shuffle round and the pictures shown follow them; those of deleted entries go.
    void FollowEntries(const std::vector<int>& moved);

    // The pass (defined with the rest of the wallpaper engine). Entries that cannot be used
    // are skipped: the first of the chosen entry and those after it that works is applied.
    // Next, Previous and a chosen position mean the same for every order: after Previous,
    // Next shows the pictures gone back over again before any new one.
    PassOutcome ApplyNextImage();
    // The change on schedule: as Next, except that an album the calendar or the clock
    // chooses for shows the clock's picture (Previous there was only a look back).
    PassOutcome ApplyScheduledImage();
    // The entry at the position (wrapping), or the calendar's or the clock's entry for an
    // album that follows them.
    PassOutcome ApplyImageAt(int position);
    // The picture shown before this one (in the album's order, or the shuffle's), the
    // shuffle round untouched; before the first one remembered, the entry before it in the
    // album's order (not known for a shuffle), whatever the frequency.
    PassOutcome ApplyPreviousImage();
    // Makes this entry the wallpaper, whatever the frequency and mode, and records it as the
    // last shown; position is its place in FileList, or -1 for a picture the album does not
    // hold yet (its position then stays). Only this entry is tried: inside a folder or a
    // feed, the picture the album would show next from it that the album may show.
    PassOutcome ShowEntry(const ImageEntry& entry, int position);
    // The pictures shown now, set again for a new screen layout; the album does not move on
    // and no interval is recorded.
    bool ReapplyForLayout();
    // Shows a picture out of turn (a recent one) with the album's position; on success it is
    // Aside, and nothing else of the record changes.
    PassOutcome ShowAside(const AsidePicture& picture);

private:
    // Which order a pass walks: the album's list from a position, the shuffle round's, or
    // the calendar's or the clock's.
    enum class Walk { List, Shuffle, Clock };
    // What a recorded outcome was: a new picture (it joins History), an entry the user
    // chose (Use Now: as a new picture, but one that fails is no try of the album's), one of
    // History again, or a picture out of turn (only the schedule hears of it).
    enum class Shown { New, Chosen, Again, Aside };
    // The pass from the choice of the position on; `first` is the position to try first
    // (before the wrap-around) in a walk of the list.
    PassOutcome ApplyNext(int first, Walk walk, const SYSTEMTIME& now);
    // The choice and the change of ApplyNext, nothing recorded.
    PassOutcome Choose(int first, Walk walk, const SYSTEMTIME& now, LogStream& log);
    // The next picture not yet shown, by the album's order.
    PassOutcome ApplyNewImage();
    // The album's own order for Next from where it stands.
    Walk NextWalk() const;
    // Shows the picture History[at] again; on success it is the current one.
    PassOutcome ShowAgain(size_t at, const SYSTEMTIME& now);
    // The one place a pass's outcome is recorded, whatever the frequency: a picture applied
    // sets LastTime (and History for a new one) and the interval markers; nothing applied
    // counts the interval as tried (but for Use Now and a picture out of turn, which are no
    // try of the album's). Returns the outcome.
    PassOutcome Record(PassOutcome outcome, Shown shown, const SYSTEMTIME& started);
    // Puts the current picture at the end of History, dropping what Previous went back over.
    void RememberShown();
    // Puts the current picture before the oldest in History: Previous went back past it.
    void RememberBefore();
};

} // namespace glimro
