#include "engine/wallpaper_setter.h"

#include "platform/desktop.h"
#include "platform/internet.h"
#include "platform/reg_key.h"

namespace glimro {
namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kSwitchFailed[] = L"Failed to switch wallpaper!\n";


enum class Switch { Done, Failed, Unavailable };

// Through the shell's desktop object. Unavailable when the object turns out to be a stub
// that cannot set a wallpaper at all (Wine), so that the older call is used instead.
Switch SwitchWithDesktopObject(IActiveDesktop* desktop, const std::wstring& path, int position,
                               LogStream& log) {
    COMPONENTSOPT components = {};
    components.dwSize = sizeof(components);
    components.fEnableComponents = TRUE;
    components.fActiveDesktop = TRUE;
    desktop->SetDesktopItemOptions(&components, 0);

    WALLPAPEROPT options = {};
    options.dwSize = sizeof(options);
    options.dwStyle = static_cast<DWORD>(position); // Position is numbered as the styles
    desktop->SetWallpaperOptions(&options, 0);

    if (desktop->SetWallpaper(path.c_str(), 0) == E_NOTIMPL)
        return Switch::Unavailable;

    if (FAILED(desktop->ApplyChanges(AD_APPLY_ALL))) {
        ReportError(kSwitchFailed, LogSafe(path), ::GetLastError(), log);
        return Switch::Failed;
    }
    log << "Switched!" << "\n";
    return Switch::Done;
}

// The documented "Control Panel\Desktop" values of each position; Center keeps the "1" it
// has always written.
const wchar_t* StyleValue(int position) {
    static const wchar_t* const kStyles[kPositionCount] = {L"1", L"0", L"2", L"6", L"10", L"22", L"10"};
    return position >= 0 && position < kPositionCount ? kStyles[position] : kStyles[kCenter];
}

bool SwitchTheOldWay(const std::wstring& path, int position, LogStream& log) {
    RegKey desktop_key;
    if (desktop_key.Open(HKEY_CURRENT_USER, kDesktopKey, KEY_READ | KEY_WRITE) == ERROR_SUCCESS) {
        desktop_key.SetTextWithNul(L"TileWallpaper", position == kTile ? L"1" : L"0");
        desktop_key.SetTextWithNul(L"WallpaperStyle", StyleValue(position));
    }
    if (SetSystemWallpaper(path.c_str(), SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE)) {
        log << "Switched the old way!" << "\n";
        return true;
    }
    ReportError(kSwitchFailed, LogSafe(path), ::GetLastError(), log);
    return false;
}

} // namespace

bool SetDesktopWallpaper(const std::wstring& path, LogStream& log, int position) {
    position = DesktopStyle(SupportedPosition(position));
    // Start-up has already initialised the thread for OLE; this only adds a reference.
    const ScopedComInit com;

    ComPtr<IActiveDesktop> desktop;
    if (SUCCEEDED(CreateActiveDesktop(&desktop)) && desktop) {
        const Switch result = SwitchWithDesktopObject(desktop.Get(), path, position, log);
        if (result != Switch::Unavailable)
            return result == Switch::Done;
    }
    desktop.Reset();
    return SwitchTheOldWay(path, position, log);
}

int SupportedPosition(int position) {
    if (position < 0 || position >= kPositionCount)
        return kCenter;
    return position == kSpan && !RunsOnWindows8OrLater() ? kFill : position;
}

int DesktopStyle(int position) {
    return position == kFillSubject ? kFill : position;
}

void ReleasePassLibraries() {
    net::ReleaseLibrary();
    ::CoFreeUnusedLibrariesEx(0, 0);
}

} // namespace glimro
