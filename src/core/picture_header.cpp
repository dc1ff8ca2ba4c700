#include "core/picture_header.h"

#include "core/orientation.h"

namespace glimro {
namespace {

uint32_t Little16(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8);
}
uint32_t Big16(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 8) | p[1];
}
uint32_t Big32(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | p[3];
}
uint32_t Little32(const uint8_t* p) {
    return Little16(p) | (Little16(p + 2) << 16);
}

bool IsStartOfFrame(uint8_t marker) {
    // SOF0..SOF15, except DHT (C4), JPG (C8) and DAC (CC), which share the range.
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool JpegSize(const ByteSource& read, PictureSize* size) {
    return FindJpegSegment(read, [&](uint8_t marker, uint64_t at, uint32_t length) {
        uint8_t frame[5];
        if (!IsStartOfFrame(marker) || length < 7 || !read(at + 2, frame, 5))
            return false;
        size->height = Big16(frame + 1);
        size->width = Big16(frame + 3);
        return true;
    });
}

} // namespace

bool FindJpegSegment(const ByteSource& read,
                     const std::function<bool(uint8_t, uint64_t, uint32_t)>& visit) {
    constexpr uint8_t kStartOfScan = 0xDA;
    uint64_t offset = 2;
    // Segments are at most 64 KB each: a file of a thousand of them is none of ours.
    for (int segments = 0; segments < 1000; ++segments) {
        uint8_t head[4];
        if (!read(offset, head, 4) || head[0] != 0xFF)
            return false;
        if (head[1] == 0xFF) { // fill byte
            ++offset;
            continue;
        }
        if (head[1] == kStartOfScan)
            return false;
        const uint32_t length = Big16(head + 2);
        if (length < 2)
            return false;
        if (visit(head[1], offset + 2, length))
            return true;
        offset += 2 + length;
    }
    return false;
}

bool ReadPictureSize(const ByteSource& read, PictureSize* size) {
    *size = PictureSize{};
    uint8_t head[26] = {};
    if (!read(0, head, 2))
        return false;
    bool known = false;
    if (head[0] == 0xFF && head[1] == 0xD8) {
        known = JpegSize(read, size);
        size->format = PictureFormat::Jpeg;
        size->orientation = ReadExifOrientation(read);
    } else if (!read(0, head, sizeof(head))) {
        return false;
    } else if (head[0] == 'B' && head[1] == 'M' && Little32(head + 14) >= 40) {
        // Widths are signed in the header; a negative height means rows stored top-down.
        const int32_t width = static_cast<int32_t>(Little32(head + 18));
        const int32_t height = static_cast<int32_t>(Little32(head + 22));
        size->width = width > 0 ? static_cast<uint64_t>(width) : 0;
        size->height = height < 0 ? uint64_t{0} - static_cast<uint64_t>(static_cast<int64_t>(height))
                                  : static_cast<uint64_t>(height);
        size->format = PictureFormat::Bmp;
        known = true;
    } else if (head[0] == 'G' && head[1] == 'I' && head[2] == 'F') {
        size->width = Little16(head + 6);
        size->height = Little16(head + 8);
        size->format = PictureFormat::Gif;
        known = true;
    } else if (head[0] == 0x89 && head[1] == 'P' && head[2] == 'N' && head[3] == 'G') {
        size->width = Big32(head + 16);
        size->height = Big32(head + 20);
        size->format = PictureFormat::Png;
        known = true;
    }
    if (!known || size->width == 0 || size->height == 0) {
        *size = PictureSize{};
        return false;
    }
    return true;
}

} // namespace glimro
