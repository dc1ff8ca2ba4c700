#include "core/area_shrinker.h"

#include <algorithm>

namespace glimro {

// In common units a source pixel is target_width_ long and a target pixel source_width_ long
// (likewise for rows), so every overlap is a whole number and the sums are exact.
AreaShrinker::AreaShrinker(uint32_t source_width, uint32_t source_height, uint32_t target_width,
                           uint32_t target_height, uint8_t* target, uint32_t target_stride)
    : source_width_(source_width), source_height_(source_height), target_width_(target_width),
      target_height_(target_height), target_(target), target_stride_(target_stride),
      first_(source_width), part_(source_width), row_sums_(target_width * 3ull),
      sums_(target_width * 3ull) {
    for (uint32_t i = 0; i < source_width; ++i) {
        const uint64_t start = uint64_t{i} * target_width;
        const uint32_t x = static_cast<uint32_t>(start / source_width);
        first_[i] = x;
        part_[i] = static_cast<uint32_t>(
            std::min<uint64_t>(uint64_t{x + 1} * source_width, start + target_width) - start);
    }
}

void AreaShrinker::AddRow(const uint8_t* row) {
    if (source_row_ >= source_height_)
        return;
    std::fill(row_sums_.begin(), row_sums_.end(), 0u);
    for (uint32_t i = 0; i < source_width_; ++i) {
        const uint8_t* pixel = row + i * 3ull;
        uint32_t* sum = &row_sums_[first_[i] * 3ull];
        const uint32_t part = part_[i];
        const uint32_t rest = target_width_ - part;
        sum[0] += part * pixel[0];
        sum[1] += part * pixel[1];
        sum[2] += part * pixel[2];
        if (rest) {
            sum[3] += rest * pixel[0];
            sum[4] += rest * pixel[1];
            sum[5] += rest * pixel[2];
        }
    }

    // The row's share of the target row it lies in, and of the next when it straddles both.
    uint64_t start = uint64_t{source_row_} * target_height_;
    const uint64_t end = start + target_height_;
    while (start < end && target_row_ < target_height_) {
        const uint64_t boundary = uint64_t{target_row_ + 1} * source_height_;
        const uint64_t piece = std::min(end, boundary) - start;
        for (size_t k = 0; k < sums_.size(); ++k)
            sums_[k] += piece * row_sums_[k];
        start += piece;
        if (start == boundary)
            EmitRow();
    }
    ++source_row_;
}

void AreaShrinker::EmitRow() {
    const uint64_t area = uint64_t{source_width_} * source_height_;
    uint8_t* out = target_ + static_cast<size_t>(target_row_) * target_stride_;
    for (size_t k = 0; k < sums_.size(); ++k)
        out[k] = static_cast<uint8_t>((sums_[k] + area / 2) / area);
    std::fill(sums_.begin(), sums_.end(), 0ull);
    if (RowDone)
        RowDone(target_row_, out);
    ++target_row_;
}

} // namespace glimro
