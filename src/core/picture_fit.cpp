#include "core/picture_fit.h"

namespace glimro {
namespace {

bool IsLandscape(uint64_t width, uint64_t height) { return width >= height; }
bool IsPortrait(uint64_t width, uint64_t height) { return height >= width; }

} // namespace

bool FitsScreen(const FitRule& rule, uint64_t width, uint64_t height, uint64_t screen_width,
                uint64_t screen_height) {
    // A header may claim any size: sides past 2^40 count as 2^40, so no product overflows.
    constexpr uint64_t kLargest = uint64_t{1} << 40;
    width = width > kLargest ? kLargest : width;
    height = height > kLargest ? kLargest : height;
    screen_width = screen_width > kLargest ? kLargest : screen_width;
    screen_height = screen_height > kLargest ? kLargest : screen_height;
    if (rule.smallest_share > 0) {
        const uint64_t share = static_cast<uint64_t>(rule.smallest_share > 100 ? 100 : rule.smallest_share);
        if (width * 100 < screen_width * share || height * 100 < screen_height * share)
            return false;
    }
    switch (rule.shape) {
    case kLandscapeOnly:
        return IsLandscape(width, height);
    case kPortraitOnly:
        return IsPortrait(width, height);
    case kMatchMonitor:
        return IsLandscape(screen_width, screen_height) ? IsLandscape(width, height)
                                                         : IsPortrait(width, height);
    default:
        return true;
    }
}

} // namespace glimro
