#include "ui/album_commands.h"

#include "engine/current_picture.h"
#include "platform/text.h"
#include "platform/window.h"
#include "resource.h"
#include "ui/command_table.h"
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
            Say(LoadResourceString(IDS_STATUS_NOT_SHOWN_AGAIN).c_str());
        return true;
    }
    // Menus, accelerators, hotkeys and buttons are checked against the command table by the
    // frame; the list's own keys come straight here.
    const Command* command = FindCommand(id);
    if (!command || !command->run)
        return false;
    (this->*command->run)();
    return true;
}

bool CAlbumCommands::Allows(UINT id) const {
    return IsCommandEnabled(id, view_.Context());
}

void CAlbumCommands::TogglePause() {
    rotator_.SetPaused(!rotator_.Paused());
}

// A hotkey or a stale menu may ask for what the picture no longer allows: nothing then.
void CAlbumCommands::NeverShowAgain() {
    if (!Allows(ID_PICTURE_NEVER_AGAIN) || RefuseWhilePassRuns())
        return;
    rotator_.SkipCurrent(MessageBoxReport(view_.Handle()));
    Say(LoadResourceString(IDS_STATUS_DONE).c_str());
}

void CAlbumCommands::AboutPicture() {
    if (Allows(ID_PICTURE_ABOUT))
        OpenInBrowser(AboutPage(*rotator_.Albums().FindActiveAlbum()));
}

void CAlbumCommands::ShowPictureInFolder() {
    if (Allows(ID_PICTURE_SHOW_IN_FOLDER))
        ShowFileInFolder(LocalPicture(*rotator_.Albums().FindActiveAlbum()));
}

void CAlbumCommands::KeepPicture() {
    if (!Allows(ID_PICTURE_KEEP))
        return;
    std::wstring kept;
    const HRESULT result = glimro::KeepPicture(*rotator_.Albums().FindActiveAlbum(), &kept);
    const std::wstring said = SUCCEEDED(result)
                                  ? ResourceText(IDS_STATUS_KEPT, {kept})
                                  : ResourceText(IDS_STATUS_NOT_KEPT, {SystemErrorText(static_cast<unsigned long>(result))});
    Say(said.c_str());
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
    Say(LoadResourceString(IDS_STATUS_DONE).c_str());
    rotator_.ArmPassTimer(kAfterActivationDelay);
}

void CAlbumCommands::DeleteAlbum() {
    if (RefuseWhilePassRuns())
        return;
    // The albums the user is asked about, by their records: a refresh while the question is
    // open (a pass) may select other rows.
    const std::vector<const CAlbum*> chosen = view_.SelectedAlbums();
    if (::MessageBoxW(view_.Handle(), LoadResourceString(IDS_DELETE_ALBUM_QUESTION).c_str(),
                      LoadResourceString(IDS_DELETE_ALBUM_TITLE).c_str(), MB_OKCANCEL) != IDOK)
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
    Say(LoadResourceString(IDS_STATUS_DONE).c_str());
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
    RunAlbumSheet(LoadResourceString(IDS_ALBUM_SHEET_TITLE).c_str(), *album, [this](HWND sheet) {
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
    RunAlbumSheet(LoadResourceString(IDS_NEW_ALBUM_SHEET_TITLE).c_str(), *album, [&](HWND sheet) {
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
