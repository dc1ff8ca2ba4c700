#pragma once

namespace glimro {

// ISO 8601 week number (1-53) of a Gregorian date; weeks start on Monday and week 1 holds
// the year's first Thursday. Only the number is returned, not the week-based year.
int WeekOfYear(int year, int month, int day);

} // namespace glimro
