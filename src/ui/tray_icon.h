#pragma once
// Glimro's icon in the notification area while the instance runs: a click opens the Album
// Manager, its menu offers Next Picture, Pause or Resume, the Album Manager and Exit, and its
// tooltip names the active album and when the next change is due.
#include "platform/handle.h"
#include "store/album.h"
#include "store/recent_pictures.h"

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <utility>
#include <vector>

namespace glimro {

// The frame's window message for the icon's mouse events.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;

// "Glimro: <album>\nNext picture: <when>", or "Glimro: Paused" / "Glimro: No active album";
// at most 127 characters, as the icon holds.
std::wstring TrayTooltip(const CAlbum* active, bool paused, const SYSTEMTIME& now);

// One picture of the menu's Recent Pictures: its name, and its thumbnail (the caller's, null
// for none).
struct RecentMenuItem {
    std::wstring name;
    HBITMAP thumbnail = nullptr;
};

// The icon's menu: Next and Previous Picture (greyed without an active album), Recent
// Pictures (ID_RECENT_FIRST on, newest first; greyed without an active album or any picture),
// Pause or Resume, what the active album's picture allows (About, Keep, Show in Folder,
// Don't Show This Picture Again), the Album Manager (the default item), Options and Exit
// Glimro. Owned by the caller.
HMENU CreateTrayMenu(bool paused, const CAlbum* active,
                     const std::vector<RecentMenuItem>& recent = {});

// The recent pictures' thumbnails for the menu, each made once: a picture fitted into a box
// of the menu's colour, read from its file or, for an address, from the download cache.
class CRecentThumbnails {
public:
    // Null when the picture cannot be read. Owned by this object, kept while it is among the
    // last pictures asked for.
    HBITMAP For(const RecentPicture& recent, UINT dpi);

private:
    std::vector<std::pair<std::wstring, GdiObject<HBITMAP>>> made_;
    UINT dpi_ = 0;
};

class CTrayIcon {
public:
    CTrayIcon() = default;
    ~CTrayIcon() { Hide(); }
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // Adds the icon; false when the shell refuses it (no notification area).
    bool Show(HWND owner, const std::wstring& tooltip);
    void Hide();
    void SetTooltip(const std::wstring& tooltip);
    // A warning balloon from the icon; clicking it sends NIN_BALLOONUSERCLICK.
    void ShowBalloon(const std::wstring& title, const std::wstring& text);
    // Whether the user wants the icon (it may still be refused by the shell).
    bool Wanted() const { return wanted_; }
    void SetWanted(bool wanted) { wanted_ = wanted; }
    bool Shown() const { return shown_; }

private:
    NOTIFYICONDATAW Data(UINT flags, const std::wstring& tooltip) const;

    HWND owner_ = nullptr;
    bool shown_ = false;
    bool wanted_ = true;
};

} // namespace glimro
