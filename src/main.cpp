// glimro.exe. For now it offers the wallpaper switch alone: given the path of a local image
// it makes that image the desktop wallpaper and logs the outcome beside the executable.
#include "engine/wallpaper_setter.h"
#include "shell/activity_log.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!args)
        return 1;
    std::wstring path = count > 1 ? args[1] : L"";
    ::LocalFree(args);
    if (path.empty())
        return 1;

    if (FAILED(::OleInitialize(nullptr)))
        return 1;
    glimro::BuildLogPath();
    {
        glimro::LogStream log = glimro::OpenLog(glimro::LogMode::Afresh);
        glimro::SetDesktopWallpaper(path, log);
    }
    ::OleUninitialize();
    return 0;
}
