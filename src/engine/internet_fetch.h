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
    // With pictures_only, a body that is a web feed (XML, at most kMaxFeedBytes) is kept as
    // well: the download then ends with kGotFeed.
    bool feeds_too = false;
    // The dialog's pauses before it connects, as a download has always shown them; a feed's
    // refresh goes without.
    bool pauses = true;
};

// What a server said of a body (its ETag and Last-Modified), to ask it next time whether the
// body changed.
struct HttpValidators {
    std::wstring etag;
    std::wstring last_modified;
    bool Empty() const { return etag.empty() && last_modified.empty(); }
};

// Successes other than S_OK: the server said the body is unchanged (the target is as it
// was), or the body is a feed, not a picture.
inline constexpr HRESULT kNotModified = MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_ITF, 0x0304);
inline constexpr HRESULT kGotFeed = MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_ITF, 0x0201);

// Whether an album entry is an internet address: "http://" or "https://" in any case,
// deliberately anywhere in the entry, as entries have always been told apart.
bool IsInternetEntry(const std::wstring& entry);

// "Switching to: " and the address, the line a download of an entry begins its log with.
void WriteSwitchingLine(const std::wstring& url, LogStream& log);

// Runs the download dialog for the address. 0 or more: the local wallpaper file holds the
// response body. Failures are reported to the log; no message box is shown.
HRESULT DownloadImage(const std::wstring& url, HINSTANCE instance, LogStream& log,
                      const DownloadLimits& limits = DownloadLimits());

// The download dialog for the address into target. ask: validators of the copy the caller
// holds (the request is then conditional); answer: the response's. 0 or more when the
// target holds the body or, with kNotModified, the caller's copy is current.
HRESULT DownloadFile(const std::wstring& url, const std::wstring& target, LogStream& log,
                     const DownloadLimits& limits = DownloadLimits(),
                     const HttpValidators* ask = nullptr, HttpValidators* answer = nullptr);

// Deletes what a download cut off by the end of an earlier run left beside the executable:
// the partial file, and the "pod<hex>.tmp" files older versions made. Nothing else.
void RemoveDownloadLeftovers();

// "Saving local copy of " and the part of the address after its last '/'.
std::wstring SavingStatusText(const std::wstring& url);

} // namespace glimro
