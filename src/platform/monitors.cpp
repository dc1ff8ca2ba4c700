#include "platform/monitors.h"

namespace glimro {
namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFOEXW info = {};
    info.cbSize = sizeof(info);
    if (::GetMonitorInfoW(monitor, &info))
        reinterpret_cast<std::vector<MonitorInfo>*>(data)->push_back(
            {info.rcMonitor, (info.dwFlags & MONITORINFOF_PRIMARY) != 0, info.szDevice});
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
