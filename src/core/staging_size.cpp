#include "core/staging_size.h"

#include "core/frequency.h"

#include <algorithm>

namespace glimro {
namespace {

constexpr double kShrinkFactor = 0.9090909090909091; // 1 / 1.1

PixelSize Shrink(PixelSize size) {
    return {static_cast<int>(size.width * kShrinkFactor),
            static_cast<int>(size.height * kShrinkFactor)};
}

bool Fits(PixelSize size, PixelSize screen) {
    return size.width <= screen.width && size.height <= screen.height;
}

bool Covers(PixelSize size, PixelSize screen) {
    return size.width >= screen.width && size.height >= screen.height;
}

} // namespace

PixelSize ShrunkToFit(PixelSize picture, PixelSize screen) {
    if (Fits(picture, screen))
        return picture;
    PixelSize size = Shrink(picture);
    while (!Fits(size, screen) && size.width > 0 && size.height > 0)
        size = Shrink(size);
    return size;
}

PixelSize StagedSize(PixelSize picture, PixelSize screen, int position) {
    switch (position) {
    case kTile:
        return picture;
    case kStretch:
        return {std::min(picture.width, screen.width), std::min(picture.height, screen.height)};
    case kFill:
    case kFillSubject:
    case kSpan: {
        PixelSize size = picture;
        for (PixelSize next = Shrink(size); Covers(next, screen) && next.width > 0;
             next = Shrink(next))
            size = next;
        return size;
    }
    default:
        return ShrunkToFit(picture, screen);
    }
}

} // namespace glimro
