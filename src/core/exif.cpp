#include "core/exif.h"

#include <cstring>

namespace glimro {
namespace {

constexpr uint8_t kApp1 = 0xE1;
constexpr uint16_t kExifDirectoryTag = 0x8769;
constexpr uint16_t kDateTakenTag = 0x9003;
constexpr uint32_t kAsciiType = 2;
constexpr uint32_t kLongType = 4;
constexpr uint32_t kDateChars = 19; // "YYYY:MM:DD HH:MM:SS", then its NUL

// The digits of text[at, at + count) as a number; -1 when any is not a digit.
int Digits(const uint8_t* text, int at, int count) {
    int value = 0;
    for (int i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

uint32_t TiffNumber16(const ExifBlock& block, const uint8_t* p) {
    return block.little ? p[0] | (p[1] << 8) : (p[0] << 8) | p[1];
}

uint32_t TiffNumber32(const ExifBlock& block, const uint8_t* p) {
    return block.little ? TiffNumber16(block, p) | (TiffNumber16(block, p + 2) << 16)
                        : (TiffNumber16(block, p) << 16) | TiffNumber16(block, p + 2);
}

bool FindExifBlock(const ByteSource& read, ExifBlock* block) {
    uint8_t soi[2];
    if (!read(0, soi, 2) || soi[0] != 0xFF || soi[1] != 0xD8)
        return false;
    bool found = false;
    FindJpegSegment(read, [&](uint8_t marker, uint64_t at, uint32_t length) {
        uint8_t name[6];
        if (marker != kApp1 || length < 2 + 6 + 8 || !read(at + 2, name, 6) ||
            std::memcmp(name, "Exif\0", 6) != 0)
            return false;
        uint8_t head[8];
        ExifBlock tiff{at + 8, length - 8};
        if (!read(tiff.start, head, 8))
            return true; // the first EXIF block is the one that counts, whole or not
        tiff.little = head[0] == 'I' && head[1] == 'I';
        if ((!tiff.little && !(head[0] == 'M' && head[1] == 'M')) || TiffNumber16(tiff, head + 2) != 42)
            return true;
        tiff.first_directory = TiffNumber32(tiff, head + 4);
        *block = tiff;
        found = true;
        return true;
    });
    return found;
}

bool FindTiffEntry(const ByteSource& read, const ExifBlock& block, uint32_t directory, uint16_t tag,
                   TiffEntry* entry) {
    uint8_t count_bytes[2];
    if (block.length < 2 || directory > block.length - 2 || !read(block.start + directory, count_bytes, 2))
        return false;
    const uint32_t count = TiffNumber16(block, count_bytes);
    for (uint32_t i = 0; i < count; ++i) {
        const uint64_t at = uint64_t{directory} + 2 + uint64_t{i} * 12;
        uint8_t bytes[12];
        if (at + 12 > block.length || !read(block.start + at, bytes, 12))
            return false;
        if (TiffNumber16(block, bytes) != tag)
            continue;
        entry->type = TiffNumber16(block, bytes + 2);
        entry->count = TiffNumber32(block, bytes + 4);
        std::memcpy(entry->value, bytes + 8, 4);
        return true;
    }
    return false;
}

bool ReadExifDateTaken(const ByteSource& read, TakenDate* date) {
    ExifBlock block;
    TiffEntry pointer, taken;
    if (!FindExifBlock(read, &block) ||
        !FindTiffEntry(read, block, block.first_directory, kExifDirectoryTag, &pointer) ||
        pointer.type != kLongType || pointer.count != 1 ||
        !FindTiffEntry(read, block, TiffNumber32(block, pointer.value), kDateTakenTag, &taken) ||
        taken.type != kAsciiType || taken.count < kDateChars)
        return false;
    const uint32_t offset = TiffNumber32(block, taken.value);
    uint8_t text[kDateChars];
    if (offset > block.length || block.length - offset < kDateChars || !read(block.start + offset, text, kDateChars))
        return false;
    const TakenDate read_date{Digits(text, 0, 4), Digits(text, 5, 2), Digits(text, 8, 2),
                              Digits(text, 11, 2), Digits(text, 14, 2), Digits(text, 17, 2)};
    // Cameras without a clock write blanks or zeros: no date then.
    if (text[4] != ':' || text[7] != ':' || read_date.year < 1800 || read_date.month < 1 ||
        read_date.month > 12 || read_date.day < 1 || read_date.day > 31 || read_date.hour < 0 ||
        read_date.hour > 23 || read_date.minute < 0 || read_date.minute > 59 || read_date.second < 0 ||
        read_date.second > 60)
        return false;
    *date = read_date;
    return true;
}

} // namespace glimro
