#pragma once
// The start of a JPEG as a camera writes it: SOI, then an EXIF block (APP1) whose first
// directory holds the Orientation, in either byte order. Plain C++, for the host tests too.
#include <cstdint>
#include <string>

namespace glimro::test {

// taken: a DateTimeOriginal to write in an EXIF directory (19 characters, or any text to
// see it refused), or none.
inline std::string ExifSegment(int orientation, bool little_endian = true,
                               uint16_t type = 3 /* SHORT */, const std::string& taken = "") {
    std::string tiff;
    const auto number = [&](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            const int shift = 8 * (little_endian ? i : bytes - 1 - i);
            tiff += static_cast<char>((value >> shift) & 0xFF);
        }
    };
    const bool dated = !taken.empty();
    tiff += little_endian ? "II" : "MM";
    number(42, 2);
    number(8, 4);             // the first directory follows
    number(dated ? 3 : 2, 2); // the camera's make, the orientation, the EXIF directory's place
    number(0x010F, 2), number(2, 2), number(4, 4), tiff += std::string("Cam\0", 4);
    number(0x0112, 2), number(type, 2), number(1, 4), number(static_cast<uint32_t>(orientation), 2),
        number(0, 2);
    const uint32_t exif_directory = 8 + 2 + 3 * 12 + 4;
    if (dated)
        number(0x8769, 2), number(4, 2), number(1, 4), number(exif_directory, 4);
    number(0, 4); // no next directory
    if (dated) {
        number(1, 2); // one entry: the date, its text after the directory
        number(0x9003, 2), number(2, 2), number(static_cast<uint32_t>(taken.size() + 1), 4),
            number(exif_directory + 2 + 12 + 4, 4);
        number(0, 4);
        tiff += taken + std::string(1, '\0');
    }
    const std::string body = std::string("Exif\0\0", 6) + tiff;
    const size_t length = body.size() + 2;
    return std::string("\xFF\xE1", 2) + static_cast<char>(length >> 8) +
           static_cast<char>(length & 0xFF) + body;
}

// A JPEG's bytes with the EXIF block put right after its SOI.
inline std::string WithExif(const std::string& jpeg, int orientation, const std::string& taken = "") {
    return jpeg.substr(0, 2) + ExifSegment(orientation, true, 3, taken) + jpeg.substr(2);
}

} // namespace glimro::test
