#pragma once
// What a row of the album list says of an album: its name with the frequency, description,
// last run time (and, for an album that follows the day or the sun, the next change) and
// current picture.
#include "store/album.h"

#include <windows.h>

#include <string>
#include <vector>

namespace glimro {

inline constexpr int kAlbumColumns = 4;

// "Never" for a time whose year is 0, else the short date, " at ", and "hh:mm tt".
std::wstring LastRunText(const SYSTEMTIME& time);

// The row's text for each column, at local time now.
std::vector<std::wstring> AlbumRowTexts(const CAlbum& album, const SYSTEMTIME& now);

} // namespace glimro
