#include "core/monitor_layout.h"

#include "core/frequency.h"

#include <algorithm>
#include <numeric>

namespace glimro {

std::vector<size_t> MonitorOrder(const std::vector<Box>& monitors, size_t primary) {
    std::vector<size_t> order(monitors.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if ((a == primary) != (b == primary))
            return a == primary;
        const Box& x = monitors[a];
        const Box& y = monitors[b];
        return x.left != y.left ? x.left < y.left : x.top < y.top;
    });
    return order;
}

Box Bounds(const std::vector<Box>& monitors) {
    if (monitors.empty())
        return {};
    Box bounds = monitors.front();
    for (const Box& box : monitors) {
        bounds.left = std::min(bounds.left, box.left);
        bounds.top = std::min(bounds.top, box.top);
        bounds.right = std::max(bounds.right, box.right);
        bounds.bottom = std::max(bounds.bottom, box.bottom);
    }
    return bounds;
}

Box PlaceInMonitor(PixelSize picture, PixelSize monitor, int position) {
    if (picture.width <= 0 || picture.height <= 0)
        return {};
    const auto centred = [&](long long width, long long height) {
        const int w = static_cast<int>(width), h = static_cast<int>(height);
        const int left = (monitor.width - w) / 2, top = (monitor.height - h) / 2;
        return Box{left, top, left + w, top + h};
    };
    // Scaled by monitor/picture on the side that decides, the other side in proportion.
    const long long pw = picture.width, ph = picture.height;
    const long long mw = monitor.width, mh = monitor.height;
    const bool wider = pw * mh > ph * mw; // the picture is wider than the monitor
    switch (position) {
    case kStretch:
        return {0, 0, monitor.width, monitor.height};
    case kFit:
        return wider ? centred(mw, ph * mw / pw) : centred(pw * mh / ph, mh);
    case kFill:
    case kSpan:
        return wider ? centred(pw * mh / ph, mh) : centred(mw, ph * mw / pw);
    case kTile:
        return {0, 0, picture.width, picture.height};
    default: // Center
        return centred(pw, ph);
    }
}

std::vector<Box> BoxesInComposite(const Box& monitor, const Box& bounds, bool tiled) {
    if (!tiled)
        return {{monitor.left - bounds.left, monitor.top - bounds.top, monitor.right - bounds.left,
                 monitor.bottom - bounds.top}};
    // Whatever lies left of or above the primary's corner is drawn again a picture's width or
    // height on, where the tiles repeat it.
    std::vector<Box> boxes;
    for (const int dx : {0, bounds.Width()}) {
        for (const int dy : {0, bounds.Height()}) {
            const Box box{monitor.left + dx, monitor.top + dy, monitor.right + dx,
                          monitor.bottom + dy};
            if (box.left < bounds.Width() && box.top < bounds.Height() && box.right > 0 &&
                box.bottom > 0)
                boxes.push_back(box);
        }
    }
    return boxes;
}

} // namespace glimro
