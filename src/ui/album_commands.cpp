#include "ui/album_commands.h"

#include "engine/current_picture.h"
#include "platform/text.h"
#include "platform/window.h"
#include "resource.h"
#include "ui/general_page.h"
#include "ui/images_page.h"
#include "ui/album_list_view.h"
#include "ui/album_sheet.h"

#include <memory>
#include <vector>

namespace glimro {

bool CAlbumCommands::OnCommand(UINT id) {
    if (id >= ID_RECENT_FIRST && id <= ID_RECENT_LAST) {
        // A picture since deleted, or an address the network cannot reach now: the log says so.
        if (!RefuseWhilePassRuns() && rotator_.ShowRecent(id - ID_RECENT_FIRST) == kPassNothingApplied)
            Say(L"Could not show that picture again; the activity log says why.");
        return true;
    }
    switch (id) {
    case ID_ALBUM_NEW:
        NewAlbum();
        return true;
    case ID_ALBUM_ACTIVATE:
        ActivateAlbum();
        return true;
    case ID_ALBUM_DELETE:
        DeleteAlbum();
        return true;
    case ID_ALBUM_PROPERTIES:
        EditAlbum();
        return true;
    case ID_ALBUM_NEXT:
        ChangeActive(WallpaperChange::Next);
        return true;
    case ID_ALBUM_PREVIOUS:
        ChangeActive(WallpaperChange::Previous);
        return true;
    case ID_ALBUM_PAUSE:
        rotator_.SetPaused(!rotator_.Paused());
        return true;
    case ID_PICTURE_NEVER_AGAIN:
        // A hotkey may ask while nothing is shown: nothing then.
        if (!RefuseWhilePassRuns() && ActionsFor(rotator_.Albums().FindActiveAlbum()).skip) {
            rotator_.SkipCurrent(MessageBoxReport(view_.Handle()));
            Say(L"Done");
        }
        return true;
    case ID_PICTURE_ABOUT:
    case ID_PICTURE_KEEP:
    case ID_PICTURE_SHOW_IN_FOLDER:
        OnPictureCommand(id);
        return true;
    default:
        return false;
    }
}

void CAlbumCommands::OnPictureCommand(UINT id) {
    // A hotkey or a stale menu may ask for what the picture no longer allows: nothing then.
    const CAlbum* album = rotator_.Albums().FindActiveAlbum();
    const PictureActions actions = ActionsFor(album);
    if (id == ID_PICTURE_ABOUT && actions.about) {
        OpenInBrowser(AboutPage(*album));
    } else if (id == ID_PICTURE_SHOW_IN_FOLDER && actions.show) {
        ShowFileInFolder(LocalPicture(*album));
    } else if (id == ID_PICTURE_KEEP && actions.keep) {
        std::wstring kept;
        const HRESULT result = KeepPicture(*album, &kept);
        const std::wstring said = SUCCEEDED(result)
                                      ? L"Kept as " + kept
                                      : L"Could not keep the picture: " +
                                            SystemErrorText(static_cast<unsigned long>(result));
        Say(said.c_str());
    }
}

void CAlbumCommands::Say(const wchar_t* text) {
    if (rotator_.Status)
        rotator_.Status(text);
}

bool CAlbumCommands::RefuseWhilePassRuns() {
    if (!rotator_.Busy())
        return false;
    Say(kPassRunningStatus);
    return true;
}

void CAlbumCommands::ActivateAlbum() {
    if (RefuseWhilePassRuns())
        return;
    CWaitCursor wait;
    CAlbum* activated = view_.SelectedAlbum();
    if (activated && activated->Enabled)
        return;
    AlbumSet& albums = rotator_.Albums();
    albums.Activate(activated);
    view_.ShowActive(activated);
    // Stored before the pass, which may download for a while.
    albums.SaveAlbumList();
    const SaveReport report = MessageBoxReport(view_.Handle());
    if (!activated || rotator_.Change(*activated, {WallpaperChange::At, activated->LastIndex},
                                      report) == kPassBusy)
        rotator_.SaveForCommand(report);
    Say(L"Done");
    rotator_.ArmPassTimer(kAfterActivationDelay);
}

void CAlbumCommands::DeleteAlbum() {
    if (RefuseWhilePassRuns())
        return;
    // The albums the user is asked about, by their records: a refresh while the question is
    // open (a pass) may select other rows.
    const std::vector<const CAlbum*> chosen = view_.SelectedAlbums();
    if (::MessageBoxW(view_.Handle(), L"Are you sure you want to delete the selected album?",
                      L"Delete Album?", MB_OKCANCEL) != IDOK)
        return;
    // A pass may have begun while the question was open.
    if (RefuseWhilePassRuns())
        return;
    // Rows first: none may keep pointing at a record that is gone.
    view_.ClearRows();
    for (const CAlbum* album : chosen)
        rotator_.Albums().Remove(album); // nothing for a record that went meanwhile
    view_.RefreshAlbumList();
    rotator_.SaveForCommand(MessageBoxReport(view_.Handle()));
}

void CAlbumCommands::ChangeActive(WallpaperChange::Kind kind) {
    if (RefuseWhilePassRuns())
        return;
    CAlbum* active = rotator_.Albums().FindActiveAlbum();
    if (!active)
        return;
    // The pass writes the interval markers on success, so the timer does not change the
    // picture again within this interval.
    rotator_.Change(*active, {kind}, MessageBoxReport(view_.Handle()));
    Say(L"Done");
}

INT_PTR CAlbumCommands::RunAlbumSheet(const wchar_t* caption, CAlbum& album,
                                      const std::function<bool(HWND)>& commit) {
    CAlbumSheet sheet(caption, rotator_, view_.Handle(), commit);
    CGeneralPropertyPage general(album, rotator_.Albums());
    CImagesPropertyPage images(album, rotator_);
    sheet.AddPage(general);
    sheet.AddPage(images);
    return sheet.DoModal();
}

void CAlbumCommands::EditAlbum() {
    if (RefuseWhilePassRuns())
        return;
    CAlbum* album = view_.SelectedAlbum();
    if (!album)
        return;
    // OK and Apply save before the sheet closes, so that a failure keeps it open.
    RunAlbumSheet(L"Glimro Album Properties", *album, [this](HWND sheet) {
        view_.RefreshAlbumList();
        return rotator_.SaveForCommand(MessageBoxReport(sheet));
    });
}

void CAlbumCommands::NewAlbum() {
    if (RefuseWhilePassRuns())
        return;
    auto owned = std::make_unique<CAlbum>();
    CAlbum* album = owned.get();
    bool activated = false;
    // The album joins the set at its first OK or Apply: with no row selected then (always
    // so for the first album) it becomes the active one.
    AlbumSet& albums = rotator_.Albums();
    RunAlbumSheet(L"New Glimro Album Properties", *album, [&](HWND sheet) {
        if (owned) {
            activated = !view_.HasSelection();
            albums.Add(std::move(owned));
            if (activated)
                albums.Activate(album);
        }
        view_.RefreshAlbumList();
        return rotator_.SaveForCommand(MessageBoxReport(sheet));
    });
    if (owned)
        return; // never committed: the record goes with this function
    // Its first entry (or the month's) becomes the wallpaper at once.
    if (activated)
        rotator_.Change(*album, {WallpaperChange::At, 0}, MessageBoxReport(view_.Handle()));
}

} // namespace glimro
