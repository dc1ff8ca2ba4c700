// The start-up figure of `make bench`: starts a program several times, each time measuring the
// milliseconds from CreateProcess until a top-level window of the new process is visible, and
// prints the median. Each started process is ended before the next start.
// Usage: glimro_start_time <runs> <command line>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD process;
    bool found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->process && ::IsWindowVisible(window)) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

// Milliseconds until the window showed; negative when it did not within 60 s.
double TimeToWindow(const std::wstring& command) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::wstring line = command;
    LARGE_INTEGER frequency, start, now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return -1;
    double elapsed = -1;
    for (;;) {
        Search search{process.dwProcessId, false};
        ::EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
        ::QueryPerformanceCounter(&now);
        const double ms = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
                          static_cast<double>(frequency.QuadPart);
        if (search.found) {
            elapsed = ms;
            break;
        }
        if (ms > 60000 || ::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
            break;
        ::Sleep(1);
    }
    ::TerminateProcess(process.hProcess, 0);
    ::WaitForSingleObject(process.hProcess, 10000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return elapsed;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: glimro_start_time <runs> <command line>\n");
        return 2;
    }
    const int runs = std::max(1, _wtoi(argv[1]));
    std::wstring command;
    for (int i = 2; i < argc; ++i)
        command += (i > 2 ? L" " : L"") + std::wstring(argv[i]);
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const double ms = TimeToWindow(command);
        if (ms < 0) {
            std::fprintf(stderr, "no window within 60 s\n");
            return 1;
        }
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    std::printf("%.0f\n", times[times.size() / 2]);
    return 0;
}
