// Posts a message to a top-level window found by its title: used by `make screenshot` to
// open windows of a running Glimro as a user would.
// Usage: post_message.exe <window title> <message number> <wParam> [lParam]
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc != 4 && argc != 5)
        return 2;
    HWND window = ::FindWindowW(nullptr, argv[1]);
    if (!window)
        return 1;
    const UINT message = std::wcstoul(argv[2], nullptr, 10);
    const WPARAM wparam = std::wcstoul(argv[3], nullptr, 10);
    const LPARAM lparam = argc == 5 ? static_cast<LPARAM>(std::wcstol(argv[4], nullptr, 10)) : 0;
    return ::PostMessageW(window, message, wparam, lparam) ? 0 : 1;
}
