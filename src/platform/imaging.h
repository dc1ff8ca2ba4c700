#pragma once
// The Windows Imaging Component's decoders: a picture file's pixels as 24-bit BGR rows,
// decoded at a reduced scale where the codec can (JPEG, in the DCT domain), which is far
// cheaper than decoding every pixel of a large photo only to throw most of them away.
#include "platform/com_ptr.h"
#include "platform/seam.h"

#include <windows.h>
#include <wincodec.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace glimro {

// The imaging factory (CoCreateInstance); tests make it absent.
extern Seam<HRESULT(ComPtr<IWICImagingFactory>*)> CreateImagingFactory;

// The smallest size the decoder offers that is still at least min_width x min_height, for a
// picture of width x height. closest(w, h) turns a wish into the nearest size the decoder
// can deliver; 1/8, 1/4 and 1/2 are asked in turn. The full size when none will do.
SIZE SmallestDecodeSize(UINT width, UINT height, UINT min_width, UINT min_height,
                        const std::function<bool(UINT* w, UINT* h)>& closest);

class PictureDecoder {
public:
    // Opens the file's first frame, to deliver rows at least min_width x min_height where
    // the codec can decode at a smaller scale than the picture's own. fits says whether a
    // decode of a size may be made: asked before any pixel is decoded; E_OUTOFMEMORY when
    // the size the rows would have does not fit.
    using DecodeCheck = bool (*)(uint64_t width, uint64_t height);
    HRESULT Open(const std::wstring& path, UINT min_width, UINT min_height, DecodeCheck fits);
    UINT Width() const { return width_; }
    UINT Height() const { return height_; }
    // Copies count rows from the row first, 24-bit BGR, stride bytes apart.
    HRESULT CopyRows(UINT first, UINT count, BYTE* rows, UINT stride) const;

private:
    ComPtr<IWICBitmapSource> rows_; // the frame's own rows, decoded as they are asked for
    std::vector<BYTE> scaled_;      // or the whole picture decoded at a reduced scale
    UINT scaled_stride_ = 0;
    UINT width_ = 0;
    UINT height_ = 0;
};

} // namespace glimro
