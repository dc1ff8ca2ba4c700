#pragma once
// A picture's size read from its header alone, for the formats albums hold (BMP, JPEG, GIF
// and PNG), recognised by their first bytes, never by a file's name. The bytes may come from
// anyone: every offset and length is checked against what could be read.
#include <cstddef>
#include <cstdint>
#include <functional>

namespace glimro {

// Reads exactly count bytes at offset; false when they are not all there.
using ByteSource = std::function<bool(uint64_t offset, uint8_t* data, size_t count)>;

enum class PictureFormat { Unknown, Bmp, Jpeg, Gif, Png };

// As stored: a JPEG's camera orientation (1 to 8, see core/orientation.h) says how to turn it.
struct PictureSize {
    uint64_t width = 0;
    uint64_t height = 0;
    PictureFormat format = PictureFormat::Unknown;
    int orientation = 1;
};

// False when the bytes are none of these formats or declare no size (0 either way).
bool ReadPictureSize(const ByteSource& read, PictureSize* size);

// Walks a JPEG's segments after its start marker, up to the picture data: visit gets each
// marker with the offset of its length field and that length, and returns true when it has
// found what it looked for. False when it found nothing, or the segments are not well formed.
bool FindJpegSegment(const ByteSource& read,
                     const std::function<bool(uint8_t marker, uint64_t at, uint32_t length)>& visit);

} // namespace glimro
