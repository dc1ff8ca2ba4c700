#pragma once
// The album commands of the Album Manager: the user's ways to change the set of albums and
// which of them is active, on the albums the list has selected. Every change ends with a
// save of what it changed; a change of wallpaper goes through the rotator.
#include "ui/rotator.h"

#include <windows.h>

#include <functional>

namespace glimro {

class CAlbumListView;

class CAlbumCommands {
public:
    CAlbumCommands(CAlbumListView& view, CRotator& rotator) : view_(view), rotator_(rotator) {}

    // Runs a command of the command table's, when it is enabled; false when it is not one of
    // these. A hotkey or a stale menu may ask for what no longer applies: nothing then.
    bool OnCommand(UINT id);

    // The handlers the command table names.
    void ActivateAlbum();
    void DeleteAlbum();
    void EditAlbum();
    void NewAlbum();
    // The active album's next (or previous) picture now, recorded as a scheduled pass
    // records it.
    void NextPicture() { ChangeActive(WallpaperChange::Next); }
    void PreviousPicture() { ChangeActive(WallpaperChange::Previous); }
    void TogglePause();
    // On the active album's picture.
    void AboutPicture();
    void KeepPicture();
    void ShowPictureInFolder();
    void NeverShowAgain();

    // True, with a word in the status bar, while a pass is changing the wallpaper: the
    // commands that change the set wait for it to finish.
    bool RefuseWhilePassRuns();

private:
    void ChangeActive(WallpaperChange::Kind kind);
    // Whether the command table enables the command now.
    bool Allows(UINT id) const;
    // Runs the album properties sheet on an album; IDOK or IDCANCEL. commit runs when OK or
    // Apply has committed the pages: false keeps the sheet open.
    INT_PTR RunAlbumSheet(const wchar_t* caption, CAlbum& album,
                          const std::function<bool(HWND sheet)>& commit);
    void Say(const wchar_t* text);

    CAlbumListView& view_;
    CRotator& rotator_;
};

} // namespace glimro
