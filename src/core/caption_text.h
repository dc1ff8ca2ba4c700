#pragma once
// What a caption on the desktop says of a picture and how it stays legible: a file's name
// made readable, the caption's lines, which way a line runs, and how opaque the band under
// the text must be for the text to stand out from any picture.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace glimro {

// The last segment of a path or an address (before its "?" or "#").
std::wstring_view PictureFileName(std::wstring_view picture);

// A file's name as a person would write it: the extension dropped, underscores (and dots
// between words) as spaces, a size tag at the end ("1920x1080", "4K", "2160p", "UHD") left
// out. The name as it is when that leaves nothing.
std::wstring ReadableFileName(std::wstring_view name);

// What a caption can tell of a picture; empty parts are left out.
struct CaptionParts {
    std::wstring title;     // its feed item's title
    std::wstring credit;    // its feed item's credit
    std::wstring file_name; // readable, for a picture without a title or credit
    std::wstring date;      // the day it was taken, as the user's locale writes it
    std::wstring album;
};
// One or two lines: the title (or the credit, or the file name, when there is no title),
// then what else there is, separated by middle dots. Controls are blanked and each part is
// trimmed and bounded.
std::vector<std::wstring> CaptionLines(const CaptionParts& parts);

// Whether the line's first letter is of a script written right to left (Hebrew, Arabic and
// their neighbours).
bool RunsRightToLeft(std::wstring_view line);

// WCAG's relative luminance of an sRGB colour, and the contrast ratio of two luminances.
struct Colour {
    uint8_t red = 0, green = 0, blue = 0;
};
double RelativeLuminance(Colour colour);
double ContrastRatio(double a, double b);

// One channel of a band of the given opacity (0 to 255) laid over a pixel's.
inline uint8_t BlendChannel(uint8_t under, uint8_t band, int opacity) {
    return static_cast<uint8_t>((under * (255 - opacity) + band * opacity + 127) / 255);
}

// 24-bit BGR pixels, rows `stride` bytes apart.
struct PixelArea {
    const uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    size_t stride = 0;
};
// The least opacity of a band of colour `band` laid over every pixel of the area that gives
// text of colour `text` at least `ratio` against each of them; 255 when only the band alone
// would (a band whose colour gives less than the ratio is never asked).
int LeastBandOpacity(const PixelArea& under, Colour text, Colour band, double ratio);

} // namespace glimro
