#include "core/area_shrinker.h"

#include <algorithm>

namespace glimro {

// In common units a source pixel is target_width_ long and a target pixel source_width_ long
// (likewise for rows), so every overlap is a whole number and the sums are exact.
AreaShrinker::AreaShrinker(uint32_t source_width, uint32_t source_height, uint32_t target_width,
                           uint32_t target_height, uint8_t* target, uint32_t target_stride)
    : source_width_(source_width), source_height_(source_height), target_width_(target_width),
      target_height_(target_height), target_(target), target_stride_(target_stride),
      columns_(target_width), rows_(source_width * 3ull),
      area_(uint64_t{source_width} * source_height),
      per_area_(area_ ? 1.0 / static_cast<double>(area_) : 0.0) {
    for (uint32_t x = 0; x < target_width; ++x) {
        const uint64_t begin = uint64_t{x} * source_width, end = begin + source_width;
        Column& column = columns_[x];
        column.first = static_cast<uint32_t>(begin / target_width);
        column.last = static_cast<uint32_t>((end - 1) / target_width);
        column.first_part = static_cast<uint32_t>(
            std::min<uint64_t>(uint64_t{column.first + 1} * target_width, end) - begin);
        column.last_part = column.last > column.first
                               ? static_cast<uint32_t>(end - uint64_t{column.last} * target_width)
                               : 0;
    }
}

// The rows are summed down first, a whole source row at a time (a loop the compiler turns
// into vector instructions), and across only once per target row.
void AreaShrinker::AddRow(const uint8_t* row) {
    if (source_row_ >= source_height_)
        return;
    // The row's share of the target row it lies in, and of the next when it straddles both.
    uint64_t start = uint64_t{source_row_} * target_height_;
    const uint64_t end = start + target_height_;
    const size_t count = rows_.size();
    uint32_t* sums = rows_.data();
    while (start < end && target_row_ < target_height_) {
        const uint64_t boundary = uint64_t{target_row_ + 1} * source_height_;
        const uint32_t piece = static_cast<uint32_t>(std::min(end, boundary) - start);
        for (size_t k = 0; k < count; ++k)
            sums[k] += piece * row[k];
        start += piece;
        if (start == boundary)
            EmitRow();
    }
    ++source_row_;
}

void AreaShrinker::EmitRow() {
    uint8_t* out = target_ + static_cast<size_t>(target_row_) * target_stride_;
    // Held in locals: the bytes written could be any of the members, as far as the compiler
    // knows, and it would read each of them again for every value.
    const uint32_t* sums = rows_.data();
    const Column* columns = columns_.data();
    const uint64_t area = area_, half = area_ / 2, across = target_width_;
    const double per_area = per_area_;
    for (uint32_t x = 0; x < target_width_; ++x) {
        const Column column = columns[x];
        const uint32_t* first = sums + column.first * 3ull;
        const uint32_t* last = sums + column.last * 3ull;
        uint64_t whole[3] = {0, 0, 0};
        for (const uint32_t* pixel = first + 3; pixel < last; pixel += 3) {
            whole[0] += pixel[0];
            whole[1] += pixel[1];
            whole[2] += pixel[2];
        }
        for (int channel = 0; channel < 3; ++channel) {
            const uint64_t total = uint64_t{column.first_part} * first[channel] +
                                   across * whole[channel] +
                                   uint64_t{column.last_part} * last[channel] + half;
            // The rounded mean by a multiplication and an exact correction: a division for
            // every value cost a quarter of the shrinking. (Converted as signed numbers,
            // in one instruction: the totals are far below 2^63.)
            uint64_t mean = static_cast<uint64_t>(static_cast<int64_t>(
                static_cast<double>(static_cast<int64_t>(total)) * per_area));
            if (mean * area > total)
                --mean;
            else if ((mean + 1) * area <= total)
                ++mean;
            out[x * 3ull + channel] = static_cast<uint8_t>(mean);
        }
    }
    std::fill(rows_.begin(), rows_.end(), 0u);
    if (RowDone)
        RowDone(target_row_, out);
    ++target_row_;
}

} // namespace glimro
