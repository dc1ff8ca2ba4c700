#pragma once
// Redirects HKEY_CURRENT_USER of this process to a fresh scratch key for the object's
// lifetime; the scratch key is deleted afterwards. Child processes are not redirected.
#include <windows.h>

#include <string>
#include <vector>

namespace glimro::test {

class RegistrySandbox {
public:
    RegistrySandbox();
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

private:
    std::wstring scratch_;
    HKEY key_ = nullptr;
};

// One stored value as the registry holds it.
struct StoredValue {
    bool exists = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;

    DWORD Dword() const;
    std::wstring Text() const; // the raw characters, NULs included
};

StoredValue ReadStoredValue(HKEY root, const std::wstring& subkey, const std::wstring& name);
bool KeyExists(HKEY root, const std::wstring& subkey);

// The prefix's real "Wallpaper" under Control Panel\Desktop, which Wine's system call writes
// past any sandbox: noted on construction, put back on destruction.
class RealWallpaperGuard {
public:
    RealWallpaperGuard();
    ~RealWallpaperGuard();
    RealWallpaperGuard(const RealWallpaperGuard&) = delete;
    RealWallpaperGuard& operator=(const RealWallpaperGuard&) = delete;

    StoredValue Current() const;

private:
    StoredValue before_;
};

} // namespace glimro::test
