#pragma once
// Sunrise and sunset for a place and a day, in the almanac's convention (the sun's upper limb
// on a horizon 34' low), from the low-precision solar formulas of the astronomical almanac:
// within a minute or two outside the polar circles. Pure arithmetic; the time zone is the
// caller's.
#include <string_view>
#include <vector>

namespace glimro {

struct SunDay {
    enum Kind { RisesAndSets, AlwaysUp, AlwaysDown } kind = RisesAndSets;
    // Minutes after 00:00 UTC of the date asked for; either may fall on the day before or
    // after (east of Greenwich, a morning's sunrise is the previous evening in UTC).
    double sunrise = 0;
    double sunset = 0;
};

// The date is the place's own (its day at mean solar time); latitude north and longitude
// east positive, in degrees.
SunDay SunTimes(double latitude, double longitude, int year, int month, int day);

// A sunrise or a sunset, at a moment in minutes on the caller's timeline.
struct SunEvent {
    double at = 0;
    bool rise = false;
};

// The sunrises and sunsets from `from` to `to`, minutes after 1970-01-01 00:00 UTC, in order
// and each the opposite of the one before, with whether the sun is up at `from`. Each event
// is worked out for the solar day it belongs to, so no time zone enters: the caller puts
// them on its clock.
struct SunEvents {
    std::vector<SunEvent> events;
    bool up_at_start = false;
};
SunEvents SunEventsBetween(double latitude, double longitude, double from, double to);

// A coordinate as the user types it: decimal degrees with "." as the decimal sign whatever
// the locale, an optional sign, blanks around; at most limit either way. False for anything
// else (no exponent, no comma, no letters).
bool ParseDegrees(std::wstring_view text, double limit, double* degrees);

} // namespace glimro
