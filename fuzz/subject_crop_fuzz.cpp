// Any thumbnail size, shape and pixels: the crop always has the shape asked for (to a pixel)
// and lies inside the picture.
#include "core/subject_crop.h"

#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 6)
        return 0;
    const int width = 1 + data[0] % 96, height = 1 + data[1] % 96;
    const int aspect_width = 1 + data[2] % 32, aspect_height = 1 + data[3] % 32;
    const size_t stride = static_cast<size_t>(width) * 3 + data[4] % 4;
    std::vector<uint8_t> pixels(stride * static_cast<size_t>(height));
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = data[5 + i % (size - 5)] ^ static_cast<uint8_t>(i * 131);
    const glimro::PixelView view{pixels.data(), width, height, stride, (data[4] & 4) != 0};
    const glimro::CropWindow crop = glimro::SubjectCrop(view, aspect_width, aspect_height);
    const glimro::CropWindow centre = glimro::CentreCrop(width, height, aspect_width, aspect_height);
    if (crop.x < 0 || crop.y < 0 || crop.width != centre.width || crop.height != centre.height ||
        crop.x + crop.width > width || crop.y + crop.height > height)
        __builtin_trap();
    return 0;
}
