#pragma once
// The monitors as the system lays them out, and the desktop wallpaper object that sets a
// picture per monitor (Windows 8 and later); tests put layouts and stand-ins here.
#include "platform/com_ptr.h"
#include "platform/seam.h"

#include <windows.h>

#include <string>
#include <vector>

namespace glimro {

struct MonitorInfo {
    RECT rect;          // in physical pixels of the virtual screen
    bool primary;
    std::wstring device; // \\.\DISPLAY1 ...
    RECT work = {};      // what the taskbar and docked bars leave; empty: all of rect
    UINT dpi = 0;        // its scale (96 is 100 %); 0: the system's
};

// EnumDisplayMonitors with GetMonitorInfoW, in the system's order.
extern Seam<std::vector<MonitorInfo>()> Monitors;

// IDesktopWallpaper as documented (shobjidl.h declares it for Windows 8 targets only); the
// methods after SetPosition are never called.
struct IDesktopWallpaperObject : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetWallpaper(LPCWSTR monitor, LPCWSTR wallpaper) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetWallpaper(LPCWSTR monitor, LPWSTR* wallpaper) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMonitorDevicePathAt(UINT index, LPWSTR* monitor) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMonitorDevicePathCount(UINT* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMonitorRECT(LPCWSTR monitor, RECT* rect) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetBackgroundColor(COLORREF color) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetBackgroundColor(COLORREF* color) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetPosition(int position) = 0;
};

// CoCreateInstance of CLSID_DesktopWallpaper; REGDB_E_CLASSNOTREG where the system has none
// (Windows 7, Wine).
extern Seam<HRESULT(ComPtr<IDesktopWallpaperObject>*)> CreateDesktopWallpaper;

} // namespace glimro
