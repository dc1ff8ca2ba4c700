#include "core/area_shrinker.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace glimro
