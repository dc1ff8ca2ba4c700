#pragma once
// A picture for each monitor: through the desktop wallpaper object where the system has one,
// else composed into one picture of the whole virtual screen and set spanning (or, on
// Windows 7, tiled from the primary monitor's corner).
#include "core/monitor_layout.h"
#include "log/activity_log.h"

#include <string>
#include <vector>

namespace glimro {

// The monitors in the order they take an album's pictures: the primary first, then left to
// right, top to bottom.
std::vector<Box> OrderedMonitors();

// The staged picture of the k-th monitor, and the composed picture, beside the executable.
std::wstring MonitorPicturePath(size_t k);
std::wstring CompositePath();

// Sets pictures[k % size] on the k-th ordered monitor, each placed for the position. True
// when the wallpaper changed; failures go to the log. What the change means for the album is
// the pass's to record.
bool SetMonitorWallpapers(const std::vector<std::wstring>& pictures, int position, LogStream& log);

// The composed picture for the layout (exposed for the bench and tests): false when it
// could not be made.
bool ComposeMonitorPictures(const std::vector<std::wstring>& pictures,
                            const std::vector<Box>& monitors, int position, bool tiled,
                            const std::wstring& output);

} // namespace glimro
