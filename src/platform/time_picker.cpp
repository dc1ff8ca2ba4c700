#include "platform/time_picker.h"

#include <commctrl.h>

namespace glimro {

void UseShortTimeFormat(HWND picker) {
    wchar_t format[80] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTTIME, format, 80))
        ::SendMessageW(picker, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(format));
}

void SetPickerMinutes(HWND picker, int minutes) {
    SYSTEMTIME time = {2001, 1, 1, 1, static_cast<WORD>(minutes / 60),
                       static_cast<WORD>(minutes % 60), 0, 0};
    ::SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

int PickerMinutes(HWND picker, int fallback) {
    SYSTEMTIME time = {};
    if (::SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) != GDT_VALID)
        return fallback;
    return time.wHour * 60 + time.wMinute;
}

} // namespace glimro
