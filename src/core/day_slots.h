#pragma once
// Which entry of a "Sync to Day" or "Sync to Sun" album shows at a moment, and from when to
// when: times are minutes after the local day's midnight, as the wall clock shows them.
#include "core/sun.h"

namespace glimro {

struct Slot {
    int entry = 0;
    double start = 0; // before 0 when it began the day before
    double end = 1440; // after 1440 when it ends the next day
};

// Sync to Day: n equal slots from midnight, entry i from i x 24 h / n.
Slot DaySlot(int entries, double minute);

// A day's sun in local minutes after that day's midnight.
struct LocalSun {
    SunDay::Kind kind = SunDay::RisesAndSets;
    double sunrise = 360;
    double sunset = 1080;
};

// Sync to Sun: the first ceil(n/2) entries spread from sunrise to sunset, the rest from
// sunset to the next sunrise; one entry shows always. On a day the sun does not set (or does
// not rise), the day (night) entries spread over that whole day from midnight. days holds
// yesterday, today and tomorrow.
Slot SunSlot(int entries, double minute, const LocalSun (&days)[3]);

} // namespace glimro
