#pragma once
// Tests that change the real wallpaper, the product key or the Run value of the user they
// run as refuse to run anywhere but in the private Wine prefix that scripts/wine-run.sh
// prepares: on someone's own Windows they would cost them their albums and wallpaper.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace glimro::test {

inline std::wstring EnvironmentText(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, value, 1024);
    return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

inline bool InPrivateTestPrefix() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    const bool under_wine = ntdll && ::GetProcAddress(ntdll, "wine_get_version");
    const std::wstring prefix = EnvironmentText(L"WINEPREFIX");
    return under_wine && !prefix.empty() && prefix == EnvironmentText(L"GLIMRO_PRIVATE_PREFIX");
}

} // namespace glimro::test

#define GLIMRO_REQUIRE_PRIVATE_PREFIX()                                                            \
    if (!::glimro::test::InPrivateTestPrefix())                                                    \
    GTEST_SKIP() << "changes the user's own settings: runs only in the tests' private Wine prefix"
