#pragma once
#include "core/frequency.h"
#include "log/activity_log.h"

#include <string>

namespace glimro {

// Makes a local image file the desktop wallpaper, placed as the position says, and, when
// that worked, records the moment in the interval markers. The outcome goes to the log;
// true when the wallpaper changed.
// Lets go of what a pass loaded and no longer uses: COM servers such as the imaging component,
// and WinINet (GDI+ goes with its last user). A pass runs at most once a minute, usually once a
// day: the resident keeps none of them in between.
void ReleasePassLibraries();

bool SetDesktopWallpaper(const std::wstring& path, LogStream& log, int position = kCenter);

// The same for the pictures already shown, set again (a new screen layout): the interval
// markers stay as they are.
bool ReapplyDesktopWallpaper(const std::wstring& path, LogStream& log, int position);

// The position the system can show: Span needs Windows 8; on Windows 7 it is Fill.
int SupportedPosition(int position);
// The style the system is given for a position: Fill for "Fill (keep the subject)", whose
// staged picture is the crop already.
int DesktopStyle(int position);

} // namespace glimro
