#pragma once
// Where the Album Manager's frame was last seen: its outer rectangle in screen pixels and
// whether it was normal, minimised or maximised. Kept under the product key.
#include <windows.h>

namespace glimro {

struct WindowPlacementRecord {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Show = 1; // 1 normal, 2 minimised, 3 maximised
};

// Missing values leave their fields alone; true exactly when "Bottom" was read.
bool LoadPlacement(WindowPlacementRecord& record);
bool SavePlacementRectangle(const WindowPlacementRecord& record);
bool SavePlacementShow(const WindowPlacementRecord& record);

// The rectangle a frame opens with: the record's, or when none was ever saved (right edge 0)
// 640 x 480 at 100 %, scaled to the DPI (at most the area's size), centred on the full-screen
// area of the given size.
RECT FrameRectangle(const WindowPlacementRecord& record, SIZE full_screen, UINT dpi);

} // namespace glimro
