// The version resource that Explorer's properties, the installer and support rely on.
#include "resource.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace glimro {
namespace {

std::wstring VersionText(const std::vector<BYTE>& block, const wchar_t* name) {
    wchar_t* text = nullptr;
    UINT chars = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
    if (!::VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &chars) ||
        !text)
        return L"";
    return text;
}

TEST(VersionResource, NamesTheProductItsMakerAndOneVersion) {
    wchar_t path[MAX_PATH] = {};
    ASSERT_GT(::GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(::GetFileVersionInfoW(path, 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT bytes = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &bytes));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(1, 2)); // 2.1
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);             // .0.0
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(VersionText(block, L"CompanyName"), L"Fenwaldstone");
    EXPECT_EQ(VersionText(block, L"ProductName"), L"Glimro");
    EXPECT_EQ(VersionText(block, L"FileVersion"), L"2.1.0.0");
    EXPECT_EQ(VersionText(block, L"ProductVersion"), L"2.1.0.0");
}

} // namespace
} // namespace glimro
