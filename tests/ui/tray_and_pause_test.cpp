// Living with the resident instance: the notification-area icon's menu and tooltip, Next
// Picture, Pause across a restart, a real shuffle for "Random", and catching up after sleep.
#include "log/activity_log.h"
#include "platform/clock.h"
#include "resource.h"
#include "scheduler/interval_markers.h"
#include "scheduler/pass_check.h"
#include "store/product_key.h"
#include "support/entries.h"
#include "support/clock_values.h"
#include "support/dialog_driver.h"
#include "ui/album_manager_harness.h"
#include "ui/tray_icon.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    } cases[] = {{false, true, L"&Pause"}, {true, true, L"&Resume"}, {false, false, L"&Pause"}};
    for (const auto& c : cases) {
        HMENU menu = CreateTrayMenu(c.paused, c.active);
        EXPECT_EQ(Items(menu), (std::vector<MenuItem>{
                                   {ID_ALBUM_NEXT, L"&Next Picture", !c.active},
                                   {ID_ALBUM_PAUSE, c.pause_text, false},
                                   {ID_TRAY_ALBUM_MANAGER, L"&Album Manager", false},
                                   {ID_TRAY_EXIT, L"E&xit Glimro", false},
                               }));
        EXPECT_EQ(::GetMenuDefaultItem(menu, FALSE, 0), static_cast<UINT>(ID_TRAY_ALBUM_MANAGER));
        ::DestroyMenu(menu);
    }
}

TEST(TrayIcon, TooltipNamesTheAlbumAndTheNextChange) {
    CAccount album;
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
        CAccount album = h.Album(L"Seaside", kEveryHour, true);
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
    RunScheduledPass(LocalTime(), h.View());
    EXPECT_NE(h.Log().find(L"This pass already ran... skipping update."), std::wstring::npos);
    EXPECT_EQ(h.albums.FindActiveAlbum()->LastIndex, 1);
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
    EXPECT_TRUE(h.View().Paused());
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
        CAccount& album = *albums.Albums().front();
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
    h.View().ArmPassTimer(3600000);
    ::SendMessageW(h.frame->Handle(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    DialogDriver::Pump(2500);
    EXPECT_NE(h.Log().find(L"Album list processed successfully."), std::wstring::npos);
    EXPECT_EQ(h.albums.FindActiveAlbum()->LastIndex, 1); // the due hour album's next entry
}

} // namespace
} // namespace glimro
