#pragma once
// The album list view: one row per album with its name and frequency, description, last run
// time and current image, the active album's box ticked. It shows the album set and sends it
// the album commands; it owns the pass timer and turns keys and clicks into commands.
#include "platform/image_list.h"
#include "scheduler/pass_check.h"
#include "store/album_set.h"
#include "ui/list_view_ex.h"

#include <functional>
#include <string>

namespace glimro {

// "Never" for a time whose year is 0, else the short date, " at ", and "hh:mm tt".
std::wstring LastRunText(const SYSTEMTIME& time);

inline constexpr wchar_t kPlaceholderRow[] = L"You need to add a 'new' album...";
inline constexpr int kStateInactive = 1;
inline constexpr int kStateActive = 2;
inline constexpr wchar_t kPassRunningStatus[] = L"Please wait: the wallpaper is being changed.";
// A tick that comes while a command's pass is still downloading looks again this soon.
inline constexpr DWORD kBusyRetryDelay = 1000;
// After a resume from sleep, a clock change or an unlock: a check this soon.
inline constexpr DWORD kCatchUpDelay = 1500;
// While paused, the timer only looks whether the pause has ended.
inline constexpr DWORD kPausedDelay = 60000;
inline constexpr wchar_t kPausedStatus[] = L"Paused: no picture changes on schedule.";
// A display change waits this long for the layout to settle; another one starts it again.
inline constexpr UINT_PTR kLayoutTimerId = 2113;
inline constexpr DWORD kLayoutSettleDelay = 3000;

class CumView : public CListViewEx, public AlbumListHost {
public:
    explicit CumView(AlbumSet& albums) : albums_(albums) {}
    ~CumView() override;

    // Creates the list window with its columns; the state images come with the first ApplyDpi.
    bool Create(HWND frame, const RECT& rect, UINT id);
    // Loads the state images drawn for the DPI and scales the column widths from the old one.
    void ApplyDpi(UINT old_dpi, UINT new_dpi);
    // Loads the albums, shows them (when the list exists) and arms the pass timer for the
    // first check. Until then the album commands are disabled.
    void OnInitialUpdate();
    bool Loaded() const { return initialised_; }
    // The pass and layout timers run on the frame, which exists whether or not the list does.
    void SetTimerWindow(HWND window) { timer_window_ = window; }
    // A timer of the view's; false for another.
    bool OnTimer(UINT_PTR id);

    AlbumSet& Albums() { return albums_; }
    // The rows' records in display order; null for the placeholder row.
    std::vector<CAccount*> Rows() const;
    int AddAlbumRow(const CAccount& album);
    void ArmPassTimer(DWORD delay);

    // The pass check's view of the album list.
    CAccount* FindActiveAlbum() override;
    int RunAlbumPass(CAccount* album) override;
    void RefreshAlbumList() override;
    int SaveAlbumList() override;
    const char* HoldReason() override;
    // A save that a command of the user's asked for; false, after a message box owned by the
    // window, when an album could not be written or removed.
    bool SaveForCommand(HWND owner);

    // True, with a word in the status bar, while a pass is changing the wallpaper: the
    // commands that change the set wait for it to finish.
    bool RefuseWhilePassRuns();

    // The album commands.
    void ActivateAlbum();
    void DeleteAlbum();
    void EditAlbum();
    void NewAlbum();
    // The active album's next entry now, recorded as a scheduled pass records it.
    void NextPicture();
    // The picture the active album showed before this one, recorded the same way.
    void PreviousPicture();

    // Pause stops the changes on schedule; it is kept under the product key.
    bool Paused() const { return paused_; }
    void SetPaused(bool paused);
    // Something may have made a change due (a resume, a new clock): check soon.
    void CatchUp();
    // The screens changed: once the layout has settled, the active album's pictures are set
    // again for it (the album does not move on).
    void OnDisplayChange();
    // "Paused: ..." while paused, else the frame's idle text.
    std::wstring IdleStatus() const;

    // Whether a command belongs to the view; when it does, *enabled says if it may run now.
    bool QueryCommandEnabled(UINT id, bool* enabled) const;
    // Runs a command of the view; false when it is not one.
    bool OnCommand(UINT id);

    bool PreTranslateMessage(MSG& msg) override;

protected:
    DWORD PreCreateStyle(DWORD style) override;
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
    bool OnReflected(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;

private:
    CAccount* RecordAt(int row) const;
    int RowOfRecord(const CAccount* album) const;
    int SelectedRow() const;
    int StateImageAt(int row) const;
    void SetStateImage(int row, int image);
    void PostCommand(UINT id);
    void ShowRowMenu();
    bool OnLeftButtonDown(POINT point);
    void OnPassTimer();
    // Runs the album properties sheet on an album; IDOK or IDCANCEL. commit runs when OK or
    // Apply has committed the pages: false keeps the sheet open.
    INT_PTR RunAlbumSheet(const wchar_t* caption, CAccount& album,
                          const std::function<bool(HWND sheet)>& commit);

    UniqueImageList state_images_;
    AlbumSet& albums_;
    HWND timer_window_ = nullptr;
    bool initialised_ = false;
    bool paused_ = false;
};

// Saves what changed (after a pass over pass_album: that album and what earlier saves could
// not write) for a command of the user's; false, after a message box owned by owner naming
// each album with the system's reason, when something could not be written or removed.
bool SaveForCommand(AlbumSet& albums, HWND owner, const CAccount* pass_album = nullptr);

// A pass that reached an entry may have changed the wallpaper, which Wine paints over
// visible windows: they are drawn again.
void RepaintAfterPass(HRESULT result);

// Shows a text in the first pane of the status bar of the frame that holds the window,
// painted at once.
void ShowStatusText(HWND frame_child, const wchar_t* text);

} // namespace glimro
