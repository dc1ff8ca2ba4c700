#pragma once
// A picture for each monitor: through the desktop wallpaper object where the system has one,
// else composed into one picture of the whole virtual screen and set spanning (or, on
// Windows 7, tiled from the primary monitor's corner). A picture with a caption is composed
// at its monitor's size, so that the caption lies where the monitor shows it.
#include "core/monitor_layout.h"
#include "engine/caption.h"
#include "log/activity_log.h"

#include <string>
#include <vector>

namespace glimro {

// The monitors in the order they take an album's pictures: the primary first, then left to
// right, top to bottom; each with its work area and scale, in virtual-screen pixels.
std::vector<CaptionArea> OrderedScreens();
std::vector<Box> OrderedMonitors();

// The staged picture of the k-th monitor, the composed picture, and the picture of one
// screen with its caption, beside the executable.
std::wstring MonitorPicturePath(size_t k);
std::wstring CompositePath();
std::wstring CaptionedPath();

// Sets pictures[k % size] on the k-th ordered monitor, each placed for the position and
// carrying captions[k % size] when there are captions. True when the wallpaper changed;
// failures go to the log. What the change means for the album is the pass's to record.
bool SetMonitorWallpapers(const std::vector<std::wstring>& pictures, int position, LogStream& log,
                          const std::vector<Caption>& captions = {});

// One picture with its caption on every monitor: a picture of each monitor's own where there
// are several (unless it spans them), else one of the screen.
bool SetCaptionedWallpaper(const std::wstring& picture, const Caption& caption, int position, LogStream& log);

// The composed picture for the layout (exposed for the bench and tests): false when it
// could not be made. With captions, captions[i % size] is drawn into areas[i] (virtual-screen
// pixels, as the monitors).
bool ComposeMonitorPictures(const std::vector<std::wstring>& pictures,
                            const std::vector<Box>& monitors, int position, bool tiled,
                            const std::wstring& output, const std::vector<Caption>& captions = {},
                            const std::vector<CaptionArea>& areas = {});

} // namespace glimro
