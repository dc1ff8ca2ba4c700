#include "core/orientation.h"

#include "core/exif.h"

#include <cstring>
#include <utility>

namespace glimro {
namespace {

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint32_t kShortType = 3;

} // namespace

int ReadExifOrientation(const ByteSource& read) {
    ExifBlock block;
    TiffEntry entry;
    if (!FindExifBlock(read, &block) ||
        !FindTiffEntry(read, block, block.first_directory, kOrientationTag, &entry))
        return kUpright;
    const uint32_t value = TiffNumber16(block, entry.value);
    const bool valid = entry.type == kShortType && entry.count == 1 && value >= 1 && value <= 8;
    return valid ? static_cast<int>(value) : kUpright;
}

bool SwapsSides(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

PixelSize UprightSize(PixelSize stored, int orientation) {
    if (SwapsSides(orientation))
        std::swap(stored.width, stored.height);
    return stored;
}

PixelPoint UprightPoint(int orientation, uint32_t width, uint32_t height, uint32_t x, uint32_t y) {
    const uint32_t right = width - 1 - x, bottom = height - 1 - y;
    switch (orientation) {
    case 2: // mirrored left to right
        return {right, y};
    case 3: // turned half round
        return {right, bottom};
    case 4: // mirrored top to bottom
        return {x, bottom};
    case 5: // mirrored along the diagonal from the top left
        return {y, x};
    case 6: // to be turned a quarter clockwise
        return {bottom, x};
    case 7: // mirrored along the other diagonal
        return {bottom, right};
    case 8: // to be turned a quarter anticlockwise
        return {y, right};
    default:
        return {x, y};
    }
}

} // namespace glimro
