#include "platform/clock.h"

namespace glimro {

Seam<SYSTEMTIME()> LocalTime([] {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return now;
});

Seam<std::time_t()> CalendarTime([] { return std::time(nullptr); });

} // namespace glimro
