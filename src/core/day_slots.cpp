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

} // namespace

Slot DaySlot(int entries, double minute) {
    if (entries <= 1)
        return {0, 0, kDay};
    return Spread(0, entries, 0, kDay, std::clamp(minute, 0.0, kDay));
}

Slot TwoTimesSlot(int first, int second, double minute) {
    const double a = std::clamp(first, 0, 1439), b = std::clamp(second, 0, 1439);
    const double m = std::clamp(minute, 0.0, kDay);
    if (a == b)
        return {0, 0, kDay};
    // The entry whose time came last at or before the minute, a day earlier when neither did.
    const bool first_began = a <= m && (a > b || m < b);
    const bool second_began = b <= m && (b > a || m < a);
    if (first_began)
        return {0, a, b > a ? b : b + kDay};
    if (second_began)
        return {1, b, a > b ? a : a + kDay};
    // Before both today: the later of the two began yesterday.
    return a > b ? Slot{0, a - kDay, b} : Slot{1, b - kDay, a};
}

Slot SunSlot(int entries, double minute, const std::vector<SunEvent>& events, bool up_at_start) {
    if (entries <= 1)
        return {0, 0, kDay};
    const int day_entries = (entries + 1) / 2, night_entries = entries - day_entries;
    const auto spread = [&](bool up, double start, double end) {
        return up ? Spread(0, day_entries, start, end, minute)
                  : Spread(day_entries, night_entries, start, end, minute);
    };
    const auto polar = [&events](double midnight) {
        return std::none_of(events.begin(), events.end(), [midnight](const SunEvent& e) {
            return e.at >= midnight && e.at < midnight + kDay;
        });
    };
    // The events either side of the moment.
    const auto next = std::upper_bound(events.begin(), events.end(), minute,
                                       [](double m, const SunEvent& e) { return m < e.at; });
    const bool has_previous = next != events.begin();
    const bool up = has_previous ? std::prev(next)->rise : up_at_start;
    const double midnight = std::floor(minute / kDay) * kDay;
    if (polar(midnight))
        return spread(up, midnight, midnight + kDay);
    // A light or a dark ends at the event, or at the midnight where a polar day begins; each
    // walk stops at the first day holding an event, so it looks back or ahead a day at most
    // beyond the events.
    double start = has_previous ? std::prev(next)->at : midnight;
    for (double day = midnight - kDay; day + kDay > start; day -= kDay) {
        if (polar(day)) {
            start = day + kDay;
            break;
        }
    }
    double end = next != events.end() ? next->at : midnight + kDay;
    for (double day = midnight + kDay; day < end; day += kDay) {
        if (polar(day)) {
            end = day;
            break;
        }
    }
    return spread(up, start, end);
}

} // namespace glimro
