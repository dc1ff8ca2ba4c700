#pragma once
// What happens over time: the pass, layout and catch-up timers, the pause and the holds, and
// the one way every change of wallpaper goes (hold the album, run the pass, repaint, save,
// report what could not be saved, announce). Windows ask it and show what it announces; its
// only window is the one its timers run on (the frame, which lives as long as the instance).
#include "scheduler/pass_check.h"
#include "store/album_set.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace glimro {

inline constexpr wchar_t kPassRunningStatus[] = L"Please wait: the wallpaper is being changed.";
inline constexpr wchar_t kPausedStatus[] = L"Paused: no picture changes on schedule.";
// A tick that comes while a command's pass is still downloading looks again this soon.
inline constexpr DWORD kBusyRetryDelay = 1000;
// After a resume from sleep, a clock change or an unlock: a check this soon.
inline constexpr DWORD kCatchUpDelay = 1500;
// While paused, the timer only looks whether the pause has ended.
inline constexpr DWORD kPausedDelay = 60000;
// A display change waits this long for the layout to settle; another one starts it again.
inline constexpr UINT_PTR kLayoutTimerId = 2113;
inline constexpr DWORD kLayoutSettleDelay = 3000;
// The light or dark theme's own timer: at start, at each switch, after a resume, a clock
// change or an unlock, and when the Options window changed the choice.
inline constexpr UINT_PTR kThemeTimerId = 2114;

// What a change shows.
struct WallpaperChange {
    enum Kind { Next, Previous, At, Entry } kind = Next;
    // At: the entry's place. Entry: its place in the album, or -1 for one the album does not
    // hold yet.
    int position = -1;
    const ImageEntry* entry = nullptr; // Entry only
};

// How a save that a command of the user's asked for tells what it could not write.
using SaveReport = std::function<void(const std::vector<AlbumSet::SaveProblem>&)>;

// The message box that names each album with the system's reason, owned by owner.
SaveReport MessageBoxReport(HWND owner);

// A pass that reached an entry may have changed the wallpaper, which Wine paints over
// visible windows: they are drawn again.
void RepaintAfterPass(PassOutcome result);

class CRotator : public AlbumListHost {
public:
    explicit CRotator(AlbumSet& albums) : albums_(albums) {}

    AlbumSet& Albums() { return albums_; }
    const AlbumSet& Albums() const { return albums_; }
    void SetTimerWindow(HWND window) { timer_window_ = window; }
    // The pause as stored, and the first check soon: once the albums are loaded.
    void Start();
    // A timer of the rotator's; false for another.
    bool OnTimer(UINT_PTR id);
    void ArmPassTimer(DWORD delay);

    // Pause stops the changes on schedule; it is kept under the product key.
    bool Paused() const { return paused_; }
    void SetPaused(bool paused);
    // Something may have made a change due (a resume, a new clock): check soon.
    void CatchUp();
    // The theme looked at again soon (its choice changed).
    void FollowThemeSoon();
    // The screens changed: once the layout has settled, the active album's pictures are set
    // again for it (the album does not move on).
    void OnDisplayChange();
    // "Paused: ..." while paused, else the idle text (with the monitors an album serves).
    std::wstring IdleStatus() const;

    // True while a pass is changing the wallpaper: what would change the set waits for it.
    bool Busy() const { return albums_.PassRunning(); }
    // The one way a command changes the wallpaper: the album is held for the pass (while
    // another pass runs, kPassBusy and nothing else), the pass runs, the windows are repainted, the rows are
    // announced and what changed is saved, report told what could not be. A change to an
    // entry (Use Now in an open sheet) saves that album only: the rest of what the sheet
    // holds is not the set's yet.
    PassOutcome Change(CAlbum& album, const WallpaperChange& what, const SaveReport& report);
    // Don't Show This Picture Again: the picture shown now is skipped for its album (the
    // album a recent picture came from), and the active album's next picture is shown.
    PassOutcome SkipCurrent(const SaveReport& report);
    // Shows a picture of the recent list again with the active album, out of turn: the
    // album's place stays. kPassNothingApplied without an active album or such a picture.
    PassOutcome ShowRecent(size_t index);
    // Saves what changed for a command; false, after telling report, when something could not
    // be written or removed.
    bool SaveForCommand(const SaveReport& report, const CAlbum* pass_album = nullptr);

    // Told when the albums' rows should show the set again, and a word for the status bar.
    std::function<void()> RowsChanged;
    std::function<void(const std::wstring&)> Status;

    // The pass check's view of the albums.
    CAlbum* FindActiveAlbum() override;
    int RunAlbumPass(CAlbum* album) override;
    void RefreshAlbumList() override;
    int SaveAlbumList() override;
    const char* HoldReason() override;

private:
    void OnPassTimer();
    void OnLayoutTimer();
    void OnThemeTimer();
    void Say(const std::wstring& text) const;
    // The album now shows a new picture: it heads the recent list.
    void RememberRecent(const CAlbum& album) const;

    AlbumSet& albums_;
    HWND timer_window_ = nullptr;
    bool paused_ = false;
};

} // namespace glimro
