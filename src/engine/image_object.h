#pragma once
// An image on the platform's codec library: learns a file's size, holds a bitmap, saves it
// with the encoder that the target file's extension names.
#include "core/picture_header.h"
#include "core/staging_size.h"
#include "platform/gdiplus.h"
#include "platform/handle.h"

#include <string>

namespace glimro {

class ImageObject {
public:
    // Learns the file's width and height from its header; the pixels are not decoded.
    // A file that cannot be read as an image leaves the object empty, 0 by 0.
    bool Load(const std::wstring& path);
    // Takes over the bitmap and reads its size from it.
    void Attach(HBITMAP bitmap);
    // Saves the held bitmap; E_FAIL when there is none, no encoder for the extension, or
    // the codec fails.
    HRESULT Save(const std::wstring& path) const;

    // As the file declares it: any size, until checked against the picture limits.
    uint64_t Width() const { return size_.width; }
    uint64_t Height() const { return size_.height; }
    // Unknown when the codec library, not Glimro's header reader, measured it.
    PictureFormat Format() const { return size_.format; }
    // The camera's orientation (1 when upright or unknown), and the size it shows at.
    int Orientation() const { return size_.orientation; }
    PixelSize UprightSize() const;

private:
    GdiplusSession gdiplus_;
    GdiObject<HBITMAP> bitmap_;
    PictureSize size_;
};

// The encoder whose file-name patterns hold the path's extension, compared without case.
bool FindEncoderForPath(const std::wstring& path, CLSID* encoder);

// Both make the picture upright (its camera orientation applied): width and height are the
// upright picture's.

// A bitmap of exactly width by height made from the image file with good-quality scaling;
// null when the file cannot be decoded, or would decode beyond the picture limits.
HBITMAP ScaleImageFile(const std::wstring& path, int width, int height);

// The picture shrunk to exactly width by height (no larger than it is): decoded at the
// smallest scale the codec offers that is still at least that large, then area-averaged.
// A 24-bit bitmap owned by the caller; null when the imaging component cannot decode it or
// the decode would go beyond the picture limits. A turned picture is turned as its rows are
// made, never held a second time.
HBITMAP ShrinkImageFile(const std::wstring& path, int width, int height);

// A 24-bit DIB section, top row first, whose pixels *bits points to (rows padded to four
// bytes); null when it cannot be made. Owned by the caller.
HBITMAP CreateTopDownBitmap(int width, int height, void** bits);

} // namespace glimro
