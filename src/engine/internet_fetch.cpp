#include "engine/internet_fetch.h"

#include "engine/download_dialog.h"
#include "engine/image_staging.h"
#include "platform/handle.h"
#include "platform/module.h"
#include "store/album.h"
#include "platform/text.h"
#include "platform/window.h"
#include "resource.h"

namespace glimro {

bool IsInternetEntry(const std::wstring& entry) {
    // A scheme is the same in any case: "HTTPS://" is an address, never a file name.
    std::wstring lower = entry;
    for (wchar_t& c : lower)
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    return lower.find(L"http://") != std::wstring::npos ||
           lower.find(L"https://") != std::wstring::npos;
}

namespace {

HRESULT RunDownload(const std::wstring& url, const std::wstring& target, HINSTANCE instance,
                    LogStream& log, const DownloadLimits& limits, const HttpValidators* ask,
                    HttpValidators* answer) {
    CDownload download(url, target, log, limits);
    if (ask)
        download.Ask(*ask);
    CDownloadDialog dialog(download, instance);
    if (dialog.DoModal(::GetDesktopWindow(), false) == -1)
        return E_FAIL; // the dialog could not even be shown: nothing was fetched
    if (answer)
        *answer = download.Answer();
    return dialog.Result();
}

} // namespace

void WriteSwitchingLine(const std::wstring& url, LogStream& log) {
    if (log.IsOpen() && !url.empty())
        log << "Switching to: " << ToAnsi(LogSafe(url), MAX_PATH) << "\n";
}

HRESULT DownloadImage(const std::wstring& url, HINSTANCE instance, LogStream& log,
                      const DownloadLimits& limits) {
    WriteSwitchingLine(url, log);
    return RunDownload(url, GetLocalWallpaperPath(), instance, log, limits, nullptr, nullptr);
}

HRESULT DownloadFile(const std::wstring& url, const std::wstring& target, LogStream& log,
                     const DownloadLimits& limits, const HttpValidators* ask,
                     HttpValidators* answer) {
    return RunDownload(url, target, ::GetModuleHandleW(nullptr), log, limits, ask, answer);
}

void RemoveDownloadLeftovers() {
    ::DeleteFileW((GetLocalWallpaperPath() + kPartialSuffix).c_str());
    const std::wstring folder = ExecutableFolder();
    WIN32_FIND_DATAW found = {};
    const UniqueFind search(::FindFirstFileW((folder + L"pod*.tmp").c_str(), &found));
    if (!search)
        return;
    do {
        // GetTempFileNameW's names: the prefix, one to four hex digits, ".tmp".
        const std::wstring name = found.cFileName;
        const std::wstring digits = name.size() > 7 ? name.substr(3, name.size() - 7) : L"";
        if (!digits.empty() && digits.size() <= 4 &&
            digits.find_first_not_of(L"0123456789ABCDEFabcdef") == std::wstring::npos &&
            !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ::DeleteFileW((folder + name).c_str());
    } while (::FindNextFileW(search.Get(), &found));
}

std::wstring SavingStatusText(const std::wstring& url) {
    const size_t slash = url.find_last_of(L'/');
    return ResourceText(IDS_DOWNLOAD_SAVING, {slash == std::wstring::npos ? url : url.substr(slash + 1)});
}

} // namespace glimro
