#pragma once
// Images made for tests with the platform's codecs, and what a test reads back from a file.
#include <windows.h>

#include <string>
#include <vector>

namespace glimro::test {

// Writes a width x height picture (a colour gradient) in the format the MIME type names:
// "image/bmp", "image/jpeg", "image/gif" or "image/png".
bool WriteTestImage(const std::wstring& path, int width, int height, const wchar_t* mime_type);

// A width x height JPEG of four quadrants, top left, top right, bottom left, bottom right.
bool WriteQuadrantJpeg(const std::wstring& path, int width, int height, const COLORREF (&quadrants)[4]);

// The decoded size of an image file; 0 x 0 when it cannot be decoded.
SIZE DecodedSize(const std::wstring& path);

// The colour of one pixel of an image file; CLR_INVALID when it cannot be decoded.
COLORREF DecodedPixel(const std::wstring& path, int x, int y);

// Every pixel of an image file, row by row from the top; empty when it cannot be decoded.
std::vector<COLORREF> DecodedPixels(const std::wstring& path, SIZE* size);

// The file's first bytes are the JPEG start-of-image marker.
bool IsJpegFile(const std::wstring& path);

} // namespace glimro::test
