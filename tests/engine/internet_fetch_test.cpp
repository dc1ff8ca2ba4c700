#include "engine/internet_fetch.h"

#include "engine/download_dialog.h"
#include "engine/image_staging.h"
#include "platform/internet.h"
#include "resource.h"
#include "support/http_server.h"
#include "support/temp_folder.h"
#include "support/private_prefix.h"
#include "support/test_images.h"
#include "support/tls_front.h"

#include <wininet.h>

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

    // The transfer alone: any body will do (the picture check has a test of its own).
    HRESULT Download(const std::wstring& url, bool log_open = true,
                     DownloadLimits limits = DownloadLimits()) {
        LogStream log;
        if (log_open)
            log = LogStream(log_file, LogMode::Afresh);
        limits.pictures_only = false;
        return DownloadImage(url, ::GetModuleHandleW(nullptr), log, limits);
    }
    // The log of a fetch that failed with this code: "Could not get" and the address.
    void ExpectCouldNotGet(const std::wstring& url, HRESULT result) const {
        const std::string log = Log();
        EXPECT_EQ(log.rfind(Switching(url) + "Could not get " + test::Narrow(url) +
                                "!\r\nERROR: (" +
                                std::to_string(static_cast<unsigned long>(result)) + ") ",
                            0),
                  0u)
            << log;
        EXPECT_EQ(test::ReadFileBytes(pod), kPrevious);
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
        EXPECT_EQ(server.Requests(c.path), 1) << c.path; // one request per picture

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
    EXPECT_FALSE(test::FileExists(pod + kPartialSuffix));
}

TEST_F(InternetFetchTest, HttpsIsFetchedOnlyFromAServerTheSystemTrusts) {
    GLIMRO_REQUIRE_PRIVATE_PREFIX(); // adds a root to the user's trusted certificates
    const std::string body = "a picture sent over TLS \x01\x02\x00\xff";
    server.Serve("/secure/beach.jpg", {200, body});

    // Trusted first: Wine's certificate checks read the trusted roots once per process.
    test::TlsFront trusted(server.Port());
    ASSERT_TRUE(trusted.Started()) << trusted.Failure();
    test::TrustedRoot root(trusted.Certificate());
    ASSERT_TRUE(root.Added());
    EXPECT_EQ(Download(trusted.Url("/secure/beach.jpg")), S_OK) << Log();
    EXPECT_EQ(test::ReadFileBytes(pod), body);
    EXPECT_EQ(server.Requests("/secure/beach.jpg"), 1);

    test::WriteFileBytes(pod, kPrevious);
    test::TlsFront untrusted(server.Port()); // a certificate of its own, never trusted
    ASSERT_TRUE(untrusted.Started()) << untrusted.Failure();
    const std::wstring refused = untrusted.Url("/secure/beach.jpg");
    const HRESULT result = Download(refused);
    EXPECT_EQ(result, HRESULT_FROM_WIN32(ERROR_INTERNET_INVALID_CA));
    ExpectCouldNotGet(refused, result);
    EXPECT_EQ(server.Requests("/secure/beach.jpg"), 1); // the refused one never got through

    // https stays https: a redirect to plain http is refused; http may move up to https.
    test::HttpResponse down{302, ""};
    down.headers = "Location: " + test::Narrow(server.Url("/plain.jpg")) + "\r\n";
    server.Serve("/secure/down.jpg", down);
    server.Serve("/plain.jpg", {200, "sent in the clear"});
    test::HttpResponse up{302, ""};
    up.headers = "Location: " + test::Narrow(trusted.Url("/secure/beach.jpg")) + "\r\n";
    server.Serve("/up.jpg", up);
    test::WriteFileBytes(pod, kPrevious);
    const std::wstring downgraded = trusted.Url("/secure/down.jpg");
    const HRESULT refused_redirect = Download(downgraded);
    EXPECT_EQ(refused_redirect, HRESULT_FROM_WIN32(ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR));
    ExpectCouldNotGet(downgraded, refused_redirect);
    EXPECT_EQ(server.Requests("/plain.jpg"), 0); // never asked for in the clear
    EXPECT_EQ(Download(server.Url("/up.jpg")), S_OK) << Log();
    EXPECT_EQ(test::ReadFileBytes(pod), body);
}

// Redirects are followed one by one, a relative one against the address it answered, at
// most five: a sixth fails the download.
TEST_F(InternetFetchTest, RedirectsAreFollowedAtMostFive) {
    const auto redirect = [](const std::string& to) {
        test::HttpResponse moved{302, ""};
        moved.headers = "Location: " + to + "\r\n";
        return moved;
    };
    server.Serve("/a/first.jpg", redirect("second.jpg"));
    server.Serve("/a/second.jpg", redirect("/b/last.jpg"));
    server.Serve("/b/last.jpg", {200, "arrived"});
    server.Serve("/loop.jpg", redirect("/loop.jpg"));
    EXPECT_EQ(Download(server.Url("/a/first.jpg")), S_OK) << Log();
    EXPECT_EQ(test::ReadFileBytes(pod), "arrived");
    test::WriteFileBytes(pod, kPrevious);
    const HRESULT looped = Download(server.Url("/loop.jpg"));
    EXPECT_EQ(looped, HRESULT_FROM_WIN32(ERROR_HTTP_REDIRECT_FAILED));
    ExpectCouldNotGet(server.Url("/loop.jpg"), looped);
    EXPECT_EQ(server.Requests("/loop.jpg"), 6);
}

// Every download ends: past the total deadline, under the least rate, or on Esc, however
// the server trickles; the wallpaper file is left as it was.
TEST_F(InternetFetchTest, ASlowServerOrEscEndsTheDownloadAtOnce) {
    test::HttpResponse trickle{200, std::string(400, 't')};
    trickle.chunk_size = 1;
    trickle.chunk_delay_ms = 100;
    server.Serve("/trickle.jpg", trickle);
    DownloadLimits deadline;
    deadline.total_ms = 1500;
    DownloadLimits rate;
    rate.rate_window_ms = 1000;
    rate.min_window_bytes = 50; // the server sends 10 a second
    const struct {
        const char* what;
        DownloadLimits limits;
        bool press_esc;
        HRESULT result;
    } cases[] = {
        {"total deadline", deadline, false, HRESULT_FROM_WIN32(ERROR_INTERNET_TIMEOUT)},
        {"least rate", rate, false, HRESULT_FROM_WIN32(ERROR_INTERNET_TIMEOUT)},
        {"Esc", DownloadLimits(), true, HRESULT_FROM_WIN32(ERROR_CANCELLED)},
    };
    for (const auto& c : cases) {
        std::atomic<bool> done{false};
        std::thread presser([&] {
            ::Sleep(700);
            while (c.press_esc && !done) {
                if (HWND dialog = ::FindWindowW(nullptr, L"Glimro - Downloading Image")) {
                    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                    break;
                }
                ::Sleep(20);
            }
        });
        const std::wstring url = server.Url("/trickle.jpg");
        const DWORD start = ::GetTickCount();
        const HRESULT result = Download(url, true, c.limits);
        const DWORD took = ::GetTickCount() - start;
        done = true;
        presser.join();
        EXPECT_EQ(result, c.result) << c.what;
        // The dialog's own second of "Establishing", the request, and at most 2 s more.
        EXPECT_LT(took, 5000u) << c.what;
        ExpectCouldNotGet(url, result);
        // The read given up on is still pending in the library: the next download is whole.
        server.Serve("/after.bin", test::HttpResponse{200, "after"});
        EXPECT_EQ(Download(server.Url("/after.bin")), S_OK) << c.what;
        EXPECT_EQ(test::ReadFileBytes(pod), "after") << c.what;
        test::WriteFileBytes(pod, kPrevious);
    }
}

// A body that arrives fast is read a whole block at a time, with or without a length: not
// in the library's small pieces, each of which costs a call (8 KB pieces made a 50 MB
// download five times slower than a plain read loop).
TEST_F(InternetFetchTest, AFastBodyIsReadInWholeBlocks) {
    std::string body(3u * 1024 * 1024 + 12345, '\0');
    for (size_t i = 0; i < body.size(); ++i)
        body[i] = static_cast<char>(i * 7 + i / 4096);
    test::HttpResponse sized{200, body};
    sized.chunk_size = 256 * 1024;
    test::HttpResponse unsized = sized;
    unsized.omit_length = true;
    for (const auto& [path, response] : {std::pair{"/sized.bin", sized}, {"/unsized.bin", unsized}}) {
        server.Serve(path, response);
        int reads = 0;
        Seam<BOOL(HINTERNET, LPINTERNET_BUFFERSA, DWORD, DWORD_PTR)>::Override counted(
            ReadInternetBody,
            [&](HINTERNET request, LPINTERNET_BUFFERSA buffers, DWORD flags, DWORD_PTR context) {
                ++reads;
                return net::InternetReadFileExA(request, buffers, flags, context);
            });
        ASSERT_EQ(Download(server.Url(path)), S_OK) << path;
        EXPECT_EQ(test::ReadFileBytes(pod), body) << path;
        // Six blocks of 512 KB, the short seventh, and the one read that finds the end.
        EXPECT_LE(reads, 8) << path;
    }
}

// Only a picture within the limits replaces the wallpaper file.
TEST_F(InternetFetchTest, ABodyThatIsNoUsablePictureNeverReplacesTheWallpaperFile) {
    const std::string picture = test::SolidBitmapBytes(8, 8);
    const struct {
        const char* path;
        std::string body;
        HRESULT result;
    } cases[] = {
        {"/text.jpg", "<html>not found</html>", HRESULT_FROM_WIN32(ERROR_UNSUPPORTED_TYPE)},
        {"/giant.bmp", test::GiantBitmapClaim(), HRESULT_FROM_WIN32(ERROR_UNSUPPORTED_TYPE)},
        {"/real.jpg", picture, S_OK}, // the content decides, not the name
    };
    for (const auto& c : cases) {
        server.Serve(c.path, {200, c.body});
        LogStream log(log_file, LogMode::Afresh);
        const std::wstring url = server.Url(c.path);
        EXPECT_EQ(DownloadImage(url, ::GetModuleHandleW(nullptr), log), c.result) << c.path;
        EXPECT_EQ(test::ReadFileBytes(pod), c.result == S_OK ? picture : kPrevious) << c.path;
        EXPECT_FALSE(test::FileExists(pod + kPartialSuffix)) << c.path;
    }
}

// Other processes can post to the dialog: its status line shows only its own texts, and a
// second start command starts no second download.
TEST_F(InternetFetchTest, PostedCommandsCarryNoPointerAndStartNothingTwice) {
    test::HttpResponse slow{200, std::string(4000, 's')};
    slow.chunk_size = 1000;
    slow.chunk_delay_ms = 300;
    server.Serve("/slow.jpg", slow);
    std::atomic<bool> done{false};
    std::wstring shown;
    std::thread poster([&] {
        HWND dialog = nullptr;
        while (!done && !(dialog = ::FindWindowW(nullptr, L"Glimro - Downloading Image")))
            ::Sleep(20);
        ::Sleep(1500); // into the transfer
        ::PostMessageW(dialog, WM_COMMAND, 3113, 0x10); // an address of another's choosing
        ::PostMessageW(dialog, WM_COMMAND, 2112, 0);
        ::Sleep(300);
        wchar_t text[200] = {};
        ::GetDlgItemTextW(dialog, IDC_DOWNLOAD_STATUS, text, 200);
        shown = text;
    });
    EXPECT_EQ(Download(server.Url("/slow.jpg")), S_OK);
    done = true;
    poster.join();
    EXPECT_EQ(shown, L"Saving local copy of slow.jpg");
    EXPECT_EQ(server.Requests("/slow.jpg"), 1);
}

// A length that cannot be read as a number fails the download (one too long to read is no
// longer taken for an absent one).
TEST_F(InternetFetchTest, AContentLengthThatIsNoNumberOrNotTheBodyFailsIt) {
    const struct {
        const char* path;
        const char* length;
        HRESULT result;
    } cases[] = {
        {"/forty-digits.jpg", "1234567890123456789012345678901234567890",
         HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE)},
        {"/word.jpg", "twelve", HRESULT_FROM_WIN32(ERROR_INVALID_DATA)},
        {"/negative.jpg", "-1", HRESULT_FROM_WIN32(ERROR_INVALID_DATA)},
    };
    for (const auto& c : cases) {
        test::HttpResponse response{200, "more than three bytes"};
        response.omit_length = true;
        response.headers = std::string("Content-Length: ") + c.length + "\r\n";
        server.Serve(c.path, response);
        const std::wstring url = server.Url(c.path);
        const HRESULT result = Download(url);
        EXPECT_EQ(result, c.result) << c.path;
        ExpectCouldNotGet(url, result);
    }
}

TEST_F(InternetFetchTest, ASilentServerFailsTheFetchAndTheDialogStaysResponsive) {
    DownloadLimits limits;
    limits.silence_ms = 2000;
    test::HttpResponse no_answer{200, "late"};
    no_answer.head_delay_ms = 8000;
    server.Serve("/silent.jpg", no_answer);
    test::HttpResponse stalled{200, std::string(200000, 's')};
    stalled.chunk_size = 1000;
    stalled.chunk_delay_ms = 8000;
    server.Serve("/stalled.jpg", stalled);

    for (const char* path : {"/silent.jpg", "/stalled.jpg"}) {
        std::atomic<bool> done{false};
        std::atomic<int> answered{0};
        std::thread prober([&] {
            while (!done) {
                HWND dialog = ::FindWindowW(nullptr, L"Glimro - Downloading Image");
                DWORD_PTR reply = 0;
                if (dialog && ::SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_BLOCK, 300, &reply))
                    ++answered;
                ::Sleep(100);
            }
        });
        const std::wstring url = server.Url(path);
        const DWORD start = ::GetTickCount();
        const HRESULT result = Download(url, true, limits);
        const DWORD took = ::GetTickCount() - start;
        done = true;
        prober.join();
        EXPECT_LT(result, 0) << path;
        EXPECT_LT(took, 5500u) << path; // the pauses, the silence and a little more
        ExpectCouldNotGet(url, result);
        // Answered while the request hung: the pauses before it answer nothing.
        EXPECT_GE(answered, 8) << path;
    }
}

TEST_F(InternetFetchTest, BodiesOverTheLimitAreNeverSaved) {
    test::HttpResponse announced{200, std::string(1000, 'a')};
    announced.announced_length = (100ull << 20) + 1; // more than 100 MB announced
    server.Serve("/announced.jpg", announced);
    const std::wstring url = server.Url("/announced.jpg");
    const HRESULT result = Download(url);
    EXPECT_EQ(result, HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE));
    ExpectCouldNotGet(url, result);

    DownloadLimits limits;
    limits.max_body = 256 * 1024;
    const struct {
        const char* path;
        size_t size;
        bool saved;
    } cases[] = {{"/at-limit.jpg", 256 * 1024, true}, {"/over-limit.jpg", 256 * 1024 + 1, false}};
    for (const auto& c : cases) {
        test::HttpResponse unannounced{200, std::string(c.size, 'u')};
        unannounced.omit_length = true;
        server.Serve(c.path, unannounced);
        const std::wstring address = server.Url(c.path);
        const HRESULT got = Download(address, true, limits);
        if (c.saved) {
            EXPECT_EQ(got, S_OK) << c.path;
            EXPECT_EQ(test::ReadFileBytes(pod), unannounced.body) << c.path;
            test::WriteFileBytes(pod, kPrevious);
        } else {
            EXPECT_EQ(got, HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE)) << c.path;
            ExpectCouldNotGet(address, got);
        }
    }
}

TEST_F(InternetFetchTest, ClosedLogWritesNothingAndStillFails) {
    server.Serve("/gone.jpg", {404, ""});
    EXPECT_EQ(Download(server.Url("/gone.jpg"), false), E_FAIL);
    EXPECT_FALSE(test::FileExists(log_file));
}

TEST(InternetEntry, IsAnEntryHoldingAnHttpOrHttpsAddressInAnyCase) {
    const struct {
        const wchar_t* entry;
        bool internet;
    } cases[] = {
        {L"http://host/a.jpg", true},       {L"https://host/a.jpg", true},
        {L"see https://host/a.jpg", true},  {L"HTTPS://host/a.jpg", true},
        {L"Http://host/a.jpg", true},
        {L"C:\\https\\a.jpg", false},     {L"https:/host/a.jpg", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsInternetEntry(c.entry), c.internet) << test::Narrow(c.entry);
}

TEST(DownloadStatusText, NamesThePartAfterTheLastSlash) {
    EXPECT_EQ(SavingStatusText(L"http://host/pics/beach.jpg"), L"Saving local copy of beach.jpg");
    EXPECT_EQ(SavingStatusText(L"http://host/pics/"), L"Saving local copy of ");
    EXPECT_EQ(SavingStatusText(L"beach.jpg"), L"Saving local copy of beach.jpg");
}

} // namespace
} // namespace glimro
