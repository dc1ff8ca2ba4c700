// Commands and timer ticks that arrive while a pass is downloading a picture from the
// loopback server: the download dialog pumps messages, so they reach the view mid-pass.
#include "log/activity_log.h"
#include "resource.h"
#include "store/product_key.h"
#include "support/http_server.h"
#include "ui/album_manager_harness.h"

#include <gtest/gtest.h>

#include <functional>

namespace glimro {
namespace {

using test::AlbumManagerHarness;

// Runs an action once, from a thread timer, as soon as the download dialog is on screen. A
// Delete question that the action may open is answered with OK and counted.
class DuringDownload {
public:
    explicit DuringDownload(std::function<void()> action) {
        action_ = std::move(action);
        ran_ = false;
        questions_ = 0;
        timer_ = ::SetTimer(nullptr, 0, 50, &DuringDownload::OnTimer);
    }
    ~DuringDownload() { ::KillTimer(nullptr, timer_); }
    static bool Ran() { return ran_; }
    static int Questions() { return questions_; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (HWND question = ::FindWindowW(nullptr, L"Delete Album?")) {
            ++questions_;
            ::PostMessageW(question, WM_COMMAND, IDOK, 0);
        }
        if (ran_ || !::FindWindowW(nullptr, L"Glimro - Downloading Image"))
            return;
        ran_ = true;
        action_();
    }
    static inline std::function<void()> action_;
    static inline bool ran_ = false;
    static inline int questions_ = 0;
    UINT_PTR timer_ = 0;
};

class PassGuardTest : public ::testing::Test {
protected:
    AlbumManagerHarness h;
    test::HttpServer server;
    std::wstring url;

    void SetUp() override {
        BuildLogPath(); // into the harness's folder, as the first tick would
        test::HttpResponse slow{200, std::string(4 * 16384, 'B')};
        slow.chunk_size = 16384;
        slow.chunk_delay_ms = 150;
        server.Serve("/slow.bmp", slow);
        url = server.Url("/slow.bmp");
        CAccount alps = h.Album(L"Alps");
        alps.FileList = {url};
        h.StoreAlbums({alps, h.Album(L"Beaches")});
        ASSERT_TRUE(h.Start());
        h.Select(h.RowOf(L"Alps (on the day)"));
    }
};

TEST_F(PassGuardTest, DeleteAndActivateDuringTheDownloadAreRefusedAndThePassIsSaved) {
    std::wstring after_delete, after_activate;
    DuringDownload during([&] {
        ::SendMessageW(h.List(), WM_COMMAND, ID_ALBUM_DELETE, 0);
        after_delete = h.StatusText();
        ::SendMessageW(h.frame->StatusBar(), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L""));
        h.Select(h.RowOf(L"Beaches (on the day)"));
        ::SendMessageW(h.List(), WM_COMMAND, ID_ALBUM_ACTIVATE, 0);
        after_activate = h.StatusText();
    });
    h.View().ActivateAlbum(); // applies Alps's entry: the download runs inside
    ASSERT_TRUE(DuringDownload::Ran());
    EXPECT_EQ(after_delete, kPassRunningStatus);
    EXPECT_EQ(after_activate, kPassRunningStatus);
    EXPECT_EQ(DuringDownload::Questions(), 0);
    EXPECT_EQ(server.Requests("/slow.bmp"), 2); // the fetch's own two requests, once

    ASSERT_EQ(h.albums.Size(), 2u);
    AlbumSet stored;
    stored.LoadAlbumList();
    ASSERT_EQ(stored.Size(), 2u);
    const CAccount* alps = stored.DisplayOrder()[0];
    EXPECT_EQ(alps->LastFile, url);
    EXPECT_TRUE(alps->Enabled);
}

TEST_F(PassGuardTest, ATickDuringACommandsPassNeitherChecksNorLogsNorSaves) {
    bool saved_mid_pass = true;
    DuringDownload during([&] {
        ::SendMessageW(h.List(), WM_TIMER, kPassTimerId, 0);
        // The activation's own save ran before the download; the pass's comes after it.
        AlbumSet stored;
        stored.LoadAlbumList();
        saved_mid_pass = stored.DisplayOrder()[0]->LastFile != L"Unavailable";
    });
    h.View().ActivateAlbum();
    ASSERT_TRUE(DuringDownload::Ran());
    EXPECT_FALSE(saved_mid_pass);
    const std::wstring log = h.Log();
    EXPECT_EQ(log.find(L"***Start Entry***"), std::wstring::npos) << test::Narrow(log);
    EXPECT_NE(log.find(L"***Tembrel Log Entry***"), std::wstring::npos);
    EXPECT_EQ(h.Text(h.Selected(), 3), url);
}

} // namespace
} // namespace glimro
