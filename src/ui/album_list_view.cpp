#include "ui/album_list_view.h"

#include "engine/current_picture.h"
#include "platform/clock.h"
#include "platform/dpi.h"
#include "platform/text.h"
#include "ui/album_row.h"
#include "platform/window.h"
#include "resource.h"

#include <commctrl.h>

#include <iterator>

namespace glimro {

CAlbumListView::~CAlbumListView() {
    if (Handle())
        ::DestroyWindow(Handle());
}

DWORD CAlbumListView::PreCreateStyle(DWORD style) {
    style &= ~LVS_SMALLICON;
    // Rows are inserted in the album set's display order rather than sorted by the control,
    // whose comparison differs between platforms: the rows and the active album the set
    // finds must agree.
    style |= LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE | LVS_NOSORTHEADER;
    // The view owns its state image list, so the list must not destroy it.
    style |= LVS_SHAREIMAGELISTS;
    return CListViewEx::PreCreateStyle(style);
}

bool CAlbumListView::Create(HWND frame, const RECT& rect, UINT id) {
    if (!CreateList(WS_CHILD | WS_VISIBLE | WS_TABSTOP, rect, frame, id))
        return false;
    HWND list = Handle();
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP,
                                        LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
    for (int i = 0; i < kAlbumColumns; ++i)
        AddColumn(LoadResourceString(IDS_COLUMN_FIRST + i), 150);
    return true;
}

void CAlbumListView::ShowColumnTitles() {
    for (int i = 0; i < kAlbumColumns; ++i) {
        std::wstring title = LoadResourceString(IDS_COLUMN_FIRST + i);
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT;
        column.pszText = title.data();
        ListView_SetColumn(Handle(), i, &column);
    }
}

void CAlbumListView::ApplyDpi(UINT old_dpi, UINT new_dpi) {
    HWND list = Handle();
    ScaleColumns(kAlbumColumns, old_dpi, new_dpi);
    UniqueImageList states =
        LoadIconList({IDI_BOX_EMPTY, IDI_BOX_TICKED}, SmallIconSize(new_dpi));
    // The placeholder row of an empty set shows no boxes.
    if (ListView_GetImageList(list, LVSIL_STATE))
        ListView_SetImageList(list, states.Get(), LVSIL_STATE);
    state_images_ = std::move(states);
}

void CAlbumListView::OnInitialUpdate() {
    if (initialised_)
        return;
    initialised_ = true;
    albums_.LoadAlbumList();
    RefreshAlbumList();
}

CAlbum* CAlbumListView::RecordAt(int row) const {
    return reinterpret_cast<CAlbum*>(RowData(row));
}

std::vector<CAlbum*> CAlbumListView::Rows() const {
    std::vector<CAlbum*> rows;
    int count = ListView_GetItemCount(Handle());
    rows.reserve(count);
    for (int row = 0; row < count; ++row)
        rows.push_back(RecordAt(row));
    return rows;
}

int CAlbumListView::SelectedRow() const {
    // No list while the Album Manager has not been shown yet: nothing is selected.
    return Handle() ? ListView_GetNextItem(Handle(), -1, LVNI_SELECTED) : -1;
}

void CAlbumListView::SetStateImage(int row, int image) {
    ListView_SetItemState(Handle(), row, INDEXTOSTATEIMAGEMASK(image), LVIS_STATEIMAGEMASK);
}

int CAlbumListView::AddAlbumRow(const CAlbum& album) {
    // After the rows before it in display order.
    const int row = AppendRow(AlbumRowTexts(album, LocalTime()), reinterpret_cast<LPARAM>(&album));
    if (row >= 0)
        SetStateImage(row, album.Enabled ? kStateActive : kStateInactive);
    return row;
}

void CAlbumListView::RefreshAlbumList() {
    HWND list = Handle();
    if (!list)
        return; // the rows are made when the Album Manager is first shown
    // The selected album, by its record: names may be long, and rows are rebuilt.
    const int selected = SelectedRow();
    const CAlbum* remembered = selected == -1 ? nullptr : RecordAt(selected);

    // No drawing while the rows are rebuilt: each insert would otherwise repaint the list.
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    if (albums_.Empty()) {
        ListView_SetImageList(list, nullptr, LVSIL_STATE);
        AppendRow({kPlaceholderRow}, 0);
        ListView_SetColumnWidth(list, 0, LVSCW_AUTOSIZE);
        for (int c = 1; c < kAlbumColumns; ++c)
            ListView_SetColumnWidth(list, c, LVSCW_AUTOSIZE_USEHEADER);
        ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(list, nullptr, TRUE);
        return;
    }

    ListView_SetImageList(list, state_images_.Get(), LVSIL_STATE);
    ListView_SetItemCount(list, static_cast<int>(albums_.Size()));
    for (const CAlbum* album : albums_.DisplayOrder())
        AddAlbumRow(*album);

    WidenColumnsToFit(kAlbumColumns);
    const int row = remembered ? RowOfData(reinterpret_cast<LPARAM>(remembered)) : -1;
    const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
    ListView_SetItemState(list, row < 0 ? 0 : row, both, both);
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

void CAlbumListView::ClearRows() {
    ListView_DeleteAllItems(Handle());
}

CAlbum* CAlbumListView::SelectedAlbum() const {
    const int row = SelectedRow();
    return row == -1 ? nullptr : RecordAt(row);
}

std::vector<const CAlbum*> CAlbumListView::SelectedAlbums() const {
    std::vector<const CAlbum*> chosen;
    for (const int row : SelectedRows())
        if (const CAlbum* album = RecordAt(row))
            chosen.push_back(album);
    return chosen;
}

void CAlbumListView::ShowActive(const CAlbum* active) {
    const int count = ListView_GetItemCount(Handle());
    for (int row = 0; row < count; ++row)
        SetStateImage(row, active && RecordAt(row) == active ? kStateActive : kStateInactive);
}

void CAlbumListView::ActivateSelected() {
    if (commands_)
        commands_->ActivateAlbum();
}

CommandContext CAlbumListView::Context() const {
    const int row = SelectedRow();
    CommandContext context;
    context.loaded = initialised_;
    context.selected = row == -1 || !initialised_ ? nullptr : RecordAt(row);
    context.active = albums_.FindActiveAlbum();
    return context;
}

bool CAlbumListView::QueryCommandEnabled(UINT id, bool* enabled) const {
    if (!FindCommand(id))
        return false;
    *enabled = IsCommandEnabled(id, Context());
    return true;
}

bool CAlbumListView::OnCommand(UINT id) {
    return commands_ && commands_->OnCommand(id);
}

void CAlbumListView::PostCommand(UINT id) {
    ::PostMessageW(Handle(), WM_COMMAND, id, 0);
}

bool CAlbumListView::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_KEYUP && msg.wParam == VK_DELETE)
        PostCommand(ID_ALBUM_DELETE);
    else if (msg.message == WM_KEYUP && msg.wParam == VK_INSERT)
        PostCommand(ID_ALBUM_NEW);
    return false;
}

void CAlbumListView::ShowRowMenu() {
    HWND list = Handle();
    if (SelectedRow() == -1)
        return;
    const UniqueMenu menu(::CreatePopupMenu());
    if (!menu)
        return;
    if (ListView_GetSelectedCount(list) == 1) {
        constexpr UINT kRowMenu[] = {ID_ALBUM_PROPERTIES, ID_ALBUM_DELETE};
        AppendCommands(menu.Get(), kRowMenu, std::size(kRowMenu), true);
        ::SetMenuDefaultItem(menu.Get(), 0, TRUE);
    }
    const UINT chosen = TrackMenuAtCursor(menu.Get(), list);
    if (chosen != 0)
        PostCommand(chosen);
}

bool CAlbumListView::OnLeftButtonDown(POINT point) {
    // A click on a row's box activates its album.
    const int row = StateImageRowAt(point);
    if (row == -1)
        return false;
    SelectRow(row);
    ActivateSelected();
    return true;
}

LRESULT CAlbumListView::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_COMMAND:
        if (OnCommand(LOWORD(wparam)))
            return 0;
        break;
    case WM_LBUTTONDOWN: {
        POINT point = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
        if (OnLeftButtonDown(point))
            return 0;
        break;
    }
    default:
        break;
    }
    return CListViewEx::WindowProc(message, wparam, lparam);
}

bool CAlbumListView::OnReflected(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
    if (message != WM_NOTIFY)
        return CListViewEx::OnReflected(message, wparam, lparam, result);
    const NMHDR& header = *reinterpret_cast<const NMHDR*>(lparam);
    switch (header.code) {
    case NM_DBLCLK:
    case NM_RETURN:
        PostCommand(ID_ALBUM_PROPERTIES);
        break;
    case NM_RCLICK:
        ShowRowMenu();
        break;
    case LVN_KEYDOWN:
        if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_SPACE)
            ActivateSelected();
        break;
    default:
        return false;
    }
    *result = 0;
    return true;
}

} // namespace glimro
