// The floor of an idle Win32 program for the memory and start-up figures of `make bench`: one
// top-level window, a 60 s timer and a message loop, nothing else. Hidden without arguments;
// "<width> <height>" shows it at that size, as a window the user looks at (the system keeps a
// surface of that size for it, whatever the program). "<width> <height> controls" also loads
// the common controls, as any window made of a list view and a toolbar must (under Wine their
// library loads its tooltip icons at 256 x 256 on loading: 0.75 MB, whatever the program).
#include <windows.h>
#include <commctrl.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
    int width = 0, height = 0;
    wchar_t extra[16] = {};
    const int given = std::swscanf(arguments, L"%d %d %15ls", &width, &height, extra);
    const bool shown = given >= 2;
    if (given == 3 && std::wcscmp(extra, L"controls") == 0) {
        using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
        const INITCOMMONCONTROLSEX classes = {sizeof(classes),
                                              ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
        if (HMODULE controls = ::LoadLibraryW(L"comctl32.dll"))
            if (auto init = reinterpret_cast<InitFunction>(reinterpret_cast<void*>(
                    ::GetProcAddress(controls, "InitCommonControlsEx"))))
                init(&classes);
    }
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
