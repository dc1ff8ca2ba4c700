#pragma once
// A report-mode list view that draws its rows itself, so that the selection band covers the
// whole row (and, optionally, reaches the client area's right edge).
#include "platform/window.h"

#include <windows.h>

#include <string>
#include <vector>

namespace glimro {

// The text as drawn in a cell width: unchanged when it fits with the allowance, otherwise its
// longest prefix that fits followed by "..." (at least one character and "...").
std::wstring ShortenToFit(HDC dc, const std::wstring& text, int width, int allowance);

class CListViewEx : public CWindow {
public:
    // Creates the list as a child of parent with the creation hooks' styles applied.
    bool CreateList(DWORD style, const RECT& rect, HWND parent, UINT id);

    // A row's data value (0 for none), and the row holding a data value (-1 for none).
    LPARAM RowData(int row) const;
    int RowOfData(LPARAM data) const;
    // Adds a row at the end with a text per column and a data value; its index, or -1.
    int AppendRow(const std::vector<std::wstring>& texts, LPARAM data);
    std::vector<int> SelectedRows() const;
    // Selects and focuses the row alone (unless it is selected already).
    void SelectRow(int row);
    // The row whose state image (the box left of the label) is at the point; -1 for none.
    int StateImageRowAt(POINT point) const;
    // Each column as wide as its widest text, and never narrower than it is.
    void WidenColumnsToFit(int columns);
    // A left-aligned column at the end.
    void AddColumn(const std::wstring& title, int width);
    // The columns' widths from one DPI to another.
    void ScaleColumns(int columns, UINT old_dpi, UINT new_dpi);

protected:
    // The creation hook: the styles the window is created with.
    virtual DWORD PreCreateStyle(DWORD style);
    virtual void DrawItem(const DRAWITEMSTRUCT& item);

    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
    bool OnReflected(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;

    bool full_row_selection_ = false;
    bool client_width_selection_ = true;
    int client_width_ = 0;
    // Only list views before Windows 4.0 drew state images into the label; this program
    // needs Windows 7, so the offset stays 0.
    int state_image_offset_ = 0;
    COLORREF text_colour_ = ::GetSysColor(COLOR_WINDOWTEXT);
    COLORREF text_background_colour_ = ::GetSysColor(COLOR_WINDOW);
    COLORREF background_colour_ = ::GetSysColor(COLOR_WINDOW);

private:
    bool IsFullRowReport() const;
    RECT RowBand(int row) const;
    void RepaintSelectedRows();
    void ExtendPaintToClientWidth();
};

} // namespace glimro
