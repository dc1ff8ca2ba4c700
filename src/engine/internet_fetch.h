#pragma once
// Fetching an http:// or https:// album entry into the local wallpaper file.
#include "log/activity_log.h"

#include <windows.h>

#include <string>

namespace glimro {

// What a server may make a download wait for or send.
struct DownloadLimits {
    DWORD silence_ms = 30 * 1000;             // no data at all for this long fails the fetch
    unsigned long long max_body = 100ull << 20; // 100 MB: a larger body is never saved
    DWORD total_ms = 120 * 1000;              // from the request to the last byte
    // Less than this many bytes in any such window (under 1 KB/s for 30 s) fails it too.
    DWORD rate_window_ms = 30 * 1000;
    unsigned long long min_window_bytes = 30 * 1024;
    // Only a body that is a picture within the picture limits replaces the wallpaper file;
    // anything else is refused before it does.
    bool pictures_only = true;
};

// Whether an album entry is an internet address: "http://" or "https://" in any case,
// deliberately anywhere in the entry, as entries have always been told apart.
bool IsInternetEntry(const std::wstring& entry);

// Runs the download dialog for the address. 0 or more: the local wallpaper file holds the
// response body. Failures are reported to the log; no message box is shown.
HRESULT DownloadImage(const std::wstring& url, HINSTANCE instance, LogStream& log,
                      const DownloadLimits& limits = DownloadLimits());

// Deletes what a download cut off by the end of an earlier run left beside the executable:
// the partial file, and the "pod<hex>.tmp" files older versions made. Nothing else.
void RemoveDownloadLeftovers();

// "Saving local copy of " and the part of the address after its last '/'.
std::wstring SavingStatusText(const std::wstring& url);

} // namespace glimro
