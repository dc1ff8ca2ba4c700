#pragma once
// Observing other processes from a test: waiting for a condition, and finding a process's
// top-level window by class.
#include <windows.h>

#include <cwchar>
#include <functional>

namespace glimro::test {

inline bool WaitUntil(const std::function<bool()>& done, DWORD timeout) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeout)
            return false;
        ::Sleep(50);
    }
    return true;
}

// The first top-level window of the class that the process owns (any process with 0), or
// null; with visible_only, only a visible one.
inline HWND FindWindowOf(DWORD process, const wchar_t* class_name, bool visible_only = false) {
    struct Search {
        DWORD process;
        const wchar_t* class_name;
        bool visible_only;
        HWND found;
    } search{process, class_name, visible_only, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            wchar_t name[64] = {};
            ::GetClassNameW(window, name, 64);
            if ((s.process == 0 || owner == s.process) && std::wcscmp(name, s.class_name) == 0 &&
                (!s.visible_only || ::IsWindowVisible(window))) {
                s.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace glimro::test
