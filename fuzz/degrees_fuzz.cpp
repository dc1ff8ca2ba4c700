// Any text as a typed or stored coordinate: the reader takes only decimal degrees within the
// limit, and the sun's times for what it takes are numbers.
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
    }
    return 0;
}
