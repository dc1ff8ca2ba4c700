#include "platform/desktop.h"

namespace glimro {
namespace {

// The documented identities of the desktop object and its interface.
const CLSID kClsidActiveDesktop = {
    0x75048700, 0xEF1F, 0x11D0, {0x98, 0x88, 0x00, 0x60, 0x97, 0xDE, 0xAC, 0xF9}};
const IID kIidActiveDesktop = {
    0xF490EB00, 0x1240, 0x11D1, {0x98, 0x88, 0x00, 0x60, 0x97, 0xDE, 0xAC, 0xF9}};

} // namespace

Seam<HRESULT(ComPtr<IActiveDesktop>*)> CreateActiveDesktop([](ComPtr<IActiveDesktop>* desktop) {
    return ::CoCreateInstance(kClsidActiveDesktop, nullptr, CLSCTX_INPROC_SERVER, kIidActiveDesktop,
                              reinterpret_cast<void**>(desktop->Put()));
});

Seam<BOOL(const wchar_t*, UINT)> SetSystemWallpaper([](const wchar_t* path, UINT flags) {
    return ::SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(path), flags);
});

Seam<bool()> RunsOnWindows8OrLater([] {
    OSVERSIONINFOEXW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    version.dwMajorVersion = 6;
    version.dwMinorVersion = 2;
    const DWORDLONG condition =
        ::VerSetConditionMask(::VerSetConditionMask(0, VER_MAJORVERSION, VER_GREATER_EQUAL),
                              VER_MINORVERSION, VER_GREATER_EQUAL);
    return ::VerifyVersionInfoW(&version, VER_MAJORVERSION | VER_MINORVERSION, condition) != FALSE;
});

} // namespace glimro
