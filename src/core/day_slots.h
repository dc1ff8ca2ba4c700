#pragma once
// Which entry of a "Sync to Day" or "Sync to Sun" album shows at a moment, and from when to
// when: times are minutes after the local day's midnight, as the wall clock shows them.
#include "core/sun.h"

#include <vector>

namespace glimro {

struct Slot {
    int entry = 0;
    double start = 0; // before 0 when it began the day before
    double end = 1440; // after 1440 when it ends the next day
};

// Sync to Day: n equal slots from midnight, entry i from i x 24 h / n.
Slot DaySlot(int entries, double minute);

// Sync to Sun: the first ceil(n/2) entries spread from sunrise to sunset, the rest from
// sunset to the next sunrise, following the events across midnight whichever day they fall
// on; one entry shows always. A local day with no sunrise or sunset in it (north or south of
// the polar circles) spreads the day (night) entries over that whole day from midnight.
// events are the sun's around the moment in the same local minutes, from at least two days
// before to two days after; up_at_start is whether the sun is up before the first.
Slot SunSlot(int entries, double minute, const std::vector<SunEvent>& events, bool up_at_start);

// Two chosen times of the day: entry 0 from `first` to `second` (minutes after midnight),
// entry 1 from `second` to `first`, either across midnight. The same time twice is entry 0
// all day.
Slot TwoTimesSlot(int first, int second, double minute);

} // namespace glimro
