#include "platform/crash_report.h"

#include "platform/handle.h"
#include "platform/system_library.h"

#include <dbghelp.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace glimro {
namespace {

std::wstring LocalCrashFolder() {
    wchar_t* local = nullptr;
    if (FAILED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local)) || !local) {
        ::CoTaskMemFree(local);
        return {};
    }
    const std::wstring folder = std::wstring(local) + L"\\Glimro\\Crashes\\";
    ::CoTaskMemFree(local);
    return folder;
}

// Ready before anything can fail: the filter allocates nothing it can do without.
wchar_t g_folder[MAX_PATH] = {};
wchar_t g_version[32] = {};

std::vector<std::wstring> Reports(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW((folder + L"glimro-*.txt").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        names.push_back(found.cFileName);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end()); // the names are times: oldest first
    return names;
}

void WriteWhole(const std::wstring& path, const std::string& text) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                      nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
}

LONG WINAPI WriteCrashReport(EXCEPTION_POINTERS* exception) {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    wchar_t stem[64] = {};
    std::swprintf(stem, 64, L"glimro-%04u%02u%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
    const std::wstring base = std::wstring(g_folder) + stem;
    // The dump first: the report names a dump that is there.
    using WriteDump = decltype(::MiniDumpWriteDump);
    if (const auto write_dump = SystemFunction<WriteDump>(L"dbghelp.dll", "MiniDumpWriteDump")) {
        const HANDLE file = ::CreateFileW((base + L".dmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            MINIDUMP_EXCEPTION_INFORMATION where = {::GetCurrentThreadId(), exception, FALSE};
            write_dump(::GetCurrentProcess(), ::GetCurrentProcessId(), file, MiniDumpNormal, &where, nullptr,
                       nullptr);
            ::CloseHandle(file);
        }
    }
    const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
    HMODULE module = nullptr;
    wchar_t module_path[MAX_PATH] = {};
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         static_cast<LPCWSTR>(record.ExceptionAddress), &module);
    if (module)
        ::GetModuleFileNameW(module, module_path, MAX_PATH);
    const ULONG_PTR offset = reinterpret_cast<ULONG_PTR>(record.ExceptionAddress) - reinterpret_cast<ULONG_PTR>(module);
    WriteWhole(base + L".txt", CrashReportText(g_version, now, record.ExceptionCode, record.ExceptionAddress,
                                               module_path, module ? offset : 0));
    return EXCEPTION_EXECUTE_HANDLER; // the process ends, without the system's dialog
}

} // namespace

Seam<std::wstring()> CrashFolder{LocalCrashFolder};

std::string CrashReportText(const wchar_t* version, const SYSTEMTIME& at, DWORD code, const void* address,
                            const std::wstring& module, ULONG_PTR offset) {
    char text[1024] = {};
    const std::wstring name = module.substr(module.find_last_of(L"\\/") + 1);
    std::snprintf(text, sizeof(text),
                  "Glimro %ls ended unexpectedly.\r\n"
                  "Time: %04u-%02u-%02u %02u:%02u:%02u\r\n"
                  "Exception: 0x%08lX at %p\r\n"
                  "Module: %ls+0x%llX\r\n",
                  version, at.wYear, at.wMonth, at.wDay, at.wHour, at.wMinute, at.wSecond,
                  static_cast<unsigned long>(code), address, name.empty() ? L"(unknown)" : name.c_str(),
                  static_cast<unsigned long long>(offset));
    return text;
}

std::wstring NewestCrashReport() {
    const std::vector<std::wstring> reports = Reports(CrashFolder());
    return reports.empty() ? std::wstring() : reports.back();
}

void InstallCrashHandler(const wchar_t* version) {
    const std::wstring folder = CrashFolder();
    if (folder.empty() || folder.size() >= MAX_PATH - 64)
        return;
    ::SHCreateDirectoryExW(nullptr, folder.substr(0, folder.size() - 1).c_str(), nullptr);
    std::vector<std::wstring> reports = Reports(folder);
    // Room for the next one among the newest kept.
    while (reports.size() >= kCrashReportsKept) {
        const std::wstring stem = reports.front().substr(0, reports.front().size() - 4);
        ::DeleteFileW((folder + stem + L".txt").c_str());
        ::DeleteFileW((folder + stem + L".dmp").c_str());
        reports.erase(reports.begin());
    }
    folder.copy(g_folder, MAX_PATH - 1);
    g_folder[folder.size()] = L'\0';
    std::wstring(version).substr(0, 31).copy(g_version, 31);
    ::SetUnhandledExceptionFilter(WriteCrashReport);
}

} // namespace glimro
