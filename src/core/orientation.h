#pragma once
// How a camera says its picture is turned: the EXIF Orientation of a JPEG (1 to 8, as phones
// write them), and where each stored pixel goes in the upright picture. The bytes may come
// from anyone: every offset and count is checked against the block that holds it.
#include "core/picture_header.h"
#include "core/staging_size.h"

#include <cstdint>

namespace glimro {

inline constexpr int kUpright = 1;

// 1 when the bytes are no JPEG, hold no EXIF block before the picture data, or no Orientation
// from 1 to 8 in its first directory.
int ReadExifOrientation(const ByteSource& read);

// Orientations 5 to 8 turn the picture a quarter: its width and height trade places.
bool SwapsSides(int orientation);
PixelSize UprightSize(PixelSize stored, int orientation);

// Where pixel (x, y) of the stored width x height picture lands in the upright one.
struct PixelPoint {
    uint32_t x = 0;
    uint32_t y = 0;
};
PixelPoint UprightPoint(int orientation, uint32_t width, uint32_t height, uint32_t x, uint32_t y);

} // namespace glimro
