#include "support/registry_sandbox.h"

#include <atomic>
#include <cstring>
#include <stdexcept>

namespace glimro::test {
namespace {

constexpr wchar_t kScratchRoot[] = L"Software\\GlimroTestScratch\\";

} // namespace

RegistrySandbox::RegistrySandbox() {
    static std::atomic<unsigned> counter{0};
    scratch_ =
        kScratchRoot + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(counter++);
    // A leftover from an earlier crashed run with the same name must not leak into this one.
    ::RegDeleteTreeW(HKEY_CURRENT_USER, scratch_.c_str());
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, scratch_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                          nullptr, &key_, nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create the registry sandbox");
    if (::RegOverridePredefKey(HKEY_CURRENT_USER, key_) != ERROR_SUCCESS)
        throw std::runtime_error("cannot redirect HKEY_CURRENT_USER");
}

RegistrySandbox::~RegistrySandbox() {
    ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    ::RegCloseKey(key_);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, scratch_.c_str());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, scratch_.c_str());
}

DWORD StoredValue::Dword() const {
    DWORD value = 0;
    std::memcpy(&value, data.data(), data.size() < sizeof(value) ? data.size() : sizeof(value));
    return value;
}

std::wstring StoredValue::Text() const {
    return std::wstring(reinterpret_cast<const wchar_t*>(data.data()),
                        data.size() / sizeof(wchar_t));
}

StoredValue ReadStoredValue(HKEY root, const std::wstring& subkey, const std::wstring& name) {
    StoredValue value;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return value;
    DWORD bytes = 0;
    if (::RegQueryValueExW(key, name.c_str(), nullptr, &value.type, nullptr, &bytes) ==
        ERROR_SUCCESS) {
        value.data.resize(bytes);
        if (::RegQueryValueExW(key, name.c_str(), nullptr, &value.type, value.data.data(),
                               &bytes) == ERROR_SUCCESS) {
            value.exists = true;
            value.data.resize(bytes);
        }
    }
    ::RegCloseKey(key);
    return value;
}

bool KeyExists(HKEY root, const std::wstring& subkey) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

namespace {
constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
} // namespace

RealWallpaperGuard::RealWallpaperGuard() : before_(Current()) {}

RealWallpaperGuard::~RealWallpaperGuard() {
    HKEY key = nullptr;
    if (!before_.exists ||
        ::RegOpenKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    ::RegSetValueExW(key, L"Wallpaper", 0, before_.type, before_.data.data(),
                     static_cast<DWORD>(before_.data.size()));
    ::RegCloseKey(key);
}

StoredValue RealWallpaperGuard::Current() const {
    return ReadStoredValue(HKEY_CURRENT_USER, kDesktopKey, L"Wallpaper");
}

} // namespace glimro::test
