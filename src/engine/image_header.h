#pragma once
// A picture file's size read from its header alone (BMP, JPEG, GIF and PNG, by their first
// bytes), so that learning the size of a huge photo, or of a file that only claims to be
// one, decodes no pixels.
#include "core/picture_header.h"

#include <string>

namespace glimro {

// False when the file cannot be read or is none of these formats.
bool ReadImageHeaderSize(const std::wstring& path, PictureSize* size);

} // namespace glimro
