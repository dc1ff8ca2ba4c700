#include "core/picture_fit.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace glimro {
namespace {

// The share is of each side; a square has both shapes; a header's absurd size never wraps.
TEST(PictureFit, SizeAndShapeRules) {
    constexpr uint64_t kHuge = uint64_t{1} << 62;
    const struct {
        FitRule rule;
        uint64_t width, height, screen_width, screen_height;
        bool fits;
    } cases[] = {
        {{0, kAnyShape}, 1, 1, 1920, 1080, true},
        {{50, kAnyShape}, 960, 540, 1920, 1080, true},
        {{50, kAnyShape}, 959, 2000, 1920, 1080, false},
        {{50, kAnyShape}, 2000, 539, 1920, 1080, false},
        {{100, kAnyShape}, 1920, 1080, 1920, 1080, true},
        {{250, kAnyShape}, 1920, 1080, 1920, 1080, true}, // past 100 counts as 100
        {{0, kLandscapeOnly}, 800, 600, 1080, 1920, true},
        {{0, kLandscapeOnly}, 600, 800, 1920, 1080, false},
        {{0, kPortraitOnly}, 600, 800, 1920, 1080, true},
        {{0, kPortraitOnly}, 500, 500, 1920, 1080, true},
        {{0, kMatchMonitor}, 600, 800, 1080, 1920, true},
        {{0, kMatchMonitor}, 800, 600, 1080, 1920, false},
        {{0, kMatchMonitor}, 800, 600, 1920, 1080, true},
        {{0, kMatchMonitor}, 800, 800, 1080, 1920, true},
        {{50, kAnyShape}, kHuge, kHuge, 1920, 1080, true},
        {{50, kAnyShape}, 100, 100, kHuge, kHuge, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FitsScreen(c.rule, c.width, c.height, c.screen_width, c.screen_height), c.fits)
            << c.rule.smallest_share << "% shape " << c.rule.shape << ": " << c.width << "x" << c.height
            << " on " << c.screen_width << "x" << c.screen_height;
    }
    EXPECT_TRUE((FitRule{0, kAnyShape}).Any());
    EXPECT_FALSE((FitRule{0, kMatchMonitor}).Any());
}

} // namespace
} // namespace glimro
