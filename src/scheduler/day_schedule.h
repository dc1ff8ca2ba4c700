#pragma once
// The albums that follow the day and the sun: which entry shows at a local moment, whether a
// change is due, and when the next one comes, with the user's place from the product key.
#include "core/day_slots.h"
#include "store/album.h"

#include <windows.h>

#include <string>

namespace glimro {

// Where the user is: "Latitude" and "Longitude" under the product key, REG_SZ decimal degrees
// with "." as the decimal sign, north and east positive.
inline constexpr wchar_t kLatitudeValue[] = L"Latitude";
inline constexpr wchar_t kLongitudeValue[] = L"Longitude";

struct Place {
    double latitude = 0;
    double longitude = 0;
};
// The stored place; false without one. A value that is no coordinate counts as missing, and
// is written in the log once.
bool ReadPlace(Place* place);

// Minutes after t's midnight, seconds and milliseconds as the fraction.
double MinuteOfDay(const SYSTEMTIME& t);

bool IsSlotFrequency(int frequency);

// The slot of a Sync to Day or Sync to Sun album with this many entries at local time t, in
// minutes after t's midnight. Without a place, the sun rises at 06:00 and sets at 18:00.
Slot SlotAt(int frequency, int entries, const SYSTEMTIME& t);

// Whether the album's last change was before the slot showing now began (or after now: the
// clock went back).
bool IsSlotDue(const CAlbum& album, const SYSTEMTIME& t);

// Milliseconds until the slot showing at t ends, a second after it, at most an hour.
DWORD SlotCheckDelay(const CAlbum& album, const SYSTEMTIME& t);

// The local time of the album's next change after t.
SYSTEMTIME NextSlotChange(const CAlbum& album, const SYSTEMTIME& t);

} // namespace glimro
