// The built-in pictures of the day end to end: each source's document served in its public
// form on the loopback, real cache, registry and log, the desktop a stand-in.
#include "engine/current_picture.h"
#include "engine/daily_sources.h"
#include "engine/entry_source.h"
#include "engine/image_header.h"
#include "engine/web_cache.h"
#include "log/activity_log.h"
#include "platform/monitors.h"
#include "platform/screen.h"
#include "store/album.h"
#include "core/picture_fit.h"
#include "support/fake_desktop.h"
#include "support/http_server.h"
#include "support/registry_sandbox.h"
#include "support/temp_folder.h"
#include "support/test_images.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace glimro {
namespace {

class DailyPassTest : public ::testing::Test {
protected:
    test::RegistrySandbox sandbox;
    test::TempFolder folder;
    test::ScopedExecutableFolder exe{folder.Path()};
    Seam<SIZE()>::Override screen{PrimaryScreenSize, [] { return SIZE{1024, 768}; }};
    RECT monitor = {0, 0, 1920, 1080};
    Seam<std::vector<MonitorInfo>()>::Override monitors{
        Monitors, [this] { return std::vector<MonitorInfo>{{monitor, true, L"\\\\.\\DISPLAY1"}}; }};
    test::FakeActiveDesktop desktop;
    Seam<HRESULT(ComPtr<IActiveDesktop>*)>::Override factory = desktop.Install();
    std::unique_ptr<test::HttpServer> server = std::make_unique<test::HttpServer>();
    unsigned short port = server->Port();
    // Every source's documents on the loopback; Spotlight's folders here.
    Seam<std::wstring(const DailySourceRow&)>::Override daily{DailyAddress, [this](const DailySourceRow& row) {
        const std::wstring name = row.name;
        if (name == L"spotlight")
            return folder.File(L"Assets;") + folder.File(L"IrisService");
        std::string path = test::Narrow(name);
        path.insert(path.begin(), '/');
        return Url(path + ".xml");
    }};

    void SetUp() override { BuildLogPath(); }

    std::wstring Url(const std::string& path) const {
        return L"http://127.0.0.1:" + std::to_wstring(port) + std::wstring(path.begin(), path.end());
    }
    std::string Log() { return test::ReadFileBytes(folder.File(L"glimrolog.txt")); }
    CAlbum DailyAlbum(const wchar_t* entry) {
        CAlbum album;
        album.Name = L"Daily";
        album.FileList = {ImageEntry(entry)};
        album.LastIndex = -1;
        return album;
    }
    // An RSS feed of these items' inner XML.
    static std::string Rss(const std::vector<std::string>& items) {
        std::string xml = "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>Daily</title>";
        for (const std::string& item : items)
            xml += "<item>" + item + "</item>";
        return xml + "</channel></rss>";
    }
};

// Eight days at a time, newest first: each day's picture at the size the largest monitor
// needs, on the archive's own host, credited from its copyright; offline from the cache.
TEST_F(DailyPassTest, TheDailyArchiveShowsEachDayAtTheSizeTheMonitorsNeedCredited) {
    const std::string archive =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><images>"
        "<image><startdate>20261209</startdate><url>/th?id=OHR.Old_EN-US2_1920x1080.jpg</url>"
        "<urlBase>/th?id=OHR.Old_EN-US2</urlBase><copyright>Old harbour (© B. Photographer)</copyright>"
        "<copyrightlink>javascript:void(0)</copyrightlink><title>Info</title></image>"
        "<image><startdate>20261210</startdate><url>/th?id=OHR.Fuji_EN-US1_1920x1080.jpg</url>"
        "<urlBase>/th?id=OHR.Fuji_EN-US1</urlBase><copyright>Mount Fuji at dawn, Japan (© A. Photographer/Agency)"
        "</copyright><copyrightlink>https://www.bing.com/search?q=Mount+Fuji</copyrightlink><title>Dawn</title></image>"
        "<image><startdate>20261208</startdate><urlBase>http://elsewhere.example/th?id=X</urlBase>"
        "<copyright>Elsewhere (© C)</copyright></image>"
        "<tooltips><loading>Loading...</loading></tooltips></images>";
    const struct {
        RECT monitor;
        const char* ending;
    } sizes[] = {{{0, 0, 1920, 1080}, "_1920x1080.jpg"}, {{0, 0, 2560, 1440}, "_UHD.jpg"}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(size.ending);
        monitor = size.monitor;
        server->Serve("/bing.xml", {200, archive});
        for (const char* day : {"Fuji_EN-US1", "Old_EN-US2"})
            server->Serve(std::string("/th?id=OHR.") + day + size.ending, {200, test::SolidBitmapBytes(40, 30)});
        CAlbum album = DailyAlbum(L"daily:bing");
        ASSERT_EQ(album.ApplyNextImage(), kPassApplied) << Log();
        EXPECT_EQ(album.LastFile, Url(std::string("/th?id=OHR.Fuji_EN-US1") + size.ending));
        EXPECT_EQ(album.Credit.Title, L"Mount Fuji at dawn, Japan");
        EXPECT_EQ(album.Credit.Credit, L"\u00a9 A. Photographer/Agency");
        EXPECT_EQ(album.Credit.Page, L"https://www.bing.com/search?q=Mount+Fuji");
        EXPECT_NE(Log().find("Passed over pictures of another site or scheme (1): " + test::Narrow(Url("/bing.xml"))),
                  std::string::npos)
            << Log();
        ASSERT_EQ(album.ApplyNextImage(), kPassApplied);
        EXPECT_EQ(album.LastFile, Url(std::string("/th?id=OHR.Old_EN-US2") + size.ending));
        EXPECT_EQ(album.Credit.Title, L"Old harbour");
        EXPECT_TRUE(album.Credit.Page.empty()); // a script is no page
    }
    // The server gone: the album goes round the days it has.
    server.reset();
    CAlbum album = DailyAlbum(L"daily:bing");
    for (const char* day : {"Fuji_EN-US1", "Old_EN-US2", "Fuji_EN-US1"}) {
        ASSERT_EQ(album.ApplyNextImage(), kPassApplied) << Log();
        EXPECT_EQ(album.LastFile, Url(std::string("/th?id=OHR.") + day + "_UHD.jpg"));
    }
    const EntryDescription row = SourceFor(std::wstring(L"daily:bing")).Describe(L"daily:bing", {});
    EXPECT_EQ(row.note, L"  (Bing \u2014 2 pictures)");
    EXPECT_FALSE(row.preview.empty());
}

// The wiki's items show thumbnails: the original is fetched, or its 3840-pixel thumbnail
// when the original is wider; a picture off the wiki's site is passed over.
TEST_F(DailyPassTest, TheWikisPictureOfTheDayIsItsOriginalWithinTheBound) {
    const std::string thumbs = test::Narrow(Url("/wikipedia/commons/thumb/"));
    const auto item = [&](const std::string& day, const std::string& name, int width) {
        return "<title>Picture of the day " + day + "</title><link>https://commons.wikimedia.org/wiki/" + day +
               "</link><pubDate>" + day + " Dec 2026 00:00:00 GMT</pubDate><description>&lt;a href=\"https://"
               "commons.wikimedia.org/wiki/File:" + name + "\"&gt;&lt;img src=\"" + thumbs + "a/ab/" + name +
               "/300px-" + name + "\" data-file-width=\"" + std::to_string(width) + "\"&gt;&lt;/a&gt;</description>";
    };
    server->Serve("/wikimedia.xml",
                  {200, Rss({item("10", "Small.jpg", 2000), item("09", "Huge.jpg", 9000),
                             "<title>Elsewhere</title><pubDate>08 Dec 2026 00:00:00 GMT</pubDate><description>"
                             "&lt;img src=\"http://elsewhere.example/x.jpg\"&gt;</description>"})});
    server->Serve("/wikipedia/commons/a/ab/Small.jpg", {200, test::SolidBitmapBytes(20, 10)});
    server->Serve("/wikipedia/commons/thumb/a/ab/Huge.jpg/3840px-Huge.jpg", {200, test::SolidBitmapBytes(30, 10)});
    CAlbum album = DailyAlbum(L"daily:wikimedia");
    for (const char* shown : {"/wikipedia/commons/a/ab/Small.jpg", "/wikipedia/commons/thumb/a/ab/Huge.jpg/3840px-Huge.jpg"}) {
        ASSERT_EQ(album.ApplyNextImage(), kPassApplied) << Log();
        EXPECT_EQ(album.LastFile, Url(shown));
        EXPECT_EQ(server->Requests(shown), 1);
    }
    EXPECT_EQ(album.Credit.Page, L"https://commons.wikimedia.org/wiki/09");
    EXPECT_NE(Log().find("Passed over a picture of another site: http://elsewhere.example/x.jpg"), std::string::npos)
        << Log();
}

// Each day's page is read once, for the picture it links around its image; a day with a
// video, a link that is a script or a file, or a page of another site is passed over.
TEST_F(DailyPassTest, TheAstronomyPicturesDayPagesAreReadOnceForTheirPicture) {
    const auto day = [&](const std::string& page, const std::string& title) {
        return "<title>" + title + "</title><link>" + page + "</link><description>&lt;a href=\"" + page +
               "\"&gt;&lt;img src=\"calendar/S_small.jpg\"&gt;&lt;/a&gt;</description>";
    };
    const std::string base = test::Narrow(Url("/apod/"));
    server->Serve("/apod.xml", {200, Rss({day(base + "ap261210.html", "Andromeda"), day(base + "ap261209.html", "A video"),
                                          day(base + "ap261208.html", "A script"),
                                          day("http://elsewhere.example/ap261207.html", "Elsewhere")})});
    server->Serve("/apod/ap261210.html",
                  {200, "<html><body><a href=\"archivepix.html\">Archive</a><center><a href=\"image/2612/M31.jpg\">\n"
                        "<IMG SRC=\"image/2612/M31_1024.jpg\" alt=\"Andromeda\"></a></center></body></html>"});
    server->Serve("/apod/ap261209.html", {200, "<iframe src=\"https://video.example/embed/x\"></iframe>"});
    server->Serve("/apod/ap261208.html",
                  {200, "<a href=\"javascript:alert('x.jpg')\"><img src=\"x.jpg\"></a>"
                        "<a href=\"file:///C:/Windows/x.jpg\"><img src=\"x.jpg\"></a>"});
    server->Serve("/apod/image/2612/M31.jpg", {200, test::SolidBitmapBytes(50, 20)});
    CAlbum album = DailyAlbum(L"daily:apod");
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_EQ(album.ApplyNextImage(), kPassApplied) << Log();
        EXPECT_EQ(album.LastFile, Url("/apod/image/2612/M31.jpg"));
        EXPECT_EQ(album.Credit.Title, L"Andromeda");
        EXPECT_EQ(album.Credit.Page, Url("/apod/ap261210.html"));
    }
    for (const char* page : {"/apod/ap261210.html", "/apod/ap261209.html", "/apod/ap261208.html"})
        EXPECT_EQ(server->Requests(page), 1) << page;
    EXPECT_EQ(server->Requests("/apod/image/2612/M31.jpg"), 1);
    for (const char* page : {"ap261209.html", "ap261208.html"})
        EXPECT_NE(Log().find(std::string("Passed over a day whose page shows no picture: ") + base + page),
                  std::string::npos)
            << Log();
}

// Spotlight's JPEGs large enough for a screen, judged by their headers (they have no
// extension), from both its folders; the shape rule chooses among them, and the desktop is
// given a picture named as one.
TEST_F(DailyPassTest, WindowsSpotlightTakesItsScreenPicturesOnly) {
    for (const wchar_t* sub : {L"Assets", L"IrisService", L"IrisService\\b7a2"})
        ASSERT_TRUE(::CreateDirectoryW(folder.File(sub).c_str(), nullptr));
    const struct {
        const wchar_t* name;
        int width, height;
        const wchar_t* type; // null: these bytes
        const char* bytes;
        bool taken;
    } assets[] = {
        {L"Assets\\1c0ffee", 1080, 1920, L"image/jpeg", nullptr, true},
        {L"Assets\\2landscape", 1920, 1080, L"image/jpeg", nullptr, true},
        {L"Assets\\3tile", 200, 200, L"image/jpeg", nullptr, false},
        {L"Assets\\4png", 2000, 1000, L"image/png", nullptr, false},
        {L"Assets\\5empty", 0, 0, nullptr, "", false},
        {L"Assets\\6garbage", 0, 0, nullptr, "\xFF\xD8\xFF garbage that only begins as a JPEG", false},
        {L"IrisService\\b7a2\\desktop.jpg", 3840, 2160, L"image/jpeg", nullptr, true},
    };
    for (const auto& asset : assets) {
        if (asset.type)
            ASSERT_TRUE(test::WriteTestImage(folder.File(asset.name), asset.width, asset.height, asset.type));
        else
            test::WriteFileBytes(folder.File(asset.name), asset.bytes);
    }
    const EntryDescription row = SourceFor(std::wstring(L"daily:spotlight")).Describe(L"daily:spotlight", {});
    EXPECT_EQ(row.note, L"  (Windows Spotlight \u2014 3 pictures)");
    CAlbum album = DailyAlbum(L"daily:spotlight");
    album.Shape = kPortraitOnly;
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_EQ(album.ApplyNextImage(), kPassApplied) << Log();
        EXPECT_EQ(album.LastFile, folder.File(L"Assets\\1c0ffee"));
        EXPECT_TRUE(test::IsJpegFile(desktop.wallpaper));
        EXPECT_EQ(desktop.wallpaper.substr(desktop.wallpaper.size() - 4), L".jpg");
    }
    // Windows deletes its pictures in time: one can be kept, under its file's name, as a JPEG.
    const test::TempFolder pictures;
    Seam<std::wstring()>::Override mine(PicturesFolder, [&] { return pictures.Path(); });
    const PictureActions actions = ActionsFor(&album);
    EXPECT_TRUE(actions.keep);
    EXPECT_TRUE(actions.show);
    std::wstring kept;
    ASSERT_EQ(KeepPicture(album, &kept), S_OK);
    EXPECT_EQ(kept, pictures.File(L"Glimro\\1c0ffee.jpg"));
    EXPECT_EQ(test::ReadFileBytes(kept), test::ReadFileBytes(folder.File(L"Assets\\1c0ffee")));
    // Nothing there: said in the log, and nothing shown.
    Seam<std::wstring(const DailySourceRow&)>::Override none{DailyAddress, [&](const DailySourceRow&) {
        return folder.File(L"missing");
    }};
    EXPECT_EQ(DailyAlbum(L"daily:spotlight").ApplyNextImage(), kPassNothingApplied);
    EXPECT_NE(Log().find("Skipped Windows Spotlight: this PC holds none of its pictures: "), std::string::npos) << Log();
}

// A source gone wrong is bounded and shows nothing it should not: an archive of 10,000 days,
// a day's page of 20 MB, a feed whose every picture is on another site.
TEST_F(DailyPassTest, AHostileSourceIsBoundedAndShowsNothingItShouldNot) {
    std::string many = "<?xml version=\"1.0\"?><images>";
    for (int i = 0; i < 10000; ++i)
        many += "<image><startdate>20261210</startdate><urlBase>/d" + std::to_string(i) + "</urlBase></image>";
    server->Serve("/bing.xml", {200, many + "</images>"});
    server->Serve("/d0_1920x1080.jpg", {200, test::SolidBitmapBytes(40, 30)});
    CAlbum archive = DailyAlbum(L"daily:bing");
    ASSERT_EQ(archive.ApplyNextImage(), kPassApplied) << Log();
    EXPECT_EQ(archive.LastFile, Url("/d0_1920x1080.jpg"));
    EXPECT_EQ(SourceFor(std::wstring(L"daily:bing")).Describe(L"daily:bing", {}).note,
              L"  (Bing \u2014 2000 pictures)");

    server->Serve("/apod.xml", {200, Rss({"<title>Big</title><link>" + test::Narrow(Url("/apod/big.html")) + "</link>"})});
    test::HttpResponse big{200, std::string(20u << 20, 'x')};
    server->Serve("/apod/big.html", big);
    EXPECT_EQ(DailyAlbum(L"daily:apod").ApplyNextImage(), kPassNothingApplied);
    EXPECT_NE(Log().find("Skipped a picture of the day that holds no picture now: "), std::string::npos) << Log();
    EXPECT_EQ(GetFileAttributesW(CachedFile(Url("/apod/big.html"), L".page").c_str()), INVALID_FILE_ATTRIBUTES);
}

} // namespace
} // namespace glimro
