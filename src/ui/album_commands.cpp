// The album commands of the Album Manager: the user's ways to change the set of albums and
// which of them is active. Every change ends with a save of what it changed.
#include "platform/window.h"
#include "ui/general_page.h"
#include "ui/images_page.h"
#include "ui/um_view.h"
#include "ui/wps_property_sheet.h"

#include <commctrl.h>

#include <memory>
#include <vector>

namespace glimro {

void CumView::ActivateAlbum() {
    if (RefuseWhilePassRuns())
        return;
    CWaitCursor wait;
    int selected = SelectedRow();
    if (selected != -1 && StateImageAt(selected) == kStateActive)
        return;

    CAccount* activated = selected == -1 ? nullptr : RecordAt(selected);
    albums_.Activate(activated);
    int count = ListView_GetItemCount(Handle());
    for (int row = 0; row < count; ++row)
        SetStateImage(row, row == selected && activated ? kStateActive : kStateInactive);
    // Stored before the pass, which may download for a while.
    albums_.SaveAlbumList();
    if (!activated || rotator_.Change(*activated, {WallpaperChange::At, activated->LastIndex},
                                      MessageBoxReport(Handle())) == kPassBusy)
        SaveForCommand(Handle());
    Say(L"Done");
    rotator_.ArmPassTimer(kAfterActivationDelay);
}

void CumView::DeleteAlbum() {
    if (RefuseWhilePassRuns())
        return;
    // The albums the user is asked about, by their records: a refresh while the question is
    // open (a pass) may select other rows.
    std::vector<const CAccount*> chosen;
    HWND list = Handle();
    for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row != -1;
         row = ListView_GetNextItem(list, row, LVNI_SELECTED)) {
        if (const CAccount* album = RecordAt(row))
            chosen.push_back(album);
    }
    if (::MessageBoxW(Handle(), L"Are you sure you want to delete the selected album?",
                      L"Delete Album?", MB_OKCANCEL) != IDOK)
        return;
    // A pass may have begun while the question was open.
    if (RefuseWhilePassRuns())
        return;
    // Rows first: none may keep pointing at a record that is gone.
    ListView_DeleteAllItems(list);
    for (const CAccount* album : chosen)
        albums_.Remove(album); // nothing for a record that went meanwhile
    RefreshAlbumList();
    SaveForCommand(Handle());
}

void CumView::ChangeActive(WallpaperChange::Kind kind) {
    if (RefuseWhilePassRuns())
        return;
    CAccount* active = albums_.FindActiveAlbum();
    if (!active)
        return;
    // The pass writes the interval markers on success, so the timer does not change the
    // picture again within this interval.
    rotator_.Change(*active, {kind}, MessageBoxReport(Handle()));
    Say(L"Done");
}

INT_PTR CumView::RunAlbumSheet(const wchar_t* caption, CAccount& album,
                               const std::function<bool(HWND)>& commit) {
    CWPSPropertySheet sheet(caption, rotator_, Handle(), commit);
    CGeneralPropertyPage general(album, albums_);
    CImagesPropertyPage images(album, rotator_);
    sheet.AddPage(general);
    sheet.AddPage(images);
    return sheet.DoModal();
}

void CumView::EditAlbum() {
    if (RefuseWhilePassRuns())
        return;
    const int row = SelectedRow();
    CAccount* album = row == -1 ? nullptr : RecordAt(row);
    if (!album)
        return;
    // OK and Apply save before the sheet closes, so that a failure keeps it open.
    RunAlbumSheet(L"Glimro Album Properties", *album, [this](HWND sheet) {
        RefreshAlbumList();
        return SaveForCommand(sheet);
    });
}

void CumView::NewAlbum() {
    if (RefuseWhilePassRuns())
        return;
    auto owned = std::make_unique<CAccount>();
    CAccount* album = owned.get();
    bool activated = false;
    // The album joins the set at its first OK or Apply: with no row selected then (always
    // so for the first album) it becomes the active one.
    RunAlbumSheet(L"New Glimro Album Properties", *album, [&](HWND sheet) {
        if (owned) {
            activated = SelectedRow() == -1;
            albums_.Add(std::move(owned));
            if (activated)
                albums_.Activate(album);
        }
        RefreshAlbumList();
        return SaveForCommand(sheet);
    });
    if (owned)
        return; // never committed: the record goes with this function
    // Its first entry (or the month's) becomes the wallpaper at once.
    if (activated)
        rotator_.Change(*album, {WallpaperChange::At, 0}, MessageBoxReport(Handle()));
}

} // namespace glimro
