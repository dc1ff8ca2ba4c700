#pragma once
// What the user can do with the picture an album shows now: open its feed item's page, keep
// a copy of it as it was downloaded, or find its file in Explorer.
#include "platform/seam.h"
#include "store/album.h"

#include <string>

namespace glimro {

// The user's Pictures folder; tests put their own.
extern Seam<std::wstring()> PicturesFolder;
// Opens an http or https address in the default browser.
extern Seam<bool(const std::wstring&)> OpenInBrowser;
// Opens Explorer on the file's folder with the file selected.
extern Seam<bool(const std::wstring&)> ShowFileInFolder;

// Which of these the album's picture allows.
struct PictureActions {
    bool about = false; // its item has a web page
    bool keep = false;  // it was downloaded and the cache holds it
    bool show = false;  // it is a local file
    bool skip = false;  // the album shows a picture (it may be skipped)
};
PictureActions ActionsFor(const CAlbum* album);

// "title — credit" as a window or tooltip shows it (control characters as blanks); one of
// them alone when the other is missing; empty without either.
std::wstring CreditLine(const PictureCredit& credit);
// The feed item's page when it is an http or https address; empty otherwise.
std::wstring AboutPage(const CAlbum& album);
// The picture shown as Keep This Picture copies it: as it was downloaded (in the cache), or
// a Windows Spotlight file, which Windows deletes in time; empty for a picture of the user's
// own, or when the file is gone.
std::wstring KeepablePicture(const CAlbum& album);
// The local picture shown when its file is there; empty otherwise.
std::wstring LocalPicture(const CAlbum& album);
// Copies the downloaded picture into Pictures\Glimro under a name made from its title (or
// its address), never over a file there: "Name (2).jpg" and on. *kept: the copy's path.
HRESULT KeepPicture(const CAlbum& album, std::wstring* kept);

} // namespace glimro
