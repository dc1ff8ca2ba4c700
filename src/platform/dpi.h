#pragma once
// Drawing for the screen's dots per inch (96 is 100 %). Windows 10 gives each window the DPI of
// its monitor and says when it moves to another; older systems have one DPI for everything.
// The newer calls are looked up at run time, so the program still starts on Windows 7.
#include "platform/seam.h"

#include <windows.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace glimro {

inline constexpr UINT kDefaultDpi = 96;

// The DPI a window is drawn at (GetDpiForWindow); without a window, or on a system without
// per-window DPI, the system's.
extern Seam<UINT(HWND)> WindowDpi;

// A length in pixels at 100 % scaled to the DPI, rounded to the nearest pixel.
int ScaleForDpi(int value, UINT dpi);
// The width and height of small icons at the DPI (SM_CXSMICON): 16 at 100 %.
int SmallIconSize(UINT dpi);
// The system's message font as it is at the DPI; null when it cannot be had.
HFONT CreateMessageFont(UINT dpi);
// Its description, to make it larger or smoother; false when it cannot be had.
bool MessageFontAt(UINT dpi, LOGFONTW* font);
// An icon resource of this module at exactly the size, drawn for it where the icon has it.
HICON LoadIconOfSize(UINT id, int size);

} // namespace glimro
