#include "ui/album_manager_harness.h" // first: the desktop headers need WinINet declared
#include "ui/album_list_view.h"

#include "engine/monitor_wallpaper.h"
#include "platform/desktop.h"
#include "platform/monitors.h"

#include "platform/clock.h"
#include "resource.h"
#include "store/product_key.h"
#include "support/entries.h"
#include "support/clock_values.h"
#include "support/dialog_driver.h"
#include "support/test_images.h"
#include "ui/album_manager_harness.h"

#include <gtest/gtest.h>

namespace glimro {
namespace {

using test::AlbumManagerHarness;
using test::DialogDriver;
using test::OnWindow;

const std::wstring kAlbumKeys = std::wstring(kAlbumListKey) + L"\\";

TEST(AlbumRows, FirstColumnCarriesTheFrequencyLabelAndRowsAreSorted) {
    AlbumManagerHarness h;
    h.StoreAlbums({h.Album(L"F", 5), h.Album(L"A", 0), h.Album(L"C", 2), h.Album(L"G", 9),
                   h.Album(L"B", 1), h.Album(L"D", 3), h.Album(L"E", 4)});
    ASSERT_TRUE(h.Start());
    EXPECT_EQ(h.FirstColumn(),
              (std::vector<std::wstring>{L"A (on the minute)", L"B (on the hour)",
                                         L"C (on the day)", L"D (on the week)", L"E (on the month)",
                                         L"F (calendar)", L"G"}));
    for (int row = 0; row < h.RowCount(); ++row)
        EXPECT_EQ(h.Record(row)->Name, h.Text(row, 0).substr(0, 1));
}

// The set's display order, by which the active album is found, is the order the rows show.
TEST(AlbumRows, RowsFollowTheSetsDisplayOrder) {
    AlbumManagerHarness h;
    h.StoreAlbums({h.Album(L"zebra", 2), h.Album(L"Apple", 2), h.Album(L"apple pie", 0),
                   h.Album(L"Éclair", 1), h.Album(L"eagle", 3), h.Album(L"10 Downing", 4),
                   h.Album(L"9 Elms", 4), h.Album(L"_under", 2), h.Album(L"Apple", 9)});
    ASSERT_TRUE(h.Start());
    const auto names = [](const std::vector<CAlbum*>& albums) {
        std::vector<std::wstring> texts;
        for (const CAlbum* album : albums)
            texts.push_back(DisplayText(*album));
        return texts;
    };
    EXPECT_EQ(names(h.View().Rows()), names(h.albums.DisplayOrder()));
}

TEST(AlbumRows, CellsShowDescriptionLastRunAndCurrentFile) {
    AlbumManagerHarness h;
    CAlbum run = h.Album(L"Holiday", kEveryWeek, true);
    run.Description = L"Summer";
    run.LastFile = L"C:\\Pictures\\Dunes.bmp";
    run.LastTime = test::LocalTimeAt(2026, 11, 30, 21, 5);
    h.StoreAlbums({run, h.Album(L"Unused")});
    ASSERT_TRUE(h.Start());

    int holiday = h.RowOf(L"Holiday (on the week)");
    ASSERT_GE(holiday, 0);
    EXPECT_EQ(h.Text(holiday, 1), L"Summer");
    EXPECT_EQ(h.Text(holiday, 3), L"C:\\Pictures\\Dunes.bmp");
    EXPECT_EQ(h.StateImage(holiday), kStateActive);

    int unused = h.RowOf(L"Unused (on the day)");
    EXPECT_EQ(h.Text(unused, 2), L"Never");
    EXPECT_EQ(h.Text(unused, 3), L"Unavailable");
    EXPECT_EQ(h.StateImage(unused), kStateInactive);

    // The date in the system's short format, then the 12-hour time with its designator.
    SYSTEMTIME t = run.LastTime;
    wchar_t date[100] = {}, pm[100] = {};
    ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, date, 100);
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_S2359, pm, 100);
    EXPECT_EQ(h.Text(holiday, 2), std::wstring(date) + L" at 09:05 " + pm);
}

TEST(AlbumRows, LastRunTextUsesTwoDigitTwelveHourTime) {
    wchar_t am[100] = {};
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_S1159, am, 100);
    std::wstring text = LastRunText(test::LocalTimeAt(2005, 9, 26, 0, 7));
    EXPECT_NE(text.find(L" at 12:07 "), std::wstring::npos) << text;
    EXPECT_EQ(text.substr(text.size() - wcslen(am)), am);
    EXPECT_EQ(LastRunText(SYSTEMTIME{}), L"Never");
}

TEST(AlbumRows, EmptyListShowsOnlyThePlaceholderUnselected) {
    AlbumManagerHarness h;
    ASSERT_TRUE(h.Start());
    ASSERT_EQ(h.RowCount(), 1);
    EXPECT_EQ(h.Text(0, 0), kPlaceholderRow);
    EXPECT_EQ(h.Record(0), nullptr);
    EXPECT_EQ(h.Selected(), -1);
    EXPECT_EQ(h.StateImage(0), 0);
    EXPECT_EQ(ListView_GetImageList(h.List(), LVSIL_STATE), nullptr);
    // The first column fits the placeholder's text, which is wider than the initial 150.
    EXPECT_GT(ListView_GetColumnWidth(h.List(), 0),
              ListView_GetStringWidth(h.List(), kPlaceholderRow));
}

// By the album, not its text: a renamed album, or one whose name is longer than any buffer
// would hold, stays selected; an album that went leaves the first row selected.
TEST(AlbumRows, RefreshKeepsTheSelectedAlbumSelected) {
    AlbumManagerHarness h;
    const std::wstring long_name(255, L'Z');
    h.StoreAlbums({h.Album(L"Alps"), h.Album(L"Beaches"), h.Album(long_name)});
    ASSERT_TRUE(h.Start());
    EXPECT_EQ(h.Selected(), 0);
    h.Select(2);
    h.View().RefreshAlbumList();
    EXPECT_EQ(h.Record(h.Selected())->Name, long_name);

    h.Select(h.RowOf(L"Beaches (on the day)"));
    h.Record(h.Selected())->Name = L"Coast";
    h.View().RefreshAlbumList();
    EXPECT_EQ(h.Text(h.Selected(), 0), L"Coast (on the day)");

    h.View().Albums().Remove(h.Record(h.Selected()));
    h.View().RefreshAlbumList();
    EXPECT_EQ(h.Selected(), 0);
}

TEST(AlbumRows, ColumnsOnlyWiden) {
    AlbumManagerHarness h;
    h.StoreAlbums({h.Album(L"Alps")});
    ASSERT_TRUE(h.Start());
    HWND list = h.List();
    ListView_SetColumnWidth(list, 1, 400);
    h.View().RefreshAlbumList();
    EXPECT_EQ(ListView_GetColumnWidth(list, 1), 400);

    std::wstring long_text(120, L'w');
    h.Record(0)->LastFile = long_text;
    int before = ListView_GetColumnWidth(list, 3);
    h.View().RefreshAlbumList();
    EXPECT_GT(ListView_GetColumnWidth(list, 3), before);
    EXPECT_GE(ListView_GetColumnWidth(list, 3), ListView_GetStringWidth(list, long_text.c_str()));
}

struct EnablementCase {
    const char* what;
    int select; // -1 none, 0 the row of "Active", 1 the row of "Inactive"
    bool empty; // only the placeholder row
    bool properties, del, activate;
};

TEST(AlbumCommandEnablement, FollowsTheSelectedRow) {
    const EnablementCase cases[] = {
        {"no selection", -1, false, false, false, false},
        {"placeholder", 0, true, false, false, false},
        {"active album", 0, false, true, true, false},
        {"inactive album", 1, false, true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AlbumManagerHarness h;
        if (!c.empty)
            h.StoreAlbums({h.Album(L"Active", kEveryDay, true), h.Album(L"Inactive")});
        ASSERT_TRUE(h.Start());
        h.Select(c.select);
        bool enabled = false;
        ASSERT_TRUE(h.View().QueryCommandEnabled(ID_ALBUM_PROPERTIES, &enabled));
        EXPECT_EQ(enabled, c.properties);
        ASSERT_TRUE(h.View().QueryCommandEnabled(ID_ALBUM_DELETE, &enabled));
        EXPECT_EQ(enabled, c.del);
        ASSERT_TRUE(h.View().QueryCommandEnabled(ID_ALBUM_ACTIVATE, &enabled));
        EXPECT_EQ(enabled, c.activate);
        ASSERT_TRUE(h.View().QueryCommandEnabled(ID_ALBUM_NEW, &enabled));
        EXPECT_TRUE(enabled);

        // The toolbar follows the selection as it changes.
        HWND bar = h.frame->ToolBar();
        EXPECT_EQ(::SendMessageW(bar, TB_ISBUTTONENABLED, ID_ALBUM_DELETE, 0) != 0, c.del);
        EXPECT_EQ(::SendMessageW(bar, TB_ISBUTTONENABLED, ID_ALBUM_PROPERTIES, 0) != 0,
                  c.properties);
        EXPECT_NE(::SendMessageW(bar, TB_ISBUTTONENABLED, ID_ALBUM_NEW, 0), 0);
        EXPECT_NE(::SendMessageW(bar, TB_ISBUTTONENABLED, ID_APP_ABOUT, 0), 0);
    }
}

class AlbumInputTest : public ::testing::Test {
protected:
    AlbumManagerHarness h;
    Seam<SYSTEMTIME()>::Override clock{LocalTime,
                                       [] { return test::LocalTimeAt(2026, 3, 5, 10, 30); }};

    void SetUp() override {
        CAlbum active = h.Album(L"Alps", kEveryDay, true);
        CAlbum other = h.Album(L"Beaches", kEveryHour);
        active.FileList = {h.folder.File(L"a0.bmp"), h.folder.File(L"a1.bmp")};
        other.FileList = {h.folder.File(L"b0.bmp"), h.folder.File(L"b1.bmp"),
                          h.folder.File(L"b2.bmp"), h.folder.File(L"b3.bmp")};
        other.LastIndex = 3;
        for (const auto& file : other.FileList)
            test::WriteSolidBitmap(file.Text, 8, 8);
        h.StoreAlbums({active, other});
        ASSERT_TRUE(h.Start());
    }
    int Alps() { return h.RowOf(L"Alps (on the day)"); }
    int Beaches() { return h.RowOf(L"Beaches (on the hour)"); }
    void PressSpace() {
        ::SetFocus(h.List());
        ::SendMessageW(h.List(), WM_KEYDOWN, VK_SPACE, 0);
    }
    void ClickStateIcon(int row) {
        RECT bounds = {};
        ListView_GetItemRect(h.List(), row, &bounds, LVIR_BOUNDS);
        LPARAM point = MAKELPARAM(bounds.left + 4, (bounds.top + bounds.bottom) / 2);
        ::SendMessageW(h.List(), WM_LBUTTONDOWN, MK_LBUTTON, point);
    }
    UINT PostedCommand() {
        MSG msg;
        if (!::PeekMessageW(&msg, h.List(), WM_COMMAND, WM_COMMAND, PM_REMOVE))
            return 0;
        return LOWORD(msg.wParam);
    }
};

TEST_F(AlbumInputTest, SpaceActivatesTheSelectedAlbumAndReappliesItsCurrentEntry) {
    h.Select(Beaches());
    RegKey::DeleteTree(HKEY_CURRENT_USER, kAlbumListKey);
    PressSpace();

    EXPECT_EQ(h.StateImage(Beaches()), kStateActive);
    EXPECT_EQ(h.StateImage(Alps()), kStateInactive);
    EXPECT_TRUE(h.Record(Beaches())->Enabled);
    EXPECT_FALSE(h.Record(Alps())->Enabled);
    // LastIndex 3 of four entries is applied again, not the next one.
    EXPECT_EQ(h.desktop.wallpaper, h.folder.File(L"b3.bmp"));
    EXPECT_EQ(h.Record(Beaches())->LastIndex, 3);
    EXPECT_EQ(h.StatusText(), L"Done");
    auto stored = test::ReadStoredValue(HKEY_CURRENT_USER, kAlbumKeys + L"Beaches", L"Enabled");
    EXPECT_EQ(stored.Dword(), 1u);
    EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, kAlbumKeys + L"Alps", L"Enabled").Dword(),
              0u);
}

TEST_F(AlbumInputTest, ActivatingTheActiveAlbumDoesNothingMore) {
    h.Select(Alps());
    RegKey::DeleteTree(HKEY_CURRENT_USER, kAlbumListKey);
    PressSpace();
    ClickStateIcon(Alps());
    EXPECT_EQ(h.desktop.apply_calls, 0);
    EXPECT_TRUE(h.desktop.wallpaper.empty());
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kAlbumListKey));
    EXPECT_NE(h.StatusText(), L"Done");
    EXPECT_EQ(h.Selected(), Alps());
}

TEST_F(AlbumInputTest, ClickOnAnEmptyBoxSelectsAndActivatesThatRow) {
    h.Select(Alps());
    ClickStateIcon(Beaches());
    EXPECT_EQ(h.Selected(), Beaches());
    EXPECT_EQ(ListView_GetSelectedCount(h.List()), 1u);
    EXPECT_TRUE(h.Record(Beaches())->Enabled);
    EXPECT_FALSE(h.Record(Alps())->Enabled);
    EXPECT_EQ(h.desktop.wallpaper, h.folder.File(L"b3.bmp"));
}

TEST_F(AlbumInputTest, ClickOnTheTextOnlySelects) {
    h.Select(Alps());
    RECT label = {};
    ListView_GetItemRect(h.List(), Beaches(), &label, LVIR_LABEL);
    ::SendMessageW(h.List(), WM_LBUTTONDOWN, MK_LBUTTON,
                   MAKELPARAM(label.left + 10, (label.top + label.bottom) / 2));
    ::SendMessageW(h.List(), WM_LBUTTONUP, 0,
                   MAKELPARAM(label.left + 10, (label.top + label.bottom) / 2));
    EXPECT_EQ(h.Selected(), Beaches());
    EXPECT_FALSE(h.Record(Beaches())->Enabled);
    EXPECT_EQ(h.desktop.apply_calls, 0);
}

TEST_F(AlbumInputTest, ActivateWithNothingSelectedLeavesNoAlbumActive) {
    h.Select(-1);
    h.Commands().ActivateAlbum();
    EXPECT_FALSE(h.Record(0)->Enabled);
    EXPECT_FALSE(h.Record(1)->Enabled);
    EXPECT_EQ(h.desktop.apply_calls, 0);
    EXPECT_EQ(h.StatusText(), L"Done");
    EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, kAlbumKeys + L"Alps", L"Enabled").Dword(),
              0u);
}

TEST_F(AlbumInputTest, DeleteKeyAsksAndOkRemovesTheAlbum) {
    h.Select(Beaches());
    DialogDriver driver;
    driver.Expect(L"Delete Album?", L"Are you sure you want to delete the selected album?", IDOK);
    MSG key = {};
    key.hwnd = h.List();
    key.message = WM_KEYUP;
    key.wParam = VK_DELETE;
    EXPECT_FALSE(h.View().PreTranslateMessage(key));
    DialogDriver::Pump(300);

    EXPECT_TRUE(driver.AllAnswered());
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(h.FirstColumn(), std::vector<std::wstring>{L"Alps (on the day)"});
    EXPECT_EQ(h.View().Albums().Size(), 1u);
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kAlbumKeys + L"Beaches"));
    EXPECT_TRUE(test::KeyExists(HKEY_CURRENT_USER, kAlbumKeys + L"Alps"));
}

// The album the user confirmed goes, whatever a refresh selected while the question was open.
TEST_F(AlbumInputTest, DeleteRemovesTheAlbumTheQuestionWasAbout) {
    h.Select(Beaches());
    OnWindow answer(L"Delete Album?", [&](HWND box) {
        h.Select(Alps());
        h.View().RefreshAlbumList();
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    h.Commands().DeleteAlbum();
    ASSERT_TRUE(answer.Ran());
    EXPECT_EQ(h.FirstColumn(), std::vector<std::wstring>{L"Alps (on the day)"});
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kAlbumKeys + L"Beaches"));
}

TEST_F(AlbumInputTest, DeleteCancelledChangesNothing) {
    h.Select(Beaches());
    DialogDriver driver;
    driver.Expect(L"Delete Album?", L"Are you sure", IDCANCEL);
    ::SendMessageW(h.frame->Handle(), WM_COMMAND, ID_ALBUM_DELETE, 0);
    EXPECT_TRUE(driver.AllAnswered());
    EXPECT_EQ(h.RowCount(), 2);
    EXPECT_EQ(h.View().Albums().Size(), 2u);
    EXPECT_TRUE(test::KeyExists(HKEY_CURRENT_USER, kAlbumKeys + L"Beaches"));
}

TEST_F(AlbumInputTest, DeletingTheLastAlbumLeavesThePlaceholder) {
    DialogDriver driver;
    driver.Expect(L"Delete Album?", L"", IDOK);
    driver.Expect(L"Delete Album?", L"", IDOK);
    h.Select(0);
    h.Commands().DeleteAlbum();
    h.Select(0);
    h.Commands().DeleteAlbum();
    EXPECT_TRUE(driver.AllAnswered());
    EXPECT_EQ(h.FirstColumn(), std::vector<std::wstring>{kPlaceholderRow});
    EXPECT_TRUE(h.View().Albums().Empty());
}

TEST_F(AlbumInputTest, DeleteWithNothingSelectedStillAsksAndRemovesNothing) {
    h.Select(-1);
    DialogDriver driver;
    driver.Expect(L"Delete Album?", L"", IDOK);
    h.Commands().DeleteAlbum();
    EXPECT_TRUE(driver.AllAnswered());
    EXPECT_EQ(h.RowCount(), 2);
}

TEST_F(AlbumInputTest, InsertDoubleClickAndEnterPostTheirCommandsToTheView) {
    MSG insert = {};
    insert.hwnd = h.List();
    insert.message = WM_KEYUP;
    insert.wParam = VK_INSERT;
    h.View().PreTranslateMessage(insert);
    EXPECT_EQ(PostedCommand(), static_cast<UINT>(ID_ALBUM_NEW));

    RECT label = {};
    ListView_GetItemRect(h.List(), 0, &label, LVIR_LABEL);
    LPARAM point = MAKELPARAM(label.left + 10, (label.top + label.bottom) / 2);
    ::SendMessageW(h.List(), WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    ::SendMessageW(h.List(), WM_LBUTTONUP, 0, point);
    EXPECT_EQ(PostedCommand(), static_cast<UINT>(ID_ALBUM_PROPERTIES));

    NMHDR enter = {h.List(), ID_VIEW_ALBUM_LIST, static_cast<UINT>(NM_RETURN)};
    ::SendMessageW(h.frame->Handle(), WM_NOTIFY, enter.idFrom, reinterpret_cast<LPARAM>(&enter));
    EXPECT_EQ(PostedCommand(), static_cast<UINT>(ID_ALBUM_PROPERTIES));
    EXPECT_EQ(PostedCommand(), 0u);
}

TEST(ShortenToFit, KeepsTheLongestPrefixThatFitsWithTheEllipsis) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    auto width = [dc](const std::wstring& text) {
        SIZE size = {};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    const std::wstring text = L"C:\\Pictures\\Summer\\Lighthouse at dusk.bmp";
    const int full = width(text);
    struct Case {
        int cell, allowance;
        bool shortened;
    } cases[] = {{full + 12, 12, false}, {full + 11, 12, true}, {full / 2, 12, true},
                 {full + 4, 4, false},   {1, 4, true},          {0, 12, true}};
    for (const auto& c : cases) {
        std::wstring shown = ShortenToFit(dc, text, c.cell, c.allowance);
        SCOPED_TRACE(c.cell);
        if (!c.shortened) {
            EXPECT_EQ(shown, text);
            continue;
        }
        ASSERT_GE(shown.size(), 4u);
        ASSERT_EQ(shown.substr(shown.size() - 3), L"...");
        std::wstring prefix = shown.substr(0, shown.size() - 3);
        EXPECT_EQ(text.compare(0, prefix.size(), prefix), 0);
        if (prefix.size() > 1) { // fits, and one more character would not
            EXPECT_LE(width(prefix) + c.allowance + width(L"..."), c.cell);
            EXPECT_GT(width(text.substr(0, prefix.size() + 1)) + c.allowance + width(L"..."),
                      c.cell);
        }
    }
    EXPECT_EQ(ShortenToFit(dc, L"", 0, 12), L"");
    ::DeleteDC(dc);
}

} // namespace
} // namespace glimro

namespace glimro {
namespace {

TEST(ViewPassCheck, AFailedChangeWaitsForTheNextIntervalAndASucceededOneIsNotRepeated) {
    AlbumManagerHarness h;
    CAlbum album = h.Album(L"Minutes", kEveryMinute, true);
    album.FileList = {h.folder.File(L"one.bmp")};
    test::WriteSolidBitmap(album.FileList[0].Text, 8, 8);
    h.StoreAlbums({album});
    ASSERT_TRUE(h.Start());
    SYSTEMTIME tick = test::LocalTimeAt(2026, 3, 5, 10, 30);
    Seam<SYSTEMTIME()>::Override clock{LocalTime, [&] { return tick; }};
    h.desktop.apply_result = E_FAIL;
    EXPECT_EQ(RunScheduledPass(tick, h.Rotator()), 10000u);
    EXPECT_EQ(RunScheduledPass(tick, h.Rotator()), 10000u);
    EXPECT_EQ(h.desktop.apply_calls, 1); // the minute counts as tried
    EXPECT_EQ(h.StatusText(), L"Done");

    h.desktop.apply_result = S_OK;
    tick = test::LocalTimeAt(2026, 3, 5, 10, 31);
    EXPECT_EQ(RunScheduledPass(tick, h.Rotator()), 10000u);
    EXPECT_EQ(h.desktop.apply_calls, 2);
    EXPECT_EQ(RunScheduledPass(tick, h.Rotator()), 10000u);
    EXPECT_EQ(h.desktop.apply_calls, 2);
    EXPECT_NE(h.Log().find(L"This pass already ran... skipping update."), std::wstring::npos);
}

} // namespace
} // namespace glimro

namespace glimro {
namespace {

// The first check comes a second after the view's first update; activating an album moves
// it a minute on, and an activation that returns early leaves it alone.
TEST(PassTimer, ActivationRearmsTheTimerForAMinuteUnlessTheAlbumWasActive) {
    for (bool already_active : {false, true}) {
        SCOPED_TRACE(already_active ? "already active" : "inactive");
        AlbumManagerHarness h;
        h.StoreAlbums({h.Album(L"Alps", kEveryDay, already_active)});
        ASSERT_TRUE(h.Start());
        h.Select(0);
        h.Commands().ActivateAlbum();
        DialogDriver::Pump(1500);
        const bool checked = h.Log().find(L"***Start Entry***") != std::wstring::npos;
        EXPECT_EQ(checked, already_active);
    }
}

} // namespace
} // namespace glimro

namespace glimro {
namespace {

// What the row menu held when it opened; it is then answered with Down, Down, Enter.
struct MenuSeen {
    std::vector<UINT> ids;
    UINT default_id = 0;
    bool opened = false;
};
MenuSeen menu_seen;

BOOL CALLBACK AnswerMenu(HWND window, LPARAM) {
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    if (wcscmp(name, L"#32768") != 0 || !::IsWindowVisible(window) || menu_seen.opened)
        return TRUE;
    menu_seen.opened = true;
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(window, MN_GETHMENU, 0, 0));
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
        menu_seen.ids.push_back(::GetMenuItemID(menu, i));
    menu_seen.default_id = ::GetMenuDefaultItem(menu, FALSE, 0);
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
        ::PostMessageW(window, WM_KEYDOWN, key, 0);
        ::PostMessageW(window, WM_KEYUP, key, 0);
    }
    return FALSE;
}

TEST_F(AlbumInputTest, RightClickOffersPropertiesThenDeleteAndPostsTheChoice) {
    menu_seen = {};
    NMHDR click = {h.List(), ID_VIEW_ALBUM_LIST, static_cast<UINT>(NM_RCLICK)};
    h.Select(-1);
    ::SendMessageW(h.frame->Handle(), WM_NOTIFY, click.idFrom, reinterpret_cast<LPARAM>(&click));
    EXPECT_FALSE(menu_seen.opened);

    h.Select(Alps());
    UINT_PTR timer = ::SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR, DWORD) {
        ::EnumThreadWindows(::GetCurrentThreadId(), &AnswerMenu, 0);
    });
    ::SendMessageW(h.frame->Handle(), WM_NOTIFY, click.idFrom, reinterpret_cast<LPARAM>(&click));
    ::KillTimer(nullptr, timer);
    ASSERT_TRUE(menu_seen.opened);
    EXPECT_EQ(menu_seen.ids, (std::vector<UINT>{ID_ALBUM_PROPERTIES, ID_ALBUM_DELETE}));
    EXPECT_EQ(menu_seen.default_id, static_cast<UINT>(ID_ALBUM_PROPERTIES));
    EXPECT_EQ(PostedCommand(), static_cast<UINT>(ID_ALBUM_DELETE));
}

// A new screen layout, once settled, shows the active album's pictures again, laid out for it,
// without moving the album on; the status bar says how many monitors it serves.
TEST(DisplayChange, ShowsTheSamePicturesForTheNewLayout) {
    AlbumManagerHarness h;
    std::vector<MonitorInfo> layout = {{RECT{0, 0, 800, 600}, true, L""},
                                       {RECT{800, 0, 1600, 600}, false, L""}};
    Seam<std::vector<MonitorInfo>()>::Override monitors(Monitors, [&] { return layout; });
    Seam<HRESULT(ComPtr<IDesktopWallpaperObject>*)>::Override no_object(
        CreateDesktopWallpaper, [](ComPtr<IDesktopWallpaperObject>*) { return REGDB_E_CLASSNOTREG; });
    CAlbum album = h.Album(L"Twins", kEveryDay, true);
    for (const wchar_t* name : {L"a.bmp", L"b.bmp"}) {
        album.FileList.push_back(h.folder.File(name));
        ASSERT_TRUE(test::WriteSolidBitmap(h.folder.File(name), 16, 16));
    }
    album.Monitors = kPictureEach;
    album.LastIndex = 1;
    h.StoreAlbums({album});
    ASSERT_TRUE(h.Start());
    CAlbum* twins = h.albums.FindActiveAlbum();
    twins->ShownPerMonitor = {album.FileList[0].Text, album.FileList[1].Text};
    EXPECT_NE(h.Rotator().IdleStatus().find(L"a picture for each of 2 monitors"), std::wstring::npos);

    layout[1].rect = RECT{0, 600, 800, 1200}; // now one above the other
    ::SendMessageW(h.frame->Handle(), WM_DISPLAYCHANGE, 32, MAKELPARAM(800, 600));
    ::SendMessageW(h.frame->Handle(), WM_TIMER, kLayoutTimerId, 0); // as the settled layout's timer does
    EXPECT_EQ(h.desktop.wallpaper, CompositePath());
    EXPECT_EQ(test::DecodedSize(CompositePath()).cy, 1200);
    EXPECT_EQ(twins->LastIndex, 1);
}

} // namespace
} // namespace glimro
