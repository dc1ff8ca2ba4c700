#include "support/test_images.h"

#include "platform/gdiplus.h"
#include "support/temp_folder.h"

#include <vector>

namespace glimro::test {
namespace {

bool EncoderFor(const wchar_t* mime_type, CLSID* clsid) {
    UINT count = 0;
    UINT bytes = 0;
    Gdiplus::GetImageEncodersSize(&count, &bytes);
    std::vector<BYTE> buffer(bytes);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (bytes == 0 || Gdiplus::GetImageEncoders(count, bytes, codecs) != Gdiplus::Ok)
        return false;
    for (UINT i = 0; i < count; ++i) {
        if (::lstrcmpiW(codecs[i].MimeType, mime_type) == 0) {
            *clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

// The system's GIF encoder is not usable everywhere (Wine's writes no pixel data), so GIFs
// are written here: 256-colour palette, LZW codes kept at 9 bits by frequent clear codes.
std::string GifBytes(int width, int height) {
    std::string out = "GIF89a";
    auto word = [&out](int value) {
        out += static_cast<char>(value & 0xFF);
        out += static_cast<char>((value >> 8) & 0xFF);
    };
    word(width);
    word(height);
    out += static_cast<char>(0xF7); // global colour table of 256 entries
    out += '\0';
    out += '\0';
    for (int i = 0; i < 256; ++i) {
        out += static_cast<char>(i);
        out += static_cast<char>(255 - i);
        out += static_cast<char>((i * 3) & 0xFF);
    }
    out += ',';
    word(0);
    word(0);
    word(width);
    word(height);
    out += '\0';
    out += static_cast<char>(8); // minimum code size

    std::string data;
    unsigned bits = 0;
    int bit_count = 0;
    auto emit = [&](unsigned code) {
        bits |= code << bit_count;
        bit_count += 9;
        while (bit_count >= 8) {
            data += static_cast<char>(bits & 0xFF);
            bits >>= 8;
            bit_count -= 8;
        }
    };
    const unsigned clear = 256, end = 257;
    int since_clear = 0;
    emit(clear);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (since_clear == 250) {
                emit(clear);
                since_clear = 0;
            }
            emit(static_cast<unsigned>((x + y) & 0xFF));
            ++since_clear;
        }
    }
    emit(end);
    if (bit_count > 0)
        data += static_cast<char>(bits & 0xFF);
    for (size_t offset = 0; offset < data.size(); offset += 255) {
        const size_t size = data.size() - offset < 255 ? data.size() - offset : 255;
        out += static_cast<char>(size);
        out.append(data, offset, size);
    }
    out += '\0';
    out += ';';
    return out;
}

} // namespace

bool WriteTestImage(const std::wstring& path, int width, int height, const wchar_t* mime_type) {
    if (::lstrcmpiW(mime_type, L"image/gif") == 0) {
        WriteFileBytes(path, GifBytes(width, height));
        return DecodedSize(path).cx == width;
    }
    GdiplusSession gdiplus;
    CLSID encoder;
    if (!gdiplus.IsStarted() || !EncoderFor(mime_type, &encoder))
        return false;
    Gdiplus::Bitmap bitmap(width, height, PixelFormat24bppRGB);
    {
        Gdiplus::Graphics graphics(&bitmap);
        Gdiplus::LinearGradientBrush brush(Gdiplus::Point(0, 0), Gdiplus::Point(width, height),
                                           Gdiplus::Color(255, 20, 90, 200),
                                           Gdiplus::Color(255, 240, 200, 40));
        graphics.FillRectangle(&brush, 0, 0, width, height);
    }
    return bitmap.Save(path.c_str(), &encoder, nullptr) == Gdiplus::Ok;
}

bool WriteQuadrantJpeg(const std::wstring& path, int width, int height,
                       const COLORREF (&quadrants)[4]) {
    GdiplusSession gdiplus;
    CLSID encoder;
    if (!gdiplus.IsStarted() || !EncoderFor(L"image/jpeg", &encoder))
        return false;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF colour = quadrants[(y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0)];
            BYTE* pixel = &pixels[static_cast<size_t>(y) * stride + x * 3];
            pixel[0] = GetBValue(colour), pixel[1] = GetGValue(colour), pixel[2] = GetRValue(colour);
        }
    Gdiplus::Bitmap bitmap(width, height, stride, PixelFormat24bppRGB, pixels.data());
    return bitmap.Save(path.c_str(), &encoder, nullptr) == Gdiplus::Ok;
}

SIZE DecodedSize(const std::wstring& path) {
    GdiplusSession gdiplus;
    Gdiplus::Bitmap bitmap(path.c_str(), FALSE);
    if (bitmap.GetLastStatus() != Gdiplus::Ok)
        return SIZE{0, 0};
    return SIZE{static_cast<LONG>(bitmap.GetWidth()), static_cast<LONG>(bitmap.GetHeight())};
}

COLORREF DecodedPixel(const std::wstring& path, int x, int y) {
    GdiplusSession gdiplus;
    Gdiplus::Bitmap bitmap(path.c_str(), FALSE);
    Gdiplus::Color colour;
    if (bitmap.GetLastStatus() != Gdiplus::Ok || bitmap.GetPixel(x, y, &colour) != Gdiplus::Ok)
        return CLR_INVALID;
    return RGB(colour.GetR(), colour.GetG(), colour.GetB());
}

std::vector<COLORREF> DecodedPixels(const std::wstring& path, SIZE* size) {
    GdiplusSession gdiplus;
    Gdiplus::Bitmap bitmap(path.c_str(), FALSE);
    *size = SIZE{0, 0};
    if (bitmap.GetLastStatus() != Gdiplus::Ok)
        return {};
    const Gdiplus::Rect all(0, 0, static_cast<INT>(bitmap.GetWidth()), static_cast<INT>(bitmap.GetHeight()));
    Gdiplus::BitmapData data = {};
    if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat24bppRGB, &data) != Gdiplus::Ok)
        return {};
    std::vector<COLORREF> pixels;
    pixels.reserve(static_cast<size_t>(all.Width) * static_cast<size_t>(all.Height));
    for (INT y = 0; y < all.Height; ++y) {
        const BYTE* row = static_cast<const BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride;
        for (INT x = 0; x < all.Width; ++x)
            pixels.push_back(RGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]));
    }
    bitmap.UnlockBits(&data);
    *size = SIZE{all.Width, all.Height};
    return pixels;
}

bool IsJpegFile(const std::wstring& path) {
    const std::string bytes = ReadFileBytes(path);
    return bytes.size() > 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xD8;
}

} // namespace glimro::test
