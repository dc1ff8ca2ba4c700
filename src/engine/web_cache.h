#pragma once
// What Glimro downloads is kept in the user's cache folder, named from its address: a
// picture ("<key>.pic"), a feed's last good copy ("<key>.feed") and what its server said of
// it ("<key>.tag"). Bounded by size; what was used longest ago goes first.
#include "engine/internet_fetch.h"
#include "platform/seam.h"

#include <string>

namespace glimro {

// %LOCALAPPDATA%\Glimro\Cache\, where the uninstaller looks for it; tests put their own.
extern Seam<std::wstring()> CacheRoot;

// The product value that bounds the cache, in MB (missing: 200).
inline constexpr wchar_t kCacheLimitValue[] = L"Cache Limit";
inline constexpr unsigned long long kDefaultCacheLimitMB = 200;

inline constexpr wchar_t kCachedPicture[] = L".pic";
inline constexpr wchar_t kCachedFeed[] = L".feed";

// The cache folder (made when missing), with its backslash; empty when it cannot be made.
std::wstring CacheFolder();
// Where the cache keeps what came from the address, of this kind.
std::wstring CachedFile(const std::wstring& address, const wchar_t* kind);
// Whether the file is in the cache; if it is, it counts as used now.
bool UseCached(const std::wstring& file);

// What a fetch of the address last heard from its server, and whether the last fetch failed
// (so that a run of failures is reported once).
struct CacheTag {
    HttpValidators validators;
    bool offline = false;
};
CacheTag ReadCacheTag(const std::wstring& address);
void WriteCacheTag(const std::wstring& address, const CacheTag& tag);

// Deletes what was used longest ago until the cache is within its bound; never the files of
// keep's address.
void TrimCache(const std::wstring& keep);

} // namespace glimro
