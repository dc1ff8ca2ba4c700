// Any bytes as a JPEG's EXIF block: the orientation reader reads only what is there and
// answers 1 to 8.
#include "core/orientation.h"

#include "fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const glimro::ByteSource read = FuzzBytes(data, size);
    const int orientation = glimro::ReadExifOrientation(read);
    if (orientation < 1 || orientation > 8)
        __builtin_trap();
    return 0;
}
