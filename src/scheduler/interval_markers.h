#pragma once
// The scheduler's memory of the last successful wallpaper change: five numbers in the
// product key, shared by all albums. No year is stored.
#include <windows.h>

namespace glimro {

inline constexpr wchar_t kLastMinute[] = L"LastMinute";
inline constexpr wchar_t kLastHour[] = L"LastHour";
inline constexpr wchar_t kLastDay[] = L"LastDay";
inline constexpr wchar_t kLastWeek[] = L"LastWeek";
inline constexpr wchar_t kLastMonth[] = L"LastMonth";

// The low 16 bits of the marker; a missing key or value reads as 0. Reading never writes.
WORD ReadIntervalMarker(const wchar_t* name);
// All five at once, as the check compares them.
struct IntervalMarkers;
IntervalMarkers ReadIntervalMarkers();

// Records t as the moment of the last change; a marker that cannot be written is skipped.
void WriteIntervalMarkers(const SYSTEMTIME& t);

} // namespace glimro
