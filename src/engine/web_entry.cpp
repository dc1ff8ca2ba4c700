#include "engine/web_entry.h"

#include "engine/feed_document.h"
#include "engine/image_staging.h"
#include "engine/internet_fetch.h"
#include "engine/web_cache.h"
#include "platform/atomic_file.h"

namespace glimro {
namespace {

std::optional<Feed> ReadFeedFile(const std::wstring& file, const std::wstring& address,
                                 HRESULT* problem = nullptr, FeedReading reading = {}) {
    std::string body;
    if (file.empty() || !ReadSmallFile(file, kMaxFeedBytes, &body))
        return std::nullopt;
    return ReadFeedDocument(body, address, problem, reading);
}

// The first failure of a run is reported; the rest pass in silence until a fetch works.
void ReportOnce(CacheTag& tag, const std::wstring& address, const std::wstring& text,
                LogStream& log) {
    if (!tag.offline) {
        log << text << LogSafe(address);
        log.EndLine();
    }
    tag.offline = true;
    WriteCacheTag(address, tag);
}

} // namespace

WebOutcome FetchWebPicture(const std::wstring& address, bool once, LogStream& log,
                           std::wstring* path) {
    const std::wstring cached = CachedFile(address, kCachedPicture);
    WriteSwitchingLine(address, log);
    if (cached.empty()) { // no cache folder: straight into the wallpaper file, as ever
        *path = GetLocalWallpaperPath();
        return SUCCEEDED(DownloadFile(address, *path, log)) ? WebOutcome::Picture
                                                             : WebOutcome::Failed;
    }
    *path = cached;
    const bool have = UseCached(cached);
    if (once && have)
        return WebOutcome::Picture;
    CacheTag tag = ReadCacheTag(address);
    DownloadLimits limits;
    limits.feeds_too = !once;
    HttpValidators answer;
    // A run of failures with a copy at hand is reported by its first.
    LogStream silent;
    const HRESULT result = DownloadFile(address, cached, have && tag.offline ? silent : log, limits,
                                        have ? &tag.validators : nullptr, &answer);
    if (result == kGotFeed) {
        const std::wstring feed = CachedFile(address, kCachedFeed);
        HRESULT problem = S_OK;
        const bool read = ReadFeedFile(cached, address, &problem).has_value();
        if (read && SUCCEEDED(CommitFile(cached, feed))) {
            WriteCacheTag(address, {answer, false});
            TrimCache(address);
            return WebOutcome::Feed;
        }
        ::DeleteFileW(cached.c_str());
        ReportError(L"Skipped an address that is neither a picture nor a feed!\n", LogSafe(address),
                    static_cast<DWORD>(FAILED(problem) ? problem : E_FAIL), log);
        return WebOutcome::Failed;
    }
    if (result == kNotModified) {
        if (tag.offline)
            WriteCacheTag(address, {tag.validators, false});
        return WebOutcome::Picture;
    }
    if (SUCCEEDED(result)) {
        WriteCacheTag(address, {answer, false});
        TrimCache(address);
        return WebOutcome::Picture;
    }
    if (!have)
        return WebOutcome::Failed;
    ReportOnce(tag, address, L"Showing the copy kept from before: cannot reach ", log);
    return WebOutcome::Picture;
}

bool IsKnownFeed(const std::wstring& address) {
    const std::wstring copy = CachedFile(address, kCachedFeed);
    return !copy.empty() && ::GetFileAttributesW(copy.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<Feed> CachedFeed(const std::wstring& address, FeedReading reading) {
    return ReadFeedFile(CachedFile(address, kCachedFeed), address, nullptr, reading);
}

std::string PageOnce(const std::wstring& address, LogStream& log, bool fetch) {
    const std::wstring copy = CachedFile(address, kCachedPage);
    std::string body;
    if (copy.empty())
        return body;
    if (UseCached(copy) && ReadSmallFile(copy, kMaxPageBytes, &body))
        return body;
    if (!fetch)
        return body;
    DownloadLimits limits;
    limits.pictures_only = false;
    limits.max_body = kMaxPageBytes;
    limits.pauses = false;
    const std::wstring fetched = copy + L".new";
    if (DownloadFile(address, fetched, log, limits) == S_OK && SUCCEEDED(CommitFile(fetched, copy)) &&
        ReadSmallFile(copy, kMaxPageBytes, &body)) {
        TrimCache(address);
        return body;
    }
    ::DeleteFileW(fetched.c_str());
    return {};
}

std::optional<Feed> LoadFeed(const std::wstring& address, LogStream& log, bool refresh,
                             FeedReading reading) {
    const std::wstring copy = CachedFile(address, kCachedFeed);
    if (copy.empty())
        return std::nullopt;
    if (!refresh)
        return ReadFeedFile(copy, address, nullptr, reading);
    const std::wstring fetched = copy + L".new";
    CacheTag tag = ReadCacheTag(address);
    DownloadLimits limits;
    limits.pictures_only = false;
    limits.max_body = kMaxFeedBytes;
    limits.pauses = false;
    HttpValidators answer;
    LogStream silent;
    const HRESULT result =
        DownloadFile(address, fetched, tag.offline ? silent : log, limits, &tag.validators, &answer);
    HRESULT problem = S_OK;
    if (result == S_OK) {
        // A new copy replaces the last good one only when it is a feed: a sign-in page of a
        // hotel's network is not.
        std::optional<Feed> feed = ReadFeedFile(fetched, address, &problem, reading);
        if (feed && SUCCEEDED(CommitFile(fetched, copy))) {
            WriteCacheTag(address, {answer, false});
            UseCached(copy);
            // "Cache Limit" holds after every write to the cache, a feed's as a picture's.
            TrimCache(address);
            return feed;
        }
        ::DeleteFileW(fetched.c_str());
    }
    std::optional<Feed> feed = ReadFeedFile(copy, address, nullptr, reading);
    UseCached(copy);
    if (result == kNotModified && feed) {
        if (tag.offline)
            WriteCacheTag(address, {tag.validators, false});
        return feed;
    }
    if (!feed) {
        // Not a feed after all (or a copy damaged): the entry is an address again.
        ::DeleteFileW(copy.c_str());
        ReportError(L"Could not read the feed!\n", LogSafe(address),
                    static_cast<DWORD>(FAILED(problem) ? problem : HRESULT_FROM_WIN32(ERROR_INVALID_DATA)),
                    log);
        return std::nullopt;
    }
    ReportOnce(tag, address,
               result == S_OK ? L"Showing the feed's pictures kept from before: it could not be read: "
                               : L"Showing the feed's pictures kept from before: cannot reach ",
               log);
    return feed;
}

} // namespace glimro
