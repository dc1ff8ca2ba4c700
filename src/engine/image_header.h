#pragma once
// An image's size read from its file header alone, for the formats albums hold (BMP, JPEG,
// GIF, and PNG), so that learning the size of a huge photo does not decode its pixels.
#include <string>

namespace glimro {

// False when the file cannot be read or is none of these formats.
bool ReadImageHeaderSize(const std::wstring& path, int* width, int* height);

} // namespace glimro
