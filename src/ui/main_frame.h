#pragma once
// The Album Manager's frame: menu, accelerators, toolbar, status bar and the album list
// view. Closing it only hides it; it lives until the running instance is told to end.
#include "platform/dpi.h"
#include "platform/handle.h"
#include "platform/image_list.h"
#include "platform/window.h"
#include "ui/hotkeys.h"
#include "ui/placement.h"
#include "ui/rotator.h"
#include "ui/tray_icon.h"
#include "ui/album_list_view.h"

#include <functional>
#include <string>

namespace glimro {

inline constexpr wchar_t kMainFrameClass[] = L"Glimro.AlbumManager";
// Posted by Create: the albums load once the message loop runs.
inline constexpr UINT kStartMessage = WM_APP + 2;

class CMainFrame : public CWindow {
public:
    // The placement record is read for the window's position and kept up to date; the view
    // shows the album set, which outlives the frame.
    CMainFrame(WindowPlacementRecord& placement, AlbumSet& albums)
        : placement_(placement), rotator_(albums), view_(rotator_), commands_(view_, rotator_) {
        view_.SetCommands(&commands_);
    }
    ~CMainFrame() override;

    // Creates the frame (hidden) and its notification-area icon, and posts itself the start:
    // the albums load once the window can show. The bars and the view's list are made when
    // the frame first shows (CreateContent): a resident that is never shown does not load
    // the common controls.
    bool Create(bool open_new_album = false);
    // Makes the bars and the list, once; false when they cannot be made.
    bool CreateContent();
    // Loads the albums, fills the list and arms the pass timer, once. With open_new_album,
    // the frame then posts itself the New command.
    void Start();
    // The first show: keeps a restored maximised or minimised state.
    void ShowInitially(int show_command);

    CAlbumListView& View() { return view_; }
    CRotator& Rotator() { return rotator_; }
    CAlbumCommands& Commands() { return commands_; }
    HWND ToolBar() const { return tool_bar_; }
    // The DPI the frame is drawn at now.
    UINT Dpi() const { return dpi_; }
    HWND StatusBar() const { return status_bar_; }
    void SetStatusText(const std::wstring& text);
    // Brings the Album Manager up, as a second start of the program does.
    void ShowManager();
    CTrayIcon& TrayIcon() { return tray_; }
    // The icon's tooltip as things stand now.
    std::wstring TrayTip();
    // Enables the toolbar's buttons as the view's commands allow.
    void UpdateToolbarButtons();
    // The global hotkeys, for the resident instance only; again after the Options change them.
    void RegisterHotkeys();
    const CHotkeys& Hotkeys() const { return hotkeys_; }
    // The Options window, from the menu or the notification-area icon.
    void ShowOptions();
    void ApplyLanguage();
    void TellOfCrash();

    // The About command belongs to the application.
    std::function<void()> OnAbout;
    // "Exit Glimro" of the notification-area icon ends the instance, as command 3113 does.
    std::function<void()> OnQuitInstance;
    // The main window of a process ends the message loop when it is destroyed.
    bool QuitOnDestroy = false;

    bool PreTranslateMessage(MSG& msg) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    bool OnCreate();
    void OnSize(UINT type);
    void OnMove();
    // The outer rectangle into the placement record and the registry.
    void SaveWindowRectangle();
    bool OnCommand(UINT id);
    void OnInitMenuPopup(HMENU menu);
    void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    LRESULT OnNotify(WPARAM wparam, LPARAM lparam);
    void ApplyDpi(UINT dpi);
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void LayoutChildren();
    void ToggleBar(HWND bar);
    void ShowHelp();
    void OnTrayEvent(UINT mouse_message);
    void ShowTrayMenu();
    void ToggleTrayIcon();

    WindowPlacementRecord& placement_;
    HWND status_bar_ = nullptr;
    HWND tool_bar_ = nullptr;
    UINT dpi_ = kDefaultDpi;
    GdiObject<HFONT> font_;
    UniqueImageList tool_images_;
    UniqueImageList tool_disabled_images_;
    UniqueIcon window_icons_[2]; // small, big: the frame's own copies for its DPI
    RECT rectangle_ = {};
    CRotator rotator_;
    CAlbumListView view_;
    CAlbumCommands commands_;
    HACCEL accelerators_ = nullptr;
    bool open_new_album_ = false;
    bool started_ = false;
    std::wstring tooltip_;
    CTrayIcon tray_;
    CRecentThumbnails recent_thumbnails_;
    CHotkeys hotkeys_;
    bool hotkeys_wanted_ = false;
    std::wstring crash_notice_; // in place of the idle text while this instance runs
    bool options_open_ = false;
    UINT taskbar_created_ = 0;
    bool tray_menu_open_ = false;
};

} // namespace glimro
