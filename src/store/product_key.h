#pragma once
// Where the program keeps its data, under HKEY_CURRENT_USER.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glimro {

inline constexpr wchar_t kProductKey[] = L"SOFTWARE\\Fenwaldstone\\Glimro";
inline constexpr wchar_t kAlbumListKey[] = L"SOFTWARE\\Fenwaldstone\\Glimro\\AlbumList";

// Read, set-value and create-subkey access, as every reader of the product key opens it.
inline constexpr REGSAM kProductKeyAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

// The user's settings of the resident instance: 1 while the changes on schedule are paused;
// 0 when the notification-area icon is not wanted (it is shown when the value is missing).
inline constexpr wchar_t kPausedValue[] = L"Paused";
inline constexpr wchar_t kTrayIconValue[] = L"Tray Icon";
// The global hotkeys, in the hotkey control's form: the low byte the virtual key, the high
// byte its HOTKEYF_ flags; 0 for none. Missing: the defaults, Ctrl+Alt+Shift with Right,
// Left and P, which no Windows shortcut uses.
inline constexpr wchar_t kHotkeyNextValue[] = L"HotkeyNext";
inline constexpr wchar_t kHotkeyPreviousValue[] = L"HotkeyPrevious";
inline constexpr wchar_t kHotkeyPauseValue[] = L"HotkeyPause";
// Don't Show This Picture Again: none unless the user sets one.
inline constexpr wchar_t kHotkeyNeverAgainValue[] = L"HotkeyNeverAgain";
inline constexpr DWORD kDefaultHotkeyNext = 0x0F27;     // Ctrl+Alt+Shift+Right (an extended key)
inline constexpr DWORD kDefaultHotkeyPrevious = 0x0F25; // Ctrl+Alt+Shift+Left
inline constexpr DWORD kDefaultHotkeyPause = 0x0750;    // Ctrl+Alt+Shift+P
// 1 while changes wait for a full-screen program or a presentation (missing: 1), and on
// battery power (missing: 0).
inline constexpr wchar_t kHoldFullScreenValue[] = L"HoldFullScreen";
inline constexpr wchar_t kHoldOnBatteryValue[] = L"HoldOnBattery";

// The caption on the desktop, for every album whose own "Caption" is as in Options: 1 when
// pictures carry one (missing: 0); its corner (0 bottom right, also when missing, 1 bottom
// left, 2 top right, 3 top left); 1 to add the day a photo was taken, and the album's name.
inline constexpr wchar_t kCaptionValue[] = L"Caption";
inline constexpr wchar_t kCaptionCornerValue[] = L"CaptionCorner";
inline constexpr wchar_t kCaptionDateValue[] = L"CaptionDate";
inline constexpr wchar_t kCaptionAlbumValue[] = L"CaptionAlbum";

// The language of the windows, a tag such as "de-DE"; missing or empty: as Windows.
inline constexpr wchar_t kLanguageValue[] = L"Language";

// The crash report the user has been told of, by its file name (platform/crash_report.h).
inline constexpr wchar_t kCrashSeenValue[] = L"Crash Seen";

// The one door to the product key's own values. Reads open the key for reading (a reader
// never creates it) and answer nothing for a value that is missing or of another type;
// writes create the key when needed and answer the system's status.
std::optional<DWORD> ReadProductDword(const wchar_t* name);
std::optional<std::wstring> ReadProductText(const wchar_t* name);
std::vector<std::wstring> ReadProductStrings(const wchar_t* name, DWORD max_bytes);
// A number, or the fallback when it is missing or unreadable.
DWORD ReadProductNumber(const wchar_t* name, DWORD fallback);
// Several numbers with one opening of the key (each 0 when missing), for a check that runs
// every few seconds.
void ReadProductNumbers(const wchar_t* const* names, DWORD* values, size_t count);
bool HasProductValue(const wchar_t* name);
LSTATUS WriteProductNumber(const wchar_t* name, DWORD value);
LSTATUS WriteProductText(const wchar_t* name, std::wstring_view text);
LSTATUS WriteProductStrings(const wchar_t* name, const std::vector<std::wstring>& strings);
// Exactly these bytes of this type.
LSTATUS WriteProductRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes);
// ERROR_SUCCESS also when there was no such value.
LSTATUS DeleteProductValue(const wchar_t* name);

} // namespace glimro
