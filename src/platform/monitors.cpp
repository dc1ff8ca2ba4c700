#include "platform/monitors.h"

namespace glimro {
namespace {

// GetDpiForMonitor (Windows 8.1 and later, looked up at run time); 0 where there is none.
UINT MonitorDpi(HMONITOR monitor) {
    using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto get_dpi = [] {
        const HMODULE shcore = ::LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return shcore ? reinterpret_cast<GetDpiForMonitorFunction>(
                            reinterpret_cast<void*>(::GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    UINT x = 0, y = 0;
    constexpr int kEffectiveDpi = 0; // MDT_EFFECTIVE_DPI
    return get_dpi && SUCCEEDED(get_dpi(monitor, kEffectiveDpi, &x, &y)) ? y : 0;
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFOEXW info = {};
    info.cbSize = sizeof(info);
    if (::GetMonitorInfoW(monitor, &info))
        reinterpret_cast<std::vector<MonitorInfo>*>(data)->push_back(
            {info.rcMonitor, (info.dwFlags & MONITORINFOF_PRIMARY) != 0, info.szDevice, info.rcWork,
             MonitorDpi(monitor)});
    return TRUE;
}

const CLSID kClsidDesktopWallpaper = {
    0xC2CF3110, 0x460E, 0x4FC1, {0xB9, 0xD0, 0x8A, 0x1C, 0x0C, 0x9C, 0xC4, 0xBD}};
const IID kIidDesktopWallpaper = {
    0xB92B56A9, 0x8B55, 0x4E14, {0x9A, 0x89, 0x01, 0x99, 0xBB, 0xB6, 0xF9, 0x3B}};

} // namespace

Seam<std::vector<MonitorInfo>()> Monitors([] {
    std::vector<MonitorInfo> monitors;
    ::EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
});

Seam<HRESULT(ComPtr<IDesktopWallpaperObject>*)> CreateDesktopWallpaper(
    [](ComPtr<IDesktopWallpaperObject>* object) {
        return ::CoCreateInstance(kClsidDesktopWallpaper, nullptr, CLSCTX_ALL,
                                  kIidDesktopWallpaper, reinterpret_cast<void**>(object->Put()));
    });

} // namespace glimro
