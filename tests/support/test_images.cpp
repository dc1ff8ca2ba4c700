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

} // namespace

bool WriteTestImage(const std::wstring& path, int width, int height, const wchar_t* mime_type) {
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

SIZE DecodedSize(const std::wstring& path) {
    GdiplusSession gdiplus;
    Gdiplus::Bitmap bitmap(path.c_str(), FALSE);
    if (bitmap.GetLastStatus() != Gdiplus::Ok)
        return SIZE{0, 0};
    return SIZE{static_cast<LONG>(bitmap.GetWidth()), static_cast<LONG>(bitmap.GetHeight())};
}

bool IsJpegFile(const std::wstring& path) {
    const std::string bytes = ReadFileBytes(path);
    return bytes.size() > 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xD8;
}

} // namespace glimro::test
