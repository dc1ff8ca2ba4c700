#pragma once
// The album list view: one row per album with its name and frequency, description, last run
// time and current image, the active album's box ticked. It shows the album set, turns keys
// and clicks into the album commands and asks the rotator for every change of wallpaper.
#include "platform/image_list.h"
#include "store/album_set.h"
#include "ui/list_view_ex.h"
#include "ui/album_commands.h"
#include "ui/album_row.h"
#include "ui/command_table.h"
#include "ui/rotator.h"

#include <functional>
#include <string>

namespace glimro {

inline constexpr wchar_t kPlaceholderRow[] = L"You need to add a 'new' album...";
inline constexpr int kStateInactive = 1;
inline constexpr int kStateActive = 2;

class CAlbumListView : public CListViewEx {
public:
    explicit CAlbumListView(CRotator& rotator) : rotator_(rotator), albums_(rotator.Albums()) {}
    ~CAlbumListView() override;

    // Creates the list window with its columns; the state images come with the first ApplyDpi.
    bool Create(HWND frame, const RECT& rect, UINT id);
    // The columns' titles again, in the windows' language.
    void ShowColumnTitles();
    // Loads the state images drawn for the DPI and scales the column widths from the old one.
    void ApplyDpi(UINT old_dpi, UINT new_dpi);
    // Loads the albums and shows them (when the list exists). Until then the album commands
    // are disabled.
    void OnInitialUpdate();
    bool Loaded() const { return initialised_; }

    AlbumSet& Albums() { return albums_; }
    CRotator& Rotator() { return rotator_; }
    // The rows' records in display order; null for the placeholder row.
    std::vector<CAlbum*> Rows() const;
    int AddAlbumRow(const CAlbum& album);
    // Shows the album set again, keeping the selected album selected.
    void RefreshAlbumList();
    // Removes every row, before the records they point at go.
    void ClearRows();
    bool HasSelection() const { return SelectedRow() != -1; }
    // The selected row's album; null without one (or on the placeholder row).
    CAlbum* SelectedAlbum() const;
    std::vector<const CAlbum*> SelectedAlbums() const;
    // Ticks the active album's box only.
    void ShowActive(const CAlbum* active);

    // The commands the keys, clicks and menus of the list run.
    void SetCommands(CAlbumCommands* commands) { commands_ = commands; }
    // What the command table's enablement looks at now: the selection, the active album.
    CommandContext Context() const;
    // Whether a command is one of the command table's; when it is, *enabled says if it may
    // run now.
    bool QueryCommandEnabled(UINT id, bool* enabled) const;
    // Runs an album command; false when it is not one.
    bool OnCommand(UINT id);

    bool PreTranslateMessage(MSG& msg) override;

protected:
    DWORD PreCreateStyle(DWORD style) override;
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
    bool OnReflected(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;

private:
    CAlbum* RecordAt(int row) const;
    int SelectedRow() const;
    void SetStateImage(int row, int image);
    void PostCommand(UINT id);
    void ShowRowMenu();
    bool OnLeftButtonDown(POINT point);
    void ActivateSelected();

    UniqueImageList state_images_;
    CRotator& rotator_;
    AlbumSet& albums_;
    CAlbumCommands* commands_ = nullptr;
    bool initialised_ = false;
};

} // namespace glimro
