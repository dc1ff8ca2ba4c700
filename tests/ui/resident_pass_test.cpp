// The resident rotator end to end: a real frame and view, Wine's own desktop call, real
// bitmaps, the registry sandbox; the view's first tick runs the pass by itself.
#include "engine/wallpaper_setter.h"
#include "platform/clock.h"
#include "scheduler/interval_markers.h"
#include "log/activity_log.h"
#include "store/product_key.h"
#include "support/entries.h"
#include "support/dialog_driver.h"
#include "support/private_prefix.h"
#include "support/registry_sandbox.h"
#include "support/stored_albums.h"
#include "support/temp_folder.h"
#include "ui/main_frame.h"

#include <gtest/gtest.h>

namespace glimro {
namespace {

const std::wstring kAlbumKeys = std::wstring(kAlbumListKey) + L"\\";

TEST(ResidentRotator, FirstTickAppliesTheActiveMinuteAlbumsFirstEntry) {
    GLIMRO_REQUIRE_PRIVATE_PREFIX();
    test::RealWallpaperGuard wallpaper;
    test::TempFolder folder;
    const std::wstring first = folder.File(L"first.bmp"), second = folder.File(L"second.bmp");
    ASSERT_TRUE(test::WriteSolidBitmap(first, 64, 48, RGB(200, 30, 30)));
    ASSERT_TRUE(test::WriteSolidBitmap(second, 64, 48, RGB(30, 200, 30)));
    Seam<std::time_t()>::Override calendar{CalendarTime, [] { return std::time_t(1780000000); }};
    std::string log;
    {
        test::RegistrySandbox sandbox;
        test::ScopedExecutableFolder exe(folder.Path());
        CAlbum album;
        album.Name = L"Minutes";
        album.Frequency = kEveryMinute;
        album.Enabled = true;
        album.LastIndex = -1;
        album.FileList = {first, second};
        ASSERT_EQ(test::StoreAlbums({album}), 1);

        WindowPlacementRecord placement;
        AlbumSet albums;
        CMainFrame frame(placement, albums);
        ASSERT_TRUE(frame.Create());
        const DWORD start = ::GetTickCount();
        DWORD took = 0;
        while (::GetTickCount() - start < 5000) {
            test::DialogDriver::Pump(50);
            if (test::ReadFileBytes(folder.File(L"glimrolog.txt")).find("***End Entry***") !=
                std::string::npos) {
                took = ::GetTickCount() - start;
                break;
            }
        }
        EXPECT_GT(took, 0u) << "no pass within 5 s";
        EXPECT_LT(took, 2000u);

        const std::wstring key = kAlbumKeys + L"Minutes";
        EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, key, L"LastIndex").Dword(), 0u);
        EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, key, L"LastFile").Text(), first);
        SYSTEMTIME now;
        ::GetLocalTime(&now);
        auto last_time = test::ReadStoredValue(HKEY_CURRENT_USER, key, L"LastTime");
        ASSERT_EQ(last_time.data.size(), sizeof(SYSTEMTIME));
        EXPECT_EQ(reinterpret_cast<const SYSTEMTIME*>(last_time.data.data())->wYear, now.wYear);
        EXPECT_EQ(ReadIntervalMarker(kLastMonth), now.wMonth);
        EXPECT_EQ(ReadIntervalMarker(kLastDay), now.wDay);
        // The resident ran hidden, with no list; shown afterwards, its row shows the pass.
        EXPECT_EQ(frame.View().Handle(), nullptr);
        ASSERT_TRUE(frame.CreateContent());
        wchar_t cell[260] = {};
        ListView_GetItemText(frame.View().Handle(), 0, 3, cell, 260);
        EXPECT_EQ(std::wstring(cell), first);
        log = test::ReadFileBytes(folder.File(L"glimrolog.txt"));
    }
    const std::string time = TimeText();
    // The pass started the log afresh under the check's own open stream, which then adds
    // its result and stop banner at the end.
    EXPECT_EQ(log, "***Tembrel Log Entry***\r\n\r\nStart time: " + time +
                       "\r\nSwitched the old way!\r\nAlbum list processed successfully.\r\n"
                       "Stop time: " +
                       time + "\r\n\r\n***End Entry***\r\n");

    EXPECT_EQ(std::wstring(wallpaper.Current().Text().c_str()), first);
}

} // namespace
} // namespace glimro
