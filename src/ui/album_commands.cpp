// The album commands of the Album Manager: the user's ways to change the set of albums and
// which of them is active. Every change ends with the whole list written back.
#include "platform/window.h"
#include "ui/um_view.h"

#include <commctrl.h>

#include <algorithm>

namespace glimro {

void CumView::ActivateAlbum() {
    CWaitCursor wait;
    int selected = SelectedRow();
    if (selected != -1 && StateImageAt(selected) == kStateActive)
        return;

    int count = ListView_GetItemCount(Handle());
    for (int row = 0; row < count; ++row) {
        SetStateImage(row, kStateInactive);
        if (CAccount* album = RecordAt(row))
            album->SetEnabled(false);
    }
    CAccount* activated = nullptr;
    if (selected != -1) {
        SetStateImage(selected, kStateActive);
        activated = RecordAt(selected);
        if (activated)
            activated->SetEnabled(true);
    }
    SaveAlbumList();

    int start = activated ? activated->LastIndex : 0;
    for (CAccount* album : Rows()) {
        if (album && album->Enabled) {
            album->ApplyImageAt(start);
            RefreshAlbumList();
            SaveAlbumList();
            break;
        }
    }
    ShowStatusText(Handle(), L"Done");
    ArmPassTimer(kAfterActivationDelay);
}

void CumView::DeleteAlbum() {
    if (::MessageBoxW(Handle(), L"Are you sure you want to delete the selected album?",
                      L"Delete Album?", MB_OKCANCEL) != IDOK)
        return;
    HWND list = Handle();
    int row = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    while (row != -1) {
        CAccount* album = RecordAt(row);
        if (!album) {
            row = ListView_GetNextItem(list, row, LVNI_SELECTED);
            continue;
        }
        ListView_DeleteItem(list, row);
        albums_.remove_if([album](const auto& owned) { return owned.get() == album; });
        row = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    }
    RefreshAlbumList();
    SaveAlbumList();
}

// The properties sheet that edits an album, and creates a new one, is not part of the
// program yet; until it is, Properties and New reach the view and change nothing.
void CumView::EditAlbum() {}

void CumView::NewAlbum() {}

} // namespace glimro
