#pragma once
// The size a picture is staged at before it becomes the wallpaper, for the album's position:
// pictures are only ever made smaller, in steps of 1/1.1 of each side.
namespace glimro {

struct PixelSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// Both sides times 1/1.1, truncated, until it fits the screen; at least one step. Unchanged
// when it already fits.
PixelSize ShrunkToFit(PixelSize picture, PixelSize screen);

// The size to stage at; the picture's own when it goes to the desktop as it is.
//  Fit, Center: shrunk to fit the screen.
//  Fill (and Span, over the whole virtual screen, which the caller gives as the screen):
//    shrunk only while it still covers the screen, so the crop keeps full sharpness.
//  Stretch: each side no larger than the screen's (the system stretches the rest).
//  Tile: never shrunk.
PixelSize StagedSize(PixelSize picture, PixelSize screen, int position);

} // namespace glimro
