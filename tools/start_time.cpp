// The start-up figure of `make bench`: starts programs in turn, round after round, each time
// measuring the milliseconds from CreateProcess until a top-level window of the new process is
// visible, and prints for each its median and its median ratio against the first program.
// Each started process is ended before the next start.
// Usage: glimro_start_time <rounds> <command line> [| <command line>]...
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM found) {
    if (!::IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

// Milliseconds until a top-level window of the program's first thread showed; negative when
// none did within 60 s. Only that thread's windows are looked at, every 2 ms: asking for the
// whole window list each millisecond took the system's time from the program being started,
// and the more so the more that program asked of the system itself.
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
        bool found = false;
        ::EnumThreadWindows(process.dwThreadId, FindVisibleWindow,
                            reinterpret_cast<LPARAM>(&found));
        ::QueryPerformanceCounter(&now);
        const double ms = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
                          static_cast<double>(frequency.QuadPart);
        if (found) {
            elapsed = ms;
            break;
        }
        if (ms > 60000 || ::WaitForSingleObject(process.hProcess, 2) == WAIT_OBJECT_0)
            break;
    }
    ::TerminateProcess(process.hProcess, 0);
    ::WaitForSingleObject(process.hProcess, 10000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return elapsed;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: glimro_start_time <rounds> <command line> [| <command line>]...\n");
        return 2;
    }
    const int rounds = std::max(1, _wtoi(argv[1]));

    std::vector<std::wstring> commands(1);
    for (int i = 2; i < argc; ++i) {
        if (std::wcscmp(argv[i], L"|") == 0) {
            commands.emplace_back();
            continue;
        }
        commands.back() += (commands.back().empty() ? L"" : L" ") + std::wstring(argv[i]);
    }
    // One start of each first, not counted: the first start after a build reads the
    // programs and libraries from disk.
    for (const auto& command : commands)
        TimeToWindow(command);
    // The commands take turns, so that whatever else the machine does falls on all of
    // them alike; each ratio is against the first command's start in the same round.
    std::vector<std::vector<double>> times(commands.size()), ratios(commands.size());
    for (int round = 0; round < rounds; ++round) {
        for (size_t c = 0; c < commands.size(); ++c) {
            const double ms = TimeToWindow(commands[c]);
            if (ms < 0) {
                std::fprintf(stderr, "no window within 60 s\n");
                return 1;
            }
            times[c].push_back(ms);
            ratios[c].push_back(ms / times[0].back());
        }
    }
    // Each command: its median milliseconds, and its median ratio against the first.
    for (size_t c = 0; c < commands.size(); ++c)
        std::printf("%.0f %.2f\n", Median(times[c]), Median(ratios[c]));
    return 0;
}
