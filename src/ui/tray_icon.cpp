#include "ui/tray_icon.h"

#include "engine/current_picture.h"
#include "engine/image_staging.h"
#include "engine/entry_source.h"
#include "platform/dpi.h"
#include "platform/window.h"
#include "resource.h"
#include "ui/command_table.h"
#include "scheduler/day_schedule.h"
#include "scheduler/pass_check.h"

#include <shellapi.h>

#include <algorithm>
#include <iterator>

namespace glimro {
namespace {

constexpr UINT kTrayIconId = 1;
constexpr int kFormatChars = 100;

std::wstring WhenText(const SYSTEMTIME& t) {
    wchar_t date[kFormatChars] = {};
    wchar_t clock[kFormatChars] = {};
    ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, date, kFormatChars);
    ::GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &t, nullptr, clock, kFormatChars);
    return std::wstring(date) + L" " + clock;
}

} // namespace

std::wstring TrayTooltip(const CAlbum* active, bool paused, const SYSTEMTIME& now) {
    std::wstring tip;
    if (paused) {
        tip = LoadResourceString(IDS_TIP_PAUSED);
    } else if (!active) {
        tip = LoadResourceString(IDS_TIP_NO_ALBUM);
    } else {
        SYSTEMTIME next = {};
        const bool due = NextAlbumChange(*active, now, &next);
        const std::wstring when = due ? WhenText(next) : LoadResourceString(IDS_TIP_NONE_DUE);
        // A feed's picture says what it is and whose; the album's name comes first.
        const std::wstring credit = CreditLine(active->Current().credit);
        tip = credit.empty() ? ResourceText(IDS_TIP_ALBUM, {active->Name, when})
                             : ResourceText(IDS_TIP_ALBUM_CREDIT, {active->Name, credit, when});
    }
    if (tip.size() > 127)
        tip.resize(127);
    return tip;
}

HMENU CreateTrayMenu(bool paused, const CAlbum* active, const std::vector<RecentMenuItem>& recent) {
    HMENU menu = ::CreatePopupMenu();
    if (!menu)
        return nullptr;
    CommandContext context;
    context.loaded = true; // the icon's menu is there before the list is made
    context.active = active;
    constexpr UINT kChanges[] = {ID_ALBUM_NEXT, ID_ALBUM_PREVIOUS};
    constexpr UINT kRest[] = {ID_ALBUM_PAUSE, 0, ID_PICTURE_ABOUT, ID_PICTURE_KEEP, ID_PICTURE_SHOW_IN_FOLDER,
                              ID_PICTURE_NEVER_AGAIN, 0, ID_TRAY_ALBUM_MANAGER, ID_APP_OPTIONS, ID_TRAY_EXIT};
    AppendCommands(menu, kChanges, std::size(kChanges), true, &context);
    if (HMENU pictures = ::CreatePopupMenu()) {
        for (size_t i = 0; i < recent.size() && i <= ID_RECENT_LAST - ID_RECENT_FIRST; ++i) {
            MENUITEMINFOW item = {};
            item.cbSize = sizeof(item);
            item.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP;
            item.wID = static_cast<UINT>(ID_RECENT_FIRST + i);
            // An '&' in a name is shown, not taken as a mnemonic.
            std::wstring name;
            for (const wchar_t c : recent[i].name)
                name += c == L'&' ? std::wstring(L"&&") : std::wstring(1, c);
            item.dwTypeData = name.data();
            item.hbmpItem = recent[i].thumbnail;
            ::InsertMenuItemW(pictures, static_cast<UINT>(i), TRUE, &item);
        }
        ::AppendMenuW(menu, MF_POPUP | (active && !recent.empty() ? 0u : MF_GRAYED),
                      reinterpret_cast<UINT_PTR>(pictures), LoadResourceString(IDS_TRAY_RECENT).c_str());
    }
    AppendCommands(menu, kRest, std::size(kRest), true, &context);
    // Pause says what it will do: resume when paused.
    if (paused)
        ::ModifyMenuW(menu, ID_ALBUM_PAUSE, MF_BYCOMMAND | MF_STRING, ID_ALBUM_PAUSE,
                      LoadResourceString(IDS_TRAY_RESUME).c_str());
    ::SetMenuDefaultItem(menu, ID_TRAY_ALBUM_MANAGER, FALSE);
    return menu;
}

HBITMAP CRecentThumbnails::For(const RecentPicture& recent, UINT dpi) {
    if (dpi != dpi_)
        made_.clear();
    dpi_ = dpi;
    const std::wstring key = PictureKey(recent.picture);
    for (const auto& [picture, bitmap] : made_)
        if (picture == key)
            return bitmap.Get();
    const std::wstring file = PictureSourceFor(recent.picture).FileOf(recent.picture);
    const SIZE box = {ScaleForDpi(48, dpi), ScaleForDpi(32, dpi)};
    GdiObject<HBITMAP> boxed;
    if (const GdiObject<HBITMAP> picture(FittedPicture(file, box)); picture) {
        BITMAP fit = {};
        ::GetObjectW(picture.Get(), sizeof(fit), &fit);
        // A memory DC made for the screen has the screen's format, as the menu draws in.
        const UniqueDc from(::CreateCompatibleDC(nullptr)), to(::CreateCompatibleDC(nullptr));
        const HDC screen = ::GetDC(nullptr);
        if (from && to && screen)
            boxed = GdiObject<HBITMAP>(::CreateCompatibleBitmap(screen, box.cx, box.cy));
        if (screen)
            ::ReleaseDC(nullptr, screen);
        if (boxed) {
            const ScopedSelectObject source(from.Get(), picture.Get());
            const ScopedSelectObject target(to.Get(), boxed.Get());
            const RECT all = {0, 0, box.cx, box.cy};
            ::FillRect(to.Get(), &all, ::GetSysColorBrush(COLOR_MENU));
            ::BitBlt(to.Get(), (box.cx - fit.bmWidth) / 2, (box.cy - fit.bmHeight) / 2, fit.bmWidth,
                     fit.bmHeight, from.Get(), 0, 0, SRCCOPY);
        }
    }
    const HBITMAP made = boxed.Get();
    made_.emplace_back(key, std::move(boxed));
    // Only the pictures the menu can show are kept.
    if (made_.size() > 2 * kMaxRecentPictures)
        made_.erase(made_.begin());
    return made;
}

NOTIFYICONDATAW CTrayIcon::Data(UINT flags, const std::wstring& tooltip) const {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = owner_;
    data.uID = kTrayIconId;
    data.uFlags = flags;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                     ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    tooltip.copy(data.szTip, ARRAYSIZE(data.szTip) - 1);
    return data;
}

bool CTrayIcon::Show(HWND owner, const std::wstring& tooltip) {
    owner_ = owner;
    NOTIFYICONDATAW data = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP, tooltip);
    // After a restart of the shell the icon is gone though we still think it is shown.
    ::Shell_NotifyIconW(NIM_DELETE, &data);
    shown_ = ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    return shown_;
}

void CTrayIcon::Hide() {
    if (!shown_)
        return;
    NOTIFYICONDATAW data = Data(0, L"");
    ::Shell_NotifyIconW(NIM_DELETE, &data);
    shown_ = false;
}

void CTrayIcon::ShowBalloon(const std::wstring& title, const std::wstring& text) {
    if (!shown_)
        return;
    NOTIFYICONDATAW data = Data(NIF_INFO, L"");
    title.substr(0, ARRAYSIZE(data.szInfoTitle) - 1).copy(data.szInfoTitle, ARRAYSIZE(data.szInfoTitle) - 1);
    text.substr(0, ARRAYSIZE(data.szInfo) - 1).copy(data.szInfo, ARRAYSIZE(data.szInfo) - 1);
    data.dwInfoFlags = NIIF_WARNING;
    ::Shell_NotifyIconW(NIM_MODIFY, &data);
}

void CTrayIcon::SetTooltip(const std::wstring& tooltip) {
    if (!shown_)
        return;
    NOTIFYICONDATAW data = Data(NIF_TIP, tooltip);
    ::Shell_NotifyIconW(NIM_MODIFY, &data);
}

} // namespace glimro
