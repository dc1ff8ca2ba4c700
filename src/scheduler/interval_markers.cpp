#include "scheduler/interval_markers.h"

#include "core/interval.h"
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

IntervalMarkers ReadIntervalMarkers() {
    const wchar_t* const names[] = {kLastMinute, kLastHour, kLastDay, kLastWeek, kLastMonth};
    DWORD values[std::size(names)] = {};
    ReadProductNumbers(names, values, std::size(names));
    IntervalMarkers last;
    last.minute = LOWORD(values[0]);
    last.hour = LOWORD(values[1]);
    last.day = LOWORD(values[2]);
    last.week = LOWORD(values[3]);
    last.month = LOWORD(values[4]);
    return last;
}

void WriteIntervalMarkers(const SYSTEMTIME& t) {
    WriteMarker(kLastMinute, t.wMinute);
    WriteMarker(kLastHour, t.wHour);
    WriteMarker(kLastDay, t.wDay);
    WriteMarker(kLastWeek, static_cast<DWORD>(WeekOfYear(t.wYear, t.wMonth, t.wDay)));
    WriteMarker(kLastMonth, t.wMonth);
}

} // namespace glimro
