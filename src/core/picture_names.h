#pragma once
// The names of the pictures an album can hold.
#include <string_view>

namespace glimro {

// By extension, compared without regard to (ASCII) letter case.
inline constexpr const wchar_t* kImageExtensions[] = {L".bmp", L".jpg", L".jpeg",
                                                      L".jpe", L".gif", L".png"};

// Whether the last component of the path ends in one of those extensions.
bool HasImageExtension(std::wstring_view path);

// A path that names the same file from any folder: "X:\..." or "\\server\share\...".
bool IsFullPath(std::wstring_view path);

} // namespace glimro
