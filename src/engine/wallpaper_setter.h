#pragma once
#include "log/activity_log.h"

#include <string>

namespace glimro {

// Makes a local image file the desktop wallpaper and, when that worked, records the moment
// in the interval markers. The outcome goes to the log; true when the wallpaper changed.
bool SetDesktopWallpaper(const std::wstring& path, LogStream& log);

} // namespace glimro
