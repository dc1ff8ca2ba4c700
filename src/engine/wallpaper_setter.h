#pragma once
#include "log/activity_log.h"

#include <string>

namespace glimro {

// Makes a local image file the desktop wallpaper and, when that worked, records the moment
// in the interval markers. The outcome goes to the log only.
void SetDesktopWallpaper(const std::wstring& path, LogStream& log);

} // namespace glimro
