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
    SaveAlbumList();

    // The album stays pinned until its pass is saved: a Delete or a quit that arrives
    // during a download waits for it.
    AlbumSet::PassHold hold;
    if (activated && (hold = albums_.HoldForPass(activated))) {
        RepaintAfterPass(activated->ApplyImageAt(activated->LastIndex));
        RefreshAlbumList();
    }
    SaveForCommand(Handle());
    ShowStatusText(Handle(), L"Done");
    ArmPassTimer(kAfterActivationDelay);
}

void CumView::DeleteAlbum() {
    if (RefuseWhilePassRuns())
        return;
    if (::MessageBoxW(Handle(), L"Are you sure you want to delete the selected album?",
                      L"Delete Album?", MB_OKCANCEL) != IDOK)
        return;
    // A pass may have begun while the question was open.
    if (RefuseWhilePassRuns())
        return;
    std::vector<const CAccount*> chosen;
    HWND list = Handle();
    for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row != -1;
         row = ListView_GetNextItem(list, row, LVNI_SELECTED)) {
        if (const CAccount* album = RecordAt(row))
            chosen.push_back(album);
    }
    // Rows first: none may keep pointing at a record that is gone.
    ListView_DeleteAllItems(list);
    for (const CAccount* album : chosen)
        albums_.Remove(album);
    RefreshAlbumList();
    SaveForCommand(Handle());
}

void CumView::NextPicture() {
    if (RefuseWhilePassRuns())
        return;
    CAccount* active = albums_.FindActiveAlbum();
    if (!active)
        return;
    CWaitCursor wait;
    {
        AlbumSet::PassHold hold = albums_.HoldForPass(active);
        // The pass writes the interval markers on success, so the timer does not change the
        // picture again within this interval.
        RepaintAfterPass(active->ApplyNextImage());
        RefreshAlbumList();
        SaveForCommand(Handle());
    }
    ShowStatusText(Handle(), L"Done");
}

INT_PTR CumView::RunAlbumSheet(const wchar_t* caption, CAccount& album) {
    CWPSPropertySheet sheet(caption, *this);
    CGeneralPropertyPage general(album, albums_);
    CImagesPropertyPage images(album, albums_);
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
    if (RunAlbumSheet(L"Glimro Album Properties", *album) != IDOK)
        return;
    RefreshAlbumList();
    SaveForCommand(Handle());
}

void CumView::NewAlbum() {
    if (RefuseWhilePassRuns())
        return;
    auto album = std::make_unique<CAccount>();
    if (RunAlbumSheet(L"New Glimro Album Properties", *album) != IDOK)
        return; // the record goes with this function
    // With no row selected (always so for the first album) the new album becomes active
    // and its first entry is applied at once.
    AlbumSet::PassHold hold;
    if (SelectedRow() == -1) {
        album->SetEnabled(true);
        if ((hold = albums_.HoldForPass(album.get())))
            RepaintAfterPass(album->ApplyImageAt(0));
    }
    albums_.Add(std::move(album));
    RefreshAlbumList();
    SaveForCommand(Handle());
}

} // namespace glimro
