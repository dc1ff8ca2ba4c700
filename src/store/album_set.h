#pragma once
// The set of all albums: the one source of truth that the Album Manager shows and the
// rotator runs. It owns the records, loads and saves them, knows their display order and
// the active album, and pins the album a pass is writing so that nothing can pull it away.
#include "store/album.h"

#include <functional>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace glimro {

// The first column of an album's row, by which rows are sorted: the name and the
// frequency's label.
std::wstring DisplayText(const CAlbum& album);

class AlbumSet {
public:
    using Records = std::list<std::unique_ptr<CAlbum>>;

    AlbumSet() = default;
    AlbumSet(const AlbumSet&) = delete;
    AlbumSet& operator=(const AlbumSet&) = delete;

    // Finishes or undoes a save that was cut off, then puts every album of the registry at
    // the head of the set (so they end in the reverse of the registry's order). An album key
    // that cannot be read is left as it is, reported in the log, and never written or
    // removed by a save. When the stored set has more than one active album, the first in
    // display order stays active. Returns the number of albums in the set.
    size_t LoadAlbumList();
    // Writes what differs from the registry: albums added, changed or renamed since they
    // were loaded or last saved, and removes the keys of albums taken out of the set. At
    // every instant the registry holds each album whole, in its old or its new form. An
    // album that cannot be written is reported in the log, left as the registry has it, and
    // tried again at the next save; every other change is still saved. Returns the number of
    // albums written.
    int SaveAlbumList();
    // The save after a pass, which changed only its own album: that album, the albums an
    // earlier save could not write, and the removals still to do; nothing else is compared,
    // so a pass costs the same among a thousand albums as alone.
    int SaveAfterPass(const CAlbum* album);
    // What the last save could not write or remove, for a command to tell the user.
    struct SaveProblem {
        std::wstring album; // its name
        LSTATUS status;
        bool removal; // its key was to be removed
    };
    const std::vector<SaveProblem>& SaveProblems() const { return problems_; }
    // Whether the album differs from what the registry holds of it (or is not stored yet).
    bool IsChanged(const CAlbum* album) const;
    // The first album in display order whose active flag is set; null when none.
    CAlbum* FindActiveAlbum() const;

    // The albums sorted as the album list shows them.
    std::vector<CAlbum*> DisplayOrder() const;
    const Records& Albums() const { return records_; }
    bool Empty() const { return records_.empty(); }
    size_t Size() const { return records_.size(); }
    bool Contains(const CAlbum* album) const;
    // Whether another album of the set, or an album key that could not be read, has this
    // name, without regard to letter case (key names ignore it).
    bool NameInUse(const std::wstring& name, const CAlbum* except) const;
    const std::vector<std::wstring>& UnreadAlbums() const { return unread_; }

    // Puts a record at the head of the set; returns it. An active record becomes the only
    // active one.
    CAlbum* Add(std::unique_ptr<CAlbum> album);
    // Destroys a record of the set; false (nothing changes) for the album a pass is writing
    // or a record the set does not hold. Its key goes at the next save.
    bool Remove(const CAlbum* album);
    // Leaves this album the only active one; none when it is null. Every change of the
    // active album goes through here.
    void Activate(CAlbum* album);

    // A pass over one album, from its start until its result is saved. While one is held,
    // no other can be, and the album cannot be removed.
    class PassHold {
    public:
        PassHold() = default;
        explicit PassHold(AlbumSet* set) : set_(set) {}
        PassHold(PassHold&& other) noexcept;
        PassHold& operator=(PassHold&& other) noexcept;
        PassHold(const PassHold&) = delete;
        PassHold& operator=(const PassHold&) = delete;
        ~PassHold() { Release(); }

        explicit operator bool() const { return set_ != nullptr; }
        void Release();

    private:
        AlbumSet* set_ = nullptr;
    };
    // An empty hold when a pass is already running.
    PassHold HoldForPass(const CAlbum* album);
    bool PassRunning() const { return pass_running_; }
    const CAlbum* PassAlbum() const { return pass_album_; }

    // Called each time a pass's hold ends.
    std::function<void()> PassFinished;

private:
    // An album as its key holds it: the key's name and the record as last loaded or saved.
    struct Stored {
        std::wstring key_name;
        CAlbum form;
    };
    Records records_;
    std::unordered_map<const CAlbum*, Stored> stored_;
    std::vector<std::wstring> removed_; // keys of albums taken out of the set, not yet removed
    std::vector<const CAlbum*> unwritten_; // the records the last save could not write
    std::vector<SaveProblem> problems_;
    std::vector<std::wstring> unread_;
    // Writes the records (those that changed) and the pending removals.
    int Save(const std::vector<const CAlbum*>& records);
    bool pass_running_ = false;
    const CAlbum* pass_album_ = nullptr;
};

} // namespace glimro
