// Posts a command to a top-level window found by its title, as a menu choice would reach
// it: used by `make screenshot` to open windows of a running Glimro.
// Usage: post_command.exe <window title> <command number>
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3)
        return 2;
    HWND window = ::FindWindowW(nullptr, argv[1]);
    if (!window)
        return 1;
    const WPARAM command = std::wcstoul(argv[2], nullptr, 10);
    return ::PostMessageW(window, WM_COMMAND, command, 0) ? 0 : 1;
}
