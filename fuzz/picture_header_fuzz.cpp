// Any bytes as a picture file: the size reader reads only what is there, and what it
// reports is checked by the limits without overflow.
#include "core/picture_header.h"
#include "core/picture_limits.h"

#include "fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const glimro::ByteSource read = FuzzBytes(data, size);
    glimro::PictureSize picture;
    if (glimro::ReadPictureSize(read, &picture)) {
        if (picture.width == 0 || picture.height == 0)
            __builtin_trap();
        glimro::PictureFits(picture.width, picture.height, true);
        glimro::DecodeFits(picture.width, picture.height);
    }
    return 0;
}
