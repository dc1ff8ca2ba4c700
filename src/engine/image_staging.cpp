#include "engine/image_staging.h"

#include "core/frequency.h"
#include "core/orientation.h"
#include "core/picture_limits.h"
#include "core/picture_names.h"
#include "core/staging_size.h"
#include "core/subject_crop.h"
#include "engine/image_header.h"
#include "engine/image_object.h"
#include "platform/atomic_file.h"
#include "platform/com_ptr.h"
#include "platform/module.h"
#include "platform/screen.h"
#include "platform/thumbnail.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <vector>

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

HBITMAP SubjectCropped(const std::wstring& entry, PixelSize staged, SIZE screen) {
    const GdiObject<HBITMAP> whole(ShrinkImageFile(entry, staged.width, staged.height));
    if (!whole)
        return nullptr;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = staged.width;
    info.bmiHeader.biHeight = -staged.height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const size_t stride = (static_cast<size_t>(staged.width) * 3 + 3) & ~size_t{3};
    std::vector<uint8_t> pixels(stride * static_cast<size_t>(staged.height));
    const UniqueDc dc(::CreateCompatibleDC(nullptr));
    if (!dc || ::GetDIBits(dc.Get(), whole.Get(), 0, static_cast<UINT>(staged.height), pixels.data(), &info,
                           DIB_RGB_COLORS) != staged.height)
        return nullptr;
    const CropWindow crop =
        SubjectCrop({pixels.data(), staged.width, staged.height, stride, true}, screen.cx, screen.cy);
    void* bits = nullptr;
    HBITMAP cropped = CreateTopDownBitmap(crop.width, crop.height, &bits);
    if (!cropped)
        return nullptr;
    const size_t crop_stride = (static_cast<size_t>(crop.width) * 3 + 3) & ~size_t{3};
    for (int y = 0; y < crop.height; ++y)
        std::memcpy(static_cast<uint8_t*>(bits) + static_cast<size_t>(y) * crop_stride,
                    pixels.data() + static_cast<size_t>(crop.y + y) * stride + static_cast<size_t>(crop.x) * 3,
                    static_cast<size_t>(crop.width) * 3);
    return cropped;
}

SIZE StagingScreen(int position) {
    return position == kSpan ? VirtualScreenSize() : PrimaryScreenSize();
}

HBITMAP FittedPicture(const std::wstring& path, SIZE box) {
    PictureSize size;
    if (path.empty() || !ReadImageHeaderSize(path, &size) || size.width == 0 || size.height == 0)
        return nullptr;
    if (SwapsSides(size.orientation))
        std::swap(size.width, size.height);
    const SIZE fit = ShrunkSize(static_cast<int>(std::min<uint64_t>(size.width, 1u << 30)),
                                static_cast<int>(std::min<uint64_t>(size.height, 1u << 30)), box.cx, box.cy);
    const int width = std::max<int>(fit.cx, 1), height = std::max<int>(fit.cy, 1);
    // A reduced-scale decode where the codec offers one; good-quality scaling otherwise.
    HBITMAP fitted = ShrinkImageFile(path, width, height);
    return fitted ? fitted : ScaleImageFile(path, width, height);
}

std::wstring PrepareLocalImage(const std::wstring& entry, StagingProblem* problem, int position) {
    return StageFor(entry, StagingScreen(position), position, GetLocalWallpaperPath(), problem);
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
    // Keeping the subject always stages the crop, unless the picture has the screen's shape
    // already (and is upright), when there is nothing to crop.
    const CropWindow whole = CentreCrop(picture.width, picture.height, screen.cx, screen.cy);
    if (position == kFillSubject && (whole.width != picture.width || whole.height != picture.height ||
                                     original.Orientation() != kUpright)) {
        ImageObject cropped;
        cropped.Attach(SubjectCropped(entry, staged, screen));
        if (cropped.Width() > 0 && SUCCEEDED(SaveWhole(cropped, output)))
            return output;
        // What the imaging component cannot decode is staged as Fill stages it.
    }
    // A turned photo is always staged, upright and without its tag: the desktop then shows
    // it the right way up, whatever the system makes of the tag. So is a picture named
    // without a picture's extension (Windows Spotlight's), which the desktop would not take.
    if (staged == picture && original.Orientation() == kUpright && HasImageExtension(entry))
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
