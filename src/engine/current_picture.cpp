#include "engine/current_picture.h"

#include "core/feed.h"
#include "core/path_text.h"
#include "engine/daily_sources.h"
#include "engine/image_header.h"
#include "engine/entry_source.h"
#include "platform/atomic_file.h"

#include <shellapi.h>
#include <shlobj.h>

namespace glimro {
namespace {

const wchar_t* ExtensionFor(PictureFormat format) {
    switch (format) {
    case PictureFormat::Png:
        return L".png";
    case PictureFormat::Gif:
        return L".gif";
    case PictureFormat::Bmp:
        return L".bmp";
    default:
        return L".jpg";
    }
}

// The address's (or path's) last segment without its extension: a name for a picture
// without a title.
std::wstring AddressName(const std::wstring& address) {
    std::wstring path = address.substr(0, address.find_first_of(L"?#"));
    path = path.substr(path.find_last_of(L"/\\") + 1);
    return path.substr(0, path.find_last_of(L'.'));
}

} // namespace

Seam<std::wstring()> PicturesFolder([] {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_MYPICTURES, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return std::wstring();
    return std::wstring(folder);
});

Seam<bool(const std::wstring&)> OpenInBrowser([](const std::wstring& address) {
    return reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, L"open", address.c_str(), nullptr,
                                                     nullptr, SW_SHOWNORMAL)) > 32;
});

Seam<bool(const std::wstring&)> ShowFileInFolder([](const std::wstring& path) {
    PIDLIST_ABSOLUTE item = nullptr;
    if (FAILED(::SHParseDisplayName(path.c_str(), nullptr, &item, 0, nullptr)) || !item)
        return false;
    const HRESULT shown = ::SHOpenFolderAndSelectItems(item, 0, nullptr, 0);
    ::CoTaskMemFree(item);
    return SUCCEEDED(shown);
});

PictureActions ActionsFor(const CAlbum* album) {
    if (!album)
        return {};
    // A new album's record names no picture: "Unavailable" until its first change.
    const bool shows = album->Aside || (album->LastIndex >= 0 &&
                                        static_cast<size_t>(album->LastIndex) < album->FileList.size() &&
                                        !album->LastFile.empty() && album->LastFile != L"Unavailable");
    return {!AboutPage(*album).empty(), !KeepablePicture(*album).empty(),
            !LocalPicture(*album).empty(), shows};
}

std::wstring CreditLine(const PictureCredit& credit) {
    std::wstring line = credit.Title;
    if (!credit.Title.empty() && !credit.Credit.empty())
        line += L" \u2014 ";
    line += credit.Credit;
    return BlankControls(std::move(line));
}

std::wstring AboutPage(const CAlbum& album) {
    // The rules a feed's addresses pass: absolute http or https, nothing hidden inside.
    return ResolveAddress(L"", album.Current().credit.Page);
}

std::wstring KeepablePicture(const CAlbum& album) {
    const std::wstring shown = album.Current().picture.Expanded();
    const EntrySource& source = PictureSourceFor(shown);
    if (!source.Downloads() && !IsSpotlightPicture(shown))
        return {};
    const std::wstring cached = source.FileOf(shown);
    return !cached.empty() && ::GetFileAttributesW(cached.c_str()) != INVALID_FILE_ATTRIBUTES
               ? cached
               : std::wstring();
}

std::wstring LocalPicture(const CAlbum& album) {
    const std::wstring shown = album.Current().picture.Expanded();
    const EntrySource& source = PictureSourceFor(shown);
    const std::wstring file = source.Downloads() ? std::wstring() : source.FileOf(shown);
    const DWORD attributes = file.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    return file;
}

HRESULT KeepPicture(const CAlbum& album, std::wstring* kept) {
    const std::wstring source = KeepablePicture(album);
    const std::wstring pictures = PicturesFolder();
    if (source.empty() || pictures.empty())
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    const std::wstring folder = pictures + (pictures.back() == L'\\' ? L"" : L"\\") + L"Glimro\\";
    if (const HRESULT made = MakeFolder(folder); FAILED(made))
        return made;
    PictureSize size;
    ReadImageHeaderSize(source, &size);
    const CAlbum::AsidePicture shown = album.Current();
    const std::wstring name = FileNameFromTitle(
        shown.credit.Title.empty() ? AddressName(shown.picture.Text) : shown.credit.Title);
    for (int copy = 1; copy < 1000; ++copy) {
        const std::wstring target = folder + name +
                                    (copy == 1 ? L"" : L" (" + std::to_wstring(copy) + L")") +
                                    ExtensionFor(size.format);
        if (::CopyFileW(source.c_str(), target.c_str(), TRUE)) {
            *kept = target;
            return S_OK;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return HRESULT_FROM_WIN32(error);
    }
    return HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
}

} // namespace glimro
