#pragma once
// A JPEG's EXIF block: the TIFF directories a camera writes into its APP1 segment, read from
// bytes that may come from anyone (every offset and count is checked against the block).
#include "core/picture_header.h"

#include <cstdint>

namespace glimro {

// The TIFF data of the first EXIF block before the picture data; false when there is none.
struct ExifBlock {
    uint64_t start = 0; // where the TIFF header begins in the file
    uint32_t length = 0;
    bool little = true; // the block's byte order
    uint32_t first_directory = 0;
};
bool FindExifBlock(const ByteSource& read, ExifBlock* block);

// One 12-byte directory entry: its type, count, and the four bytes that hold its value or
// the offset of it.
struct TiffEntry {
    uint32_t type = 0;
    uint32_t count = 0;
    uint8_t value[4] = {};
};
// The entry of the tag in the directory at `directory` (an offset into the block); false when
// the directory holds none or is cut short.
bool FindTiffEntry(const ByteSource& read, const ExifBlock& block, uint32_t directory, uint16_t tag,
                   TiffEntry* entry);
// A 16- or 32-bit number in the block's byte order.
uint32_t TiffNumber16(const ExifBlock& block, const uint8_t* bytes);
uint32_t TiffNumber32(const ExifBlock& block, const uint8_t* bytes);

// When the photo was taken, as its camera wrote it (DateTimeOriginal, in the EXIF directory,
// "YYYY:MM:DD HH:MM:SS"); false when it holds none or a date that cannot be.
struct TakenDate {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
bool ReadExifDateTaken(const ByteSource& read, TakenDate* date);

} // namespace glimro
