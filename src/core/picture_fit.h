#pragma once
// Which pictures fit a screen by an album's rules: large enough, and of the shape wanted. A
// picture is judged by its size as it will stand (turned upright), read from its header.
#include <cstdint>

namespace glimro {

// The album's "Shape".
enum PictureShape : int {
    kAnyShape = 0,
    kLandscapeOnly = 1, // at least as wide as high
    kPortraitOnly = 2,  // at least as high as wide
    kMatchMonitor = 3,  // the shape of the monitor it goes to
};
inline constexpr int kShapeCount = 4;

struct FitRule {
    // A picture under this share (percent) of the screen's width or of its height does not
    // fit; 0 for any size.
    int smallest_share = 0;
    int shape = kAnyShape;
    bool Any() const { return smallest_share <= 0 && shape == kAnyShape; }
};

// Whether an upright picture of width x height fits a screen of screen_width x
// screen_height. A square picture or screen has both shapes.
bool FitsScreen(const FitRule& rule, uint64_t width, uint64_t height, uint64_t screen_width,
                uint64_t screen_height);

} // namespace glimro
