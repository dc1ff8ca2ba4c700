#include "scheduler/interval_markers.h"

#include "platform/reg_key.h"
#include "core/week.h"
#include "store/product_key.h"

namespace glimro {
namespace {

void WriteMarker(const wchar_t* name, DWORD value) {
    RegKey key;
    if (key.Create(HKEY_CURRENT_USER, kProductKey, KEY_READ | KEY_WRITE) != ERROR_SUCCESS)
        return;
    key.SetDword(name, value);
}

} // namespace

WORD ReadIntervalMarker(const wchar_t* name) {
    DWORD value = 0;
    RegKey key;
    if (key.Create(HKEY_CURRENT_USER, kProductKey, kProductKeyAccess) == ERROR_SUCCESS)
        key.QueryDword(name, &value);
    return LOWORD(value);
}

void WriteIntervalMarkers(const SYSTEMTIME& t) {
    WriteMarker(kLastMinute, t.wMinute);
    WriteMarker(kLastHour, t.wHour);
    WriteMarker(kLastDay, t.wDay);
    WriteMarker(kLastWeek, static_cast<DWORD>(WeekOfYear(t.wYear, t.wMonth, t.wDay)));
    WriteMarker(kLastMonth, t.wMonth);
}

} // namespace glimro
