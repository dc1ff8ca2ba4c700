// Living with the resident instance: the notification-area icon's menu and tooltip, Next
// Picture, Pause across a restart, a real shuffle for "Random", and catching up after sleep.
#include "engine/monitor_wallpaper.h"
#include "log/activity_log.h"
#include "platform/clock.h"
#include "platform/text.h"
#include "platform/user_state.h"
#include "resource.h"
#include "scheduler/day_schedule.h"
#include "scheduler/interval_markers.h"
#include "scheduler/pass_check.h"
#include "scheduler/theme_switch.h"
#include "store/product_key.h"
#include "store/recent_pictures.h"
#include "support/entries.h"
#include "support/clock_values.h"
#include "support/dialog_driver.h"
#include "ui/album_manager_harness.h"
#include "ui/rotator.h"
#include "ui/tray_icon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <numeric>
#include <set>

namespace glimro {
namespace {

using test::AlbumManagerHarness;
using test::DialogDriver;

struct MenuItem {
    UINT id;
    std::wstring text;
    bool greyed;
    bool operator==(const MenuItem&) const = default;
};

std::vector<MenuItem> Items(HMENU menu) {
    std::vector<MenuItem> items;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = {};
        ::GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
        const UINT state = ::GetMenuState(menu, i, MF_BYPOSITION);
        if (state & MF_SEPARATOR)
            continue;
        items.push_back({::GetMenuItemID(menu, i), text, (state & MF_GRAYED) != 0});
    }
    return items;
}

TEST(TrayIcon, MenuFollowsPauseAndTheActiveAlbum) {
    const struct {
        bool paused, active;
        const wchar_t* pause_text;
    } cases[] = {{false, true, L"&Pause"}, {true, true, L"Res&ume"}, {false, false, L"&Pause"}};
    CAlbum album;
    for (const auto& c : cases) {
        HMENU menu = CreateTrayMenu(c.paused, c.active ? &album : nullptr);
        EXPECT_EQ(Items(menu), (std::vector<MenuItem>{
                                   {ID_ALBUM_NEXT, L"&Next Picture", !c.active},
                                   {ID_ALBUM_PREVIOUS, L"Pre&vious Picture", !c.active},
                                   {static_cast<UINT>(-1), L"Recent Pic&tures", true},
                                   {ID_ALBUM_PAUSE, c.pause_text, false},
                                   {ID_PICTURE_ABOUT, L"About This Pictu&re", true},
                                   {ID_PICTURE_KEEP, L"&Keep This Picture", true},
                                   {ID_PICTURE_SHOW_IN_FOLDER, L"Show in &Folder", true},
                                   {ID_PICTURE_NEVER_AGAIN, L"&Don't Show This Picture Again", true},
                                   {ID_TRAY_ALBUM_MANAGER, L"&Album Manager", false},
                                   {ID_APP_OPTIONS, L"&Options...", false},
                                   {ID_TRAY_EXIT, L"E&xit Glimro", false},
                               }));
        EXPECT_EQ(::GetMenuDefaultItem(menu, FALSE, 0), static_cast<UINT>(ID_TRAY_ALBUM_MANAGER));
        ::DestroyMenu(menu);
    }
    // With pictures shown: Recent Pictures lists them newest first, an '&' shown as it is;
    // an album showing a picture can skip it.
    album.FileList = {L"C:\\a.jpg"};
    album.LastIndex = 0;
    album.LastFile = L"C:\\a.jpg";
    const UniqueMenu menu(CreateTrayMenu(false, &album, {{L"Rock & Sea", nullptr}, {L"b.jpg", nullptr}}));
    const std::vector<MenuItem> items = Items(menu.Get());
    EXPECT_FALSE(items[2].greyed);
    EXPECT_FALSE(std::find(items.begin(), items.end(),
                           MenuItem{ID_PICTURE_NEVER_AGAIN, L"&Don't Show This Picture Again", false}) ==
                 items.end());
    EXPECT_EQ(Items(::GetSubMenu(menu.Get(), 2)),
              (std::vector<MenuItem>{{ID_RECENT_FIRST, L"Rock && Sea", false}, {ID_RECENT_FIRST + 1, L"b.jpg", false}}));
}

TEST(TrayIcon, TooltipNamesTheAlbumAndTheNextChange) {
    CAlbum album;
    album.Name = L"Seaside";
    album.Frequency = kEveryHour;
    const SYSTEMTIME now = test::LocalTimeAt(2026, 12, 7, 22, 15, 30);
    EXPECT_EQ(TrayTooltip(&album, true, now), L"Glimro: Paused");
    EXPECT_EQ(TrayTooltip(nullptr, false, now), L"Glimro: No active album");
    const std::wstring tip = TrayTooltip(&album, false, now);
    SYSTEMTIME at_eleven = test::LocalTimeAt(2026, 12, 7, 23, 0);
    wchar_t clock[64] = {};
    ::GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &at_eleven, nullptr, clock, 64);
    EXPECT_EQ(tip.rfind(L"Glimro: Seaside\nNext picture: ", 0), 0u) << test::Narrow(tip);
    EXPECT_NE(tip.find(clock), std::wstring::npos) << test::Narrow(tip);
    // A feed's picture: its title and credit, on a line of their own, control characters (a
    // line break, a C1 control, those that reverse the text) as blanks.
    album.Credit = {L"Pillars\nof\u202ECreation", L"NA\u0085SA\u2069", L"https://pictures.test/pillars"};
    EXPECT_EQ(TrayTooltip(&album, false, now).rfind(
                  L"Glimro: Seaside\nPillars of Creation \u2014 NA SA \nNext picture: ", 0),
              0u);
    album.Name = std::wstring(300, L'n');
    EXPECT_EQ(TrayTooltip(&album, false, now).size(), 127u);
}

class LivingTest : public ::testing::Test {
protected:
    AlbumManagerHarness h;
    std::vector<std::wstring> pictures;

    void SetUp() override {
        BuildLogPath();
        for (int i = 0; i < 7; ++i) {
            pictures.push_back(h.folder.File(L"p" + std::to_wstring(i) + L".bmp"));
            ASSERT_TRUE(test::WriteSolidBitmap(pictures.back(), 20, 10));
        }
    }
    void StoreActive(int mode, int entries) {
        CAlbum album = h.Album(L"Seaside", kEveryHour, true);
        album.Mode = mode;
        album.FileList.assign(pictures.begin(), pictures.begin() + entries);
        h.StoreAlbums({album});
    }
    bool Enabled(UINT id) {
        bool enabled = false;
        h.View().QueryCommandEnabled(id, &enabled);
        return enabled;
    }
};

TEST_F(LivingTest, NextPictureIsRecordedAsAScheduledChangeAndTheTimerLeavesItBe) {
    h.StoreAlbums({h.Album(L"Idle")});
    ASSERT_TRUE(h.Start());
    EXPECT_FALSE(Enabled(ID_ALBUM_NEXT)); // no active album
    h.frame.reset();

    StoreActive(kSequential, 3);
    ASSERT_TRUE(h.Start());
    ASSERT_TRUE(Enabled(ID_ALBUM_NEXT));
    const SYSTEMTIME now = LocalTime();
    ::SendMessageW(h.frame->Handle(), WM_COMMAND, ID_ALBUM_NEXT, 0);
    AlbumSet stored;
    stored.LoadAlbumList();
    EXPECT_EQ(stored.Albums().front()->LastIndex, 1);
    EXPECT_EQ(stored.Albums().front()->LastFile, pictures[1]);
    EXPECT_EQ(ReadIntervalMarker(kLastHour), now.wHour);
    EXPECT_EQ(ReadIntervalMarker(kLastDay), now.wDay);
    RunScheduledPass(LocalTime(), h.Rotator());
    EXPECT_NE(h.Log().find(L"This pass already ran... skipping update."), std::wstring::npos);
    EXPECT_EQ(h.albums.FindActiveAlbum()->LastIndex, 1);
}

// Don't Show This Picture Again shows the next picture at once and is saved; a recent
// picture comes back after a restart, out of turn, and the album goes on from its place.
TEST_F(LivingTest, DontShowAgainMovesOnAndARecentPictureComesBackOutOfTurn) {
    StoreActive(kSequential, 3);
    ASSERT_TRUE(h.Start());
    const auto command = [&](UINT id) { ::SendMessageW(h.frame->Handle(), WM_COMMAND, id, 0); };
    command(ID_ALBUM_NEXT);
    ASSERT_TRUE(Enabled(ID_PICTURE_NEVER_AGAIN));
    command(ID_PICTURE_NEVER_AGAIN);
    AlbumSet stored;
    stored.LoadAlbumList();
    EXPECT_EQ(stored.Albums().front()->Skipped, std::vector<std::wstring>{pictures[1]});
    EXPECT_EQ(stored.Albums().front()->LastFile, pictures[2]);
    h.frame.reset();
    while (!h.albums.Empty())
        h.albums.Remove(h.albums.Albums().front().get());

    ASSERT_TRUE(h.Start());
    const std::vector<RecentPicture> recent = ReadRecentPictures();
    ASSERT_EQ(recent.size(), 2u);
    EXPECT_EQ(recent[0].picture, pictures[2]);
    EXPECT_EQ(recent[1], (RecentPicture{pictures[1], L"Seaside", {}}));
    command(ID_RECENT_FIRST + 1);
    EXPECT_EQ(h.desktop.wallpaper, pictures[1]);
    EXPECT_EQ(h.albums.FindActiveAlbum()->LastFile, pictures[2]);
    EXPECT_EQ(ReadRecentPictures()[0].picture, pictures[1]);
    command(ID_ALBUM_NEXT);
    EXPECT_EQ(h.albums.FindActiveAlbum()->LastFile, pictures[0]);
    EXPECT_EQ(h.desktop.wallpaper, pictures[0]);
}

TEST_F(LivingTest, PauseSurvivesARestartStopsTheTimerAndLeavesNextPicture) {
    StoreActive(kSequential, 3);
    ASSERT_TRUE(h.Start());
    ::SendMessageW(h.frame->Handle(), WM_COMMAND, ID_ALBUM_PAUSE, 0);
    EXPECT_EQ(ReadProductNumber(kPausedValue, 0), 1u);
    h.frame.reset();
    while (!h.albums.Empty())
        h.albums.Remove(h.albums.Albums().front().get());

    ASSERT_TRUE(h.Start());
    EXPECT_TRUE(h.Rotator().Paused());
    EXPECT_EQ(h.StatusText(), kPausedStatus);
    EXPECT_EQ(h.frame->TrayTip(), L"Glimro: Paused");
    ::SendMessageW(h.frame->Handle(), WM_TIMER, kPassTimerId, 0); // a due hour album: still nothing
    EXPECT_EQ(h.Log(), L"");
    ::SendMessageW(h.frame->Handle(), WM_COMMAND, ID_ALBUM_NEXT, 0);
    EXPECT_EQ(h.albums.FindActiveAlbum()->LastIndex, 1);
}

// Every entry once per round in a random order, no entry twice in a row across a round's
// edge, and the round kept in the registry between passes (as across restarts).
TEST_F(LivingTest, RandomShowsEveryEntryOncePerRoundAndTheRoundSurvivesARestart) {
    StoreActive(kRandom, 7);
    std::vector<int> shown;
    for (int pass = 0; pass < 21; ++pass) {
        AlbumSet albums;
        albums.LoadAlbumList();
        CAlbum& album = *albums.Albums().front();
        ASSERT_EQ(album.ApplyNextImage(), kPassApplied);
        shown.push_back(album.LastIndex);
        albums.SaveAlbumList();
    }
    for (int round = 0; round < 3; ++round) {
        const std::set<int> seen(shown.begin() + 7 * round, shown.begin() + 7 * round + 7);
        EXPECT_EQ(seen.size(), 7u) << "round " << round;
    }
    for (size_t i = 1; i < shown.size(); ++i)
        EXPECT_NE(shown[i], shown[i - 1]) << i;
    // Not the list's own order every time.
    std::vector<int> in_order(7);
    std::iota(in_order.begin(), in_order.end(), 0);
    EXPECT_FALSE(std::equal(in_order.begin(), in_order.end(), shown.begin()) &&
                 std::equal(in_order.begin(), in_order.end(), shown.begin() + 7) &&
                 std::equal(in_order.begin(), in_order.end(), shown.begin() + 14));
}

TEST_F(LivingTest, AResumeFromSleepLeadsToACheckWithinSeconds) {
    StoreActive(kSequential, 3);
    ASSERT_TRUE(h.Start());
    h.Rotator().ArmPassTimer(3600000);
    ::SendMessageW(h.frame->Handle(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    DialogDriver::Pump(2500);
    EXPECT_NE(h.Log().find(L"Album list processed successfully."), std::wstring::npos);
    EXPECT_EQ(h.albums.FindActiveAlbum()->LastIndex, 1); // the due hour album's next entry
}

// A change that falls due waits while the user is busy (as each option says) and is made
// once, at the first check after the hold ends, the log saying it waited.
TEST_F(LivingTest, ADueChangeWaitsWhileTheUserIsBusyAndIsMadeOnceAfter) {
    StoreActive(kSequential, 3);
    ASSERT_TRUE(h.Start());
    bool busy = false, battery = false;
    Seam<bool()>::Override full_screen(FullScreenProgramRuns, [&] { return busy; });
    Seam<bool()>::Override power(RunsOnBattery, [&] { return battery; });
    constexpr DWORD kMissing = 2;
    const struct {
        const char* what;
        DWORD hold_full_screen, hold_battery;
        bool busy, battery, held;
    } cases[] = {
        {"a full-screen program, held when nothing is stored", kMissing, kMissing, true, false, true},
        {"a full-screen program, that hold off", 0, kMissing, true, false, false},
        {"on battery, not held when nothing is stored", kMissing, kMissing, false, true, false},
        {"on battery, held when asked", kMissing, 1, false, true, true},
    };
    const auto tick = [&] { ::SendMessageW(h.frame->Handle(), WM_TIMER, kPassTimerId, 0); };
    CAlbum& album = *h.albums.FindActiveAlbum();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const auto& [name, value] : {std::pair{kHoldFullScreenValue, c.hold_full_screen},
                                          std::pair{kHoldOnBatteryValue, c.hold_battery}}) {
            if (value == kMissing)
                ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kProductKey, name);
            else
                WriteProductNumber(name, value);
        }
        // Due: the last change was in another hour of another day.
        SYSTEMTIME earlier = LocalTime();
        earlier.wDay = static_cast<WORD>(earlier.wDay % 28 + 1);
        earlier.wHour = static_cast<WORD>((earlier.wHour + 12) % 24);
        WriteIntervalMarkers(earlier);
        busy = c.busy, battery = c.battery;
        const int before = album.LastIndex;
        tick();
        EXPECT_EQ(album.LastIndex == before, c.held);
        if (!c.held)
            continue;
        EXPECT_NE(h.Log().find(L"Holding the change while "), std::wstring::npos);
        busy = battery = false;
        tick();
        EXPECT_EQ(album.LastIndex, (before + 1) % 3);
        EXPECT_NE(h.Log().find(L"The change waited until the hold ended."), std::wstring::npos);
        tick();
        EXPECT_EQ(album.LastIndex, (before + 1) % 3); // once
    }
}

// The hotkeys come from their values (or the defaults); one another program holds is named in
// the log and the Options window. The Options window changes them at once, and takes only a
// place that is one: a latitude with a comma is refused with a message, the window open.
TEST_F(LivingTest, HotkeysAndThePlaceFollowTheOptionsWindow) {
    StoreActive(kSequential, 3);
    WriteProductNumber(kHotkeyPauseValue, MAKEWORD('Q', HOTKEYF_CONTROL | HOTKEYF_ALT));
    WriteProductNumber(kHotkeyPreviousValue, 0); // none
    HWND other = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   nullptr, nullptr);
    ASSERT_TRUE(::RegisterHotKey(other, 1, MOD_CONTROL | MOD_ALT | MOD_SHIFT, VK_RIGHT));
    ASSERT_TRUE(h.Start());
    h.frame->RegisterHotkeys();
    EXPECT_EQ(h.frame->Hotkeys().Problems(),
              std::vector<std::wstring>{
                  L"Ctrl+Alt+Shift+Right for Next Picture is in use by another program"});
    EXPECT_NE(h.Log().find(L"The hotkey Ctrl+Alt+Shift+Right for Next Picture is in use by "
                           L"another program."),
              std::wstring::npos);
    EXPECT_FALSE(::RegisterHotKey(other, 2, MOD_CONTROL | MOD_ALT, 'Q')); // Glimro's now
    ::SendMessageW(h.frame->Handle(), WM_HOTKEY, 3, 0);                    // as the system sends it
    test::DialogDriver::Pump(50);
    EXPECT_TRUE(h.Rotator().Paused());

    ::UnregisterHotKey(other, 1);
    HWND sheet = nullptr;
    std::wstring status, refusal;
    test::OnWindow options(L"Glimro Options", [&](HWND window) {
        sheet = window;
        HWND page = PropSheet_GetCurrentPageHwnd(sheet);
        wchar_t text[200] = {};
        ::GetDlgItemTextW(page, IDC_HOTKEY_STATUS, text, 200);
        status = text;
        ::SendDlgItemMessageW(page, IDC_HOTKEY_NEXT, HKM_SETHOTKEY,
                              MAKEWORD('N', HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
        ::SetDlgItemTextW(page, IDC_OPTION_LATITUDE, L"52,37");
        ::SetDlgItemTextW(page, IDC_OPTION_LONGITUDE, L" 4.9");
        PropSheet_PressButton(sheet, PSBTN_OK);
    });
    test::OnWindow refused(L"Glimro - Album Manager", [&](HWND box) {
        wchar_t text[300] = {};
        ::GetDlgItemTextW(box, 0xFFFF, text, 300);
        refusal = text;
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        ::SetDlgItemTextW(PropSheet_GetCurrentPageHwnd(sheet), IDC_OPTION_LATITUDE, L"52.37");
        PropSheet_PressButton(sheet, PSBTN_OK);
    });
    ::SendMessageW(h.frame->Handle(), WM_COMMAND, ID_APP_OPTIONS, 0);
    ASSERT_TRUE(options.Ran() && refused.Ran());
    EXPECT_NE(status.find(L"Ctrl+Alt+Shift+Right for Next Picture"), std::wstring::npos);
    EXPECT_EQ(refusal.rfind(L"The latitude must be decimal degrees from -90 to 90", 0), 0u);
    EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, kProductKey, kLatitudeValue).Text(), L"52.37");
    EXPECT_EQ(ReadProductNumber(kHotkeyNextValue, 0), MAKEWORD('N', HOTKEYF_CONTROL | HOTKEYF_ALT));
    EXPECT_TRUE(h.frame->Hotkeys().Problems().empty());
    EXPECT_FALSE(::RegisterHotKey(other, 3, MOD_CONTROL | MOD_ALT, 'N')); // at once
    EXPECT_TRUE(::RegisterHotKey(other, 4, MOD_CONTROL | MOD_ALT | MOD_SHIFT, VK_RIGHT));
    ::DestroyWindow(other);
}

// The theme's choice in the Options window takes effect at once, and a resume in the
// morning makes it light again; the user's values are the only ones written.
TEST_F(LivingTest, TheThemeFollowsTheOptionsWindowAtOnceAndAfterAResume) {
    SYSTEMTIME now = test::LocalTimeAt(2027, 3, 28, 20, 0);
    Seam<SYSTEMTIME()>::Override clock(LocalTime, [&] { return now; });
    ASSERT_TRUE(h.Start());
    test::OnWindow options(L"Glimro Options", [&](HWND sheet) {
        HWND page = PropSheet_GetCurrentPageHwnd(sheet);
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(page, IDC_THEME_SCOPE)));
        test::ChooseInCombo(page, IDC_THEME_WHEN, kThemeAtTimes);
        test::ChooseInCombo(page, IDC_THEME_SCOPE, 1);
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(page, IDC_THEME_DARK_AT)));
        SYSTEMTIME dark = {2001, 1, 1, 1, 19, 30, 0, 0};
        ::SendDlgItemMessageW(page, IDC_THEME_DARK_AT, DTM_SETSYSTEMTIME, GDT_VALID,
                              reinterpret_cast<LPARAM>(&dark));
        PropSheet_PressButton(sheet, PSBTN_OK);
    });
    ::SendMessageW(h.frame->Handle(), WM_COMMAND, ID_APP_OPTIONS, 0);
    ASSERT_TRUE(options.Ran());
    EXPECT_EQ(ReadProductNumber(kThemeSwitchValue, 0), static_cast<DWORD>(kThemeAtTimes));
    EXPECT_EQ(ReadProductNumber(kThemeDarkAtValue, 0), 19u * 60 + 30);
    DialogDriver::Pump(2500);
    for (const wchar_t* name : {kAppsLightValue, kSystemLightValue})
        EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, kPersonalizeKey, name).Dword(), 0u);
    now = test::LocalTimeAt(2027, 3, 29, 8, 0);
    ::SendMessageW(h.frame->Handle(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    DialogDriver::Pump(2500);
    for (const wchar_t* name : {kAppsLightValue, kSystemLightValue})
        EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, kPersonalizeKey, name).Dword(), 1u);
}

// A plain key would be taken from everyone's typing: stored, it is not registered; typed in
// the Options window, it is refused with a message and nothing is written, and so are keys
// that two actions share. F13-F24 may stand alone.
TEST_F(LivingTest, APlainKeyOrKeysTwoActionsShareAreNeverRegistered) {
    StoreActive(kSequential, 3);
    WriteProductNumber(kHotkeyNextValue, 'P');
    WriteProductNumber(kHotkeyPauseValue, kDefaultHotkeyPrevious);
    ASSERT_TRUE(h.Start());
    h.frame->RegisterHotkeys();
    EXPECT_EQ(h.frame->Hotkeys().Problems(),
              (std::vector<std::wstring>{
                  L"P for Next Picture needs Ctrl or Alt",
                  L"Ctrl+Alt+Shift+Left for Pause/Resume is also Previous Picture's"}));
    EXPECT_TRUE(::RegisterHotKey(nullptr, 1, 0, 'P')); // still everyone's
    ::UnregisterHotKey(nullptr, 1);

    const struct {
        WORD pause;
        const wchar_t* refusal; // empty: taken
    } cases[] = {
        {'P', L"Pause/Resume: P alone would be taken from every program. Add Ctrl or Alt"},
        {MAKEWORD('P', HOTKEYF_SHIFT), L"Pause/Resume: Shift+P alone would be taken"},
        {kDefaultHotkeyNext & 0xF7FF, // the same keys, without the extended flag
         L"Next Picture and Pause/Resume both have Ctrl+Alt+Shift+Right. Give each its own keys."},
        {VK_F13, L""},
    };
    WriteProductNumber(kHotkeyNextValue, kDefaultHotkeyNext);
    for (const auto& c : cases) {
        SCOPED_TRACE(HotkeyText(c.pause));
        WriteProductNumber(kHotkeyPauseValue, kDefaultHotkeyPause);
        HWND sheet = nullptr;
        std::wstring refusal;
        test::OnWindow options(L"Glimro Options", [&](HWND window) {
            sheet = window;
            ::SendDlgItemMessageW(PropSheet_GetCurrentPageHwnd(sheet), IDC_HOTKEY_PAUSE,
                                  HKM_SETHOTKEY, c.pause, 0);
            PropSheet_PressButton(sheet, PSBTN_OK);
        });
        test::OnWindow refused(L"Glimro - Album Manager", [&](HWND box) {
            wchar_t text[300] = {};
            ::GetDlgItemTextW(box, 0xFFFF, text, 300);
            refusal = text;
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            PropSheet_PressButton(sheet, PSBTN_CANCEL);
        });
        ::SendMessageW(h.frame->Handle(), WM_COMMAND, ID_APP_OPTIONS, 0);
        ASSERT_TRUE(options.Ran());
        EXPECT_EQ(refused.Ran(), *c.refusal != L'\0') << refusal;
        EXPECT_EQ(refusal.substr(0, std::wcslen(c.refusal)), c.refusal);
        EXPECT_EQ(ReadProductNumber(kHotkeyPauseValue, 0), *c.refusal ? kDefaultHotkeyPause : c.pause);
    }
    EXPECT_TRUE(h.frame->Hotkeys().Problems().empty()); // F13 was taken
}

// The caption chosen in the Options window is stored and shows at once on the picture of now;
// its corner and parts wait until it is on.
TEST_F(LivingTest, TheCaptionChosenInOptionsShowsOnThePictureOfNow) {
    StoreActive(kSequential, 3);
    ASSERT_TRUE(h.Start());
    ::SendMessageW(h.frame->Handle(), WM_COMMAND, ID_ALBUM_NEXT, 0);
    ASSERT_EQ(h.desktop.wallpaper, pictures[1]); // small enough to go as it is
    test::OnWindow options(L"Glimro Options", [&](HWND sheet) {
        HWND page = PropSheet_GetCurrentPageHwnd(sheet);
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(page, IDC_OPTION_CAPTION_CORNER)));
        EXPECT_EQ(WindowText(::GetDlgItem(page, IDC_OPTION_CAPTION_CORNER)), L"Bottom right");
        ::SendDlgItemMessageW(page, IDC_OPTION_CAPTION, BM_CLICK, 0, 0);
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(page, IDC_OPTION_CAPTION_CORNER)));
        test::ChooseInCombo(page, IDC_OPTION_CAPTION_CORNER, kTopLeft);
        ::SendDlgItemMessageW(page, IDC_OPTION_CAPTION_ALBUM, BM_CLICK, 0, 0);
        PropSheet_PressButton(sheet, PSBTN_OK);
    });
    ::SendMessageW(h.frame->Handle(), WM_COMMAND, ID_APP_OPTIONS, 0);
    ASSERT_TRUE(options.Ran());
    EXPECT_EQ(ReadProductNumber(kCaptionValue, 0), 1u);
    EXPECT_EQ(ReadProductNumber(kCaptionCornerValue, 9), static_cast<DWORD>(kTopLeft));
    EXPECT_EQ(ReadProductNumber(kCaptionAlbumValue, 0), 1u);
    EXPECT_EQ(ReadProductNumber(kCaptionDateValue, 9), 0u);
    DialogDriver::Pump(kLayoutSettleDelay + 1500);
    EXPECT_EQ(h.desktop.wallpaper, CaptionedPath());
    AlbumSet stored;
    stored.LoadAlbumList();
    EXPECT_EQ(stored.Albums().front()->LastFile, pictures[1]); // the same picture, captioned
}

} // namespace
} // namespace glimro
