#include "core/frequency.h"
#include "core/monitor_layout.h"

#include <gtest/gtest.h>

namespace glimro {
namespace {

TEST(MonitorLayout, OrderPlacementAndTheTileWrap) {
    const std::vector<Box> monitors = {{1920, 0, 3200, 1024}, {-1080, -200, 0, 1720},
                                       {0, 0, 1920, 1080}, {0, 1080, 1920, 2160}};
    EXPECT_EQ(MonitorOrder(monitors, 2), (std::vector<size_t>{2, 1, 3, 0}));
    const Box bounds = Bounds(monitors);
    EXPECT_EQ(bounds, (Box{-1080, -200, 3200, 2160}));
    // Spanned from the bounds' corner; tiled from the primary's, wrapping what lies before it.
    EXPECT_EQ(BoxesInComposite(monitors[1], bounds, false), (std::vector<Box>{{0, 0, 1080, 1920}}));
    EXPECT_EQ(BoxesInComposite(monitors[1], bounds, true),
              (std::vector<Box>{{3200, -200, 4280, 1720}, {3200, 2160, 4280, 4080}}));
    EXPECT_EQ(BoxesInComposite(monitors[0], bounds, true),
              (std::vector<Box>{{1920, 0, 3200, 1024}}));

    const PixelSize wide{4000, 1000}, screen{1000, 1000};
    EXPECT_EQ(PlaceInMonitor(wide, screen, kFill), (Box{-1500, 0, 2500, 1000}));
    EXPECT_EQ(PlaceInMonitor(wide, screen, kFit), (Box{0, 375, 1000, 625}));
    EXPECT_EQ(PlaceInMonitor(wide, screen, kStretch), (Box{0, 0, 1000, 1000}));
    EXPECT_EQ(PlaceInMonitor({200, 100}, screen, kCenter), (Box{400, 450, 600, 550}));
    EXPECT_EQ(PlaceInMonitor({200, 100}, screen, kTile), (Box{0, 0, 200, 100}));
}

} // namespace
} // namespace glimro
