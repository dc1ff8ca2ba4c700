// Any text as a typed or stored coordinate: the reader takes only decimal degrees within the
// limit, and the sun's times and events for what it takes are numbers in order.
#include "core/sun.h"
#include "fuzz_text.h"

#include <cmath>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text = FuzzText(data, size);
    double degrees = 0;
    if (glimro::ParseDegrees(text, 90, &degrees)) {
        if (!(degrees >= -90 && degrees <= 90))
            __builtin_trap();
        const glimro::SunDay sun = glimro::SunTimes(degrees, degrees * 2, 2027, 6, 21);
        if (sun.kind == glimro::SunDay::RisesAndSets &&
            !(std::isfinite(sun.sunrise) && std::isfinite(sun.sunset)))
            __builtin_trap();
        // A week of events around a moment: in order, alternating, on the timeline asked.
        const double from = 29'000'000.0; // minutes after 1970: mid-2025
        const glimro::SunEvents week =
            glimro::SunEventsBetween(degrees, degrees * 2, from, from + 7 * 1440);
        bool up = week.up_at_start;
        double at = from;
        for (const glimro::SunEvent& event : week.events) {
            if (!(event.at >= at && event.at <= from + 7 * 1440) || event.rise == up)
                __builtin_trap();
            at = event.at;
            up = event.rise;
        }
    }
    return 0;
}
