#include "platform/simple_dialog.h"

#include <gtest/gtest.h>

namespace glimro {
namespace {

TEST(CenteredDialogPosition, WithoutParentSnapsToEightPixels) {
    const struct {
        SIZE dialog, screen;
        LONG x, y;
    } cases[] = {
        {{300, 100}, {1024, 768}, 360, 334},  // (362 + 4) & ~7 = 360
        {{301, 101}, {1024, 768}, 360, 333},  // 723 >> 1 = 361, + 4 = 365 -> 360
        {{1100, 900}, {1024, 768}, -40, -66}, // shifts keep the sign of a wider dialog
    };
    for (const auto& c : cases) {
        POINT at = CenteredDialogPosition(c.dialog, nullptr, c.screen, 0);
        EXPECT_EQ(at.x, c.x) << c.dialog.cx;
        EXPECT_EQ(at.y, c.y) << c.dialog.cx;
    }
}

TEST(CenteredDialogPosition, OverAParentClampedToTheScreenAboveTheTaskbar) {
    const SIZE screen{1024, 768};
    const struct {
        RECT parent;
        SIZE dialog;
        int taskbar;
        LONG x, y;
    } cases[] = {
        {{100, 100, 500, 400}, {200, 100}, 40, 200, 200},
        {{-300, -200, 0, 0}, {200, 100}, 40, 0, 0},        // negative becomes 0
        {{900, 700, 1200, 900}, {200, 100}, 40, 824, 628}, // capped by screen and taskbar
        {{0, 0, 101, 51}, {200, 100}, 0, 0, 0},            // (101 - 200) / 2 truncates to -49
    };
    for (const auto& c : cases) {
        POINT at = CenteredDialogPosition(c.dialog, &c.parent, screen, c.taskbar);
        EXPECT_EQ(at.x, c.x) << c.parent.left;
        EXPECT_EQ(at.y, c.y) << c.parent.left;
    }
}

} // namespace
} // namespace glimro
