#pragma once
// What a picture file's header says, read from it alone (BMP, JPEG, GIF and PNG, by their
// first bytes): its size, so that learning the size of a huge photo, or of a file that only
// claims to be one, decodes no pixels; and when a photo was taken.
#include "core/exif.h"
#include "core/picture_header.h"

#include <string>

namespace glimro {

// False when the file cannot be read or is none of these formats.
bool ReadImageHeaderSize(const std::wstring& path, PictureSize* size);

// The EXIF DateTimeOriginal of a JPEG file; false when it has none.
bool ReadFileDateTaken(const std::wstring& path, TakenDate* date);

} // namespace glimro
