#include "core/picture_limits.h"

namespace glimro {

bool DecodeFits(uint64_t width, uint64_t height) {
    if (width == 0 || height == 0 || width > kMaxPictureSide || height > kMaxPictureSide)
        return false;
    return width * height <= kMaxDecodedBytes / 4; // no overflow: both sides are small
}

bool PictureFits(uint64_t width, uint64_t height, bool reduced_decode) {
    if (!reduced_decode)
        return DecodeFits(width, height);
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           DecodeFits((width + 7) / 8, (height + 7) / 8);
}

} // namespace glimro
