// Where the kinds of entry, the orders and the commands cross: one table a kind, each row
// what the user sees after the commands they give, through the rotator every command takes;
// and for each kind of frequency, how often a pass whose pictures all fail is tried.
#include "engine/daily_sources.h"
#include "engine/image_header.h"
#include "engine/monitor_wallpaper.h"
#include "log/activity_log.h"
#include "platform/clock.h"
#include "platform/monitors.h"
#include "platform/screen.h"
#include "scheduler/pass_check.h"
#include "store/recent_pictures.h"
#include "support/clock_values.h"
#include "support/fake_desktop.h"
#include "support/http_server.h"
#include "support/registry_sandbox.h"
#include "support/temp_folder.h"
#include "support/test_images.h"
#include "ui/rotator.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace glimro {
namespace {

// "/name.bmp", where the server keeps the picture; the daily archive keeps it at its base
// address with its size's ending.
std::string ServedAt(const std::string& name, const char* ending = ".bmp") {
    std::string path(1, '/');
    path += name;
    path += ending;
    return path;
}
constexpr char kArchiveEnding[] = "_1920x1080.jpg";

class CrossingsTest : public ::testing::Test {
protected:
    test::RegistrySandbox sandbox;
    test::TempFolder folder;
    test::ScopedExecutableFolder exe{folder.Path()};
    SYSTEMTIME now = test::LocalTimeAt(2026, 12, 10, 10, 30);
    Seam<SYSTEMTIME()>::Override clock{LocalTime, [this] { return now; }};
    // Tall enough for Windows Spotlight's narrow test pictures to go to the desktop unshrunk.
    Seam<SIZE()>::Override screen{PrimaryScreenSize, [] { return SIZE{1024, 1700}; }};
    Seam<std::vector<MonitorInfo>()>::Override monitors{
        Monitors, [] { return std::vector<MonitorInfo>{{{0, 0, 1920, 1080}, true, L"\\\\.\\DISPLAY1"}}; }};
    // The built-in pictures of the day: the archive on the loopback, Spotlight's folder here.
    Seam<std::wstring(const DailySourceRow&)>::Override daily{DailyAddress, [this](const DailySourceRow& row) {
        return std::wstring(row.name) == L"bing" ? server.Url("/archive.xml") : folder.File(L"assets");
    }};
    test::FakeActiveDesktop desktop;
    Seam<HRESULT(ComPtr<IActiveDesktop>*)>::Override factory = desktop.Install();
    test::HttpServer server;
    AlbumSet albums;
    CRotator rotator{albums};
    CAlbum* album = nullptr;

    void SetUp() override { BuildLogPath(); }

    // Three pictures a, b and c, told apart by their widths (8, 9 and 10), on disk and on the
    // loopback server.
    static constexpr const char* kNames[] = {"a", "b", "c"};
    void MakePictures() {
        ASSERT_TRUE(::CreateDirectoryW(folder.File(L"pictures").c_str(), nullptr));
        for (int i = 0; i < 3; ++i) {
            const std::wstring name(1, static_cast<wchar_t>(L'a' + i));
            ASSERT_TRUE(test::WriteSolidBitmap(folder.File(L"pictures\\" + name + L".bmp"), 8 + i, 8));
            server.Serve(ServedAt(kNames[i]), {200, test::SolidBitmapBytes(8 + i, 8)});
        }
        // A feed of the three, a newest.
        std::string xml = "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>Three</title>";
        for (int i = 0; i < 3; ++i)
            xml += std::string("<item><title>") + kNames[i] + "</title><pubDate>" + std::to_string(3 - i) +
                   " Dec 2026 08:00:00 GMT</pubDate><enclosure url=\"/" + kNames[i] +
                   ".bmp\" type=\"image/bmp\"/></item>";
        server.Serve("/feed.xml", {200, xml + "</channel></rss>"});
        // The daily archive of the three, a newest, and Spotlight's pictures (JPEGs without an
        // extension, 1600 high), a newest.
        std::string archive = "<?xml version=\"1.0\" encoding=\"utf-8\"?><images>";
        ASSERT_TRUE(::CreateDirectoryW(folder.File(L"assets").c_str(), nullptr));
        for (int i = 0; i < 3; ++i) {
            archive += std::string("<image><startdate>2026121") + std::to_string(3 - i) + "</startdate><urlBase>/" +
                       kNames[i] + "</urlBase><copyright>" + kNames[i] + " (&#169; Someone)</copyright></image>";
            server.Serve(ServedAt(kNames[i], kArchiveEnding), {200, test::SolidBitmapBytes(8 + i, 8)});
            const std::wstring asset = folder.File(L"assets\\" + std::wstring(1, static_cast<wchar_t>(L'a' + i)) + L"0f3c");
            ASSERT_TRUE(test::WriteTestImage(asset, 8 + i, 1600, L"image/jpeg"));
            ASSERT_TRUE(test::SetWrittenMinutesAgo(asset, i));
        }
        server.Serve("/archive.xml", {200, archive + "</images>"});
        ASSERT_TRUE(::SetEnvironmentVariableW(L"GLIMRO_CROSSING", folder.File(L"pictures").c_str()));
    }

    void MakeActive(std::vector<ImageEntry> entries) {
        auto owned = std::make_unique<CAlbum>();
        owned->Name = L"Crossing";
        owned->LastIndex = -1;
        owned->FileList = std::move(entries);
        album = albums.Add(std::move(owned));
        albums.Activate(album);
    }

    // The picture on the desktop, by its width: "a", "b" or "c"; "-" for none.
    std::string Seen() {
        PictureSize size;
        if (desktop.wallpaper.empty() || !ReadImageHeaderSize(desktop.wallpaper, &size) || size.width < 8 ||
            size.width > 10)
            return "-";
        return kNames[size.width - 8];
    }
    // Gives the command, and says what the desktop shows after it.
    std::string After(const std::function<PassOutcome()>& command) {
        desktop.wallpaper.clear();
        return command() == kPassApplied ? Seen() : "-";
    }
    PassOutcome Next() { return rotator.Change(*album, {WallpaperChange::Next}, {}); }
    PassOutcome Previous() { return rotator.Change(*album, {WallpaperChange::Previous}, {}); }
    PassOutcome UseNow(int position) {
        const ImageEntry entry = album->FileList[static_cast<size_t>(position)];
        return rotator.Change(*album, {WallpaperChange::Entry, position, &entry}, {});
    }
};

struct Kind {
    const char* what;
    std::function<std::vector<ImageEntry>(const std::wstring& folder, test::HttpServer&)> entries;
    bool holds_many; // one entry standing for the three
    bool online;     // its pictures are the server's
    const char* ending = ".bmp"; // of a picture the server keeps, or of a file's name
    const char* folder = "pictures\\";
};

void PrintTo(const Kind& kind, std::ostream* out) {
    *out << kind.what;
}

std::vector<ImageEntry> Each(const std::function<std::wstring(const wchar_t*)>& name) {
    return {name(L"a"), name(L"b"), name(L"c")};
}

const Kind kKinds[] = {
    {"PictureFiles",
     [](const std::wstring& f, test::HttpServer&) {
         return Each([&](const wchar_t* n) { return f + L"pictures\\" + n + L".bmp"; });
     },
     false, false},
    {"Folder", [](const std::wstring& f, test::HttpServer&) { return std::vector<ImageEntry>{f + L"pictures"}; },
     true, false},
    {"Feed", [](const std::wstring&, test::HttpServer& s) { return std::vector<ImageEntry>{s.Url("/feed.xml")}; },
     true, true},
    {"Addresses",
     [](const std::wstring&, test::HttpServer& s) {
         return Each([&](const wchar_t* n) { return s.Url(ServedAt(test::Narrow(n))); });
     },
     false, true},
    {"ExpandableEntries",
     [](const std::wstring&, test::HttpServer&) {
         std::vector<ImageEntry> entries =
             Each([](const wchar_t* n) { return L"%GLIMRO_CROSSING%\\" + std::wstring(n) + L".bmp"; });
         for (ImageEntry& entry : entries)
             entry.Type = REG_EXPAND_SZ;
         return entries;
     },
     false, false},
    {"BingArchive", [](const std::wstring&, test::HttpServer&) { return std::vector<ImageEntry>{L"daily:bing"}; },
     true, true, kArchiveEnding},
    {"WindowsSpotlight",
     [](const std::wstring&, test::HttpServer&) { return std::vector<ImageEntry>{L"daily:spotlight"}; }, true,
     false, "0f3c", "assets\\"},
};

class EveryKind : public CrossingsTest, public ::testing::WithParamInterface<Kind> {
protected:
    void Fresh() {
        if (album)
            albums.Remove(album);
        MakeActive(GetParam().entries(folder.Path(), server));
    }
    std::wstring Picture(const char* name) {
        const Kind& kind = GetParam();
        const std::string file = kind.folder + std::string(name) + kind.ending;
        return kind.online ? server.Url(ServedAt(name, kind.ending)) : folder.File(std::wstring(file.begin(), file.end()));
    }
};

TEST_P(EveryKind, EveryCommandShowsWhatTheUserAskedFor) {
    MakePictures();
    const bool many = GetParam().holds_many;
    // Next, and Previous back through what was shown; Next forward again first.
    Fresh();
    EXPECT_EQ(After([&] { return Next(); }), "a");
    EXPECT_EQ(After([&] { return Next(); }), "b");
    EXPECT_EQ(After([&] { return Previous(); }), "a");
    EXPECT_EQ(After([&] { return Next(); }), "b");
    EXPECT_EQ(After([&] { return Next(); }), "c");
    EXPECT_EQ(After([&] { return Next(); }), "a"); // round again

    // Use Now: the entry chosen; inside a folder or feed, the picture after the one shown.
    Fresh();
    EXPECT_EQ(After([&] { return Next(); }), "a");
    EXPECT_EQ(After([&] { return UseNow(many ? 0 : 2); }), many ? "b" : "c");

    // Don't Show Again: the next picture now, and never that one again.
    Fresh();
    EXPECT_EQ(After([&] { return Next(); }), "a");
    EXPECT_EQ(After([&] { return rotator.SkipCurrent({}); }), "b");
    EXPECT_EQ(After([&] { return Next(); }), "c");
    EXPECT_EQ(After([&] { return Next(); }), "b");
    EXPECT_EQ(After([&] { return Previous(); }), "c");
    EXPECT_EQ(After([&] { return Previous(); }), "b"); // not back to the skipped one
    EXPECT_EQ(After([&] { return Previous(); }), "-");

    // A recent picture chosen, then skipped: the album goes on from its own place, and the
    // picture never comes back, however its entry is written.
    Fresh();
    EXPECT_EQ(After([&] { return Next(); }), "a");
    EXPECT_EQ(After([&] { return Next(); }), "b");
    EXPECT_EQ(After([&] { return rotator.ShowRecent(1); }), "a");
    EXPECT_EQ(After([&] { return rotator.SkipCurrent({}); }), "c");
    EXPECT_EQ(After([&] { return Next(); }), "b");
    EXPECT_EQ(After([&] { return Next(); }), "c");
    EXPECT_EQ(After([&] { return Next(); }), "b");

    // Use Now inside a folder or feed whose pictures are all skipped shows none of them.
    if (many) {
        Fresh();
        EXPECT_EQ(After([&] { return Next(); }), "a");
        for (const char* name : kNames)
            album->Skip(Picture(name));
        EXPECT_EQ(After([&] { return UseNow(0); }), "-");
    }
}

// The caption comes with every kind of entry and says what that kind knows of its picture:
// the staged picture is the one composed with that caption from the picture's pixels.
TEST_P(EveryKind, TheCaptionSaysWhatThePictureIs) {
    MakePictures();
    const struct {
        const char* kind;
        std::vector<std::wstring> lines;
    } said[] = {
        {"Feed", {L"a"}},                         // the item's title
        {"BingArchive", {L"a", L"\u00A9 Someone"}}, // the title and the credit
        {"WindowsSpotlight", {L"a0f3c"}},         // nothing but its file's name
    };
    std::vector<std::wstring> lines = {L"a"}; // a file's name, its extension dropped
    for (const auto& s : said)
        if (std::string(s.kind) == GetParam().what)
            lines = s.lines;
    Fresh();
    album->Caption = kCaptionOn;
    ASSERT_EQ(Next(), kPassApplied);
    ASSERT_EQ(desktop.wallpaper, CaptionedPath());
    const std::wstring expected = folder.File(L"expected.jpg");
    const Box monitor{0, 0, 1920, 1080};
    ASSERT_TRUE(ComposeMonitorPictures({GetParam().online ? folder.File(L"pictures\\a.bmp") : Picture("a")}, {monitor},
                                       album->Position, false, expected, {Caption{lines, kBottomRight}},
                                       {CaptionArea{monitor, {}, 0}}));
    EXPECT_EQ(test::ReadFileBytes(CaptionedPath()), test::ReadFileBytes(expected));
}

INSTANTIATE_TEST_SUITE_P(Crossings, EveryKind, ::testing::ValuesIn(kKinds),
                         [](const ::testing::TestParamInfo<Kind>& kind) { return std::string(kind.param.what); });

// Previous and Next mean the same for every order: back through what was shown, or to the
// entries before with nothing shown since the start; forward again through it; and the next
// change on schedule shows the clock's picture on an album that follows the clock.
TEST_F(CrossingsTest, PreviousLooksBackOnEveryOrder) {
    MakePictures();
    const struct {
        const char* what;
        int frequency;
        SYSTEMTIME at;  // when the clock's entry is the last, 11
        int scheduled; // what the next change on schedule shows
    } orders[] = {
        {"every day", kEveryDay, test::LocalTimeAt(2026, 12, 10, 10, 30), 10},
        {"Sync to Month", kSyncToMonth, test::LocalTimeAt(2026, 12, 10, 10, 30), 11},
        {"Sync to Day", kSyncToDay, test::LocalTimeAt(2026, 12, 10, 23, 0), 11},
    };
    std::vector<ImageEntry> twelve;
    for (int i = 0; i < 12; ++i) {
        const std::wstring path = folder.File(L"pictures\\" + std::to_wstring(i) + L".bmp");
        ASSERT_TRUE(test::WriteSolidBitmap(path, 20 + i, 8));
        twelve.push_back(path);
    }
    const auto shown = [&] { return desktop.wallpaper == L"" ? -1 : std::stoi(desktop.wallpaper.substr(desktop.wallpaper.rfind(L'\\') + 1)); };
    for (const auto& order : orders) {
        SCOPED_TRACE(order.what);
        if (album)
            albums.Remove(album);
        MakeActive(twelve);
        album->Frequency = order.frequency;
        album->LastIndex = 11;
        album->LastTime = order.at; // nothing due
        now = order.at;
        const std::vector<std::pair<std::function<PassOutcome()>, int>> steps = {
            {[&] { return Previous(); }, 10},
            {[&] { return Previous(); }, 9},
            {[&] { return Next(); }, 10},
            {[&] { return Previous(); }, 9},
            {[&] { return album->ApplyScheduledImage(); }, order.scheduled},
        };
        for (const auto& [command, expected] : steps) {
            desktop.wallpaper.clear();
            EXPECT_EQ(command(), kPassApplied);
            EXPECT_EQ(shown(), expected);
        }
    }
}

struct FailingAlbum {
    const char* what;
    int frequency, every, entries, attempts;
};

void PrintTo(const FailingAlbum& album, std::ostream* out) {
    *out << album.what;
}

class EveryFrequency : public CrossingsTest, public ::testing::WithParamInterface<FailingAlbum> {};

// An album whose entries all fail is tried once an interval, whatever its kind of frequency:
// checks every ten seconds over half an hour of the clock, 11:45:05 to 12:14:55.
TEST_P(EveryFrequency, APassThatFailsIsTriedOnceAnInterval) {
    const FailingAlbum& f = GetParam();
    server.Serve("/gone.bmp", {404, "not here"});
    MakeActive(std::vector<ImageEntry>(static_cast<size_t>(f.entries), server.Url("/gone.bmp")));
    album->Enabled = true;
    album->Frequency = f.frequency;
    album->Every = f.every;
    for (int check = 0; check < 180; ++check) {
        const int seconds = 45 * 60 + 5 + 10 * check;
        now = test::LocalTimeAt(2026, 12, 10, static_cast<WORD>(11 + seconds / 3600),
                                static_cast<WORD>(seconds / 60 % 60), static_cast<WORD>(seconds % 60));
        RunScheduledPass(now, rotator);
    }
    EXPECT_EQ(server.Requests("/gone.bmp"), f.attempts * f.entries);
    EXPECT_EQ(album->LastTime.wYear, 0); // nothing was ever shown
}

const FailingAlbum kFailing[] = {
    {"EveryHour", kEveryHour, 1, 1, 2},         // a calendar unit, by the interval markers
    {"Every2Minutes", kEveryMinute, 2, 1, 16},  // rhythms of their own, by the album's last try
    {"Every30Minutes", kEveryMinute, 30, 1, 2},
    {"SyncToDay", kSyncToDay, 1, 2, 2}, // slots from 00:00 and 12:00
};

INSTANTIATE_TEST_SUITE_P(Crossings, EveryFrequency, ::testing::ValuesIn(kFailing),
                         [](const ::testing::TestParamInfo<FailingAlbum>& f) { return std::string(f.param.what); });

} // namespace
} // namespace glimro
