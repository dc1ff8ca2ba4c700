#pragma once
// Every kind of album entry (a picture file, a folder, a feed, an address) is one entry
// source behind this interface: the pictures it stands for and the order a walk takes them
// in, how one of them is fetched, staged and set, the file that holds it on this machine, and
// how the Images page describes it. Nothing outside the sources asks what kind an entry is:
// SourceFor does, in the one list of kinds.
//
// A new kind of entry is one new file with its source, and one line in that list.
#include "engine/caption.h"
#include "engine/entry_judge.h"
#include "log/activity_log.h"
#include "store/album.h"

#include <functional>
#include <string>
#include <vector>

namespace glimro {

class EntrySource;

// One picture an album stands for: a file or address entry itself, or a picture of a folder
// or feed entry.
struct Candidate {
    int entry = 0;    // its entry's position in FileList
    ImageEntry image; // what is tried: an entry keeps its stored form, expanded when used
    const EntrySource* source = nullptr; // the kind that fetches and stages it
    std::wstring feed = {};    // the feed entry's address it came from; empty for none
    PictureCredit credit = {}; // what its feed item says of it
};

// How an album shows a picture: where it lies on the monitor (the album's Position), and
// its caption.
struct Look {
    int position = kCenter;
    CaptionChoice caption;
};

// What trying one picture came to.
enum class TryOutcome {
    Applied,
    EntryFailed,  // this picture could not be used: the next one may do
    SwitchFailed, // the system refused the wallpaper: another picture would fare no better
    FoundFeed,    // the address is a feed's: the pass reads the album again
};

// What the Images page shows of an entry besides its text, and the file its preview comes
// from (decoded here when the shell cannot tell what it is).
struct EntryDescription {
    std::wstring note; // "(12 pictures, 1 skipped)", "(skipped)", or empty
    std::wstring preview;
    bool preview_by_shell = true;
};

class EntrySource {
public:
    virtual ~EntrySource() = default;

    // Whether the entry (its text expanded) is of this kind.
    virtual bool Claims(const std::wstring& target) const = 0;

    // The pictures the entry stands for, appended in the order a walk takes them. fresh: a
    // feed whose copy this pass fetched a moment ago, read as it is.
    virtual void Expand(int entry, const ImageEntry& stored, const std::wstring& target,
                        const std::wstring& fresh, LogStream& log,
                        std::vector<Candidate>& out) const;
    // Whether the entry stands for pictures of its own, which a walk goes through by the one
    // shown last (LastFile); a shuffle round is then drawn over the expanded list.
    virtual bool HoldsMany() const { return false; }
    // Among the entry's pictures [first, first + count): where a walk that comes to the entry
    // begins, and where one goes on after `shown` (count: past the entry).
    virtual size_t Start(const CAlbum& album, const Candidate* first, size_t count) const;
    virtual size_t After(const CAlbum& album, const Candidate* first, size_t count,
                         const std::wstring& shown) const;

    // Fetches and stages the picture for the album's look and makes it the wallpaper.
    virtual TryOutcome Show(const Candidate& picture, const Look& look, LogStream& log) const = 0;
    // The picture as a file of its own for one monitor's share (slot); empty, reported,
    // when it cannot be made ready.
    virtual std::wstring ReadyFile(const Candidate& picture, size_t slot, LogStream& log) const = 0;
    // The file that holds the picture on this machine (an address's cached copy); empty when
    // there is none.
    virtual std::wstring FileOf(const std::wstring& picture) const = 0;
    // The file a new screen layout stages the picture shown again from.
    virtual std::wstring ShownFile(const std::wstring& picture) const { return FileOf(picture); }
    // Whether the picture came over the network (it can be kept), or is a file of the user's
    // (it can be shown in its folder).
    virtual bool Downloads() const { return false; }
    // Where the entry's pictures are listed: the address a feed's pictures are judged by.
    virtual std::wstring DocumentAddress(const std::wstring& target) const { return target; }

    // The longest entry of the kind the pass can use, and how a message names it ("The
    // address", "The path").
    virtual size_t MaxChars() const { return kMaxPathChars; }
    virtual const wchar_t* Noun() const { return L"path"; }
    // For an entry the user adds, once its length is judged.
    virtual EntryProblem CheckNew(const std::wstring& text) const = 0;

    // The Images page's row and preview; skipped: the pictures the album skips.
    virtual EntryDescription Describe(const std::wstring& target,
                                      const std::vector<std::wstring>& skipped) const;
};

// The source of an entry's kind, by its expanded text.
const EntrySource& SourceFor(const std::wstring& target);
inline const EntrySource& SourceFor(const ImageEntry& entry) {
    return SourceFor(entry.IsText() ? entry.Expanded() : std::wstring());
}
// The source of one picture (a file, or an address): never a folder's or a feed's, so no
// file or cache is looked at to tell.
const EntrySource& PictureSourceFor(const std::wstring& picture);

// The kinds, listed once in entry_source.cpp.
const EntrySource& FeedSource();
const EntrySource& AddressSource();
const EntrySource& FolderSource();
const EntrySource& PictureFileSource();
const EntrySource& DailyWebSource();
const EntrySource& SpotlightSource();

// Whether the album has never shown the picture from the feed it came from (a feed's new
// one): walks and shuffles take it first.
bool IsNewPicture(const CAlbum& album, const Candidate& picture);
// ", N skipped" for the skipped pictures the entry holds; empty for none.
// An entry's note on the Images page: its pictures counted, with what is skipped of them, and
// its title when it has one: "  (Title — 12 pictures, 2 skipped)".
std::wstring PicturesNote(const std::wstring& title, size_t count, const std::wstring& skipped);
std::wstring SkippedNote(const std::vector<std::wstring>& skipped,
                         const std::function<bool(const std::wstring& picture)>& holds);

} // namespace glimro
