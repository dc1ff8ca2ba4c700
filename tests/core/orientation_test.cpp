// The camera's orientation, read from the EXIF block whatever else the file holds. (Where
// each pixel goes is shown by staging the eight orientations.)
#include "core/orientation.h"
#include "support/exif_bytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace glimro {
namespace {

int OrientationOf(const std::string& bytes) {
    return ReadExifOrientation([&](uint64_t offset, uint8_t* out, size_t count) {
        if (offset > bytes.size() || count > bytes.size() - offset)
            return false;
        std::memcpy(out, bytes.data() + offset, count);
        return true;
    });
}

TEST(ExifOrientation, IsReadFromTheFirstDirectoryOrIsOne) {
    const std::string soi = "\xFF\xD8", scan = std::string("\xFF\xDA\x00\x02", 4);
    const std::string jfif = std::string("\xFF\xE0\x00\x10JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 18);
    const std::string six = test::ExifSegment(6);
    const struct {
        const char* what;
        std::string bytes;
        int orientation;
    } cases[] = {
        {"Intel order", soi + six + scan, 6},
        {"Motorola order", soi + test::ExifSegment(8, false) + scan, 8},
        {"after a JFIF block", soi + jfif + test::ExifSegment(3) + scan, 3},
        {"each of 1 to 8", soi + test::ExifSegment(5) + scan, 5},
        {"no EXIF block", soi + jfif + scan, 1},
        {"after the picture data", soi + scan + six, 1},
        {"value 9", soi + test::ExifSegment(9) + scan, 1},
        {"value 0", soi + test::ExifSegment(0) + scan, 1},
        {"not a SHORT", soi + test::ExifSegment(6, true, 4) + scan, 1},
        {"cut inside the directory", soi + six.substr(0, 30), 1},
        {"not a JPEG", "BM" + six.substr(2), 1},
        {"nothing", "", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OrientationOf(c.bytes), c.orientation) << c.what;

    // A directory whose offset points past its block is not followed.
    std::string beyond = soi + six + scan;
    beyond[2 + 4 + 6 + 4] = '\x7F';
    EXPECT_EQ(OrientationOf(beyond), 1);
}

} // namespace
} // namespace glimro
