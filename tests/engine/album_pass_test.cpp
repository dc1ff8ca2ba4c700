#include "store/account.h"

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/screen.h"
#include "log/activity_log.h"
#include "support/clock_values.h"
#include "support/fake_desktop.h"
#include "support/http_server.h"
#include "support/registry_sandbox.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace glimro {
namespace {

SYSTEMTIME Day(WORD month) {
    return test::LocalTimeAt(2026, month, 14, 10, 30);
}

// A pass end to end: real files, registry and log; the desktop object is a stand-in that
// remembers the wallpaper it was given.
class AlbumPassTest : public ::testing::Test {
protected:
    test::RegistrySandbox sandbox;
    test::TempFolder folder;
    test::ScopedExecutableFolder exe{folder.Path()};
    SYSTEMTIME now = Day(3);
    Seam<SYSTEMTIME()>::Override clock{LocalTime, [this] { return now; }};
    Seam<std::time_t()>::Override calendar{CalendarTime, [] { return std::time_t(1780000000); }};
    Seam<SIZE()>::Override screen{PrimaryScreenSize, [] { return SIZE{1024, 768}; }};
    test::FakeActiveDesktop desktop;
    Seam<HRESULT(ComPtr<IActiveDesktop>*)>::Override factory = desktop.Install();
    std::wstring log_file = folder.File(L"glimrolog.txt");

    void SetUp() override { BuildLogPath(); }

    CAccount Album(int entries, int frequency = kEveryDay) {
        CAccount album;
        album.Name = L"Test";
        album.Frequency = frequency;
        for (int i = 0; i < entries; ++i) {
            std::wstring path = folder.File(L"e" + std::to_wstring(i) + L".bmp");
            EXPECT_TRUE(test::WriteSolidBitmap(path, 8, 8));
            album.FileList.push_back(path);
        }
        return album;
    }
    std::wstring Entry(int i) { return folder.File(L"e" + std::to_wstring(i) + L".bmp"); }
    std::string Log() { return test::ReadFileBytes(log_file); }
    std::string StartLines() {
        return "***Tembrel Log Entry***\r\n\r\nStart time: " + TimeText() + "\r\n";
    }
};

TEST_F(AlbumPassTest, ChoosesTheEntryByPositionMonthAndWrapAround) {
    const struct {
        const char* what;
        int entries, frequency, last_index;
        WORD month;
        int applied;
    } cases[] = {
        {"next entry", 4, kEveryDay, 1, 3, 2},
        {"wraps after the last", 4, kEveryDay, 3, 3, 0},
        {"-1 starts at the first", 4, kEveryMinute, -1, 3, 0},
        {"far below 0 starts at the first", 4, kEveryHour, -7, 3, 0},
        {"sync to month in March", 5, kSyncToMonth, 0, 3, 2},
        {"sync to month in July wraps", 5, kSyncToMonth, 3, 7, 0},
        {"weekly steps on", 3, kEveryWeek, 0, 12, 1},
    };
    for (const auto& c : cases) {
        CAccount album = Album(c.entries, c.frequency);
        album.LastIndex = c.last_index;
        // "Random" shuffles, except that the month still rules "Sync to Month".
        album.Mode = c.frequency == kSyncToMonth ? kRandom : kSequential;
        now = Day(c.month);
        EXPECT_EQ(album.ApplyNextImage(), kPassApplied) << c.what;
        EXPECT_EQ(desktop.wallpaper, Entry(c.applied)) << c.what;
        EXPECT_EQ(album.LastIndex, c.applied) << c.what;
        EXPECT_EQ(album.LastFile, Entry(c.applied)) << c.what;
        EXPECT_EQ(std::memcmp(&album.LastTime, &now, sizeof now), 0) << c.what;
    }
}

TEST_F(AlbumPassTest, ApplyImageAtChoosesThatPositionOrWraps) {
    const struct { int position, applied; } cases[] = {{2, 2}, {7, 0}, {0, 0}, {4, 4}};
    for (const auto& c : cases) {
        CAccount album = Album(5);
        EXPECT_EQ(album.ApplyImageAt(c.position), kPassApplied) << c.position;
        EXPECT_EQ(desktop.wallpaper, Entry(c.applied)) << c.position;
        EXPECT_EQ(album.LastIndex, c.applied) << c.position;
    }
}

TEST_F(AlbumPassTest, EmptyListFailsAndWritesNothing) {
    CAccount album = Album(0);
    EXPECT_EQ(album.ApplyImageAt(0), E_FAIL);
    EXPECT_EQ(album.LastIndex, -1) << "ApplyImageAt leaves position - 1";
    EXPECT_EQ(album.LastFile, L"Unavailable");
    EXPECT_FALSE(test::FileExists(log_file));
    EXPECT_EQ(desktop.apply_calls, 0);
}

TEST_F(AlbumPassTest, EmptyEntryChangesNothing) {
    CAccount album = Album(2);
    album.FileList[1].clear();
    album.LastIndex = 0;
    EXPECT_EQ(album.ApplyNextImage(), kPassEmptyEntry);
    EXPECT_EQ(album.LastIndex, 0);
    EXPECT_EQ(album.LastFile, L"Unavailable");
    EXPECT_EQ(album.LastTime.wYear, 0);
    EXPECT_FALSE(test::FileExists(log_file));
}

TEST_F(AlbumPassTest, LocalPassLogsItsEntryAfresh) {
    test::WriteFileBytes(log_file, "older text\r\n");
    CAccount album = Album(1);
    ASSERT_EQ(album.ApplyNextImage(), kPassApplied);
    EXPECT_EQ(Log(), StartLines() + "Switched!\r\n");
}

TEST_F(AlbumPassTest, CapitalHttpIsALocalEntryHandedOnUnchanged) {
    CAccount album = Album(0);
    album.FileList = {L"HTTP://127.0.0.1:9/a.jpg"};
    ASSERT_EQ(album.ApplyNextImage(), kPassApplied);
    EXPECT_EQ(desktop.wallpaper, L"HTTP://127.0.0.1:9/a.jpg");
    EXPECT_EQ(Log(), StartLines() + "Switched!\r\n");
}

TEST_F(AlbumPassTest, HttpPassDownloadsIntoPodAndLogsTheWholeEntry) {
    test::HttpServer server;
    server.Serve("/sky.bmp", {200, "BM-pretend-bitmap"});
    CAccount album = Album(0);
    const std::wstring url = server.Url("/sky.bmp");
    album.FileList = {url};
    ASSERT_EQ(album.ApplyNextImage(), kPassApplied);
    EXPECT_EQ(desktop.wallpaper, folder.File(L"pod.jpg"));
    EXPECT_EQ(test::ReadFileBytes(folder.File(L"pod.jpg")), "BM-pretend-bitmap");
    EXPECT_EQ(album.LastFile, url);
    EXPECT_EQ(Log(), StartLines() + "\tInitalization started.\r\n" +
                         "Switching to: " + test::Narrow(url) + "\r\n" + "Switched!\r\n" +
                         "\tInitalization Completed.\r\n" + "Stop time: " + TimeText() + "\r\n");
}

TEST_F(AlbumPassTest, FailedFetchStillMovesOnWithoutChangingTheWallpaper) {
    test::HttpServer server;
    server.Serve("/gone.jpg", {404, ""});
    CAccount album = Album(2);
    const std::wstring url = server.Url("/gone.jpg");
    album.FileList.insert(album.FileList.begin(), url);
    album.LastIndex = -1;
    ASSERT_EQ(album.ApplyNextImage(), kPassApplied);
    EXPECT_EQ(desktop.apply_calls, 0);
    EXPECT_EQ(album.LastIndex, 0);
    EXPECT_EQ(album.LastFile, url);
    const std::string log = Log();
    EXPECT_NE(log.find("Could not get " + test::Narrow(url) + "!\r\n"), std::string::npos);
    EXPECT_NE(log.find("\tInitalization Completed.\r\nStop time: "), std::string::npos);
}

// A tick that arrives while a download pumps messages must not start a second pass.
TEST_F(AlbumPassTest, PassStartedDuringARunningPassIsRefused) {
    test::HttpServer server;
    server.Serve("/sky.bmp", {200, "BM"});
    CAccount downloading = Album(0);
    downloading.FileList = {server.Url("/sky.bmp")};
    static CAccount* inner = nullptr;
    static HRESULT inner_result = S_OK;
    static HRESULT inner_at_result = S_OK;
    CAccount other = Album(3);
    other.LastIndex = 1;
    inner = &other;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        inner_result = inner->ApplyNextImage();
        inner_at_result = inner->ApplyImageAt(0);
    });
    ASSERT_NE(timer, 0u);
    EXPECT_EQ(downloading.ApplyNextImage(), kPassApplied);
    EXPECT_EQ(inner_result, kPassAlreadyRunning);
    EXPECT_EQ(inner_at_result, kPassAlreadyRunning);
    EXPECT_EQ(other.LastIndex, 1);
    EXPECT_EQ(other.LastFile, L"Unavailable");
    EXPECT_EQ(desktop.wallpaper, folder.File(L"pod.jpg"));
    // Once the first pass is over, passes run again.
    EXPECT_EQ(other.ApplyNextImage(), kPassApplied);
    EXPECT_EQ(other.LastIndex, 2);
}

} // namespace
} // namespace glimro
