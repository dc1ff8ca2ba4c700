#pragma once
// Where the program keeps its data, under HKEY_CURRENT_USER.
#include <windows.h>

namespace glimro {

inline constexpr wchar_t kProductKey[] = L"SOFTWARE\\Fenwaldstone\\Glimro";
inline constexpr wchar_t kAlbumListKey[] = L"SOFTWARE\\Fenwaldstone\\Glimro\\AlbumList";

// Read, set-value and create-subkey access, as every reader of the product key opens it.
inline constexpr REGSAM kProductKeyAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

// The user's settings of the resident instance: 1 while the changes on schedule are paused;
// 0 when the notification-area icon is not wanted (it is shown when the value is missing).
inline constexpr wchar_t kPausedValue[] = L"Paused";
inline constexpr wchar_t kTrayIconValue[] = L"Tray Icon";

// A number of the product key; the fallback when it is missing or unreadable.
DWORD ReadProductNumber(const wchar_t* name, DWORD fallback);
LSTATUS WriteProductNumber(const wchar_t* name, DWORD value);

} // namespace glimro
