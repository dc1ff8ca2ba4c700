#pragma once
// Where the executable lives: the log, the local wallpaper file and the album sets sit
// beside it. Tests point it at a temporary folder.
#include "platform/seam.h"

#include <string>

namespace glimro {

// The full path of the running executable, empty when it cannot be had.
extern Seam<std::wstring()> ModulePath;

// The module path cut after its last backslash (kept); empty when there is none.
std::wstring FolderOf(const std::wstring& path);
std::wstring ExecutableFolder();

} // namespace glimro
