#pragma once
// The shell's desktop object and the older system call that set the wallpaper; tests put
// stand-ins here so that success, failure and absence can all be exercised.
#include "platform/com_ptr.h"
#include "platform/seam.h"

#include <windows.h>
#include <wininet.h> // must precede shlobj.h for the desktop object's declarations
#include <shlobj.h>

namespace glimro {

// CoCreateInstance of the desktop object; a negative result means it is not available.
extern Seam<HRESULT(ComPtr<IActiveDesktop>*)> CreateActiveDesktop;

// SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path, flags); the thread's last error
// tells why it failed.
extern Seam<BOOL(const wchar_t* path, UINT flags)> SetSystemWallpaper;

// Whether the system is Windows 8 or later (the "Span" style); tests put an older one here.
extern Seam<bool()> RunsOnWindows8OrLater;

} // namespace glimro
