#include "app/instance_window.h"

#include "platform/handle.h"
#include "platform/command_ids.h"
#include "platform/window_object.h"

namespace glimro {

CInstanceWindow::~CInstanceWindow() {
    Destroy();
}

bool CInstanceWindow::RegisterWindowClass(HINSTANCE instance) {
    if (reinterpret_cast<ULONG_PTR>(instance) <= 32)
        return false;
    WNDCLASSW wc = {};
    wc.style = CS_DBLCLKS | CS_NOCLOSE;
    wc.lpfnWndProc = &CInstanceWindow::WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kMessageWindowClass;
    // A class registered earlier by this process is the same class.
    return ::RegisterClassW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CInstanceWindow::Create(HINSTANCE instance) {
    window_ = ::CreateWindowExW(0, kMessageWindowClass, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr,
                                instance, this);
    if (!window_)
        return false;
    UniqueHandle created(::CreateEventW(nullptr, FALSE, FALSE, kMessageWindowEvent));
    if (!created)
        return false;
    ::SetEvent(created.Get());
    return true;
}

void CInstanceWindow::Destroy() {
    if (window_ && ::IsWindow(window_))
        ::DestroyWindow(window_);
    window_ = nullptr;
}

void CInstanceWindow::OnCommand(WPARAM wparam) {
    if (!host_)
        return;
    if (wparam == kShowCommand)
        host_->ShowAlbumManager();
    else if (wparam == kQuitCommand)
        host_->QuitInstance();
}

LRESULT CALLBACK CInstanceWindow::WindowProc(HWND window, UINT message, WPARAM wparam,
                                              LPARAM lparam) {
    auto* self = WindowObject<CInstanceWindow>(
        window, message,
        message == WM_NCCREATE
            ? static_cast<CInstanceWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams)
            : nullptr);
    switch (message) {
    case WM_COMMAND:
        // The whole wParam must match: a notification code in the high word makes it no
        // command; anything but the two commands is ignored.
        if (self && self->window_ == window)
            self->OnCommand(wparam);
        return 0;
    case WM_CLOSE:
    case WM_SYSCOMMAND:
        // Any process may post these: the window goes only when the instance destroys it,
        // or -d could no longer end the instance.
        return 0;
    default:
        return ::DefWindowProcW(window, message, wparam, lparam);
    }
}

} // namespace glimro
