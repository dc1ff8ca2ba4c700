#pragma once
// Which file the desktop is given: an entry that fits the screen goes as it is; a larger one
// is shrunk into the local wallpaper file "pod.jpg" beside the executable, which also
// receives downloaded images.
#include <windows.h>
#include <shlobj.h>

#include "core/staging_size.h"

#include <string>

namespace glimro {

std::wstring GetLocalWallpaperPath();

// The size an image of width x height is shrunk to for a screen of cx x cy: both sides
// times 1/1.1, truncated, until it fits; at least one step. Unchanged when it already fits.
SIZE ShrunkSize(int width, int height, int cx, int cy);

// Why a picture cannot go to the desktop.
enum class StagingProblem { None, Unreadable, TooLarge };

// Whether a file is a picture Glimro can measure, within the picture limits.
StagingProblem CheckPicture(const std::wstring& path);

// Saves a bitmap under a temporary name beside the path, then puts it in place.
class ImageObject;
HRESULT SaveWhole(ImageObject& image, const std::wstring& path);

// A local picture staged for a screen of this size and the position into output (larger
// pictures only); the path to give the desktop, or empty with the problem.
std::wstring StageFor(const std::wstring& entry, SIZE screen, int position,
                      const std::wstring& output, StagingProblem* problem = nullptr);

// The picture as Fill stages it for the screen (at staged, upright), cut to the window of the
// screen's shape that keeps its subject; null when it cannot be decoded. Owned by the caller.
HBITMAP SubjectCropped(const std::wstring& entry, PixelSize staged, SIZE screen);

// The screen a single picture is staged for: the whole virtual screen when it spans, else the
// primary monitor.
SIZE StagingScreen(int position);

// The picture fitted inside box with its shape kept (its upright size from the header, shrunk
// as ShrunkSize shrinks, never enlarged); null when it cannot be read. Owned by the caller.
HBITMAP FittedPicture(const std::wstring& path, SIZE box);

// The path to give to the wallpaper setter for a local entry; empty, with the problem, when
// the file is missing, cannot be read as a picture, or declares a size beyond the picture
// limits (it is never handed to a decoder then, not even the system's).
// A larger picture is shrunk into the local wallpaper file at the size its position needs.
std::wstring PrepareLocalImage(const std::wstring& entry, StagingProblem* problem = nullptr,
                               int position = 0);

// The shell's thumbnail of a file at the given size, or null. Owned by the caller.
HBITMAP ExtractScaledBitmap(const std::wstring& path, int width, int height);
HBITMAP ExtractItemImage(IShellFolder* parent, PCUITEMID_CHILD child, SIZE size,
                         DWORD colour_depth);

} // namespace glimro
