#pragma once
// An album's own rhythm: "every N" of its frequency's unit, at a chosen time (and day), on
// a grid fixed to the clock and the calendar so that it never depends on when Glimro ran.
// Local civil time, as the rest of the schedule.
#include "core/interval.h"

namespace glimro {

// The grid of every N days or weeks (and of hours longer than a day) counts from this local
// date, a Monday; months count from its January.
inline constexpr int kRhythmYear = 2001, kRhythmMonth = 1, kRhythmDay = 1;

inline constexpr int kMinutesInDay = 24 * 60;

struct Rhythm {
    int frequency = 2; // kEveryMinute ... kEveryMonth; other frequencies have no rhythm
    int every = 1;     // the album's "Every"
    // The album's "At": minutes after midnight, plus the day times 1,440, the day counted
    // from Monday (weekly) or from the 1st (monthly; the last day for months too short).
    int at = 0;
};

// The largest N for the frequency's unit (1,440 minutes, 168 hours, 365 days, 12 weeks or
// months); 0 for a frequency without a unit.
int MaxEvery(int frequency);
// The rhythm as it is used: N within 1 and its limit, the time within the day, the day
// within the week or month (and none for the other units).
Rhythm Normalized(const Rhythm& rhythm);
// Whether the album changes otherwise than at the start of every unit (N is 1 and the time
// midnight): only such albums go by the rhythm, the others as they always have.
bool HasOwnRhythm(const Rhythm& rhythm);

// The start of the interval holding t, in minutes since 1970-01-01 00:00 local: the latest
// change time at or before t. Constant time.
long long IntervalStartMinutes(const Rhythm& rhythm, const CivilTime& t);
// The first change time after t.
CivilTime NextIntervalStart(const Rhythm& rhythm, const CivilTime& t);
// Whether t lies in another interval than the last change (later, or earlier when the clock
// went back): then the album is due, once, however many intervals were missed.
bool IsRhythmDue(const Rhythm& rhythm, const CivilTime& last, const CivilTime& t);

// A local time from minutes since 1970-01-01 00:00, and back (seconds dropped).
CivilTime CivilFromMinutes(long long minutes);
long long MinutesFromCivil(const CivilTime& t);

} // namespace glimro
