#pragma once
// The internet side of a pass: a picture address fetched into the cache (or found there),
// and a feed entry read from its last good copy after asking its server for a newer one.
#include "core/feed.h"
#include "log/activity_log.h"

#include <optional>
#include <string>

namespace glimro {

enum class WebOutcome {
    Picture, // *path holds the picture as downloaded
    Feed,    // the address is a feed's: its copy is in the cache now
    Failed,  // reported to the log
};

// A picture address: a feed's picture (once) is fetched only when the cache lacks it, its
// address naming that picture for good; an address entry is asked for again, conditionally
// when the cache holds it, so that a picture changed at the same address is seen, and the
// cached copy serves while its server cannot be reached (reported once).
WebOutcome FetchWebPicture(const std::wstring& address, bool once, LogStream& log,
                           std::wstring* path);

// Whether the cache holds a feed's copy for the address: it is a feed entry.
bool IsKnownFeed(const std::wstring& address);

// The feed entry's pictures: its server asked for a newer copy (conditionally, without the
// dialog's pauses) and the last good copy read; nothing when there is none. A feed that
// cannot be fetched or read is reported once until it can again.
// refresh false: the copy was fetched a moment ago, and is read as it is.
std::optional<Feed> LoadFeed(const std::wstring& address, LogStream& log, bool refresh = true,
                             FeedReading reading = {});

// The feed's copy as last fetched, read without asking its server; for windows.
std::optional<Feed> CachedFeed(const std::wstring& address, FeedReading reading = {});

// A web page that never changes at its address (a day's page of a picture of the day): its
// cached copy, else fetched once into the cache, at most kMaxPageBytes; empty, reported, when
// it cannot be had.
inline constexpr size_t kMaxPageBytes = 1024 * 1024;
inline constexpr wchar_t kCachedPage[] = L".page";
std::string PageOnce(const std::wstring& address, LogStream& log, bool fetch = true);

} // namespace glimro
