#include "core/orientation.h"

#include <cstring>
#include <utility>

namespace glimro {
namespace {

constexpr uint8_t kApp1 = 0xE1;
constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kShortType = 3;

// TIFF numbers in the block's own byte order.
struct Tiff {
    bool little;
    uint32_t Number16(const uint8_t* p) const {
        return little ? p[0] | (p[1] << 8) : (p[0] << 8) | p[1];
    }
    uint32_t Number32(const uint8_t* p) const {
        return little ? Number16(p) | (Number16(p + 2) << 16)
                      : (Number16(p) << 16) | Number16(p + 2);
    }
};

// The Orientation of the TIFF block at start, length bytes long; 1 when there is none.
int TiffOrientation(const ByteSource& read, uint64_t start, uint32_t length) {
    uint8_t head[8];
    if (length < 8 || !read(start, head, 8))
        return kUpright;
    Tiff tiff{head[0] == 'I' && head[1] == 'I'};
    if ((!tiff.little && !(head[0] == 'M' && head[1] == 'M')) || tiff.Number16(head + 2) != 42)
        return kUpright;
    const uint32_t directory = tiff.Number32(head + 4);
    uint8_t count_bytes[2];
    if (directory > length - 2 || !read(start + directory, count_bytes, 2))
        return kUpright;
    const uint32_t count = tiff.Number16(count_bytes);
    for (uint32_t i = 0; i < count; ++i) {
        const uint64_t at = uint64_t{directory} + 2 + uint64_t{i} * 12;
        uint8_t entry[12];
        if (at + 12 > length || !read(start + at, entry, 12))
            return kUpright;
        if (tiff.Number16(entry) != kOrientationTag)
            continue;
        const uint32_t value = tiff.Number16(entry + 8);
        const bool valid = tiff.Number16(entry + 2) == kShortType &&
                           tiff.Number32(entry + 4) == 1 && value >= 1 && value <= 8;
        return valid ? static_cast<int>(value) : kUpright;
    }
    return kUpright;
}

} // namespace

int ReadExifOrientation(const ByteSource& read) {
    uint8_t soi[2];
    if (!read(0, soi, 2) || soi[0] != 0xFF || soi[1] != 0xD8)
        return kUpright;
    int orientation = kUpright;
    FindJpegSegment(read, [&](uint8_t marker, uint64_t at, uint32_t length) {
        uint8_t name[6];
        if (marker != kApp1 || length < 2 + 6 + 8 || !read(at + 2, name, 6) ||
            std::memcmp(name, "Exif\0", 6) != 0)
            return false;
        orientation = TiffOrientation(read, at + 8, length - 8);
        return true;
    });
    return orientation;
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
