#pragma once
// The last pictures shown, of any album, newest first, for the icon's menu to offer again.
// Kept under the product key as the multi-string "Recent Pictures", one picture a string:
// its path or address, its album, then its feed item's title, credit and page, separated by
// tabs.
#include "store/album.h"

#include <string>
#include <vector>

namespace glimro {

inline constexpr size_t kMaxRecentPictures = 10;

struct RecentPicture {
    std::wstring picture;
    std::wstring album;
    PictureCredit credit;
    friend bool operator==(const RecentPicture&, const RecentPicture&) = default;
};

// At most kMaxRecentPictures; a string with no picture is dropped.
std::vector<RecentPicture> ReadRecentPictures();
// Puts the picture first; its earlier place in the list goes, and the oldest past the bound.
LSTATUS RememberRecentPicture(const RecentPicture& shown);
// What the album shows now, as the list keeps it.
RecentPicture RecentFrom(const CAlbum& album);
// The menu's name for it: the feed item's title, else the file's name (an address's last
// segment), control characters as blanks.
std::wstring RecentName(const RecentPicture& recent);

} // namespace glimro
