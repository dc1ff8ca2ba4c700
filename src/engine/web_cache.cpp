#include "engine/web_cache.h"

#include "core/http_text.h"
#include "platform/atomic_file.h"
#include "platform/handle.h"
#include "platform/text.h"
#include "store/product_key.h"

#include <shlobj.h>

#include <algorithm>
#include <vector>

namespace glimro {
namespace {

constexpr wchar_t kCachedTag[] = L".tag";

// The tag file's lines: the ETag, the Last-Modified date, and "offline" after a failure.
std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start <= text.size() && lines.size() < 3) {
        const size_t end = std::min(text.find(L'\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

ULONGLONG FileTimeValue(const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

} // namespace

Seam<std::wstring()> CacheRoot([] {
    wchar_t local[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local)))
        return std::wstring();
    return std::wstring(local) + L"\\Glimro\\Cache\\";
});

std::wstring CacheFolder() {
    std::wstring folder = CacheRoot();
    if (folder.empty())
        return folder;
    if (folder.back() != L'\\')
        folder += L'\\';
    return SUCCEEDED(MakeFolder(folder)) ? folder : std::wstring();
}

std::wstring CachedFile(const std::wstring& address, const wchar_t* kind) {
    const std::wstring folder = CacheFolder();
    return folder.empty() ? folder : folder + AddressKey(address) + kind;
}

bool UseCached(const std::wstring& file) {
    if (file.empty())
        return false;
    // The last write time is the last use: access times are not kept on most volumes.
    UniqueHandle handle(::CreateFileW(file.c_str(), FILE_WRITE_ATTRIBUTES | GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!handle || !::GetFileSizeEx(handle.Get(), &size) || size.QuadPart == 0)
        return false;
    FILETIME now = {};
    ::GetSystemTimeAsFileTime(&now);
    ::SetFileTime(handle.Get(), nullptr, nullptr, &now);
    return true;
}

CacheTag ReadCacheTag(const std::wstring& address) {
    CacheTag tag;
    const std::wstring file = CachedFile(address, kCachedTag);
    std::string bytes;
    if (file.empty() || !ReadSmallFile(file, 8 * 1024, &bytes))
        return tag;
    const std::vector<std::wstring> lines = Lines(FromUtf8(bytes));
    if (lines.size() > 0)
        tag.validators.etag = lines[0];
    if (lines.size() > 1)
        tag.validators.last_modified = lines[1];
    tag.offline = lines.size() > 2 && lines[2] == L"offline";
    return tag;
}

void WriteCacheTag(const std::wstring& address, const CacheTag& tag) {
    const std::wstring file = CachedFile(address, kCachedTag);
    if (file.empty())
        return;
    // The validators are the server's own texts, cleaned of line breaks when they came.
    const std::wstring text = tag.validators.etag + L"\n" + tag.validators.last_modified +
                              (tag.offline ? L"\noffline" : L"");
    WriteSmallFile(file, ToUtf8(text));
}

void TrimCache(const std::wstring& keep) {
    const std::wstring folder = CacheFolder();
    if (folder.empty())
        return;
    const unsigned long long limit =
        static_cast<unsigned long long>(ReadProductNumber(kCacheLimitValue, kDefaultCacheLimitMB))
        << 20;
    struct Kept {
        std::wstring name;
        ULONGLONG used;
        unsigned long long bytes;
    };
    std::vector<Kept> files;
    unsigned long long total = 0;
    WIN32_FIND_DATAW found = {};
    {
        const UniqueFind search(::FindFirstFileW((folder + L"*").c_str(), &found));
        if (!search)
            return;
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            const unsigned long long bytes =
                (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
            files.push_back({found.cFileName, FileTimeValue(found.ftLastWriteTime), bytes});
            total += bytes;
        } while (::FindNextFileW(search.Get(), &found));
    }
    if (total <= limit)
        return;
    std::sort(files.begin(), files.end(),
              [](const Kept& a, const Kept& b) { return a.used < b.used; });
    const std::wstring kept_key = keep.empty() ? L"" : AddressKey(keep);
    for (const Kept& file : files) {
        if (total <= limit)
            break;
        if (!kept_key.empty() && file.name.rfind(kept_key, 0) == 0)
            continue;
        if (::DeleteFileW((folder + file.name).c_str()))
            total -= file.bytes;
    }
}

} // namespace glimro
