#pragma once
// The caption on the desktop: what it says of the picture shown (its title and credit, or
// its file's name; the day it was taken; the album), and how it is drawn into the staged
// picture, in a corner of each monitor's work area, at the monitor's scale, on a band just
// opaque enough for the text to stand out from whatever lies under it.
#include "core/caption_text.h"
#include "core/monitor_layout.h"
#include "store/album.h"

#include <windows.h>

#include <string>
#include <vector>

namespace glimro {

enum CaptionCorner : int {
    kBottomRight = 0,
    kBottomLeft = 1,
    kTopRight = 2,
    kTopLeft = 3,
};
inline constexpr int kCornerCount = 4;

// Whether an album's pictures carry a caption, and what it says besides what the picture
// tells: the product's choice unless the album's own says on or off.
struct CaptionChoice {
    bool shown = false;
    int corner = kBottomRight;
    bool date = false;
    std::wstring album; // the album's name, when the caption names it
    friend bool operator==(const CaptionChoice&, const CaptionChoice&) = default;
};
CaptionChoice CaptionChoiceFor(const CAlbum& album);

// The lines drawn and the corner; no lines: no caption.
struct Caption {
    std::vector<std::wstring> lines;
    int corner = kBottomRight;
    bool Empty() const { return lines.empty(); }
};
// The caption of one picture: picture is its path or address, file the local file it is
// staged from (whose EXIF gives the day it was taken).
Caption CaptionOf(const CaptionChoice& choice, const std::wstring& picture, const PictureCredit& credit,
                  const std::wstring& file);

// One monitor as a staged picture shows it, in the picture's pixels: the monitor, the part the
// taskbar and docked bars leave, and its scale (96 is 100 %).
struct CaptionArea {
    Box monitor;
    Box work;
    UINT dpi = 0; // 0: the system's
};

// A 24-bit top-down DIB section's pixels, selected into dc.
struct Canvas {
    HDC dc = nullptr;
    uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    size_t Stride() const { return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3}; }
};

// What was drawn: the band's box, each line as drawn (cut with an ellipsis where it would pass
// the box), the line height, which band and how opaque.
struct CaptionLayout {
    Box box;
    std::vector<std::wstring> drawn;
    int line_height = 0;
    bool dark_band = true; // white text on a dark band, else dark text on a light one
    int opacity = 0;       // 0 to 255
};
// Draws the caption into the area of the canvas; an empty layout when there is nothing to draw
// or no font.
CaptionLayout DrawCaption(const Canvas& canvas, const Caption& caption, const CaptionArea& area);

} // namespace glimro
