#pragma once
// The album list view: one row per album with its name and frequency, description, last run
// time and current image, the active album's box ticked. It shows the album set, turns keys
// and clicks into the album commands and asks the rotator for every change of wallpaper.
#include "platform/image_list.h"
#include "store/album_set.h"
#include "ui/list_view_ex.h"
#include "ui/rotator.h"

#include <functional>
#include <string>

namespace glimro {

// "Never" for a time whose year is 0, else the short date, " at ", and "hh:mm tt".
std::wstring LastRunText(const SYSTEMTIME& time);

inline constexpr wchar_t kPlaceholderRow[] = L"You need to add a 'new' album...";
inline constexpr int kStateInactive = 1;
inline constexpr int kStateActive = 2;

class CumView : public CListViewEx {
public:
    explicit CumView(CRotator& rotator) : rotator_(rotator), albums_(rotator.Albums()) {}
    ~CumView() override;

    // Creates the list window with its columns; the state images come with the first ApplyDpi.
    bool Create(HWND frame, const RECT& rect, UINT id);
    // Loads the state images drawn for the DPI and scales the column widths from the old one.
    void ApplyDpi(UINT old_dpi, UINT new_dpi);
    // Loads the albums and shows them (when the list exists). Until then the album commands
    // are disabled.
    void OnInitialUpdate();
    bool Loaded() const { return initialised_; }

    AlbumSet& Albums() { return albums_; }
    CRotator& Rotator() { return rotator_; }
    // The rows' records in display order; null for the placeholder row.
    std::vector<CAccount*> Rows() const;
    int AddAlbumRow(const CAccount& album);
    // Shows the album set again, keeping the selected album selected.
    void RefreshAlbumList();
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
    // The active album's next (or previous) picture now, recorded as a scheduled pass
    // records it.
    void ChangeActive(WallpaperChange::Kind kind);

    // Whether a command belongs to the view; when it does, *enabled says if it may run now.
    bool QueryCommandEnabled(UINT id, bool* enabled) const;
    // Runs a command of the view; false when it is not one.
    bool OnCommand(UINT id);

    // Where the view's words for the status bar go.
    std::function<void(const std::wstring&)> StatusText;

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
    void Say(const std::wstring& text) const;
    // Runs the album properties sheet on an album; IDOK or IDCANCEL. commit runs when OK or
    // Apply has committed the pages: false keeps the sheet open.
    INT_PTR RunAlbumSheet(const wchar_t* caption, CAccount& album,
                          const std::function<bool(HWND sheet)>& commit);

    UniqueImageList state_images_;
    CRotator& rotator_;
    AlbumSet& albums_;
    bool initialised_ = false;
};

} // namespace glimro
