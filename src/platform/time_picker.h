#pragma once
// The common controls' date-time picker in time format, holding a time of day as minutes
// after midnight; its date is never used.
#include <windows.h>

namespace glimro {

// Shows the user's own short time, without seconds.
void UseShortTimeFormat(HWND picker);
void SetPickerMinutes(HWND picker, int minutes);
// The time shown, or fallback when the picker holds none.
int PickerMinutes(HWND picker, int fallback);

} // namespace glimro
