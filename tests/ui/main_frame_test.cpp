#include "ui/main_frame.h"

#include "platform/crash_report.h"
#include "resource.h"
#include "store/product_key.h"
#include "support/dialog_driver.h"
#include "ui/album_manager_harness.h"

#include <gtest/gtest.h>

namespace glimro {
namespace {

using test::AlbumManagerHarness;
using test::DialogDriver;

RECT WindowRect(HWND window) {
    RECT r = {};
    ::GetWindowRect(window, &r);
    return r;
}

int Stored(const wchar_t* name) {
    return static_cast<int>(test::ReadStoredValue(HKEY_CURRENT_USER, kProductKey, name).Dword());
}

bool IsStored(const wchar_t* name) {
    return test::ReadStoredValue(HKEY_CURRENT_USER, kProductKey, name).exists;
}

TEST(MainFrame, FirstRunOpens640By480CentredOnTheFullScreenArea) {
    AlbumManagerHarness h;
    ASSERT_TRUE(h.Start());
    int left = ::GetSystemMetrics(SM_CXFULLSCREEN) / 2 - 320;
    int top = ::GetSystemMetrics(SM_CYFULLSCREEN) / 2 - 240;
    RECT r = WindowRect(h.frame->Handle());
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right - r.left, 640);
    EXPECT_EQ(r.bottom - r.top, 480);
    wchar_t title[100] = {};
    ::GetWindowTextW(h.frame->Handle(), title, 100);
    EXPECT_STREQ(title, L"Glimro - Album Manager");
}

TEST(MainFrame, MovesAndSizesOfANormalFrameAreSavedAtOnce) {
    AlbumManagerHarness h;
    ASSERT_TRUE(h.Start());
    h.frame->ShowInitially(SW_SHOWNORMAL);
    ::SetWindowPos(h.frame->Handle(), nullptr, 50, 60, 700, 500, SWP_NOZORDER);
    EXPECT_EQ(Stored(L"Left"), 50);
    EXPECT_EQ(Stored(L"Top"), 60);
    EXPECT_EQ(Stored(L"Right"), 750);
    EXPECT_EQ(Stored(L"Bottom"), 560);
    EXPECT_EQ(Stored(L"Show"), 1);
    EXPECT_EQ(h.placement.Right, 750);

    ::SetWindowPos(h.frame->Handle(), nullptr, 80, 90, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
    EXPECT_EQ(Stored(L"Left"), 80);
    EXPECT_EQ(Stored(L"Bottom"), 590);
}

TEST(MainFrame, MaximisingWritesOnlyTheShowStateAndARestartOpensMaximised) {
    AlbumManagerHarness h;
    h.placement = {100, 100, 740, 580, 1};
    SavePlacementRectangle(h.placement);
    ASSERT_TRUE(h.Start());
    h.frame->ShowInitially(SW_SHOWNORMAL);
    ::ShowWindow(h.frame->Handle(), SW_MAXIMIZE);
    EXPECT_EQ(Stored(L"Show"), 3);
    EXPECT_EQ(Stored(L"Left"), 100);
    EXPECT_EQ(Stored(L"Right"), 740);

    // Closing and showing again keeps the state.
    ::SendMessageW(h.frame->Handle(), WM_CLOSE, 0, 0);
    ::ShowWindow(h.frame->Handle(), SW_SHOW);
    EXPECT_TRUE(::IsZoomed(h.frame->Handle()));
    h.frame.reset();

    WindowPlacementRecord loaded;
    ASSERT_TRUE(LoadPlacement(loaded));
    EXPECT_EQ(loaded.Show, 3);
    h.placement = loaded;
    ASSERT_TRUE(h.Start());
    h.frame->ShowInitially(SW_SHOWNORMAL);
    EXPECT_TRUE(::IsZoomed(h.frame->Handle()));
    ::ShowWindow(h.frame->Handle(), SW_RESTORE);
    RECT r = WindowRect(h.frame->Handle());
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.right, 740);
    EXPECT_EQ(Stored(L"Show"), 1);
}

TEST(MainFrame, MinimisingKeepsTheSavedRectangle) {
    AlbumManagerHarness h;
    h.placement = {100, 100, 740, 580, 1};
    ASSERT_TRUE(h.Start());
    h.frame->ShowInitially(SW_SHOWNORMAL);
    ::ShowWindow(h.frame->Handle(), SW_MINIMIZE);
    EXPECT_EQ(Stored(L"Show"), 2);
    EXPECT_EQ(Stored(L"Left"), 100);
    EXPECT_EQ(Stored(L"Bottom"), 580);
}

TEST(Placement, LoadReadsWhatIsThereAndSaysWhetherBottomWas) {
    test::RegistrySandbox sandbox;
    WindowPlacementRecord record;
    EXPECT_FALSE(LoadPlacement(record)); // no product key
    EXPECT_EQ(record.Show, 1);
    EXPECT_EQ(record.Right, 0);

    RegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, kProductKey, KEY_ALL_ACCESS), ERROR_SUCCESS);
    key.SetDword(L"Show", 3);
    key.SetDword(L"Left", static_cast<DWORD>(-8));
    EXPECT_FALSE(LoadPlacement(record));
    EXPECT_EQ(record.Show, 3);
    EXPECT_EQ(record.Left, -8);
    key.SetDword(L"Bottom", 600);
    EXPECT_TRUE(LoadPlacement(record));
    EXPECT_EQ(record.Bottom, 600);

    // The rectangle of a record never saved is the default, which is not stored.
    EXPECT_FALSE(IsStored(L"Right"));
    RECT r = FrameRectangle(WindowPlacementRecord{}, SIZE{1023, 767}, kDefaultDpi);
    EXPECT_EQ(r.left, 191);
    EXPECT_EQ(r.top, 143);
    EXPECT_EQ(r.right, 831);
    EXPECT_EQ(r.bottom, 623);
    // At 150 % the default is 960 x 720, centred the same way.
    r = FrameRectangle(WindowPlacementRecord{}, SIZE{1920, 1080}, 144);
    EXPECT_EQ(r.left, 480);
    EXPECT_EQ(r.top, 180);
    EXPECT_EQ(r.right - r.left, 960);
    EXPECT_EQ(r.bottom - r.top, 720);
    // At 200 % on a small screen it is the whole area.
    r = FrameRectangle(WindowPlacementRecord{}, SIZE{1024, 740}, 192);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 1024);
    EXPECT_EQ(r.bottom, 740);
}

TEST(MainFrame, CloseAndExitOnlyHideWhileThePassTimerGoesOn) {
    AlbumManagerHarness h;
    ASSERT_TRUE(h.Start());
    HWND frame = h.frame->Handle();
    h.frame->ShowInitially(SW_SHOWNORMAL);
    ::SendMessageW(frame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(::IsWindow(frame));
    EXPECT_FALSE(::IsWindowVisible(frame));

    ::ShowWindow(frame, SW_SHOW);
    ::SendMessageW(frame, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_TRUE(::IsWindow(frame));
    EXPECT_FALSE(::IsWindowVisible(frame));

    // The first check comes about a second after the view's first update, hidden or not.
    DialogDriver::Pump(1500);
    EXPECT_NE(h.Log().find(L"No active account during this pass... skipping update."),
              std::wstring::npos);
}

TEST(MainFrame, BarsToggleAndTheMenuShowsTheirState) {
    AlbumManagerHarness h;
    ASSERT_TRUE(h.Start());
    h.frame->ShowInitially(SW_SHOWNORMAL);
    HWND frame = h.frame->Handle();
    RECT with_bars = WindowRect(h.List());
    ::SendMessageW(frame, WM_COMMAND, ID_VIEW_TOOLBAR, 0);
    ::SendMessageW(frame, WM_COMMAND, ID_VIEW_STATUS_BAR, 0);
    EXPECT_FALSE(::IsWindowVisible(h.frame->ToolBar()));
    EXPECT_FALSE(::IsWindowVisible(h.frame->StatusBar()));
    RECT without = WindowRect(h.List());
    EXPECT_LT(without.top, with_bars.top);
    EXPECT_GT(without.bottom, with_bars.bottom);

    HMENU view_menu = ::GetSubMenu(::GetMenu(frame), 1);
    ::SendMessageW(frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view_menu), 1);
    EXPECT_FALSE(::GetMenuState(view_menu, ID_VIEW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED);
    ::SendMessageW(frame, WM_COMMAND, ID_VIEW_TOOLBAR, 0);
    ::SendMessageW(frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view_menu), 1);
    EXPECT_TRUE(::GetMenuState(view_menu, ID_VIEW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED);
}

TEST(MainFrame, AlbumMenuIsEnabledByTheView) {
    AlbumManagerHarness h;
    h.StoreAlbums({h.Album(L"Alps", kEveryDay, true)});
    ASSERT_TRUE(h.Start());
    HWND frame = h.frame->Handle();
    HMENU album_menu = ::GetSubMenu(::GetMenu(frame), 0);
    ::SendMessageW(frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(album_menu), 0);
    // The only album is selected and active.
    EXPECT_TRUE(::GetMenuState(album_menu, ID_ALBUM_ACTIVATE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(::GetMenuState(album_menu, ID_ALBUM_DELETE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(::GetMenuState(album_menu, ID_APP_EXIT, MF_BYCOMMAND) & MF_GRAYED);
}

TEST(MainFrame, PromptsAndTooltipsComeFromTheCommandStrings) {
    AlbumManagerHarness h;
    ASSERT_TRUE(h.Start());
    HWND frame = h.frame->Handle();
    HMENU menu = ::GetSubMenu(::GetMenu(frame), 0);
    ::SendMessageW(frame, WM_MENUSELECT, MAKEWPARAM(ID_ALBUM_PROPERTIES, MF_HILITE),
                   reinterpret_cast<LPARAM>(menu));
    EXPECT_EQ(h.StatusText(), L"Properties for selected album");
    ::SendMessageW(frame, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(h.StatusText(), L"Ready");

    NMTTDISPINFOW tip = {};
    tip.hdr.hwndFrom = nullptr;
    tip.hdr.idFrom = ID_ALBUM_PROPERTIES;
    tip.hdr.code = TTN_GETDISPINFOW;
    ::SendMessageW(frame, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    ASSERT_NE(tip.lpszText, nullptr);
    EXPECT_STREQ(tip.lpszText, L"Properites");
}

TEST(MainFrame, HelpCommandsExplainThereIsNoHelpFile) {
    AlbumManagerHarness h;
    ASSERT_TRUE(h.Start());
    DialogDriver driver;
    for (int i = 0; i < 4; ++i)
        driver.Expect(L"Glimro - Album Manager", L"Glimro has no help file.", IDOK);
    for (UINT id : {ID_HELP_FINDER, ID_DEFAULT_HELP, ID_HELP, ID_CONTEXT_HELP})
        ::SendMessageW(h.frame->Handle(), WM_COMMAND, id, 0);
    EXPECT_TRUE(driver.AllAnswered());
    EXPECT_FALSE(driver.TimedOut());
}

TEST(MainFrame, AboutGoesToTheApplication) {
    AlbumManagerHarness h;
    ASSERT_TRUE(h.Start());
    int shown = 0;
    h.frame->OnAbout = [&shown] { ++shown; };
    ::SendMessageW(h.frame->Handle(), WM_COMMAND, ID_APP_ABOUT, 0);
    EXPECT_EQ(shown, 1);
}

} // namespace
} // namespace glimro

namespace glimro {
namespace {

TEST(MainFrame, DisabledCommandsFromMenusAndAcceleratorsAreDropped) {
    AlbumManagerHarness h;
    ASSERT_TRUE(h.Start()); // only the placeholder row: Delete and Properties are disabled
    DialogDriver driver;
    ::SendMessageW(h.frame->Handle(), WM_COMMAND, MAKEWPARAM(ID_ALBUM_DELETE, 1), 0);
    ::SendMessageW(h.frame->Handle(), WM_COMMAND, ID_ALBUM_DELETE, 0);
    DialogDriver::Pump(100);
    EXPECT_TRUE(driver.Dialogs().empty());

    // The Delete key posts to the view itself, past the enablement: it still asks.
    driver.Expect(L"Delete Album?", L"", IDCANCEL);
    ::SendMessageW(h.List(), WM_COMMAND, ID_ALBUM_DELETE, 0);
    EXPECT_TRUE(driver.AllAnswered());
}

TEST(MainFrame, ActivateCommandOnTheActiveAlbumIsDropped) {
    AlbumManagerHarness h;
    h.StoreAlbums({h.Album(L"Alps", kEveryDay, true), h.Album(L"Beaches")});
    ASSERT_TRUE(h.Start());
    h.Select(h.RowOf(L"Alps (on the day)"));
    ::SendMessageW(h.frame->Handle(), WM_COMMAND, MAKEWPARAM(ID_ALBUM_ACTIVATE, 1), 0);
    EXPECT_NE(h.StatusText(), L"Done");
    h.Select(h.RowOf(L"Beaches (on the day)"));
    ::SendMessageW(h.frame->Handle(), WM_COMMAND, MAKEWPARAM(ID_ALBUM_ACTIVATE, 1), 0);
    EXPECT_EQ(h.StatusText(), L"Done");
    EXPECT_TRUE(h.Record(h.RowOf(L"Beaches (on the day)"))->Enabled);
}

} // namespace
} // namespace glimro

namespace glimro {
namespace {

// A crash report the user was not told of: the start says so in the status bar, in place of
// "Ready", and remembers it; the next start is quiet.
TEST(CrashNotice, TheNextStartTellsOfANewReportOnce) {
    test::TempFolder crashes;
    Seam<std::wstring()>::Override folder(CrashFolder, [&] { return crashes.Path(); });
    test::WriteFileBytes(crashes.File(L"glimro-20261211-023000.txt"), "Glimro ended unexpectedly.");
    {
        AlbumManagerHarness h;
        ASSERT_TRUE(h.Start());
        EXPECT_EQ(h.StatusText().find(L"Glimro ended unexpectedly on "), 0u) << test::Narrow(h.StatusText());
        EXPECT_NE(h.StatusText().find(crashes.Path()), std::wstring::npos);
        EXPECT_EQ(ReadProductText(kCrashSeenValue).value_or(L""), L"glimro-20261211-023000.txt");
        ::SendMessageW(h.frame->Handle(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0); // a menu closed
        EXPECT_EQ(h.StatusText().find(L"Glimro ended unexpectedly on "), 0u);
    }
    AlbumManagerHarness again; // its own registry: as the first left it
    WriteProductText(kCrashSeenValue, L"glimro-20261211-023000.txt");
    ASSERT_TRUE(again.Start());
    EXPECT_EQ(again.StatusText(), L"Ready");
}

} // namespace
} // namespace glimro
