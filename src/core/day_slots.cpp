#include "core/day_slots.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace glimro {
namespace {

constexpr double kDay = 1440;

// Entry first + i of count, for the i-th equal part of [start, end) that minute falls in.
Slot Spread(int first, int count, double start, double end, double minute) {
    const double length = end - start;
    int i = length > 0 ? static_cast<int>(std::floor((minute - start) * count / length)) : 0;
    i = std::clamp(i, 0, count - 1);
    return {first + i, start + length * i / count, start + length * (i + 1) / count};
}

struct Span {
    double start, end;
    bool day;
    bool polar; // a whole day the sun does not set or rise: never joined to another
};

} // namespace

Slot DaySlot(int entries, double minute) {
    if (entries <= 1)
        return {0, 0, kDay};
    return Spread(0, entries, 0, kDay, std::clamp(minute, 0.0, kDay));
}

Slot SunSlot(int entries, double minute, const LocalSun (&days)[3]) {
    if (entries <= 1)
        return {0, 0, kDay};
    const int day_entries = (entries + 1) / 2, night_entries = entries - day_entries;
    // Light and dark over the three days, in order.
    std::vector<Span> spans;
    for (int k = 0; k < 3; ++k) {
        const double midnight = (k - 1) * kDay;
        const LocalSun& sun = days[k];
        if (sun.kind != SunDay::RisesAndSets) {
            spans.push_back({midnight, midnight + kDay, sun.kind == SunDay::AlwaysUp, true});
            continue;
        }
        const double rise = std::clamp(sun.sunrise, 0.0, kDay);
        const double set = std::clamp(sun.sunset, rise, kDay);
        for (const Span& span : {Span{midnight, midnight + rise, false, false},
                                 Span{midnight + rise, midnight + set, true, false},
                                 Span{midnight + set, midnight + kDay, false, false}}) {
            if (span.end <= span.start)
                continue;
            // A night runs on past midnight into the next day's morning.
            if (!spans.empty() && !spans.back().polar && !spans.back().day && !span.day &&
                spans.back().end == span.start)
                spans.back().end = span.end;
            else
                spans.push_back(span);
        }
    }
    for (const Span& span : spans) {
        if (minute < span.start || minute >= span.end)
            continue;
        return span.day ? Spread(0, day_entries, span.start, span.end, minute)
                        : Spread(day_entries, night_entries, span.start, span.end, minute);
    }
    return {0, 0, kDay};
}

} // namespace glimro
