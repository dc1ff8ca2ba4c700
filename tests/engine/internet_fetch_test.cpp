#include "engine/internet_fetch.h"

#include "engine/image_staging.h"
#include "support/http_server.h"
#include "support/temp_folder.h"
#include "support/test_images.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace glimro {
namespace {

constexpr char kPrevious[] = "the previous wallpaper";

class InternetFetchTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    test::ScopedExecutableFolder exe{folder.Path()};
    test::HttpServer server;
    std::wstring pod = folder.File(L"pod.jpg");
    std::wstring log_file = folder.File(L"glimrolog.txt");

    void SetUp() override { test::WriteFileBytes(pod, kPrevious); }

    HRESULT Download(const std::wstring& url, bool log_open = true) {
        LogStream log;
        if (log_open)
            log = LogStream(test::Narrow(log_file), LogMode::Afresh);
        return DownloadImage(url, ::GetModuleHandleW(nullptr), log);
    }
    std::string Log() const { return test::ReadFileBytes(log_file); }
    std::string Switching(const std::wstring& url) const {
        return "Switching to: " + test::Narrow(url) + "\r\n";
    }
};

TEST_F(InternetFetchTest, BinaryBodiesArriveByteExactUnderThePodName) {
    const struct {
        const char* path;
        const wchar_t* mime;
    } cases[] = {{"/a.jpg", L"image/jpeg"}, {"/b.gif", L"image/gif"}, {"/c.bmp", L"image/bmp"}};
    for (const auto& c : cases) {
        std::wstring source = folder.File(L"source");
        ASSERT_TRUE(test::WriteTestImage(source, 40, 30, c.mime));
        const std::string body = test::ReadFileBytes(source);
        server.Serve(c.path, {200, body});

        EXPECT_EQ(Download(server.Url(c.path)), S_OK) << c.path;
        EXPECT_EQ(test::ReadFileBytes(pod), body) << c.path;
        EXPECT_EQ(Log(), Switching(server.Url(c.path))) << c.path;
        // Opening the address sends the request and sending it again fetches it once more.
        EXPECT_EQ(server.Requests(c.path), 2) << c.path;
    }
}

TEST_F(InternetFetchTest, StatusOtherThan200IsAFailFailureAndLeavesPodAlone) {
    for (int status : {404, 500}) {
        server.Serve("/gone.jpg", {status, "no image here"});
        const std::wstring url = server.Url("/gone.jpg");
        EXPECT_EQ(Download(url), E_FAIL) << status;
        EXPECT_EQ(test::ReadFileBytes(pod), kPrevious) << status;
        const std::string log = Log();
        EXPECT_EQ(log.rfind(Switching(url) + "Could not get " + test::Narrow(url) +
                                "!\r\nERROR: (2147500037) ",
                            0),
                  0u)
            << log;
        EXPECT_NE(log.find("Run Glimro and update the album to correct the problem.\r\n"),
                  std::string::npos)
            << log;
    }
}

TEST_F(InternetFetchTest, RefusedConnectionIsReportedAsCouldNotGet) {
    const std::wstring url =
        L"http://127.0.0.1:" + std::to_wstring(test::UnusedLoopbackPort()) + L"/a.jpg";
    const HRESULT result = Download(url);
    EXPECT_LT(result, 0);
    EXPECT_EQ(HRESULT_FACILITY(result), FACILITY_WIN32);
    EXPECT_EQ(test::ReadFileBytes(pod), kPrevious);
    const std::string log = Log();
    EXPECT_EQ(log.rfind(Switching(url) + "Could not get " + test::Narrow(url) + "!\r\nERROR: (" +
                            std::to_string(static_cast<unsigned long>(result)) + ") ",
                        0),
              0u)
        << log;
}

TEST_F(InternetFetchTest, BodyCutOffMidwayKeepsThePreviousPod) {
    test::HttpResponse cut{200, std::string(100000, 'x')};
    cut.cut_after = 40000;
    server.Serve("/pics/cut.jpg", cut);
    const HRESULT result = Download(server.Url("/pics/cut.jpg"));
    EXPECT_LT(result, 0);
    EXPECT_EQ(test::ReadFileBytes(pod), kPrevious);
    const std::string log = Log();
    EXPECT_NE(log.find("Could not copy cut.jpg to " + test::Narrow(pod) + "!\r\nERROR: ("),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Please correct the problem before trying again.\r\n"), std::string::npos);
    // Nothing is left behind beside the executable but the log and the wallpaper file.
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(folder.File(L"*.tmp").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
}

TEST_F(InternetFetchTest, ClosedLogWritesNothingAndStillFails) {
    server.Serve("/gone.jpg", {404, ""});
    EXPECT_EQ(Download(server.Url("/gone.jpg"), false), E_FAIL);
    EXPECT_FALSE(test::FileExists(log_file));
}

TEST_F(InternetFetchTest, EscDuringASuccessfulDownloadStillYieldsItsResult) {
    test::HttpResponse slow{200, std::string(64 * 1024, 'z')};
    slow.chunk_size = 4096;
    slow.chunk_delay_ms = 40;
    server.Serve("/slow.jpg", slow);

    std::atomic<bool> done{false};
    std::atomic<bool> cancelled{false};
    std::thread presser([&] {
        while (!done) {
            HWND dialog = ::FindWindowW(nullptr, L"Glimro - Downloading Image");
            if (dialog && !cancelled) {
                ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                cancelled = true;
            }
            ::Sleep(20);
        }
    });
    const HRESULT result = Download(server.Url("/slow.jpg"));
    done = true;
    presser.join();
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(result, S_OK);
    EXPECT_EQ(test::ReadFileBytes(pod), slow.body);
}

TEST(DownloadStatusText, NamesThePartAfterTheLastSlash) {
    EXPECT_EQ(SavingStatusText(L"http://host/pics/beach.jpg"), L"Saving local copy of beach.jpg");
    EXPECT_EQ(SavingStatusText(L"http://host/pics/"), L"Saving local copy of ");
    EXPECT_EQ(SavingStatusText(L"beach.jpg"), L"Saving local copy of beach.jpg");
}

} // namespace
} // namespace glimro
