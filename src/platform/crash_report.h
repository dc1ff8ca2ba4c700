#pragma once
// What Glimro leaves when it ends unexpectedly: a minidump and a short text report in
// %LOCALAPPDATA%\Glimro\Crashes, written by the unhandled-exception filter. Nothing is sent
// anywhere, and the handler touches nothing else (never the albums): it writes two new files
// and lets the process end. The next start tells the user once.
#include "platform/seam.h"

#include <windows.h>

#include <string>

namespace glimro {

// The folder of the reports, with its trailing backslash; tests put theirs here.
extern Seam<std::wstring()> CrashFolder;

// Makes the folder, keeps the newest kCrashReportsKept reports (and their dumps), and installs
// the filter for this process. version: the program's, for the report.
inline constexpr size_t kCrashReportsKept = 5;
void InstallCrashHandler(const wchar_t* version);

// The report's text: the version, the time, the exception and where it happened.
std::string CrashReportText(const wchar_t* version, const SYSTEMTIME& at, DWORD code, const void* address,
                            const std::wstring& module, ULONG_PTR offset);

// The newest report's file name ("glimro-20261211-023000.txt"), or empty when there is none.
std::wstring NewestCrashReport();

} // namespace glimro
