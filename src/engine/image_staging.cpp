#include "engine/image_staging.h"

#include "core/frequency.h"
#include "core/orientation.h"
#include "core/picture_limits.h"
#include "core/staging_size.h"
#include "engine/image_object.h"
#include "platform/atomic_file.h"
#include "platform/com_ptr.h"
#include "platform/module.h"
#include "platform/screen.h"
#include "platform/thumbnail.h"

#include <shlwapi.h>

namespace glimro {
namespace {

// Where the shell has no extractor for a file at all (Wine has none for images), the
// thumbnail is made from the file itself with good-quality scaling.
HBITMAP ScaleItem(IShellFolder* parent, PCUITEMID_CHILD child, SIZE size) {
    STRRET name = {};
    if (FAILED(parent->GetDisplayNameOf(child, SHGDN_FORPARSING, &name)))
        return nullptr;
    wchar_t path[MAX_PATH] = {};
    if (FAILED(::StrRetToBufW(&name, child, path, MAX_PATH)))
        return nullptr;
    return ScaleImageFile(path, size.cx, size.cy);
}

} // namespace

std::wstring GetLocalWallpaperPath() {
    return ExecutableFolder() + L"pod.jpg";
}

SIZE ShrunkSize(int width, int height, int cx, int cy) {
    const PixelSize size = ShrunkToFit({width, height}, {cx, cy});
    return SIZE{size.width, size.height};
}

StagingProblem CheckPicture(const std::wstring& path) {
    ImageObject picture;
    if (!picture.Load(path))
        return StagingProblem::Unreadable;
    return PictureFits(picture.Width(), picture.Height(),
                       picture.Format() == PictureFormat::Jpeg)
               ? StagingProblem::None
               : StagingProblem::TooLarge;
}

std::wstring PrepareLocalImage(const std::wstring& entry, StagingProblem* problem, int position) {
    const SIZE screen = position == kSpan ? VirtualScreenSize() : PrimaryScreenSize();
    return StageFor(entry, screen, position, GetLocalWallpaperPath(), problem);
}

HRESULT SaveWhole(ImageObject& image, const std::wstring& path) {
    // Written under another name first: the file in place is replaced only once complete.
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
    const std::wstring temporary = folder + L"~" + path.substr(folder.size());
    const HRESULT result = image.Save(temporary);
    if (FAILED(result)) {
        ::DeleteFileW(temporary.c_str());
        return result;
    }
    return CommitFile(temporary, path);
}

std::wstring StageFor(const std::wstring& entry, SIZE screen, int position,
                      const std::wstring& output, StagingProblem* problem) {
    StagingProblem unused;
    if (!problem)
        problem = &unused;
    *problem = StagingProblem::None;
    ImageObject original;
    if (!original.Load(entry)) {
        *problem = StagingProblem::Unreadable;
        return std::wstring();
    }
    // Only JPEG decodes at a reduced scale; anything else is decoded whole.
    const bool jpeg = original.Format() == PictureFormat::Jpeg;
    if (!PictureFits(original.Width(), original.Height(), jpeg)) {
        *problem = StagingProblem::TooLarge;
        return std::wstring();
    }
    const PixelSize picture = original.UprightSize(); // within the side limit
    const PixelSize staged = StagedSize(picture, {screen.cx, screen.cy}, position);
    // A turned photo is always staged, upright and without its tag: the desktop then shows
    // it the right way up, whatever the system makes of the tag.
    if (staged == picture && original.Orientation() == kUpright)
        return entry;
    const SIZE target{staged.width, staged.height};
    const std::wstring& local_path = output;
    ImageObject shrunk;
    // Decoding at a reduced scale and averaging is far quicker than the shell's thumbnail;
    // the shell still makes what the imaging component cannot decode.
    HBITMAP bitmap = ShrinkImageFile(entry, target.cx, target.cy);
    shrunk.Attach(bitmap ? bitmap : ExtractScaledBitmap(entry, target.cx, target.cy));
    if (SUCCEEDED(SaveWhole(shrunk, local_path)))
        return local_path;
    // The local file may hold another entry's picture: when this one could not be staged,
    // the original goes to the desktop, as an image that could not be measured does, as long
    // as the system could decode it whole.
    if (!DecodeFits(original.Width(), original.Height())) {
        *problem = StagingProblem::TooLarge;
        return std::wstring();
    }
    return entry;
}

HBITMAP ExtractScaledBitmap(const std::wstring& path, int width, int height) {
    ComPtr<IShellFolder> desktop;
    if (FAILED(::SHGetDesktopFolder(desktop.Put())))
        return nullptr;
    UniqueCoTaskMem<ITEMIDLIST_RELATIVE> item;
    std::wstring display_name = path;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, display_name.data(), nullptr, item.Put(),
                                         nullptr)))
        return nullptr;
    ComPtr<IShellFolder> parent;
    PCUITEMID_CHILD child = nullptr;
    if (FAILED(::SHBindToParent(reinterpret_cast<PCIDLIST_ABSOLUTE>(item.Get()), IID_IShellFolder,
                                reinterpret_cast<void**>(parent.Put()), &child)))
        return nullptr;
    return ExtractItemImage(parent.Get(), child, SIZE{width, height}, 8);
}

HBITMAP ExtractItemImage(IShellFolder* parent, PCUITEMID_CHILD child, SIZE size,
                         DWORD colour_depth) {
    ComPtr<IExtractImage> extractor;
    if (FAILED(GetThumbnailExtractor(parent, child, &extractor)) || !extractor)
        return ScaleItem(parent, child, size);

    wchar_t location[MAX_PATH] = {};
    DWORD priority = 0;
    DWORD flags = IEIFLAG_SCREEN;
    if (extractor->GetLocation(location, MAX_PATH, &priority, &size, colour_depth, &flags) != S_OK)
        return nullptr; // pending, or any other answer: no bitmap
    HBITMAP bitmap = nullptr;
    if (FAILED(extractor->Extract(&bitmap)))
        return nullptr;
    return bitmap;
}

} // namespace glimro
