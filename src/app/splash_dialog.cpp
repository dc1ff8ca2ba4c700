#include "app/splash_dialog.h"

#include "platform/module.h"
#include "resource.h"

namespace glimro {

namespace {

// Centred on the screen's work area, as a dialog over the desktop is.
void CentreOnWorkArea(HWND window) {
    RECT area = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT own;
    ::GetWindowRect(window, &own);
    const int width = own.right - own.left, height = own.bottom - own.top;
    ::SetWindowPos(window, nullptr, (area.left + area.right) / 2 - width / 2,
                   (area.top + area.bottom) / 2 - height / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

CSplashDialog::CSplashDialog() : CSimpleDialog(::GetModuleHandleW(nullptr), IDD_SPLASH) {}

bool CSplashDialog::LoadPicture() {
    // From beside the executable by its full path, never from whatever the current folder is.
    const std::wstring file = ExecutableFolder() + kSplashBitmapFile;
    bitmap_.Reset(static_cast<HBITMAP>(
        ::LoadImageW(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    return static_cast<bool>(bitmap_);
}

INT_PTR CSplashDialog::OnInitDialog(HWND window) {
    CSimpleDialog::OnInitDialog(window);
    if (!bitmap_ && !LoadPicture()) {
        End(IDCANCEL);
        return 1;
    }
    ::SendDlgItemMessageW(window, IDC_SPLASH_PICTURE, STM_SETIMAGE, IMAGE_BITMAP,
                          reinterpret_cast<LPARAM>(bitmap_.Get()));
    BITMAP size = {};
    // A bitmap whose size cannot be read keeps the template's rectangle and no ellipse: an
    // ellipse of size 0 would leave nothing of the window visible.
    if (::GetObjectW(bitmap_.Get(), sizeof(size), &size) && size.bmWidth > 0 && size.bmHeight > 0) {
        ::SetWindowPos(window, nullptr, 0, 0, size.bmWidth, size.bmHeight,
                       SWP_NOMOVE | SWP_NOZORDER);
        ::SetWindowRgn(window, ::CreateEllipticRgn(0, 0, size.bmWidth, size.bmHeight), FALSE);
    }
    CentreOnWorkArea(window);
    ::UpdateWindow(window);
    ::SetTimer(window, kSplashTimerId, kSplashDuration, nullptr);
    return 1;
}

INT_PTR CSplashDialog::OnTimer(WPARAM id, LPARAM) {
    if (id == kSplashTimerId) {
        ::KillTimer(Handle(), kSplashTimerId);
        End(IDCANCEL);
    }
    return 0;
}

CAboutDlg::CAboutDlg() : CSimpleDialog(::GetModuleHandleW(nullptr), IDD_ABOUTBOX) {}

} // namespace glimro
