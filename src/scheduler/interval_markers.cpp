#include "scheduler/interval_markers.h"

#include "core/week.h"
#include "store/product_key.h"

namespace glimro {
namespace {

void WriteMarker(const wchar_t* name, DWORD value) {
    WriteProductNumber(name, value);
}

} // namespace

WORD ReadIntervalMarker(const wchar_t* name) {
    return LOWORD(ReadProductNumber(name, 0));
}

void WriteIntervalMarkers(const SYSTEMTIME& t) {
    WriteMarker(kLastMinute, t.wMinute);
    WriteMarker(kLastHour, t.wHour);
    WriteMarker(kLastDay, t.wDay);
    WriteMarker(kLastWeek, static_cast<DWORD>(WeekOfYear(t.wYear, t.wMonth, t.wDay)));
    WriteMarker(kLastMonth, t.wMonth);
}

} // namespace glimro
