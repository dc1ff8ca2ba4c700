#pragma once
// Where the program keeps its data, under HKEY_CURRENT_USER.
#include <windows.h>

namespace glimro {

inline constexpr wchar_t kProductKey[] = L"SOFTWARE\\Fenwaldstone\\Glimro";
inline constexpr wchar_t kAlbumListKey[] = L"SOFTWARE\\Fenwaldstone\\Glimro\\AlbumList";

// Read, set-value and create-subkey access, as every reader of the product key opens it.
inline constexpr REGSAM kProductKeyAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

} // namespace glimro
