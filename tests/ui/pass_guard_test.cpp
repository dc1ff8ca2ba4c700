// Commands and timer ticks that arrive while a pass is downloading a picture from the
// loopback server: the download dialog pumps messages, so they reach the view mid-pass.
#include "log/activity_log.h"
#include "resource.h"
#include "store/product_key.h"
#include "support/dialog_driver.h"
#include "support/http_server.h"
#include "ui/album_manager_harness.h"

#include <gtest/gtest.h>

namespace glimro {
namespace {

using test::AlbumManagerHarness;

constexpr wchar_t kDownloadCaption[] = L"Glimro - Downloading Image";

class PassGuardTest : public ::testing::Test {
protected:
    AlbumManagerHarness h;
    test::HttpServer server;
    std::wstring url;

    void SetUp() override {
        BuildLogPath(); // into the harness's folder, as the first tick would
        test::HttpResponse slow{200, test::SolidBitmapBytes(128, 128)}; // 48 KB
        slow.chunk_size = 16384;
        slow.chunk_delay_ms = 150;
        server.Serve("/slow.bmp", slow);
        url = server.Url("/slow.bmp");
        CAlbum alps = h.Album(L"Alps");
        alps.FileList = {url};
        h.StoreAlbums({alps, h.Album(L"Beaches")});
        ASSERT_TRUE(h.Start());
        h.Select(h.RowOf(L"Alps (on the day)"));
    }
};

// Every command that changes the set waits: no question, no sheet, a word in the status bar.
TEST_F(PassGuardTest, CommandsDuringTheDownloadAreRefusedAndThePassIsSaved) {
    test::DialogDriver unexpected;
    unexpected.Ignore(kDownloadCaption);
    std::vector<std::wstring> statuses;
    test::OnWindow during(kDownloadCaption, [&](HWND) {
        for (UINT command : {ID_ALBUM_DELETE, ID_ALBUM_PROPERTIES, ID_ALBUM_NEW}) {
            ::SendMessageW(h.frame->StatusBar(), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L""));
            ::SendMessageW(h.List(), WM_COMMAND, command, 0);
            statuses.push_back(h.StatusText());
        }
        h.Select(h.RowOf(L"Beaches (on the day)"));
        ::SendMessageW(h.List(), WM_COMMAND, ID_ALBUM_ACTIVATE, 0);
        statuses.push_back(h.StatusText());
    });
    h.Commands().ActivateAlbum(); // applies Alps's entry: the download runs inside
    ASSERT_TRUE(during.Ran());
    EXPECT_EQ(statuses, std::vector<std::wstring>(4, kPassRunningStatus));
    EXPECT_TRUE(unexpected.Dialogs().empty());
    EXPECT_EQ(server.Requests("/slow.bmp"), 1); // the fetch, once

    ASSERT_EQ(h.albums.Size(), 2u);
    AlbumSet stored;
    stored.LoadAlbumList();
    ASSERT_EQ(stored.Size(), 2u);
    const CAlbum* alps = stored.DisplayOrder()[0];
    EXPECT_EQ(alps->LastFile, url);
    EXPECT_TRUE(alps->Enabled);
}

TEST_F(PassGuardTest, ATickDuringACommandsPassNeitherChecksNorLogsNorSaves) {
    bool saved_mid_pass = true;
    test::OnWindow during(kDownloadCaption, [&](HWND) {
        ::SendMessageW(h.frame->Handle(), WM_TIMER, kPassTimerId, 0);
        // The activation's own save ran before the download; the pass's comes after it.
        AlbumSet stored;
        stored.LoadAlbumList();
        saved_mid_pass = stored.DisplayOrder()[0]->LastFile != L"Unavailable";
    });
    h.Commands().ActivateAlbum();
    ASSERT_TRUE(during.Ran());
    EXPECT_FALSE(saved_mid_pass);
    const std::wstring log = h.Log();
    EXPECT_EQ(log.find(L"***Start Entry***"), std::wstring::npos) << test::Narrow(log);
    EXPECT_NE(log.find(L"***Tembrel Log Entry***"), std::wstring::npos);
    EXPECT_EQ(h.Text(h.Selected(), 3), url);
}

} // namespace
} // namespace glimro
