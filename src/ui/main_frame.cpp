#include "ui/main_frame.h"

#include "engine/caption.h"

#include "platform/crash_report.h"
#include "platform/system_library.h"
#include "platform/ui_language.h"
#include "platform/clock.h"
#include "platform/dpi.h"
#include "resource.h"
#include "store/product_key.h"
#include "ui/options_page.h"

#include <commctrl.h>
#include <wtsapi32.h>

#include <utility>

namespace glimro {

namespace {

bool IsHelpCommand(UINT id) {
    return id == ID_HELP_FINDER || id == ID_DEFAULT_HELP || id == ID_HELP || id == ID_CONTEXT_HELP;
}

// Whether a notification of the album list can change what its commands may do: the
// selection moved, or rows went away. Rebuilding the rows sends thousands of others.
bool ChangesCommandState(const NMHDR& header) {
    if (header.code == LVN_DELETEITEM || header.code == LVN_DELETEALLITEMS)
        return true;
    if (header.code != LVN_ITEMCHANGED)
        return false;
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    return (change.uChanged & LVIF_STATE) &&
           ((change.uOldState ^ change.uNewState) & LVIS_SELECTED);
}

HWND CreateToolBar(HWND frame) {
    HWND bar = ::CreateWindowExW(
        0, TOOLBARCLASSNAMEW, nullptr,
        WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP | CCS_NODIVIDER, 0, 0, 0,
        0, frame, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ID_VIEW_TOOLBAR)),
        ::GetModuleHandleW(nullptr), nullptr);
    if (!bar)
        return nullptr;
    ::SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBBUTTON buttons[] = {
        {0, ID_ALBUM_NEW, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
        {1, ID_ALBUM_DELETE, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
        {2, ID_ALBUM_PROPERTIES, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
        {0, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, 0},
        {4, ID_ALBUM_NEXT, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
        {0, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, 0},
        {3, ID_APP_ABOUT, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    };
    ::SendMessageW(bar, TB_ADDBUTTONSW, ARRAYSIZE(buttons), reinterpret_cast<LPARAM>(buttons));
    ::SendMessageW(bar, TB_AUTOSIZE, 0, 0);
    return bar;
}

} // namespace

CMainFrame::~CMainFrame() {
    if (Handle())
        ::DestroyWindow(Handle());
}

bool CMainFrame::Create(bool open_new_album) {
    open_new_album_ = open_new_album;
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    HICON icon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    if (!RegisterWindowClass(kMainFrameClass, CS_DBLCLKS, icon,
                             reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
        return false;
    accelerators_ = ::LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    UniqueMenu menu(CreateMainMenu());

    SIZE full_screen = {::GetSystemMetrics(SM_CXFULLSCREEN), ::GetSystemMetrics(SM_CYFULLSCREEN)};
    RECT r = FrameRectangle(placement_, full_screen, WindowDpi(nullptr));
    DWORD style = WS_OVERLAPPEDWINDOW;
    if (placement_.Show == 3)
        style |= WS_MAXIMIZE;
    else if (placement_.Show == 2)
        style |= WS_MINIMIZE;
    const std::wstring title = LoadResourceString(IDS_APP_TITLE);
    CreateArgs args;
    args.class_name = kMainFrameClass;
    args.title = title.c_str();
    args.style = style;
    args.rect = {r.left, r.top, r.right - r.left, r.bottom - r.top};
    args.menu = menu.Get();
    if (!CreateOwnWindow(args))
        return false;
    menu.Release(); // the window's now
    taskbar_created_ = ::RegisterWindowMessageW(L"TaskbarCreated");
    tray_.SetWanted(ReadProductNumber(kTrayIconValue, 1) != 0);
    if (tray_.Wanted())
        tray_.Show(Handle(), TrayTip());
    // Unlocking the session is one of the moments to look whether a change fell due.
    // Loaded from the system folder, not imported: see platform/system_library.h.
    if (const auto subscribe = SystemFunction<decltype(::WTSRegisterSessionNotification)>(
            L"wtsapi32.dll", "WTSRegisterSessionNotification"))
        subscribe(Handle(), NOTIFY_FOR_THIS_SESSION);
    // After the window has shown: the list then fills, a thousand albums or one.
    ::PostMessageW(Handle(), kStartMessage, 0, 0);
    return true;
}

void CMainFrame::Start() {
    if (started_)
        return;
    started_ = true;
    view_.OnInitialUpdate();
    rotator_.Start();
    UpdateToolbarButtons();
    SetStatusText(rotator_.IdleStatus());
    TellOfCrash();
    if (open_new_album_ && CreateContent())
        ::PostMessageW(Handle(), WM_COMMAND, ID_ALBUM_NEW, 0);
}

void CMainFrame::RegisterHotkeys() {
    hotkeys_wanted_ = true;
    hotkeys_.Register(Handle());
}

void CMainFrame::ShowOptions() {
    if (options_open_)
        return;
    options_open_ = true;
    CaptionChoice caption = CaptionChoiceFor(CAlbum());
    RunOptions(Handle(), hotkeys_.Problems(), [this, &caption, language = UiLanguage()]() mutable {
        if (UiLanguage() != language) {
            language = UiLanguage();
            ApplyLanguage();
        }
        if (hotkeys_wanted_)
            hotkeys_.Register(Handle());
        rotator_.FollowThemeSoon();
        // A caption turned on, off or moved shows on the picture of now, as a new screen
        // layout would stage it again.
        if (const CaptionChoice now = CaptionChoiceFor(CAlbum()); !(now == caption)) {
            caption = now;
            rotator_.OnDisplayChange();
        }
        return hotkeys_.Problems();
    });
    options_open_ = false;
}

// Once for each report the crash handler left: in the status bar and in a balloon whose click
// opens the reports' folder.
void CMainFrame::TellOfCrash() {
    const std::wstring report = NewestCrashReport();
    if (report.empty() || report == ReadProductText(kCrashSeenValue).value_or(L""))
        return;
    WriteProductText(kCrashSeenValue, report);
    // "glimro-20261211-023000.txt": the day and time it happened.
    const std::wstring digits = report.substr(7, 8) + report.substr(16, 4);
    if (report.size() < 20 || digits.size() != 12 || digits.find_first_not_of(L"0123456789") != std::wstring::npos)
        return;
    const auto number = [&](size_t at, size_t count) { return static_cast<WORD>(std::stoi(digits.substr(at, count))); };
    SYSTEMTIME at = {};
    at.wYear = number(0, 4);
    at.wMonth = number(4, 2);
    at.wDay = number(6, 2);
    at.wHour = number(8, 2);
    at.wMinute = number(10, 2);
    wchar_t date[64] = {}, clock[64] = {};
    ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &at, nullptr, date, 64);
    ::GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &at, nullptr, clock, 64);
    crash_notice_ = ResourceText(IDS_CRASH_NOTICE, {std::wstring(date) + L" " + clock, CrashFolder()});
    SetStatusText(crash_notice_);
    tray_.ShowBalloon(LoadResourceString(IDS_CRASH_TITLE), ResourceText(IDS_CRASH_BALLOON, {std::wstring(date) + L" " + clock}));
}

// Another language chosen in Options speaks at once in the menu, the list, the status bar and the
// icon's tooltip; a window of a template (Options itself) speaks it when it opens next.
void CMainFrame::ApplyLanguage() {
    const UniqueMenu old(::GetMenu(Handle()));
    ::SetMenu(Handle(), CreateMainMenu());
    ::SetWindowTextW(Handle(), LoadResourceString(IDS_APP_TITLE).c_str());
    if (view_.Handle()) {
        view_.ShowColumnTitles();
        if (view_.Loaded())
            view_.RefreshAlbumList();
        SetStatusText(rotator_.IdleStatus());
    }
    if (tray_.Shown())
        tray_.SetTooltip(TrayTip());
}

void CMainFrame::ShowManager() {
    CreateContent();
    ::ShowWindow(Handle(), SW_SHOWNORMAL);
    ::SetForegroundWindow(Handle());
}

std::wstring CMainFrame::TrayTip() {
    return TrayTooltip(view_.Albums().FindActiveAlbum(), rotator_.Paused(), LocalTime());
}

void CMainFrame::OnTrayEvent(UINT mouse_message) {
    switch (mouse_message) {
    case WM_MOUSEMOVE:
        tray_.SetTooltip(TrayTip());
        break;
    case WM_LBUTTONUP:
        ShowManager();
        break;
    case NIN_BALLOONUSERCLICK:
        ::ShellExecuteW(Handle(), L"open", CrashFolder().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        break;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
        ShowTrayMenu();
        break;
    default:
        break;
    }
}

void CMainFrame::ShowTrayMenu() {
    std::vector<RecentMenuItem> recent;
    const UINT dpi = WindowDpi(Handle());
    for (const RecentPicture& picture : ReadRecentPictures())
        recent.push_back({RecentName(picture), recent_thumbnails_.For(picture, dpi)});
    const UniqueMenu menu(
        CreateTrayMenu(rotator_.Paused(), view_.Albums().FindActiveAlbum(), recent));
    if (!menu)
        return;
    // The menu closes when the user clicks elsewhere only if the owner is in the foreground.
    ::SetForegroundWindow(Handle());
    tray_menu_open_ = true;
    const UINT chosen = TrackMenuAtCursor(menu.Get(), Handle());
    tray_menu_open_ = false;
    if (chosen != 0)
        ::PostMessageW(Handle(), WM_COMMAND, chosen, 0);
}

void CMainFrame::ToggleTrayIcon() {
    tray_.SetWanted(!tray_.Wanted());
    WriteProductNumber(kTrayIconValue, tray_.Wanted() ? 1 : 0);
    if (tray_.Wanted())
        tray_.Show(Handle(), TrayTip());
    else
        tray_.Hide();
}

void CMainFrame::ShowInitially(int show_command) {
    if (show_command == SW_HIDE)
        return;
    CreateContent();
    if (show_command == SW_SHOWNORMAL || show_command == SW_SHOWDEFAULT ||
        show_command == SW_SHOW) {
        if (::IsZoomed(Handle()))
            show_command = SW_SHOWMAXIMIZED;
        else if (::IsIconic(Handle()))
            show_command = SW_SHOWMINIMIZED;
    }
    ::ShowWindow(Handle(), show_command);
    ::UpdateWindow(Handle());
}

bool CMainFrame::OnCreate() {
    rotator_.SetTimerWindow(Handle());
    rotator_.RowsChanged = [this] { view_.RefreshAlbumList(); };
    rotator_.Status = [this](const std::wstring& text) { SetStatusText(text); };
    return true;
}

bool CMainFrame::CreateContent() {
    if (view_.Handle())
        return true;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    RECT client;
    ::GetClientRect(Handle(), &client);
    if (!view_.Create(Handle(), client, ID_VIEW_ALBUM_LIST))
        return false;
    tool_bar_ = CreateToolBar(Handle());
    std::wstring idle = LoadResourceString(IDS_IDLE_MESSAGE);
    status_bar_ = ::CreateWindowExW(
        0, STATUSCLASSNAMEW, idle.c_str(), WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
        Handle(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ID_VIEW_STATUS_BAR)),
        ::GetModuleHandleW(nullptr), nullptr);
    // The new list's columns are at 96 DPI, whatever the frame went through while hidden.
    dpi_ = kDefaultDpi;
    ApplyDpi(WindowDpi(Handle()));
    if (view_.Loaded()) {
        view_.RefreshAlbumList();
        SetStatusText(rotator_.IdleStatus());
    }
    UpdateToolbarButtons();
    return true;
}

// Everything the frame draws in pixels follows the DPI of its monitor: fonts, pictures and
// the list's columns. Dialog-template windows scale themselves.
void CMainFrame::ApplyDpi(UINT dpi) {
    const UINT old_dpi = dpi_;
    dpi_ = dpi;
    font_.Reset(CreateMessageFont(dpi));
    for (HWND child : {view_.Handle(), status_bar_})
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);

    const int size = SmallIconSize(dpi);
    UniqueImageList images = LoadIconList(
        {IDI_TOOL_NEW, IDI_TOOL_DELETE, IDI_TOOL_PROPERTIES, IDI_TOOL_ABOUT, IDI_TOOL_NEXT}, size);
    UniqueImageList disabled_images =
        LoadIconList({IDI_TOOL_NEW_DISABLED, IDI_TOOL_DELETE_DISABLED,
                      IDI_TOOL_PROPERTIES_DISABLED, IDI_TOOL_ABOUT_DISABLED,
                      IDI_TOOL_NEXT_DISABLED},
                     size);
    ::SendMessageW(tool_bar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.Get()));
    ::SendMessageW(tool_bar_, TB_SETDISABLEDIMAGELIST, 0,
                   reinterpret_cast<LPARAM>(disabled_images.Get()));
    ::SendMessageW(tool_bar_, TB_SETBUTTONSIZE, 0,
                   MAKELPARAM(size + ScaleForDpi(7, dpi), size + ScaleForDpi(6, dpi)));
    tool_images_ = std::move(images);
    tool_disabled_images_ = std::move(disabled_images);

    // The window icons are the frame's own copies, sized for its DPI.
    for (auto [kind, icon_size] : {std::pair{ICON_SMALL, size}, {ICON_BIG, ScaleForDpi(32, dpi)}}) {
        UniqueIcon icon(LoadIconOfSize(IDR_MAINFRAME, icon_size));
        ::SendMessageW(Handle(), WM_SETICON, kind, reinterpret_cast<LPARAM>(icon.Get()));
        window_icons_[kind == ICON_BIG] = std::move(icon);
    }
    view_.ApplyDpi(old_dpi, dpi);
    LayoutChildren();
}

void CMainFrame::OnDpiChanged(UINT dpi, const RECT& suggested) {
    if (view_.Handle())
        ApplyDpi(dpi);
    else
        dpi_ = dpi;
    ::SetWindowPos(Handle(), nullptr, suggested.left, suggested.top,
                   suggested.right - suggested.left, suggested.bottom - suggested.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMainFrame::LayoutChildren() {
    RECT client;
    ::GetClientRect(Handle(), &client);
    if (tool_bar_) {
        ::SendMessageW(tool_bar_, TB_AUTOSIZE, 0, 0);
        if (::IsWindowVisible(tool_bar_)) {
            RECT bar;
            ::GetWindowRect(tool_bar_, &bar);
            client.top += bar.bottom - bar.top;
        }
    }
    if (status_bar_) {
        ::SendMessageW(status_bar_, WM_SIZE, 0, 0);
        if (::IsWindowVisible(status_bar_)) {
            RECT bar;
            ::GetWindowRect(status_bar_, &bar);
            client.bottom -= bar.bottom - bar.top;
        }
    }
    if (view_.Handle())
        ::MoveWindow(view_.Handle(), client.left, client.top, client.right - client.left,
                     client.bottom > client.top ? client.bottom - client.top : 0, TRUE);
}

void CMainFrame::OnSize(UINT type) {
    LayoutChildren();
    switch (type) {
    case SIZE_RESTORED:
        SaveWindowRectangle();
        placement_.Show = 1;
        break;
    case SIZE_MINIMIZED:
        placement_.Show = 2;
        break;
    case SIZE_MAXIMIZED:
        placement_.Show = 3;
        break;
    case SIZE_MAXSHOW:
        placement_.Show = 1;
        break;
    default: // SIZE_MAXHIDE
        return;
    }
    SavePlacementShow(placement_);
}

void CMainFrame::OnMove() {
    WINDOWPLACEMENT where = {};
    where.length = sizeof(where);
    ::GetWindowPlacement(Handle(), &where);
    if (where.showCmd == SW_SHOWMAXIMIZED || where.showCmd == SW_SHOWMINIMIZED)
        return;
    SaveWindowRectangle();
}

void CMainFrame::SaveWindowRectangle() {
    ::GetWindowRect(Handle(), &rectangle_);
    placement_.Left = rectangle_.left;
    placement_.Top = rectangle_.top;
    placement_.Right = rectangle_.right;
    placement_.Bottom = rectangle_.bottom;
    SavePlacementRectangle(placement_);
}

void CMainFrame::SetStatusText(const std::wstring& said) {
    // The notice of a crash stands in for the idle text while this instance runs.
    const std::wstring& text = !crash_notice_.empty() && said == rotator_.IdleStatus() ? crash_notice_ : said;
    if (!status_bar_)
        return;
    ::SendMessageW(status_bar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
    ::UpdateWindow(status_bar_); // painted at once: a long pass may follow
}

void CMainFrame::UpdateToolbarButtons() {
    if (!tool_bar_)
        return;
    const int count = static_cast<int>(::SendMessageW(tool_bar_, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button = {};
        ::SendMessageW(tool_bar_, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
        bool enabled = true;
        if (button.fsStyle & BTNS_SEP || !view_.QueryCommandEnabled(static_cast<UINT>(button.idCommand), &enabled))
            continue;
        ::SendMessageW(tool_bar_, TB_ENABLEBUTTON, static_cast<WPARAM>(button.idCommand),
                       MAKELPARAM(enabled ? TRUE : FALSE, 0));
    }
}

void CMainFrame::ToggleBar(HWND bar) {
    if (!bar)
        return;
    ::ShowWindow(bar, ::IsWindowVisible(bar) ? SW_HIDE : SW_SHOW);
    LayoutChildren();
}

void CMainFrame::ShowHelp() {
    ::MessageBoxW(Handle(), LoadResourceString(IDS_HELP_TEXT).c_str(),
                  LoadResourceString(IDS_APP_TITLE).c_str(), MB_OK | MB_ICONINFORMATION);
}

bool CMainFrame::OnCommand(UINT id) {
    // Next Picture and Pause come from the notification-area icon with no list made yet.
    if (view_.OnCommand(id)) {
        UpdateToolbarButtons();
        return true;
    }
    if (id == ID_TRAY_ALBUM_MANAGER) {
        ShowManager();
    } else if (id == ID_TRAY_EXIT) {
        if (OnQuitInstance)
            OnQuitInstance();
    } else if (id == ID_VIEW_TRAY_ICON) {
        ToggleTrayIcon();
    } else if (id == ID_APP_OPTIONS) {
        ShowOptions();
    } else if (id == ID_APP_EXIT) {
        ::SendMessageW(Handle(), WM_CLOSE, 0, 0);
    } else if (id == ID_VIEW_TOOLBAR) {
        ToggleBar(tool_bar_);
    } else if (id == ID_VIEW_STATUS_BAR) {
        ToggleBar(status_bar_);
    } else if (id == ID_APP_ABOUT) {
        if (OnAbout)
            OnAbout();
    } else if (IsHelpCommand(id)) {
        ShowHelp();
    } else {
        return false;
    }
    return true;
}

void CMainFrame::OnInitMenuPopup(HMENU menu) {
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        UINT id = ::GetMenuItemID(menu, i);
        bool enabled = true;
        if (view_.QueryCommandEnabled(id, &enabled))
            ::EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
        HWND bar = id == ID_VIEW_TOOLBAR      ? tool_bar_
                   : id == ID_VIEW_STATUS_BAR ? status_bar_
                                              : nullptr;
        bool checked = false;
        if (bar)
            checked = ::IsWindowVisible(bar) != FALSE;
        else if (id == ID_VIEW_TRAY_ICON)
            checked = tray_.Wanted();
        else if (id == ID_ALBUM_PAUSE && !tray_menu_open_)
            checked = rotator_.Paused(); // the icon's menu says "Resume" instead
        else
            continue;
        ::CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

void CMainFrame::OnMenuSelect(UINT item, UINT flags, HMENU menu) {
    if (flags == 0xFFFF && !menu)
        SetStatusText(rotator_.IdleStatus());
    else if (flags & (MF_POPUP | MF_SEPARATOR))
        SetStatusText(L"");
    else
        SetStatusText(CommandText(item, 0));
}

LRESULT CMainFrame::OnNotify(WPARAM wparam, LPARAM lparam) {
    LRESULT result = 0;
    bool handled = ReflectToChild(WM_NOTIFY, wparam, lparam, &result);
    const NMHDR& header = *reinterpret_cast<const NMHDR*>(lparam);
    if (header.code == TTN_GETDISPINFOW) {
        auto& info = *reinterpret_cast<NMTTDISPINFOW*>(lparam);
        tooltip_ = CommandText(static_cast<UINT>(header.idFrom), 1);
        info.lpszText = tooltip_.data();
        return 0;
    }
    if (header.hwndFrom == tool_bar_ && header.code == TBN_HOTITEMCHANGE) {
        const auto& hot = *reinterpret_cast<const NMTBHOTITEM*>(lparam);
        if (hot.dwFlags & HICF_LEAVING)
            SetStatusText(rotator_.IdleStatus());
        else
            SetStatusText(CommandText(static_cast<UINT>(hot.idNew), 0));
        return 0;
    }
    if (header.hwndFrom == view_.Handle() && ChangesCommandState(header))
        UpdateToolbarButtons();
    return handled ? result : Default(WM_NOTIFY, wparam, lparam);
}

bool CMainFrame::PreTranslateMessage(MSG& msg) {
    return accelerators_ && ::TranslateAcceleratorW(Handle(), accelerators_, &msg) != 0;
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case kStartMessage:
        Start();
        return 0;
    case WM_HOTKEY:
        if (const UINT command = CHotkeys::CommandOf(wparam))
            ::PostMessageW(Handle(), WM_COMMAND, command, 0);
        return 0;
    case WM_SHOWWINDOW:
        if (wparam)
            CreateContent();
        break;
    case WM_TIMER:
        if (rotator_.OnTimer(wparam))
            return 0;
        break;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wparam));
        return 0;
    case WM_MOVE:
        Default(message, wparam, lparam);
        OnMove();
        return 0;
    case WM_CLOSE:
        ::ShowWindow(Handle(), SW_HIDE);
        return 0;
    case WM_SETFOCUS:
        if (view_.Handle())
            ::SetFocus(view_.Handle());
        return 0;
    case WM_COMMAND: {
        // Menus, accelerators and toolbar buttons (codes 0 and 1) may have become disabled
        // since they were drawn: such a command is dropped, as its item would be greyed.
        const UINT id = LOWORD(wparam);
        bool enabled = true;
        if (HIWORD(wparam) <= 1 && view_.QueryCommandEnabled(id, &enabled) && !enabled)
            return 0;
        if (OnCommand(id))
            return 0;
        break;
    }
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wparam));
        return 0;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HMENU>(lparam));
        return 0;
    case WM_NOTIFY:
        return OnNotify(wparam, lparam);
    case WM_DRAWITEM: {
        LRESULT result = 0;
        if (ReflectToChild(message, wparam, lparam, &result))
            return result;
        break;
    }
    case WM_DPICHANGED:
        OnDpiChanged(LOWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
        return 0;
    case kTrayCallbackMessage:
        OnTrayEvent(static_cast<UINT>(lparam));
        return 0;
    case WM_POWERBROADCAST:
        if (wparam == PBT_APMRESUMEAUTOMATIC || wparam == PBT_APMRESUMESUSPEND)
            rotator_.CatchUp();
        return TRUE;
    case WM_DISPLAYCHANGE:
        rotator_.OnDisplayChange();
        break;
    case WM_TIMECHANGE:
        rotator_.CatchUp();
        return 0;
    case WM_WTSSESSION_CHANGE:
        if (wparam == WTS_SESSION_UNLOCK)
            rotator_.CatchUp();
        return 0;
    case WM_DESTROY:
        for (WPARAM kind : {ICON_SMALL, ICON_BIG}) {
            ::SendMessageW(Handle(), WM_SETICON, kind, 0);
            window_icons_[kind == ICON_BIG].Reset();
        }
        tray_.Hide();
        hotkeys_.Unregister();
        if (const auto unsubscribe = SystemFunction<decltype(::WTSUnRegisterSessionNotification)>(
                L"wtsapi32.dll", "WTSUnRegisterSessionNotification"))
            unsubscribe(Handle());
        if (QuitOnDestroy)
            ::PostQuitMessage(0);
        break;
    default:
        break;
    }
    // The shell restarted: the icon has to be added again.
    if (message == taskbar_created_ && taskbar_created_ != 0 && tray_.Wanted())
        tray_.Show(Handle(), TrayTip());
    return Default(message, wparam, lparam);
}

} // namespace glimro
