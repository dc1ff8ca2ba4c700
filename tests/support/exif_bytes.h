#pragma once
// The start of a JPEG as a camera writes it: SOI, then an EXIF block (APP1) whose first
// directory holds the Orientation, in either byte order. Plain C++, for the host tests too.
#include <cstdint>
#include <string>

namespace glimro::test {

inline std::string ExifSegment(int orientation, bool little_endian = true,
                               uint16_t type = 3 /* SHORT */) {
    std::string tiff;
    const auto number = [&](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            const int shift = 8 * (little_endian ? i : bytes - 1 - i);
            tiff += static_cast<char>((value >> shift) & 0xFF);
        }
    };
    tiff += little_endian ? "II" : "MM";
    number(42, 2);
    number(8, 4);  // the first directory follows
    number(2, 2);  // two entries: the camera's make, then the orientation
    number(0x010F, 2), number(2, 2), number(4, 4), tiff += std::string("Cam\0", 4);
    number(0x0112, 2), number(type, 2), number(1, 4), number(static_cast<uint32_t>(orientation), 2),
        number(0, 2);
    number(0, 4); // no next directory
    const std::string body = std::string("Exif\0\0", 6) + tiff;
    const size_t length = body.size() + 2;
    return std::string("\xFF\xE1", 2) + static_cast<char>(length >> 8) +
           static_cast<char>(length & 0xFF) + body;
}

// A JPEG's bytes with the EXIF block put right after its SOI.
inline std::string WithExif(const std::string& jpeg, int orientation) {
    return jpeg.substr(0, 2) + ExifSegment(orientation) + jpeg.substr(2);
}

} // namespace glimro::test
