#include "ui/tray_icon.h"

#include "engine/current_picture.h"
#include "resource.h"
#include "scheduler/day_schedule.h"
#include "scheduler/pass_check.h"

#include <shellapi.h>

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

std::wstring TrayTooltip(const CAccount* active, bool paused, const SYSTEMTIME& now) {
    std::wstring tip;
    if (paused) {
        tip = L"Glimro: Paused";
    } else if (!active) {
        tip = L"Glimro: No active album";
    } else {
        SYSTEMTIME next = {};
        const bool due = NextAlbumChange(*active, now, &next);
        tip = L"Glimro: " + active->Name + L"\nNext picture: " + (due ? WhenText(next) : L"none due");
        // A feed's picture says what it is and whose; the album's name comes first.
        if (const std::wstring credit = CreditLine(active->Credit); !credit.empty())
            tip = L"Glimro: " + active->Name + L"\n" + credit + L"\nNext picture: " +
                  (due ? WhenText(next) : L"none due");
    }
    if (tip.size() > 127)
        tip.resize(127);
    return tip;
}

HMENU CreateTrayMenu(bool paused, const CAccount* active) {
    HMENU menu = ::CreatePopupMenu();
    if (!menu)
        return nullptr;
    const bool has_active_album = active != nullptr;
    const PictureActions actions = ActionsFor(active);
    const auto greyed = [](bool enabled) { return MF_STRING | (enabled ? 0u : MF_GRAYED); };
    ::AppendMenuW(menu, MF_STRING | (has_active_album ? 0 : MF_GRAYED), ID_ALBUM_NEXT,
                  L"&Next Picture");
    ::AppendMenuW(menu, MF_STRING | (has_active_album ? 0 : MF_GRAYED), ID_ALBUM_PREVIOUS,
                  L"Pre&vious Picture");
    ::AppendMenuW(menu, MF_STRING, ID_ALBUM_PAUSE, paused ? L"&Resume" : L"&Pause");
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, greyed(actions.about), ID_PICTURE_ABOUT, L"About This Pictu&re");
    ::AppendMenuW(menu, greyed(actions.keep), ID_PICTURE_KEEP, L"&Keep This Picture");
    ::AppendMenuW(menu, greyed(actions.show), ID_PICTURE_SHOW_IN_FOLDER, L"Show in &Folder");
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, ID_TRAY_ALBUM_MANAGER, L"&Album Manager");
    ::AppendMenuW(menu, MF_STRING, ID_APP_OPTIONS, L"&Options...");
    ::AppendMenuW(menu, MF_STRING, ID_TRAY_EXIT, L"E&xit Glimro");
    ::SetMenuDefaultItem(menu, ID_TRAY_ALBUM_MANAGER, FALSE);
    return menu;
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

void CTrayIcon::SetTooltip(const std::wstring& tooltip) {
    if (!shown_)
        return;
    NOTIFYICONDATAW data = Data(NIF_TIP, tooltip);
    ::Shell_NotifyIconW(NIM_MODIFY, &data);
}

} // namespace glimro
