// Posts a message to a top-level window found by its title: used by `make screenshot` to
// open windows of a running Glimro as a user would.
// Usage: post_message.exe <window title> <message number> <wParam>
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc != 4)
        return 2;
    HWND window = ::FindWindowW(nullptr, argv[1]);
    if (!window)
        return 1;
    const UINT message = std::wcstoul(argv[2], nullptr, 10);
    const WPARAM wparam = std::wcstoul(argv[3], nullptr, 10);
    return ::PostMessageW(window, message, wparam, 0) ? 0 : 1;
}
