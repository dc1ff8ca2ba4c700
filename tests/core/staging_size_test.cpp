#include "core/frequency.h"
#include "core/staging_size.h"

#include <gtest/gtest.h>

namespace glimro {
namespace {

// A 1024 x 768 screen: Fill keeps covering it, Fit and Center fit it, Stretch caps each
// side, Tile never shrinks; a picture that already fits is left as it is.
TEST(StagedSize, FollowsThePosition) {
    const PixelSize screen{1024, 768};
    const struct {
        int position;
        PixelSize picture, staged;
    } cases[] = {
        {kFit, {4000, 3000}, {954, 715}},     {kCenter, {4000, 3000}, {954, 715}},
        {kFill, {4000, 3000}, {1050, 787}},   {kFill, {4000, 1000}, {3305, 826}},
        {kFill, {900, 3000}, {900, 3000}},    {kStretch, {4000, 500}, {1024, 500}},
        {kTile, {4000, 3000}, {4000, 3000}},  {kFit, {800, 600}, {800, 600}},
    };
    for (const auto& c : cases) {
        const PixelSize staged = StagedSize(c.picture, screen, c.position);
        EXPECT_EQ(staged, c.staged) << c.position << ": " << staged.width << "x" << staged.height;
        if (c.position == kFill && c.picture.width >= 1024 && c.picture.height >= 768) {
            EXPECT_TRUE(staged.width >= 1024 && staged.height >= 768) << "still covers";
        }
    }
}

} // namespace
} // namespace glimro
