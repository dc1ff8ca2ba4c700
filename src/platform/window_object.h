#pragma once
// The one way a window of ours reaches its object: the pointer in the window's
// GWLP_USERDATA, from its first message (WM_NCCREATE for a window, WM_INITDIALOG for a dialog
// or a property page, each carrying the pointer it was created with) to its last
// (WM_NCDESTROY). Windows, dialogs, pages and the message window all use it; controls of the
// system's classes are subclassed instead (CWindow::Subclass).
#include <windows.h>

namespace glimro {

// The object of the window for this message; created is the pointer the first message
// carries (null for any other message).
template <typename T> T* WindowObject(HWND window, UINT message, T* created = nullptr) {
    if (created)
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    T* object = reinterpret_cast<T*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY)
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return object;
}

} // namespace glimro
