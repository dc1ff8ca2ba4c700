// Any bytes as a JPEG's EXIF block: the orientation reader reads only what is there and
// answers 1 to 8; the date reader answers a date that can be, or none.
#include "core/exif.h"
#include "core/orientation.h"

#include "fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const glimro::ByteSource read = FuzzBytes(data, size);
    const int orientation = glimro::ReadExifOrientation(read);
    if (orientation < 1 || orientation > 8)
        __builtin_trap();
    glimro::TakenDate date;
    if (glimro::ReadExifDateTaken(read, &date) && (date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31))
        __builtin_trap();
    return 0;
}
