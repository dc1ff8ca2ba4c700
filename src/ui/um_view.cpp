#include "ui/um_view.h"

#include "platform/clock.h"
#include "platform/dpi.h"
#include "platform/text.h"
#include "scheduler/day_schedule.h"
#include "platform/window.h"
#include "resource.h"

#include <commctrl.h>

namespace glimro {

namespace {

constexpr int kColumnCount = 4;
constexpr int kInitialColumnWidth = 150;
constexpr int kFormatChars = 100;

} // namespace

std::wstring LastRunText(const SYSTEMTIME& time) {
    if (time.wYear == 0)
        return L"Never";
    wchar_t date[kFormatChars] = {};
    wchar_t clock[kFormatChars] = {};
    ::GetDateFormatW(LOCALE_SYSTEM_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, kFormatChars);
    ::GetTimeFormatW(LOCALE_SYSTEM_DEFAULT, TIME_NOSECONDS, &time, L"hh':'mm tt", clock,
                     kFormatChars);
    return std::wstring(date) + L" at " + clock;
}

void CumView::Say(const std::wstring& text) const {
    if (StatusText)
        StatusText(text);
}

CumView::~CumView() {
    if (Handle())
        ::DestroyWindow(Handle());
}

DWORD CumView::PreCreateStyle(DWORD style) {
    style &= ~LVS_SMALLICON;
    // Rows are inserted in the album set's display order rather than sorted by the control,
    // whose comparison differs between platforms: the rows and the active album the set
    // finds must agree.
    style |= LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE | LVS_NOSORTHEADER;
    // The view owns its state image list, so the list must not destroy it.
    style |= LVS_SHAREIMAGELISTS;
    return CListViewEx::PreCreateStyle(style);
}

bool CumView::Create(HWND frame, const RECT& rect, UINT id) {
    if (!CreateList(WS_CHILD | WS_VISIBLE | WS_TABSTOP, rect, frame, id))
        return false;
    HWND list = Handle();
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP,
                                        LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
    for (int i = 0; i < kColumnCount; ++i) {
        std::wstring title = LoadResourceString(IDS_COLUMN_FIRST + i);
        LVCOLUMNW column = {};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = kInitialColumnWidth;
        column.pszText = title.data();
        column.iSubItem = i;
        ListView_InsertColumn(list, i, &column);
    }
    return true;
}

void CumView::ApplyDpi(UINT old_dpi, UINT new_dpi) {
    HWND list = Handle();
    for (int c = 0; c < kColumnCount; ++c)
        ListView_SetColumnWidth(list, c,
                                ::MulDiv(ListView_GetColumnWidth(list, c),
                                         static_cast<int>(new_dpi), static_cast<int>(old_dpi)));
    UniqueImageList states =
        LoadIconList({IDI_BOX_EMPTY, IDI_BOX_TICKED}, SmallIconSize(new_dpi));
    // The placeholder row of an empty set shows no boxes.
    if (ListView_GetImageList(list, LVSIL_STATE))
        ListView_SetImageList(list, states.Get(), LVSIL_STATE);
    state_images_ = std::move(states);
}

void CumView::OnInitialUpdate() {
    if (initialised_)
        return;
    initialised_ = true;
    albums_.LoadAlbumList();
    RefreshAlbumList();
}

CAccount* CumView::RecordAt(int row) const {
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!ListView_GetItem(Handle(), &item))
        return nullptr;
    return reinterpret_cast<CAccount*>(item.lParam);
}

int CumView::RowOfRecord(const CAccount* album) const {
    if (!album)
        return -1;
    LVFINDINFOW find = {};
    find.flags = LVFI_PARAM;
    find.lParam = reinterpret_cast<LPARAM>(album);
    return ListView_FindItem(Handle(), -1, &find);
}

std::vector<CAccount*> CumView::Rows() const {
    std::vector<CAccount*> rows;
    int count = ListView_GetItemCount(Handle());
    rows.reserve(count);
    for (int row = 0; row < count; ++row)
        rows.push_back(RecordAt(row));
    return rows;
}

int CumView::SelectedRow() const {
    // No list while the Album Manager has not been shown yet: nothing is selected.
    return Handle() ? ListView_GetNextItem(Handle(), -1, LVNI_SELECTED) : -1;
}

int CumView::StateImageAt(int row) const {
    return static_cast<int>(ListView_GetItemState(Handle(), row, LVIS_STATEIMAGEMASK) >> 12);
}

void CumView::SetStateImage(int row, int image) {
    ListView_SetItemState(Handle(), row, INDEXTOSTATEIMAGEMASK(image), LVIS_STATEIMAGEMASK);
}

int CumView::AddAlbumRow(const CAccount& album) {
    HWND list = Handle();
    std::wstring first = DisplayText(album);
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = ListView_GetItemCount(list); // after the rows before it in display order
    item.pszText = first.data();
    int row = ListView_InsertItem(list, &item);
    if (row < 0)
        return row;
    std::wstring description = album.Description;
    std::wstring last_run = LastRunText(album.LastTime);
    // An album that follows the day or the sun says when it changes next.
    if (IsSlotFrequency(album.Frequency)) {
        const SYSTEMTIME next = NextSlotChange(album, LocalTime());
        wchar_t clock[64] = {};
        ::GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &next, nullptr, clock, 64);
        last_run += std::wstring(L"  Next: ") + clock;
    }
    std::wstring last_file = album.LastFile;
    ListView_SetItemText(list, row, 1, description.data());
    ListView_SetItemText(list, row, 2, last_run.data());
    ListView_SetItemText(list, row, 3, last_file.data());

    item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = reinterpret_cast<LPARAM>(&album);
    ListView_SetItem(list, &item);
    SetStateImage(row, album.Enabled ? kStateActive : kStateInactive);
    return row;
}

void CumView::RefreshAlbumList() {
    HWND list = Handle();
    if (!list)
        return; // the rows are made when the Album Manager is first shown
    // The selected album, by its record: names may be long, and rows are rebuilt.
    const int selected = SelectedRow();
    const CAccount* remembered = selected == -1 ? nullptr : RecordAt(selected);

    // No drawing while the rows are rebuilt: each insert would otherwise repaint the list.
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    if (albums_.Empty()) {
        ListView_SetImageList(list, nullptr, LVSIL_STATE);
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        std::wstring text = kPlaceholderRow;
        item.pszText = text.data();
        ListView_InsertItem(list, &item);
        ListView_SetColumnWidth(list, 0, LVSCW_AUTOSIZE);
        for (int c = 1; c < kColumnCount; ++c)
            ListView_SetColumnWidth(list, c, LVSCW_AUTOSIZE_USEHEADER);
        ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(list, nullptr, TRUE);
        return;
    }

    ListView_SetImageList(list, state_images_.Get(), LVSIL_STATE);
    ListView_SetItemCount(list, static_cast<int>(albums_.Size()));
    for (const CAccount* album : albums_.DisplayOrder())
        AddAlbumRow(*album);

    for (int c = 0; c < kColumnCount; ++c) {
        int width = ListView_GetColumnWidth(list, c);
        ListView_SetColumnWidth(list, c, LVSCW_AUTOSIZE);
        if (ListView_GetColumnWidth(list, c) < width)
            ListView_SetColumnWidth(list, c, width);
    }
    int row = RowOfRecord(remembered);
    if (row < 0)
        row = 0;
    UINT both = LVIS_SELECTED | LVIS_FOCUSED;
    ListView_SetItemState(list, row, both, both);
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

bool CumView::SaveForCommand(HWND owner) {
    return rotator_.SaveForCommand(MessageBoxReport(owner));
}

bool CumView::RefuseWhilePassRuns() {
    if (!rotator_.Busy())
        return false;
    Say(kPassRunningStatus);
    return true;
}

bool CumView::QueryCommandEnabled(UINT id, bool* enabled) const {
    int row = SelectedRow();
    CAccount* album = row == -1 || !initialised_ ? nullptr : RecordAt(row);
    switch (id) {
    case ID_ALBUM_DELETE:
    case ID_ALBUM_PROPERTIES:
        *enabled = album != nullptr;
        return true;
    case ID_ALBUM_ACTIVATE:
        *enabled = album != nullptr && !album->Enabled;
        return true;
    case ID_ALBUM_NEW:
    case ID_ALBUM_PAUSE:
        *enabled = initialised_; // the albums are still loading until then
        return true;
    case ID_ALBUM_NEXT:
    case ID_ALBUM_PREVIOUS:
        *enabled = albums_.FindActiveAlbum() != nullptr;
        return true;
    default:
        return false;
    }
}

bool CumView::OnCommand(UINT id) {
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
    default:
        return false;
    }
}

void CumView::PostCommand(UINT id) {
    ::PostMessageW(Handle(), WM_COMMAND, id, 0);
}

bool CumView::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_KEYUP && msg.wParam == VK_DELETE)
        PostCommand(ID_ALBUM_DELETE);
    else if (msg.message == WM_KEYUP && msg.wParam == VK_INSERT)
        PostCommand(ID_ALBUM_NEW);
    return false;
}

void CumView::ShowRowMenu() {
    HWND list = Handle();
    if (SelectedRow() == -1)
        return;
    const UniqueMenu menu(::CreatePopupMenu());
    if (!menu)
        return;
    if (ListView_GetSelectedCount(list) == 1) {
        ::AppendMenuW(menu.Get(), MF_STRING, ID_ALBUM_PROPERTIES, L"&Properties");
        ::AppendMenuW(menu.Get(), MF_STRING, ID_ALBUM_DELETE, L"Dele&te");
        ::SetMenuDefaultItem(menu.Get(), 0, TRUE);
    }
    const UINT chosen = TrackMenuAtCursor(menu.Get(), list);
    if (chosen != 0)
        PostCommand(chosen);
}

bool CumView::OnLeftButtonDown(POINT point) {
    HWND list = Handle();
    LVHITTESTINFO hit = {};
    hit.pt = point;
    int row = ListView_HitTest(list, &hit);
    if (row == -1)
        return false;
    bool on_state_icon = (hit.flags & LVHT_ONITEMSTATEICON) != 0;
    if (!on_state_icon && (hit.flags & LVHT_ONITEM)) {
        RECT icon = {};
        ListView_GetItemRect(list, row, &icon, LVIR_ICON);
        on_state_icon = point.x < icon.left;
    }
    if (!on_state_icon)
        return false;
    UINT both = LVIS_SELECTED | LVIS_FOCUSED;
    if (!(ListView_GetItemState(list, row, LVIS_SELECTED) & LVIS_SELECTED)) {
        for (int other = ListView_GetNextItem(list, -1, LVNI_SELECTED); other != -1;
             other = ListView_GetNextItem(list, other, LVNI_SELECTED))
            ListView_SetItemState(list, other, 0, both);
        ListView_SetItemState(list, row, both, both);
    }
    ActivateAlbum();
    return true;
}

LRESULT CumView::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
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

bool CumView::OnReflected(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
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
            ActivateAlbum();
        break;
    default:
        return false;
    }
    *result = 0;
    return true;
}

} // namespace glimro
