#pragma once
// The autostart entry: the Run value that starts the resident instance when the user signs in.
// The installer's switches and the Options window keep it the same way.
#include <windows.h>

#include <string>

namespace glimro {

inline constexpr wchar_t kAutostartKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kAutostartValue[] = L"Glimro";

// What the Run value holds: the quoted module path and " -s"; empty without a module path.
std::wstring AutostartCommand(const std::wstring& module_path);
// Writes the Run value (making the Run key if it is missing); false when it could not be
// written or the module path cannot be had.
bool AddAutostart();
// Removes the Run value; false when it is there and could not be removed.
bool RemoveAutostart();
// Whether the Run value is there, whatever it holds.
bool HasAutostart();

} // namespace glimro
