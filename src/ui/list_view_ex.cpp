#include "ui/list_view_ex.h"

#include "platform/handle.h"

#include <commctrl.h>

#include <algorithm>

namespace glimro {

namespace {

constexpr int kTextChars = 260;
constexpr UINT kCellTextFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP;
constexpr wchar_t kEllipsis[] = L"...";

int TextWidth(HDC dc, const wchar_t* text, int length) {
    SIZE size = {};
    ::GetTextExtentPoint32W(dc, text, length, &size);
    return size.cx;
}

} // namespace

std::wstring ShortenToFit(HDC dc, const std::wstring& text, int width, int allowance) {
    int length = static_cast<int>(text.size());
    if (length == 0 || TextWidth(dc, text.c_str(), length) + allowance <= width)
        return text;
    int ellipsis = TextWidth(dc, kEllipsis, 3);
    for (int i = length - 1; i > 0; --i) {
        if (TextWidth(dc, text.c_str(), i) + allowance + ellipsis <= width)
            return text.substr(0, i) + kEllipsis;
    }
    return text.substr(0, 1) + kEllipsis;
}

bool CListViewEx::CreateList(DWORD style, const RECT& rect, HWND parent, UINT id) {
    HWND list = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr, PreCreateStyle(style), rect.left, rect.top,
        rect.right - rect.left, rect.bottom - rect.top, parent,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
    if (!list)
        return false;
    if (!Subclass(list)) {
        ::DestroyWindow(list);
        return false;
    }
    RECT client;
    ::GetClientRect(list, &client);
    client_width_ = client.right;
    return true;
}

DWORD CListViewEx::PreCreateStyle(DWORD style) {
    style &= ~LVS_SMALLICON;
    style |= LVS_OWNERDRAWFIXED | LVS_REPORT;
    full_row_selection_ = true;
    return style;
}

bool CListViewEx::IsFullRowReport() const {
    return full_row_selection_ &&
           (::GetWindowLongPtrW(Handle(), GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT;
}

RECT CListViewEx::RowBand(int row) const {
    RECT bounds = {}, label = {};
    ListView_GetItemRect(Handle(), row, &bounds, LVIR_BOUNDS);
    ListView_GetItemRect(Handle(), row, &label, LVIR_LABEL);
    bounds.left = label.left;
    return bounds;
}

void CListViewEx::DrawItem(const DRAWITEMSTRUCT& item) {
    HWND list = Handle();
    HDC dc = item.hDC;
    int row = static_cast<int>(item.itemID);
    bool has_focus = ::GetFocus() == list;
    LONG_PTR style = ::GetWindowLongPtrW(list, GWL_STYLE);

    wchar_t text[kTextChars] = {};
    LVITEMW lvi = {};
    lvi.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_STATE;
    lvi.iItem = row;
    lvi.stateMask = 0xFFFF;
    lvi.pszText = text;
    lvi.cchTextMax = kTextChars - 1;
    ListView_GetItem(list, &lvi);

    bool highlighted =
        ((lvi.state & LVIS_SELECTED) && (has_focus || (style & LVS_SHOWSELALWAYS))) ||
        (lvi.state & LVIS_DROPHILITED);

    RECT label = {}, icon = {};
    ListView_GetItemRect(list, row, &label, LVIR_LABEL);
    ListView_GetItemRect(list, row, &icon, LVIR_ICON);
    RECT band = RowBand(row);
    if (client_width_selection_ && band.right < client_width_)
        band.right = client_width_;

    COLORREF previous_text = 0, previous_background = 0;
    if (highlighted) {
        previous_text = ::SetTextColor(dc, ::GetSysColor(COLOR_HIGHLIGHTTEXT));
        previous_background = ::SetBkColor(dc, ::GetSysColor(COLOR_HIGHLIGHT));
        ::FillRect(dc, &band, ::GetSysColorBrush(COLOR_HIGHLIGHT));
    } else {
        GdiObject<HBRUSH> brush(::CreateSolidBrush(text_background_colour_));
        ::FillRect(dc, &band, brush.Get());
    }

    UINT image_style = ILD_TRANSPARENT;
    COLORREF blend = background_colour_;
    if (lvi.state & LVIS_CUT) {
        image_style |= ILD_BLEND50;
    } else if (highlighted) {
        image_style |= ILD_BLEND50;
        blend = ::GetSysColor(COLOR_HIGHLIGHT);
    }

    UINT state_image = (lvi.state & LVIS_STATEIMAGEMASK) >> 12;
    if (state_image != 0) {
        if (HIMAGELIST states = ListView_GetImageList(list, LVSIL_STATE))
            ::ImageList_Draw(states, static_cast<int>(state_image) - 1, dc, item.rcItem.left,
                             item.rcItem.top, ILD_TRANSPARENT);
    }
    HIMAGELIST icons = ListView_GetImageList(list, LVSIL_SMALL);
    if (icons && item.rcItem.left < item.rcItem.right - 1) {
        ::ImageList_DrawEx(icons, lvi.iImage, dc, icon.left, icon.top, 0, 0, background_colour_,
                           blend, image_style | (lvi.state & LVIS_OVERLAYMASK));
    }

    RECT cell = label;
    cell.right -= state_image_offset_;
    std::wstring shown = ShortenToFit(dc, text, cell.right - cell.left, 4);
    RECT inner = {cell.left + 2, cell.top, cell.right - 2, cell.bottom};
    ::DrawTextW(dc, shown.c_str(), -1, &inner, DT_LEFT | kCellTextFlags);

    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH;
    for (int c = 1; ListView_GetColumn(list, c, &column); ++c) {
        cell.left = cell.right;
        cell.right += column.cx;
        text[0] = L'\0';
        ListView_GetItemText(list, row, c, text, kTextChars - 1);
        if (text[0] == L'\0')
            continue;
        shown = ShortenToFit(dc, text, cell.right - cell.left, 12);
        UINT justify = DT_LEFT;
        if (shown == text) {
            switch (column.fmt & LVCFMT_JUSTIFYMASK) {
            case LVCFMT_RIGHT:
                justify = DT_RIGHT;
                break;
            case LVCFMT_CENTER:
                justify = DT_CENTER;
                break;
            default:
                break;
            }
        }
        inner = {cell.left + 6, cell.top, cell.right - 6, cell.bottom};
        ::DrawTextW(dc, shown.c_str(), -1, &inner, justify | kCellTextFlags);
    }

    if ((lvi.state & LVIS_FOCUSED) && has_focus)
        ::DrawFocusRect(dc, &band);
    if (highlighted) {
        ::SetTextColor(dc, previous_text);
        ::SetBkColor(dc, previous_background);
    }
}

void CListViewEx::RepaintSelectedRows() {
    HWND list = Handle();
    int focused = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
    if (focused != -1) {
        RECT band = RowBand(focused);
        ::InvalidateRect(list, &band, FALSE);
    }
    if (!(::GetWindowLongPtrW(list, GWL_STYLE) & LVS_SHOWSELALWAYS)) {
        for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row != -1;
             row = ListView_GetNextItem(list, row, LVNI_SELECTED)) {
            RECT band = RowBand(row);
            ::InvalidateRect(list, &band, FALSE);
        }
    }
    ::UpdateWindow(list);
}

void CListViewEx::ExtendPaintToClientWidth() {
    RECT row = {};
    if (!ListView_GetItemRect(Handle(), 0, &row, LVIR_BOUNDS) || row.right >= client_width_)
        return;
    PAINTSTRUCT paint;
    ::BeginPaint(Handle(), &paint);
    RECT area = paint.rcPaint;
    area.left = std::min<LONG>(row.right - 1, area.left);
    area.right = client_width_;
    ::InvalidateRect(Handle(), &area, FALSE);
    ::EndPaint(Handle(), &paint);
}

LRESULT CListViewEx::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_SIZE:
        client_width_ = static_cast<short>(LOWORD(lparam));
        break;
    case WM_PAINT:
        if (client_width_selection_ && IsFullRowReport())
            ExtendPaintToClientWidth();
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        LRESULT result = Default(message, wparam, lparam);
        HWND other = reinterpret_cast<HWND>(wparam);
        if (!(other && ::IsChild(Handle(), other)) && IsFullRowReport())
            RepaintSelectedRows();
        return result;
    }
    case LVM_SETTEXTCOLOR:
        text_colour_ = static_cast<COLORREF>(lparam);
        break;
    case LVM_SETTEXTBKCOLOR:
        text_background_colour_ = static_cast<COLORREF>(lparam);
        break;
    case LVM_SETBKCOLOR:
        background_colour_ = static_cast<COLORREF>(lparam);
        break;
    default:
        break;
    }
    return Default(message, wparam, lparam);
}

bool CListViewEx::OnReflected(UINT message, WPARAM, LPARAM lparam, LRESULT* result) {
    if (message != WM_DRAWITEM)
        return false;
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
    *result = TRUE;
    return true;
}

LPARAM CListViewEx::RowData(int row) const {
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    return ListView_GetItem(Handle(), &item) ? item.lParam : 0;
}

int CListViewEx::RowOfData(LPARAM data) const {
    LVFINDINFOW find = {};
    find.flags = LVFI_PARAM;
    find.lParam = data;
    return ListView_FindItem(Handle(), -1, &find);
}

int CListViewEx::AppendRow(const std::vector<std::wstring>& texts, LPARAM data) {
    HWND list = Handle();
    std::wstring first = texts.empty() ? std::wstring() : texts[0];
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = ListView_GetItemCount(list);
    item.pszText = first.data();
    item.lParam = data;
    const int row = ListView_InsertItem(list, &item);
    for (size_t column = 1; row >= 0 && column < texts.size(); ++column) {
        std::wstring text = texts[column];
        ListView_SetItemText(list, row, static_cast<int>(column), text.data());
    }
    return row;
}

std::vector<int> CListViewEx::SelectedRows() const {
    std::vector<int> rows;
    for (int row = ListView_GetNextItem(Handle(), -1, LVNI_SELECTED); row != -1;
         row = ListView_GetNextItem(Handle(), row, LVNI_SELECTED))
        rows.push_back(row);
    return rows;
}

void CListViewEx::SelectRow(int row) {
    const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
    if (ListView_GetItemState(Handle(), row, LVIS_SELECTED) & LVIS_SELECTED)
        return;
    for (const int other : SelectedRows())
        ListView_SetItemState(Handle(), other, 0, both);
    ListView_SetItemState(Handle(), row, both, both);
}

int CListViewEx::StateImageRowAt(POINT point) const {
    LVHITTESTINFO hit = {};
    hit.pt = point;
    const int row = ListView_HitTest(Handle(), &hit);
    if (row == -1)
        return -1;
    if (hit.flags & LVHT_ONITEMSTATEICON)
        return row;
    // Some lists report the box as the label: left of the icon is the box.
    RECT icon = {};
    if ((hit.flags & LVHT_ONITEM) && ListView_GetItemRect(Handle(), row, &icon, LVIR_ICON) &&
        point.x < icon.left)
        return row;
    return -1;
}

void CListViewEx::WidenColumnsToFit(int columns) {
    for (int c = 0; c < columns; ++c) {
        const int width = ListView_GetColumnWidth(Handle(), c);
        ListView_SetColumnWidth(Handle(), c, LVSCW_AUTOSIZE);
        if (ListView_GetColumnWidth(Handle(), c) < width)
            ListView_SetColumnWidth(Handle(), c, width);
    }
}

void CListViewEx::AddColumn(const std::wstring& title, int width) {
    std::wstring text = title;
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = text.data();
    column.iSubItem = Header_GetItemCount(ListView_GetHeader(Handle()));
    ListView_InsertColumn(Handle(), column.iSubItem, &column);
}

void CListViewEx::ScaleColumns(int columns, UINT old_dpi, UINT new_dpi) {
    for (int c = 0; c < columns; ++c)
        ListView_SetColumnWidth(Handle(), c,
                                ::MulDiv(ListView_GetColumnWidth(Handle(), c),
                                         static_cast<int>(new_dpi), static_cast<int>(old_dpi)));
}

} // namespace glimro
