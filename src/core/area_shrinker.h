#pragma once
// Shrinks a picture by area averaging: each target pixel is the mean of the source area it
// covers, source pixels on its edges weighted by the part of them it covers. Good quality
// for any reduction, in one pass over the source rows, which come top to bottom.
#include <cstdint>
#include <functional>
#include <vector>

namespace glimro {

class AreaShrinker {
public:
    // 24-bit BGR rows; the target is at most as large as the source either way, and its
    // rows, stride bytes apart, are written as they are completed.
    AreaShrinker(uint32_t source_width, uint32_t source_height, uint32_t target_width, uint32_t target_height,
                 uint8_t* target, uint32_t target_stride);

    void AddRow(const uint8_t* row);

    // Told of each target row once it is complete, with where it was written.
    std::function<void(uint32_t row, const uint8_t* pixels)> RowDone;

private:
    void EmitRow();

    uint32_t source_width_, source_height_, target_width_, target_height_;
    uint8_t* target_;
    uint32_t target_stride_;
    // Horizontally, in units of 1/source_width_ pixel: target pixel x takes source pixel
    // first with weight first_part, the pixels after it whole (weight target_width_) and
    // source pixel last with weight last_part (none when last == first).
    struct Column {
        uint32_t first, last, first_part, last_part;
    };
    std::vector<Column> columns_;
    // The source rows of the target row being filled, each weighted by its share of it
    // (in units of 1/source_height_ row): at most 255 * source_height_ per value, within 32
    // bits for any side a picture may have.
    std::vector<uint32_t> rows_;
    uint64_t area_; // of a target pixel, in common units
    double per_area_;
    uint32_t source_row_ = 0;
    uint32_t target_row_ = 0;
};

} // namespace glimro
