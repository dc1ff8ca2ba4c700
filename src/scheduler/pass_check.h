#pragma once
// The decision, at every tick of the pass timer, whether a new interval of the active
// album's frequency has begun, and the pass that follows when it has.
#include "platform/command_ids.h"
#include "store/album.h"

#include <windows.h>

namespace glimro {

// What the pass check needs of the album list that owns the albums.
class AlbumListHost {
public:
    virtual ~AlbumListHost() = default;
    virtual CAlbum* FindActiveAlbum() = 0;
    // Runs the album's pass; returns its frequency afterwards, or -1 without an album.
    virtual int RunAlbumPass(CAlbum* album) = 0;
    virtual void RefreshAlbumList() = 0;
    virtual int SaveAlbumList() = 0;
    // Why a change that has fallen due waits now ("a full-screen program or a presentation
    // runs"); null when nothing holds it.
    virtual const char* HoldReason() { return nullptr; }
    // Set while a due change waits; the pass that makes it says so in the log.
    bool ChangeHeld = false;
};

inline constexpr UINT kPassTimerId = kCommand2112;
inline constexpr DWORD kFirstCheckDelay = 1000;
inline constexpr DWORD kAfterActivationDelay = 60000;
// While a due change waits, the checks come at least this often.
inline constexpr DWORD kHeldCheckDelay = 60000;

// The delay before the next check for an album of this frequency.
DWORD NextCheckDelay(int frequency);

// Compares the interval markers of the frequency's unit (and then of the next larger unit)
// with the local time t. No year is compared.
bool IsIntervalDue(int frequency, const SYSTEMTIME& t);

// The start of the next interval of the frequency after t (a weekly album is due at the new
// week or the new month, whichever comes first); false for a frequency that is never due.
bool NextChangeTime(int frequency, const SYSTEMTIME& t, SYSTEMTIME* next);

// The album's own decision: by its slot (Sync to Day and Sun), by its own rhythm (every N,
// at a chosen time) against its last change, or else by the interval markers.
bool IsAlbumDue(const CAlbum& album, const SYSTEMTIME& t);
// The delay before the album's next check.
DWORD AlbumCheckDelay(const CAlbum& album, const SYSTEMTIME& t);
// When the album changes next after t; false when it never does.
bool NextAlbumChange(const CAlbum& album, const SYSTEMTIME& t, SYSTEMTIME* next);

// One check: logs it, runs the pass when due, returns the delay until the next check.
DWORD RunScheduledPass(const SYSTEMTIME& t, AlbumListHost& albums);

} // namespace glimro
