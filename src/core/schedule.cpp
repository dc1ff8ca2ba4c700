#include "core/schedule.h"

#include "core/frequency.h"

#include <algorithm>

namespace glimro {
namespace {

long long FloorDiv(long long a, long long b) {
    const long long q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

long long RhythmOrigin() {
    return DaysFromCivil(kRhythmYear, kRhythmMonth, kRhythmDay) * kMinutesInDay;
}

// The change time in month q of the grid (months since the origin's January).
long long MonthlyChange(long long q, int day, int time) {
    const long long year = kRhythmYear + FloorDiv(q, 12);
    const int month = static_cast<int>(q - FloorDiv(q, 12) * 12) + 1;
    const int last = DaysInMonth(static_cast<int>(year), month);
    return DaysFromCivil(static_cast<int>(year), month, std::min(day, last)) * kMinutesInDay +
           time;
}

// A grid of fixed length from an origin: the latest point at or before `minutes`.
long long GridStart(long long origin, long long length, long long minutes) {
    return origin + FloorDiv(minutes - origin, length) * length;
}

// Minute and hour rhythms no longer than a day start afresh every midnight, from the chosen
// time's place in the interval: every 7 minutes is 00:00, 00:07 ... 23:55, then 00:00.
long long DailyGridStart(long long length, int offset, long long minutes) {
    const long long day = FloorDiv(minutes, kMinutesInDay);
    const long long within = minutes - day * kMinutesInDay;
    if (within >= offset)
        return day * kMinutesInDay + offset + (within - offset) / length * length;
    return (day - 1) * kMinutesInDay + offset + (kMinutesInDay - 1 - offset) / length * length;
}

long long DailyGridNext(long long length, int offset, long long start) {
    const long long day = FloorDiv(start, kMinutesInDay);
    const long long within = start - day * kMinutesInDay + length;
    return within < kMinutesInDay ? day * kMinutesInDay + within
                                  : (day + 1) * kMinutesInDay + offset;
}

long long UnitLength(const Rhythm& r) {
    switch (r.frequency) {
    case kEveryMinute:
        return r.every;
    case kEveryHour:
        return 60LL * r.every;
    case kEveryDay:
        return 1LL * kMinutesInDay * r.every;
    default: // weeks
        return 7LL * kMinutesInDay * r.every;
    }
}

// For the grids of fixed length: where the first point lies.
long long GridOrigin(const Rhythm& r) {
    return RhythmOrigin() + r.at;
}

} // namespace

long long MinutesFromCivil(const CivilTime& t) {
    return DaysFromCivil(t.year, t.month, t.day) * kMinutesInDay + t.hour * 60 + t.minute;
}

CivilTime CivilFromMinutes(long long minutes) {
    const long long days = FloorDiv(minutes, kMinutesInDay);
    CivilTime t = CivilFromDays(days);
    const long long rest = minutes - days * kMinutesInDay;
    t.hour = static_cast<int>(rest / 60);
    t.minute = static_cast<int>(rest % 60);
    return t;
}

int MaxEvery(int frequency) {
    switch (frequency) {
    case kEveryMinute:
        return kMinutesInDay;
    case kEveryHour:
        return 168;
    case kEveryDay:
        return 365;
    case kEveryWeek:
    case kEveryMonth:
        return 12;
    default:
        return 0;
    }
}

Rhythm Normalized(const Rhythm& rhythm) {
    Rhythm r = rhythm;
    const int most = MaxEvery(r.frequency);
    if (most == 0)
        return Rhythm{r.frequency, 1, 0};
    r.every = std::clamp(r.every, 1, most);
    const int at = std::max(r.at, 0);
    const int time = at % kMinutesInDay;
    const int day = at / kMinutesInDay;
    const int days = r.frequency == kEveryWeek ? 7 : r.frequency == kEveryMonth ? 31 : 1;
    r.at = std::min(day, days - 1) * kMinutesInDay + time;
    return r;
}

bool HasOwnRhythm(const Rhythm& rhythm) {
    const Rhythm r = Normalized(rhythm);
    return MaxEvery(r.frequency) > 0 && (r.every != 1 || r.at != 0);
}

long long IntervalStartMinutes(const Rhythm& rhythm, const CivilTime& t) {
    const Rhythm r = Normalized(rhythm);
    const long long now = MinutesFromCivil(t);
    if (r.frequency == kEveryMonth) {
        const long long month = (t.year - kRhythmYear) * 12LL + (t.month - 1);
        long long q = FloorDiv(month, r.every) * r.every;
        const int day = r.at / kMinutesInDay + 1, time = r.at % kMinutesInDay;
        if (MonthlyChange(q, day, time) > now)
            q -= r.every;
        return MonthlyChange(q, day, time);
    }
    const long long length = UnitLength(r);
    if (length <= kMinutesInDay)
        return DailyGridStart(length, static_cast<int>(r.at % length), now);
    return GridStart(GridOrigin(r), length, now);
}

CivilTime NextIntervalStart(const Rhythm& rhythm, const CivilTime& t) {
    const Rhythm r = Normalized(rhythm);
    const long long start = IntervalStartMinutes(r, t);
    if (r.frequency == kEveryMonth) {
        const CivilTime begun = CivilFromMinutes(start);
        const long long q = (begun.year - kRhythmYear) * 12LL + (begun.month - 1) + r.every;
        return CivilFromMinutes(
            MonthlyChange(q, r.at / kMinutesInDay + 1, r.at % kMinutesInDay));
    }
    const long long length = UnitLength(r);
    if (length <= kMinutesInDay)
        return CivilFromMinutes(DailyGridNext(length, static_cast<int>(r.at % length), start));
    return CivilFromMinutes(start + length);
}

bool IsRhythmDue(const Rhythm& rhythm, const CivilTime& last, const CivilTime& t) {
    return IntervalStartMinutes(rhythm, last) != IntervalStartMinutes(rhythm, t);
}

} // namespace glimro
