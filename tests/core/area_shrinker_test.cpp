#include "core/area_shrinker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace glimro {
namespace {

// Every target pixel is the mean of the area it covers, edges weighted by their share.
TEST(AreaShrinker, AveragesTheAreaEachTargetPixelCovers) {
    const struct {
        const char* what;
        uint32_t width, height, target_width, target_height;
        std::vector<uint8_t> grey; // one value per source pixel, row by row
        std::vector<uint8_t> expected;
    } cases[] = {
        {"halved", 4, 2, 2, 1, {0, 255, 10, 20, 0, 255, 30, 40}, {128, 25}},
        {"thirds", 3, 1, 2, 1, {0, 90, 180}, {30, 150}},
        {"rows", 1, 3, 1, 2, {0, 90, 180}, {30, 150}},
        {"unchanged", 2, 2, 2, 2, {1, 2, 3, 4}, {1, 2, 3, 4}},
        {"uneven", 5, 3, 2, 2, std::vector<uint8_t>(15, 77), {77, 77, 77, 77}},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> source;
        for (uint8_t value : c.grey)
            source.insert(source.end(), {value, value, value});
        const uint32_t stride = c.target_width * 3 + 1; // rows wider than the pixels
        std::vector<uint8_t> target(stride * c.target_height, 0xEE);
        AreaShrinker shrinker(c.width, c.height, c.target_width, c.target_height, target.data(),
                              stride);
        for (uint32_t row = 0; row < c.height; ++row)
            shrinker.AddRow(source.data() + row * c.width * 3);
        for (uint32_t y = 0; y < c.target_height; ++y) {
            for (uint32_t x = 0; x < c.target_width; ++x) {
                for (uint32_t channel = 0; channel < 3; ++channel)
                    EXPECT_EQ(target[y * stride + x * 3 + channel],
                              c.expected[y * c.target_width + x])
                        << c.what << " at " << x << "," << y;
            }
            EXPECT_EQ(target[y * stride + c.target_width * 3], 0xEE) << c.what; // padding kept
        }
    }
}

// The overlap of source pixel i with target pixel x along one side, in common units.
uint64_t Overlap(uint64_t i, uint64_t x, uint64_t source, uint64_t target) {
    const uint64_t begin = std::max(i * target, x * source);
    const uint64_t end = std::min((i + 1) * target, (x + 1) * source);
    return end > begin ? end - begin : 0;
}

// Against the mean worked out pixel by pixel, for sizes whose areas straddle unevenly, down
// to a single pixel, and for colours where rounding half way matters.
TEST(AreaShrinker, EveryValueIsTheExactlyRoundedMean) {
    const struct {
        uint32_t width, height, target_width, target_height;
    } sizes[] = {{7, 5, 3, 2}, {101, 67, 13, 9}, {64, 48, 64, 47}, {300, 7, 1, 1},
                 {5, 200, 4, 3}, {97, 89, 96, 1}};
    uint32_t seed = 12345;
    for (const auto& size : sizes) {
        std::vector<uint8_t> source(size.width * size.height * 3ull);
        for (uint8_t& value : source) {
            seed = seed * 1103515245u + 12345u;
            value = static_cast<uint8_t>(seed >> 24);
        }
        const uint32_t stride = size.target_width * 3;
        std::vector<uint8_t> target(stride * size.target_height);
        AreaShrinker shrinker(size.width, size.height, size.target_width, size.target_height,
                              target.data(), stride);
        for (uint32_t row = 0; row < size.height; ++row)
            shrinker.AddRow(source.data() + row * size.width * 3ull);
        const uint64_t area = uint64_t{size.width} * size.height;
        for (uint32_t y = 0; y < size.target_height; ++y)
            for (uint32_t x = 0; x < size.target_width; ++x)
                for (uint32_t channel = 0; channel < 3; ++channel) {
                    uint64_t total = 0;
                    for (uint32_t j = 0; j < size.height; ++j)
                        for (uint32_t i = 0; i < size.width; ++i)
                            total += Overlap(i, x, size.width, size.target_width) *
                                     Overlap(j, y, size.height, size.target_height) *
                                     source[(j * size.width + i) * 3ull + channel];
                    ASSERT_EQ(target[y * stride + x * 3 + channel], (total + area / 2) / area)
                        << size.width << "x" << size.height << " to " << size.target_width << "x"
                        << size.target_height << " at " << x << "," << y;
                }
    }
}

} // namespace
} // namespace glimro
