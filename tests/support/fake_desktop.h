#pragma once
// A stand-in for the shell's desktop object that records what it is asked and answers as
// the test says.
#include "platform/desktop.h"
#include "support/counted_fake.h"

#include <string>

namespace glimro::test {

class FakeActiveDesktop : public CountedFake<IActiveDesktop> {
public:
    HRESULT set_wallpaper_result = S_OK;
    HRESULT apply_result = S_OK;
    DWORD last_error_on_apply = 0; // what ApplyChanges leaves in the thread's last error

    std::wstring wallpaper;
    bool wallpaper_options_set = false;
    DWORD wallpaper_style = 0xFFFFFFFF;
    DWORD wallpaper_options_size = 0;
    bool components_set = false;
    COMPONENTSOPT components = {};
    int apply_calls = 0;
    DWORD apply_flags = 0;

    // Stands in for the desktop object's creation for the override's scope.
    Seam<HRESULT(ComPtr<IActiveDesktop>*)>::Override Install() {
        return {CreateActiveDesktop, [this](ComPtr<IActiveDesktop>* out) {
                    HandOut(out);
                    return S_OK;
                }};
    }

    // What the wallpaper setter uses.
    STDMETHODIMP ApplyChanges(DWORD flags) override {
        ++apply_calls;
        apply_flags = flags;
        ::SetLastError(last_error_on_apply);
        return apply_result;
    }
    STDMETHODIMP SetWallpaper(PCWSTR path, DWORD) override {
        wallpaper = path;
        return set_wallpaper_result;
    }
    STDMETHODIMP SetWallpaperOptions(LPCWALLPAPEROPT options, DWORD) override {
        wallpaper_options_set = true;
        wallpaper_options_size = options->dwSize;
        wallpaper_style = options->dwStyle;
        return S_OK;
    }
    STDMETHODIMP SetDesktopItemOptions(LPCCOMPONENTSOPT options, DWORD) override {
        components_set = true;
        components = *options;
        return S_OK;
    }

    // Never used by the program.
    STDMETHODIMP GetWallpaper(PWSTR, UINT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetWallpaperOptions(LPWALLPAPEROPT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetPattern(PWSTR, UINT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetPattern(PCWSTR, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetDesktopItemOptions(LPCOMPONENTSOPT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP AddDesktopItem(LPCCOMPONENT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP AddDesktopItemWithUI(HWND, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP ModifyDesktopItem(LPCCOMPONENT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP RemoveDesktopItem(LPCCOMPONENT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetDesktopItemCount(int*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetDesktopItem(int, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetDesktopItemByID(ULONG_PTR, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GenerateDesktopItemHtml(PCWSTR, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP AddUrl(HWND, PCWSTR, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetDesktopItemBySource(PCWSTR, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
};

} // namespace glimro::test
