#pragma once
// The clocks the scheduler and the log read; tests set them.
#include "platform/seam.h"

#include <windows.h>

#include <ctime>

namespace glimro {

extern Seam<SYSTEMTIME()> LocalTime;     // GetLocalTime
extern Seam<std::time_t()> CalendarTime; // the C runtime's time()
// The time zone's rules for turning UTC into local time: null for the system's own
// (SystemTimeToTzSpecificLocalTime); tests give a zone's rules.
extern Seam<const TIME_ZONE_INFORMATION*()> TimeZoneRules;

} // namespace glimro
