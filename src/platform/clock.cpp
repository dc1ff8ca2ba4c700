#include "platform/clock.h"

namespace glimro {

Seam<SYSTEMTIME()> LocalTime([] {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return now;
});

Seam<std::time_t()> CalendarTime([] { return std::time(nullptr); });

Seam<const TIME_ZONE_INFORMATION*()> TimeZoneRules(
    []() -> const TIME_ZONE_INFORMATION* { return nullptr; });

} // namespace glimro
