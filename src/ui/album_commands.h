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

    // Runs a command; false when it is not one of these.
    bool OnCommand(UINT id);

    void ActivateAlbum();
    void DeleteAlbum();
    void EditAlbum();
    void NewAlbum();
    // The active album's next (or previous) picture now, recorded as a scheduled pass
    // records it.
    void ChangeActive(WallpaperChange::Kind kind);
    // About This Picture, Keep This Picture and Show in Folder, on the active album's picture.
    void OnPictureCommand(UINT id);

    // True, with a word in the status bar, while a pass is changing the wallpaper: the
    // commands that change the set wait for it to finish.
    bool RefuseWhilePassRuns();

private:
    // Runs the album properties sheet on an album; IDOK or IDCANCEL. commit runs when OK or
    // Apply has committed the pages: false keeps the sheet open.
    INT_PTR RunAlbumSheet(const wchar_t* caption, CAlbum& album,
                          const std::function<bool(HWND sheet)>& commit);
    void Say(const wchar_t* text);

    CAlbumListView& view_;
    CRotator& rotator_;
};

} // namespace glimro
