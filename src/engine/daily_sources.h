#pragma once
// The built-in pictures of the day: one row each, naming where its pictures are found and
// how. An album entry names its source ("daily:bing"), never the source's address, so a
// source that moves is one changed row and every album follows.
#include "platform/seam.h"

#include <windows.h>

#include <string>

namespace glimro {

enum class DailyFinder {
    Archive,  // a daily picture archive's XML: its pictures by their base address
    Feed,     // an RSS feed whose items' HTML hold the pictures (as thumbnails of them)
    DayPages, // an RSS feed linking each day's page; the page links the day's picture
    OnThisPc, // pictures the system keeps in folders of this PC (';' between them)
};

struct DailySourceRow {
    const wchar_t* name;    // the entry is kDailyPrefix + name
    UINT title;             // its name in the list of sources (string id)
    UINT about;             // one line on what it is and whose pictures they are
    const wchar_t* address; // "{market}" and "{language}" filled in from the user's locale
    DailyFinder finder;
};

inline constexpr wchar_t kDailyPrefix[] = L"daily:";

// The rows, in the order the list of sources shows them; count in *count.
const DailySourceRow* DailySources(size_t* count);
// The row an entry names; null when it names none.
const DailySourceRow* DailySourceOf(const std::wstring& entry);
// The entry that names the row.
std::wstring DailyEntry(const DailySourceRow& row);

// Where the row's documents or pictures are now: its address form filled in for the user's
// locale, environment variables expanded; tests serve their own.
extern Seam<std::wstring(const DailySourceRow& row)> DailyAddress;

// Whether the picture is one of Windows Spotlight's files on this PC.
bool IsSpotlightPicture(const std::wstring& path);

// Whether the largest monitor is larger than 1920 x 1080: the archive's largest pictures then.
bool WantsLargestPictures();

} // namespace glimro
