#pragma once
// The arithmetic of the schedule: whether a new interval of a frequency has begun since the
// last change, and when the next one begins. Local civil time, no time zones: the caller
// gives the clock's reading.
namespace glimro {

struct CivilTime {
    int year = 1601, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    int day_of_week = 0; // 0 Sunday ... 6 Saturday; filled in by what this file returns
};

// The last change as the product key remembers it: no year.
struct IntervalMarkers {
    int minute = 0, hour = 0, day = 0, week = 0, month = 0;
};

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
long long DaysFromCivil(int year, int month, int day);
CivilTime CivilFromDays(long long days);
// The days of a month (1-12) of a Gregorian year.
int DaysInMonth(int year, int month);

// Compares the markers of the frequency's unit (and then of the next larger unit) with t;
// a frequency outside 0-5 is never due.
bool IsIntervalDue(int frequency, const IntervalMarkers& last, const CivilTime& t);

// The start of the next interval of the frequency after t (a weekly album is due at the new
// week or the new month, whichever comes first); false for a frequency that is never due.
bool NextChangeTime(int frequency, const CivilTime& t, CivilTime* next);

} // namespace glimro
