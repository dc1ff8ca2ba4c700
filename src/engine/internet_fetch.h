#pragma once
// Fetching an http:// album entry into the local wallpaper file.
#include "log/activity_log.h"

#include <windows.h>

#include <string>

namespace glimro {

// Runs the download dialog for the address. 0 or more: the local wallpaper file holds the
// response body. Failures are reported to the log; no message box is shown.
HRESULT DownloadImage(const std::wstring& url, HINSTANCE instance, LogStream& log);

// "Saving local copy of " and the part of the address after its last '/'.
std::wstring SavingStatusText(const std::wstring& url);

} // namespace glimro
