// The floor of an idle Win32 program for the memory and start-up figures of `make bench`: one
// top-level window, a 60 s timer and a message loop, nothing else. Hidden without arguments;
// "<width> <height>" shows it at that size, as a window the user looks at (the system keeps a
// surface of that size for it, whatever the program).
#include <windows.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
    int width = 0, height = 0;
    const bool shown = std::swscanf(arguments, L"%d %d", &width, &height) == 2;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"GlimroBenchFloor";
    ::RegisterClassW(&wc);
    HWND window = ::CreateWindowExW(0, wc.lpszClassName, L"Floor", WS_OVERLAPPEDWINDOW,
                                    CW_USEDEFAULT, CW_USEDEFAULT, shown ? width : 100,
                                    shown ? height : 100, nullptr, nullptr, instance, nullptr);
    ::SetTimer(window, 1, 60000, nullptr);
    if (shown) {
        ::ShowWindow(window, SW_SHOWNORMAL);
        ::UpdateWindow(window);
    }
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageW(&msg);
    return 0;
}
