#pragma once
// Where Fill crops a picture to the screen's shape so that its subject stays: what differs
// from its surroundings (in brightness and colour, from the picture's own colour and from
// what lies around it) and skin-like colours, weighted to the inside of the crop and to its
// thirds. A picture with no subject (even, or busy all over) keeps the centre, as plain Fill
// does. Plain C++ over pixels the caller decoded.
#include <cstddef>
#include <cstdint>

namespace glimro {

// 24-bit pixels, rows of `stride` bytes, top row first; in blue-green-red order as Windows
// bitmaps hold them, or red-green-blue.
struct PixelView {
    const uint8_t* data = nullptr;
    int width = 0;
    int height = 0;
    size_t stride = 0;
    bool bgr = true;
};

struct CropWindow {
    int x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const CropWindow&, const CropWindow&) = default;
};

// The largest window of the shape aspect_width:aspect_height inside width x height, centred.
CropWindow CentreCrop(int width, int height, int aspect_width, int aspect_height);

// The largest window of that shape inside the picture, placed to keep its subject; the
// centre one when nothing stands out. The scoring looks at the picture reduced to at most
// 256 pixels on its long side, so its time is bounded whatever the picture's size.
CropWindow SubjectCrop(const PixelView& picture, int aspect_width, int aspect_height);

} // namespace glimro
