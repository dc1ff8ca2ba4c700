#include "engine/image_object.h"

#include "core/area_shrinker.h"
#include "core/orientation.h"
#include "core/picture_limits.h"
#include "engine/image_header.h"
#include "platform/imaging.h"

#include <shlwapi.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace glimro {
namespace {

bool PatternMatchesExtension(std::wstring_view pattern, const wchar_t* extension) {
    size_t dot = pattern.find_last_of(L'.');
    if (dot == std::wstring_view::npos)
        return false;
    std::wstring pattern_extension(pattern.substr(dot));
    return ::lstrcmpiW(pattern_extension.c_str(), extension) == 0;
}

// Turns a picture upright for its camera orientation: mirrored first where it is, then turned
// (a quarter turn is clockwise). Two steps, since GDI+ implementations disagree on the order
// of a combined mirror and turn.
bool TurnUpright(Gdiplus::Bitmap& picture, int orientation) {
    const bool mirrored = orientation == 2 || orientation == 5 || orientation == 7;
    if (mirrored && picture.RotateFlip(Gdiplus::RotateNoneFlipX) != Gdiplus::Ok)
        return false;
    Gdiplus::RotateFlipType turn = Gdiplus::RotateNoneFlipNone;
    switch (orientation) {
    case 3:
        turn = Gdiplus::Rotate180FlipNone;
        break;
    case 4:
        turn = Gdiplus::RotateNoneFlipY;
        break;
    case 6:
    case 7:
        turn = Gdiplus::Rotate90FlipNone;
        break;
    case 5:
    case 8:
        turn = Gdiplus::Rotate270FlipNone;
        break;
    default:
        return true;
    }
    return picture.RotateFlip(turn) == Gdiplus::Ok;
}

} // namespace

PixelSize ImageObject::UprightSize() const {
    // Within the side limit wherever it is used: checked before.
    return glimro::UprightSize({static_cast<int>(size_.width), static_cast<int>(size_.height)},
                               size_.orientation);
}

bool ImageObject::Load(const std::wstring& path) {
    size_ = PictureSize{};
    if (ReadImageHeaderSize(path, &size_))
        return true;
    // Formats the header reader does not know: the codec library decides.
    if (!gdiplus_.IsStarted())
        return false;
    Gdiplus::Image image(path.c_str(), FALSE);
    if (image.GetLastStatus() != Gdiplus::Ok)
        return false;
    size_ = PictureSize{image.GetWidth(), image.GetHeight()};
    return size_.width > 0 && size_.height > 0;
}

void ImageObject::Attach(HBITMAP bitmap) {
    bitmap_.Reset(bitmap);
    size_ = PictureSize{};
    BITMAP info = {};
    if (bitmap && ::GetObjectW(bitmap, sizeof(info), &info)) {
        size_.width = static_cast<uint64_t>(info.bmWidth);
        size_.height = static_cast<uint64_t>(info.bmHeight < 0 ? -info.bmHeight : info.bmHeight);
    }
}

HRESULT ImageObject::Save(const std::wstring& path) const {
    CLSID encoder;
    if (!gdiplus_.IsStarted() || !bitmap_ || !FindEncoderForPath(path, &encoder))
        return E_FAIL;
    std::unique_ptr<Gdiplus::Bitmap> bitmap(Gdiplus::Bitmap::FromHBITMAP(bitmap_.Get(), nullptr));
    if (!bitmap || bitmap->GetLastStatus() != Gdiplus::Ok)
        return E_FAIL;
    return bitmap->Save(path.c_str(), &encoder, nullptr) == Gdiplus::Ok ? S_OK : E_FAIL;
}

bool FindEncoderForPath(const std::wstring& path, CLSID* encoder) {
    const wchar_t* extension = ::PathFindExtensionW(path.c_str());
    if (*extension == L'\0')
        return false;
    UINT count = 0;
    UINT bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0)
        return false;
    std::vector<BYTE> buffer(bytes);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, bytes, codecs) != Gdiplus::Ok)
        return false;
    for (UINT i = 0; i < count; ++i) {
        std::wstring_view patterns =
            codecs[i].FilenameExtension ? codecs[i].FilenameExtension : L"";
        while (!patterns.empty()) {
            size_t end = patterns.find(L';');
            if (PatternMatchesExtension(patterns.substr(0, end), extension)) {
                *encoder = codecs[i].Clsid;
                return true;
            }
            patterns =
                end == std::wstring_view::npos ? std::wstring_view() : patterns.substr(end + 1);
        }
    }
    return false;
}

HBITMAP ScaleImageFile(const std::wstring& path, int width, int height) {
    // The codec library decodes every pixel: only a picture whose declared size fits.
    PictureSize declared;
    if (!ReadImageHeaderSize(path, &declared) || !DecodeFits(declared.width, declared.height))
        return nullptr;
    GdiplusSession gdiplus;
    if (!gdiplus.IsStarted() || width <= 0 || height <= 0)
        return nullptr;
    Gdiplus::Bitmap source(path.c_str(), FALSE);
    if (source.GetLastStatus() != Gdiplus::Ok || !TurnUpright(source, declared.orientation))
        return nullptr;
    Gdiplus::Bitmap target(width, height, PixelFormat24bppRGB);
    {
        Gdiplus::Graphics graphics(&target);
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHighQuality);
        if (graphics.DrawImage(&source, 0, 0, width, height) != Gdiplus::Ok)
            return nullptr;
    }
    HBITMAP bitmap = nullptr;
    if (target.GetHBITMAP(Gdiplus::Color(0, 0, 0), &bitmap) != Gdiplus::Ok)
        return nullptr;
    return bitmap;
}

HBITMAP CreateTopDownBitmap(int width, int height, void** bits) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    *bits = nullptr;
    return ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

HBITMAP ShrinkImageFile(const std::wstring& path, int width, int height) {
    if (width <= 0 || height <= 0)
        return nullptr;
    // The shrinking is done on the picture as stored, at the stored size of the target.
    PictureSize declared;
    const int orientation = ReadImageHeaderSize(path, &declared) ? declared.orientation : kUpright;
    const bool turns_sides = SwapsSides(orientation);
    const UINT target_width = static_cast<UINT>(turns_sides ? height : width);
    const UINT target_height = static_cast<UINT>(turns_sides ? width : height);
    PictureDecoder decoder;
    if (FAILED(decoder.Open(path, target_width, target_height, &DecodeFits)) ||
        decoder.Width() < target_width || decoder.Height() < target_height)
        return nullptr;

    void* bits = nullptr;
    GdiObject<HBITMAP> bitmap(CreateTopDownBitmap(width, height, &bits)); // as the rows are made
    if (!bitmap || !bits)
        return nullptr;

    const UINT upright_stride = (static_cast<UINT>(width) * 3 + 3) & ~3u;
    // A turned picture: each finished row goes from one row's room to its upright places.
    std::vector<BYTE> finished(orientation == kUpright ? 0 : target_width * 3);
    AreaShrinker shrinker(decoder.Width(), decoder.Height(), target_width, target_height,
                          finished.empty() ? static_cast<BYTE*>(bits) : finished.data(),
                          finished.empty() ? upright_stride : 0);
    if (!finished.empty())
        shrinker.RowDone = [&](uint32_t row, const uint8_t* pixels) {
            for (uint32_t x = 0; x < target_width; ++x) {
                const PixelPoint at =
                    UprightPoint(orientation, target_width, target_height, x, row);
                BYTE* to = static_cast<BYTE*>(bits) + static_cast<size_t>(at.y) * upright_stride +
                           at.x * 3ull;
                to[0] = pixels[x * 3ull];
                to[1] = pixels[x * 3ull + 1];
                to[2] = pixels[x * 3ull + 2];
            }
        };
    // A band of rows at a time: the whole decoded picture is never held a second time.
    constexpr UINT kBandRows = 64;
    const UINT stride = (decoder.Width() * 3 + 3) & ~3u; // the decode fits: no overflow
    std::vector<BYTE> band(static_cast<size_t>(stride) * kBandRows);
    for (UINT first = 0; first < decoder.Height(); first += kBandRows) {
        const UINT count = std::min(kBandRows, decoder.Height() - first);
        if (FAILED(decoder.CopyRows(first, count, band.data(), stride)))
            return nullptr;
        for (UINT row = 0; row < count; ++row)
            shrinker.AddRow(band.data() + static_cast<size_t>(row) * stride);
    }
    ::GdiFlush();
    return bitmap.Release();
}

} // namespace glimro
