#pragma once
#include "core/frequency.h"
#include "log/activity_log.h"

#include <string>

namespace glimro {

// Lets go of what a pass loaded and no longer uses: COM servers such as the imaging component,
// and WinINet (GDI+ goes with its last user). A pass runs at most once a minute, usually once a
// day: the resident keeps none of them in between.
void ReleasePassLibraries();

// Makes a local image file the desktop wallpaper, placed as the position says. The outcome
// goes to the log; true when the wallpaper changed. What the change means for the album and
// the schedule is the pass's to record.
bool SetDesktopWallpaper(const std::wstring& path, LogStream& log, int position = kCenter);

// The position the system can show: Span needs Windows 8; on Windows 7 it is Fill.
int SupportedPosition(int position);
// The style the system is given for a position: Fill for "Fill (keep the subject)", whose
// staged picture is the crop already.
int DesktopStyle(int position);

} // namespace glimro
