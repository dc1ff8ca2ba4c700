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
    // Horizontally, source pixel i lies in target pixel first_[i] with weight part_[i] and in
    // the next one with the rest of target_width_ (both in units of 1/source_width_ pixel).
    std::vector<uint32_t> first_, part_;
    std::vector<uint32_t> row_sums_;
    std::vector<uint64_t> sums_; // of the target row being filled
    uint32_t source_row_ = 0;
    uint32_t target_row_ = 0;
};

} // namespace glimro
