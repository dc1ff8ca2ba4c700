#pragma once
// The clocks the scheduler and the log read; tests set them.
#include "platform/seam.h"

#include <windows.h>

#include <ctime>

namespace glimro {

extern Seam<SYSTEMTIME()> LocalTime;     // GetLocalTime
extern Seam<std::time_t()> CalendarTime; // the C runtime's time()

} // namespace glimro
