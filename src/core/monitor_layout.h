#pragma once
// Where each monitor's picture goes: the order monitors take an album's pictures in, where a
// picture sits inside its monitor for a position, and where a monitor lies in one composed
// picture of the whole virtual screen.
#include "core/staging_size.h"

#include <cstddef>
#include <vector>

namespace glimro {

// A rectangle in virtual-screen pixels, right and bottom exclusive.
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const Box&, const Box&) = default;
};

// The primary first, then the others left to right, top to bottom.
std::vector<size_t> MonitorOrder(const std::vector<Box>& monitors, size_t primary);

// The smallest box holding them all.
Box Bounds(const std::vector<Box>& monitors);

// Where a picture of this size is drawn for a monitor of this size (relative to the
// monitor's corner) for a position; it may reach outside the monitor (Fill, Span crop) or be
// smaller (Fit, Center). Tile draws it at its size from the corner, repeated.
Box PlaceInMonitor(PixelSize picture, PixelSize monitor, int position);

// Where a monitor's picture goes in a composed picture of the bounds' size. Spanned, the
// picture starts at the bounds' corner: one box. Tiled (Windows 7), tiles start at the
// primary monitor's corner (0, 0), and what lies left of or above it wraps round to the far
// side of the picture: the monitor's box, and its copies a picture's width or height on,
// those that reach into the picture (each is drawn clipped to the picture).
std::vector<Box> BoxesInComposite(const Box& monitor, const Box& bounds, bool tiled);

} // namespace glimro
