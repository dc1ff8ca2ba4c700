// Any picture size, shape and pixels: the crop always has the shape asked for (to a pixel)
// and lies inside the picture, and the scoring reads only the pixels there are. Half the
// inputs are thumbnails of up to 96 a side; the other half thin pictures, a long side of up
// to 6,000 and a short one of 1 to 40, whose reduction step is far larger than the short side.
#include "core/subject_crop.h"

#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 7)
        return 0;
    int width = 1 + data[0] % 96, height = 1 + data[1] % 96;
    if (data[6] & 1) {
        const int long_side = 1 + (data[0] | (data[1] << 8)) % 6000;
        const int short_side = 1 + data[6] / 2 % 40;
        width = data[6] & 2 ? long_side : short_side;
        height = data[6] & 2 ? short_side : long_side;
    }
    const int aspect_width = 1 + data[2] % 32, aspect_height = 1 + data[3] % 32;
    const size_t stride = static_cast<size_t>(width) * 3 + data[4] % 4;
    // Exactly the rows there are, so that a read past the last one is seen.
    std::vector<uint8_t> pixels(stride * static_cast<size_t>(height - 1) + static_cast<size_t>(width) * 3);
    const size_t tail = size - 7;
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<uint8_t>((tail ? data[7 + i % tail] : 0) ^ static_cast<uint8_t>(i * 131));
    const glimro::PixelView view{pixels.data(), width, height, stride, (data[4] & 4) != 0};
    const glimro::CropWindow crop = glimro::SubjectCrop(view, aspect_width, aspect_height);
    const glimro::CropWindow centre = glimro::CentreCrop(width, height, aspect_width, aspect_height);
    if (crop.x < 0 || crop.y < 0 || crop.width != centre.width || crop.height != centre.height ||
        crop.x + crop.width > width || crop.y + crop.height > height)
        __builtin_trap();
    return 0;
}
