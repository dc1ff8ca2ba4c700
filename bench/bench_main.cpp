// Timings of the staging, download, album list and idle-check paths under the real
// platform, each against the bare platform work it cannot avoid. Prints the comparisons;
// asserts nothing.
// The desktop object needs WinINet's declarations before the shell's header: first.
#include "support/fake_desktop.h"

#include "core/picture_fit.h"
#include "core/picture_limits.h"
#include "engine/daily_sources.h"
#include "platform/monitors.h"
#include "engine/feed_document.h"
#include "engine/folder_pictures.h"
#include "engine/monitor_wallpaper.h"
#include "engine/image_object.h"
#include "engine/image_staging.h"
#include "engine/internet_fetch.h"
#include "platform/gdiplus.h"
#include "platform/imaging.h"
#include "platform/internet.h"
#include "platform/screen.h"
#include "scheduler/interval_markers.h"
#include "scheduler/pass_check.h"
#include "log/activity_log.h"
#include "store/product_key.h"
#include "support/registry_sandbox.h"
#include "ui/main_frame.h"
#include "support/http_server.h"
#include "support/temp_folder.h"
#include "support/test_images.h"

#include <objbase.h>
#include <shlwapi.h>
#include <xmllite.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

using namespace glimro;

namespace {

// Every figure is the median of this many runs (of fewer where a run takes many seconds,
// as each line says): a run that the machine slowed down counts no more than one it did not.
constexpr int kRuns = 5;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The median time of the work in seconds, over runs runs.
double Seconds(const std::function<void()>& work, int runs = kRuns) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        work();
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        times.push_back(took.count());
    }
    return Median(times);
}

// Two ways of the same work timed in turn over paired rounds (a slow spell of the machine
// falls on both alike): the median time of each and the median of the rounds' ratios.
constexpr int kPairedRounds = 7;
struct Paired {
    double ours, theirs, ratio;
};
Paired InTurn(const std::function<void()>& ours, const std::function<void()>& theirs, int runs = 1) {
    std::vector<double> a, b, ratios;
    for (int round = 0; round < kPairedRounds; ++round) {
        a.push_back(Seconds(ours, runs));
        b.push_back(Seconds(theirs, runs));
        ratios.push_back(a.back() / b.back());
    }
    return {Median(a), Median(b), Median(ratios)};
}

void DecodeAndEncode(const std::wstring& source, const std::wstring& target) {
    GdiplusSession gdiplus;
    Gdiplus::Bitmap bitmap(source.c_str(), FALSE);
    bitmap.GetWidth();
    CLSID jpeg;
    FindEncoderForPath(target, &jpeg);
    bitmap.Save(target.c_str(), &jpeg, nullptr);
}

void FullDecode(const std::wstring& source) {
    GdiplusSession gdiplus;
    Gdiplus::Bitmap bitmap(source.c_str(), FALSE);
    Gdiplus::BitmapData data;
    Gdiplus::Rect all(0, 0, static_cast<INT>(bitmap.GetWidth()),
                      static_cast<INT>(bitmap.GetHeight()));
    bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat24bppRGB, &data);
    bitmap.UnlockBits(&data);
}

// One request, the body read in 256 KB blocks and thrown away (or written to a file).
void BareReadLoop(const std::wstring& url, const wchar_t* file_path = nullptr) {
    UniqueHandle file;
    if (file_path)
        file.Reset(::CreateFileW(file_path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    InternetHandle session(
        ::InternetOpenW(L"bench", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    InternetHandle request(::InternetOpenUrlW(session.Get(), url.c_str(), nullptr, 0,
                                              INTERNET_FLAG_TRANSFER_ASCII, 0));
    static char block[256 * 1024];
    DWORD read = 0;
    while (::InternetReadFile(request.Get(), block, sizeof(block), &read) && read > 0) {
        DWORD written = 0;
        if (file)
            ::WriteFile(file.Get(), block, read, &written, nullptr);
    }
}

} // namespace

constexpr int kAlbums = 1000;
constexpr int kEntries = 100;

// Albums of kEntries entries each, as the registry would hold a large set.
void StoreAlbums(int count) {
    AlbumSet stored;
    for (int a = 0; a < count; ++a) {
        auto album = std::make_unique<CAlbum>();
        album->Name = L"Album " + std::to_wstring(a);
        album->Description = L"Somewhere";
        for (int e = 0; e < kEntries; ++e)
            album->FileList.push_back(L"C:\\Pictures\\Album\\picture" + std::to_wstring(e) +
                                      L".jpg");
        stored.Add(std::move(album));
    }
    stored.SaveAlbumList();
}

// Reads every album's values and entries with the bare registry calls, then deletes the
// list and writes the same values back.
struct BareAlbum {
    std::wstring name;
    BYTE texts[2][520];
    DWORD numbers[5];
    SYSTEMTIME time;
    wchar_t entries[kEntries][260];
};
const wchar_t* const kNumberNames[] = {L"Enabled", L"Mode", L"LastIndex", L"Frequency",
                                       L"Image Count"};

// Every album's values and entries, read with the bare registry calls.
std::vector<BareAlbum> BareAlbumListRead() {
    HKEY list = nullptr;
    ::RegOpenKeyExW(HKEY_CURRENT_USER, kAlbumListKey, 0, KEY_READ, &list);
    std::vector<std::wstring> names;
    wchar_t name[260];
    for (DWORD i = 0;; ++i) {
        DWORD chars = 260;
        if (::RegEnumKeyExW(list, i, name, &chars, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.emplace_back(name, chars);
    }
    std::vector<BareAlbum> all(names.size());
    for (size_t a = 0; a < names.size(); ++a) {
        HKEY album = nullptr, files = nullptr;
        all[a].name = names[a];
        ::RegOpenKeyExW(list, names[a].c_str(), 0, KEY_READ, &album);
        DWORD bytes = 520;
        ::RegQueryValueExW(album, L"Description", nullptr, nullptr, all[a].texts[0], &bytes);
        bytes = 520;
        ::RegQueryValueExW(album, L"LastFile", nullptr, nullptr, all[a].texts[1], &bytes);
        for (int n = 0; n < 5; ++n) {
            bytes = 4;
            ::RegQueryValueExW(album, kNumberNames[n], nullptr, nullptr,
                               reinterpret_cast<BYTE*>(&all[a].numbers[n]), &bytes);
        }
        bytes = sizeof(SYSTEMTIME);
        ::RegQueryValueExW(album, L"LastTime", nullptr, nullptr,
                           reinterpret_cast<BYTE*>(&all[a].time), &bytes);
        ::RegOpenKeyExW(album, L"FileList", 0, KEY_READ, &files);
        for (int e = 0; e < kEntries; ++e) {
            bytes = sizeof(all[a].entries[e]);
            std::wstring entry = L"ImageFile" + std::to_wstring(e);
            ::RegQueryValueExW(files, entry.c_str(), nullptr, nullptr,
                               reinterpret_cast<BYTE*>(all[a].entries[e]), &bytes);
        }
        ::RegCloseKey(files);
        ::RegCloseKey(album);
    }
    ::RegCloseKey(list);
    return all;
}

// The list deleted and the same values written back with the bare registry calls.
void BareAlbumListWrite(const std::vector<BareAlbum>& all) {
    HKEY list = nullptr;
    ::SHDeleteKeyW(HKEY_CURRENT_USER, kAlbumListKey);
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kAlbumListKey, 0, nullptr, 0, KEY_WRITE, nullptr, &list,
                      nullptr);
    for (size_t a = 0; a < all.size(); ++a) {
        HKEY album = nullptr, files = nullptr;
        ::RegCreateKeyExW(list, all[a].name.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &album,
                          nullptr);
        ::RegSetValueExW(album, L"Description", 0, REG_SZ, all[a].texts[0], 20);
        ::RegSetValueExW(album, L"LastFile", 0, REG_SZ, all[a].texts[1], 22);
        ::RegSetValueExW(album, L"LastTime", 0, REG_BINARY,
                         reinterpret_cast<const BYTE*>(&all[a].time), sizeof(SYSTEMTIME));
        for (int n = 0; n < 5; ++n)
            ::RegSetValueExW(album, kNumberNames[n], 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&all[a].numbers[n]), 4);
        ::RegCreateKeyExW(album, L"FileList", 0, nullptr, 0, KEY_WRITE, nullptr, &files, nullptr);
        for (int e = 0; e < kEntries; ++e) {
            std::wstring entry = L"ImageFile" + std::to_wstring(e);
            ::RegSetValueExW(files, entry.c_str(), 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(all[a].entries[e]),
                             static_cast<DWORD>(wcslen(all[a].entries[e]) * 2));
        }
        ::RegCloseKey(files);
        ::RegCloseKey(album);
    }
    ::RegCloseKey(list);
}

// A due pass (check, apply a small local picture, save) over an active album of 100
// entries, alone and among 999 other albums of 100 entries: a pass writes its album only.
// The Album Manager's rows are left out: rebuilding 1,000 of them is timed above.
class PassHost : public AlbumListHost {
public:
    AlbumSet albums;
    CAlbum* FindActiveAlbum() override { return albums.FindActiveAlbum(); }
    int RunAlbumPass(CAlbum* album) override {
        album->ApplyScheduledImage();
        return album->Frequency;
    }
    void RefreshAlbumList() override {}
    // As the view does: the pass check saves inside the pass's hold.
    int SaveAlbumList() override { return albums.SaveAfterPass(albums.FindActiveAlbum()); }
};

void PassWithManyAlbums(test::TempFolder& folder) {
    test::FakeActiveDesktop desktop;
    auto factory = desktop.Install();
    const std::wstring picture = folder.File(L"small.bmp");
    test::WriteSolidBitmap(picture, 64, 48);
    const auto time_passes = [&](int albums) {
        ::SHDeleteKeyW(HKEY_CURRENT_USER, kAlbumListKey);
        {
            AlbumSet stored;
            for (int a = 0; a < albums; ++a) {
                auto album = std::make_unique<CAlbum>();
                album->Name = L"Album " + std::to_wstring(a);
                album->Enabled = a == 0;
                album->Frequency = kEveryMinute;
                for (int e = 0; e < kEntries; ++e)
                    album->FileList.push_back(
                        a == 0 ? picture
                               : L"C:\\Pictures\\picture" + std::to_wstring(e) + L".jpg");
                stored.Add(std::move(album));
            }
            stored.SaveAlbumList();
        }
        PassHost host;
        host.albums.LoadAlbumList();
        constexpr int kPasses = 20;
        SYSTEMTIME now;
        ::GetLocalTime(&now);
        return Seconds(
                   [&] {
                       for (int i = 0; i < kPasses; ++i) {
                           SYSTEMTIME before = now;
                           before.wHour = static_cast<WORD>((now.wHour + 1) % 24); // due
                           WriteIntervalMarkers(before);
                           RunScheduledPass(now, host);
                       }
                   },
                   kRuns) /
               kPasses;
    };
    const double one = time_passes(1);
    const double many = time_passes(kAlbums);
    std::printf("due pass, 1 album of 100:        %.2f ms\n", one * 1e3);
    std::printf("due pass among 1000 x 100:       %.2f ms   ratio %.2f (goal <= 1.20) (median of %d)\n",
                many * 1e3, many / one, kRuns);
}

void AlbumListAndIdleCheck() {
    test::RegistrySandbox sandbox;
    test::TempFolder folder;
    test::ScopedExecutableFolder exe(folder.Path());
    WindowPlacementRecord placement;
    AlbumSet albums;
    CMainFrame frame(placement, albums);
    frame.Create();
    frame.CreateContent(); // the list, as when the Album Manager shows
    CAlbumListView& view = frame.View();

    StoreAlbums(kAlbums);

    const auto reload = [&] {
        while (!view.Albums().Empty())
            view.Albums().Remove(view.Albums().Albums().front().get());
        view.Albums().LoadAlbumList();
    };
    const double load = Seconds(reload, 3);
    const double refresh = Seconds([&] { view.RefreshAlbumList(); }, 3);
    // Every album changed before each save, so that every one is written.
    const double save = Seconds(
        [&] {
            for (const auto& album : view.Albums().Albums())
                ++album->LastIndex;
            frame.Rotator().SaveAlbumList();
        },
        3);
    std::vector<BareAlbum> read;
    const double bare_read = Seconds([&] { read = BareAlbumListRead(); }, 3);
    const double bare_write = Seconds([&] { BareAlbumListWrite(read); }, 3);
    const double program = load + refresh + save, bare = bare_read + bare_write;
    std::printf("album list, 1000 x 100 entries:  load %.3f s, refresh %.3f s, save %.3f s\n", load,
                refresh, save);
    std::printf("bare registry calls:             reads %.3f s, writes %.3f s\n", bare_read,
                bare_write);
    std::printf(
        "safe save + load:                %.3f s against %.3f s   ratio %.2f (goal <= 1.30) (median of 3)\n",
        load + save, bare, (load + save) / bare);
    std::printf("load + refresh + save:           %.3f s against %.3f s   ratio %.2f\n", program,
                bare, program / bare);

    // An idle check: one active hour album, already switched this hour.
    reload();
    {
        AlbumSet one;
        auto album = std::make_unique<CAlbum>();
        album->Name = L"Album 0";
        album->Frequency = kEveryHour;
        album->Enabled = true;
        one.Add(std::move(album));
        while (!view.Albums().Empty())
            view.Albums().Remove(view.Albums().Albums().front().get());
        ::SHDeleteKeyW(HKEY_CURRENT_USER, kAlbumListKey);
        one.SaveAlbumList();
    }
    view.Albums().LoadAlbumList();
    view.RefreshAlbumList();
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    WriteIntervalMarkers(now);
    constexpr int kChecks = 2000;
    const double check = Seconds([&] {
                             for (int i = 0; i < kChecks; ++i)
                                 RunScheduledPass(now, frame.Rotator());
                         }) /
                         kChecks;
    const std::string entry(150, 'x');
    const double irreducible =
        Seconds([&] {
            for (int i = 0; i < kChecks; ++i) {
                for (const wchar_t* name : {kLastHour, kLastDay}) {
                    HKEY key = nullptr;
                    DWORD value = 0, bytes = 4;
                    ::RegOpenKeyExW(HKEY_CURRENT_USER, kProductKey, 0, KEY_READ, &key);
                    ::RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value),
                                       &bytes);
                    ::RegCloseKey(key);
                }
                HANDLE log = ::CreateFileW(LogPath().c_str(), FILE_APPEND_DATA,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                           0, nullptr);
                DWORD written = 0;
                ::WriteFile(log, entry.data(), static_cast<DWORD>(entry.size()), &written, nullptr);
                ::CloseHandle(log);
            }
        }) /
        kChecks;
    std::printf("idle check (nothing due):        %.1f us\n", check * 1e6);
    std::printf("two reads + one log append:      %.1f us   ratio %.2f (goal <= 1.50) (median of %d)\n",
                irreducible * 1e6, check / irreducible, kRuns);

    PassWithManyAlbums(folder);
}

// A feed of 2,000 items (about 1.5 MB) read to its pictures, against a bare XmlLite loop that reads every
// node and attribute of the same bytes with its namespace, name and value.
size_t BareXmlRead(const std::string& body) {
    const IID reader_id = {0x7279fc81, 0x709d, 0x4095, {0xb6, 0x3d, 0x69, 0xfe, 0x4b, 0x0d, 0x90, 0x30}};
    const auto create = reinterpret_cast<decltype(&::CreateXmlReader)>(reinterpret_cast<void*>(
        ::GetProcAddress(::LoadLibraryW(L"xmllite.dll"), "CreateXmlReader")));
    IXmlReader* reader = nullptr;
    create(reader_id, reinterpret_cast<void**>(&reader), nullptr);
    IStream* stream = ::SHCreateMemStream(reinterpret_cast<const BYTE*>(body.data()),
                                          static_cast<UINT>(body.size()));
    reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit);
    reader->SetInput(stream);
    size_t characters = 0;
    XmlNodeType node;
    const wchar_t* text = nullptr;
    UINT length = 0;
    while (reader->Read(&node) == S_OK) {
        reader->GetNamespaceUri(&text, &length);
        reader->GetLocalName(&text, &length);
        // Attributes by namespace and name, as any reader that tells them apart must.
        for (HRESULT more = reader->MoveToFirstAttribute(); more == S_OK;
             more = reader->MoveToNextAttribute()) {
            reader->GetNamespaceUri(&text, &length);
            reader->GetLocalName(&text, &length);
            reader->GetValue(&text, &length);
            characters += length;
        }
        reader->GetValue(&text, &length);
        characters += length;
    }
    reader->Release();
    stream->Release();
    return characters;
}

void FeedFigure() {
    std::string body = "<?xml version=\"1.0\"?><rss version=\"2.0\" "
                       "xmlns:media=\"http://search.yahoo.com/mrss/\"><channel><title>Bench</title>";
    for (int i = 0; i < 2000; ++i) {
        const std::string n = std::to_string(i);
        body += "<item><title>Picture " + n + "</title><link>https://feed.example/p/" + n +
                "</link><pubDate>Wed, 09 Dec 2026 07:30:00 GMT</pubDate><description>&lt;p&gt;A "
                "picture of the day with a few words about it, as such feeds carry: where it "
                "was taken, by whom, what it shows and why it was chosen today, in a sentence "
                "or two, and a line of thanks to the one who sent it in.&lt;/p&gt;"
                "&lt;img src=\"https://img.example/" + n + ".jpg\"&gt;</description>"
                "<media:group><media:content url=\"https://img.example/" + n + "-s.jpg\" "
                "width=\"640\" medium=\"image\"/><media:content url=\"https://img.example/" + n +
                "-l.jpg\" width=\"3840\" medium=\"image\"/></media:group>"
                "<media:credit>Photographer " + n + "</media:credit></item>";
    }
    body += "</channel></rss>";
    size_t pictures = 0;
    const double feed = Seconds([&] {
        pictures = ReadFeedDocument(body, L"https://feed.example/rss")->pictures.size();
    });
    const double bare = Seconds([&] { BareXmlRead(body); });
    std::printf("feed of 2000 items (%.1f MB, %zu pictures): %.1f ms; bare XmlLite loop %.1f ms"
                "   ratio %.2f (goal <= 1.50) (median of %d)\n",
                body.size() / 1048576.0, pictures, feed * 1e3, bare * 1e3, feed / bare, kRuns);
}

// A bare walk of a folder tree, as the system offers it at its quickest.
size_t BareWalk(const std::wstring& folder) {
    size_t files = 0;
    WIN32_FIND_DATAW found = {};
    HANDLE search = ::FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &found,
                                       FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        const std::wstring name = found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ++files;
        else if (name != L"." && name != L"..")
            files += BareWalk(folder + L"\\" + name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return files;
}

// A folder entry of 10,000 pictures in 100 folders, with 2,000 other files among them: the
// expansion and the choice of the next picture against a bare walk of the same tree.
void FolderExpansion(test::TempFolder& folder) {
    const std::wstring root = folder.File(L"Photos");
    ::CreateDirectoryW(root.c_str(), nullptr);
    for (int f = 0; f < 100; ++f) {
        const std::wstring sub = root + L"\\Trip " + std::to_wstring(f);
        ::CreateDirectoryW(sub.c_str(), nullptr);
        for (int i = 0; i < 120; ++i) {
            const std::wstring name = sub + L"\\IMG_" + std::to_wstring(i) +
                                      (i % 6 == 5 ? L".xmp" : L".JPG");
            UniqueHandle file(::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        }
    }
    const std::wstring last = root + L"\\Trip 50\\IMG_17.JPG";
    size_t chosen = 0;
    const double ours = Seconds(
        [&] {
            const std::vector<std::wstring> pictures = FolderPictures(root);
            chosen = static_cast<size_t>(
                std::upper_bound(pictures.begin(), pictures.end(), last, ComesBefore) -
                pictures.begin());
        },
        5);
    size_t files = 0;
    const double bare = Seconds([&] { files = BareWalk(root); }, 5);
    std::printf("folder of %zu files, 10,000 pictures: %.1f ms (next is #%zu); bare walk %.1f ms"
                "   ratio %.2f (goal <= 1.50) (median of %d)\n",
                files, ours * 1e3, chosen, bare * 1e3, ours / bare, kRuns);
}

// Three 3840 x 2160 monitors, each a 6000 x 4000 photo: composed into one picture against
// staging the same three pictures separately, as the desktop wallpaper object's path does.
void ComposeMonitors(test::TempFolder& folder) {
    std::vector<std::wstring> photos;
    for (int i = 0; i < 3; ++i) {
        photos.push_back(folder.File(L"photo" + std::to_wstring(i) + L".jpg"));
        test::WriteTestImage(photos.back(), 6000, 4000, L"image/jpeg");
    }
    const std::vector<Box> monitors = {{0, 0, 3840, 2160}, {3840, 0, 7680, 2160},
                                       {7680, 0, 11520, 2160}};
    const std::wstring composite = folder.File(L"composite.jpg");
    const double composed = Seconds(
        [&] { ComposeMonitorPictures(photos, monitors, kFill, false, composite); });
    const double separate = Seconds(
        [&] {
            for (size_t k = 0; k < photos.size(); ++k)
                StageFor(photos[k], SIZE{3840, 2160}, kFill, MonitorPicturePath(k));
        });
    std::printf("composing 3 x 3840x2160 monitors: %.3f s; staging them separately %.3f s"
                "   ratio %.2f (goal <= 1.20) (median of %d)\n",
                composed, separate, composed / separate, kRuns);
}

void DownloadFigure(test::TempFolder& folder);

// A folder of 10,000 small pictures of which one in ten is landscape: a pass of a
// "only landscape" album (headers read up to the next that fits) against the same pass with
// no rule, in turn over paired rounds.
void FittingFolderPass(test::TempFolder& folder) {
    test::FakeActiveDesktop desktop;
    auto factory = desktop.Install();
    const std::wstring root = folder.File(L"Shapes");
    ::CreateDirectoryW(root.c_str(), nullptr);
    const std::string wide = test::SolidBitmapBytes(16, 9), tall = test::SolidBitmapBytes(9, 16);
    for (int f = 0; f < 100; ++f) {
        const std::wstring sub = root + L"\\Trip " + std::to_wstring(f);
        ::CreateDirectoryW(sub.c_str(), nullptr);
        for (int i = 0; i < 100; ++i) {
            const std::string& bytes = i % 10 == 9 ? wide : tall;
            UniqueHandle file(::CreateFileW((sub + L"\\IMG_" + std::to_wstring(1000 + i) + L".bmp").c_str(),
                                            GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            DWORD written = 0;
            ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        }
    }
    CAlbum ruled, plain;
    ruled.Name = plain.Name = L"Bench";
    ruled.FileList = plain.FileList = {root};
    ruled.Shape = kLandscapeOnly;
    ruled.ApplyNextImage();
    plain.ApplyNextImage();
    const Paired timed = InTurn([&] { ruled.ApplyNextImage(); }, [&] { plain.ApplyNextImage(); }, 3);
    std::printf("next fitting picture of 10,000 (1 in 10 fits): %.1f ms; with no rule %.1f ms"
                "   ratio %.2f (goal <= 2.00) (median of %d rounds)\n",
                timed.ours * 1e3, timed.theirs * 1e3, timed.ratio, kPairedRounds);

    // The same folder shuffled: drawing the round and taking from it is linear.
    CAlbum shuffled;
    shuffled.Name = L"Bench";
    shuffled.FileList = {root};
    shuffled.Mode = kRandom;
    shuffled.ApplyNextImage();
    const Paired random = InTurn([&] { shuffled.ApplyNextImage(); }, [&] { plain.ApplyNextImage(); }, 3);
    std::printf("next picture of a Random album over 10,000: %.1f ms; Sequential %.1f ms"
                "   ratio %.2f (goal <= 1.50) (median of %d rounds)\n",
                random.ours * 1e3, random.theirs * 1e3, random.ratio, kPairedRounds);
}

// A pass with "Fill (keep the subject)" against the same pass with plain Fill, on a 24-megapixel
// photo for a 1920 x 1080 screen, in turn over paired rounds.
void SubjectFillPass(const std::wstring& photo) {
    test::FakeActiveDesktop desktop;
    auto factory = desktop.Install();
    CAlbum subject, fill;
    subject.Name = fill.Name = L"Bench";
    subject.FileList = fill.FileList = {photo};
    subject.Position = kFillSubject;
    fill.Position = kFill;
    const Paired timed = InTurn([&] { subject.ApplyNextImage(); }, [&] { fill.ApplyNextImage(); });
    std::printf("pass keeping the subject of a 24 MP photo: %.3f s; with plain Fill %.3f s"
                "   ratio %.2f (goal <= 1.15) (median of %d rounds)\n",
                timed.ours, timed.theirs, timed.ratio, kPairedRounds);
}

// A pass that draws the caption into the staged picture against the same pass without one,
// on a 24-megapixel photo for one 1920 x 1080 monitor, in turn over paired rounds.
void CaptionedPass(const std::wstring& photo) {
    test::FakeActiveDesktop desktop;
    auto factory = desktop.Install();
    Seam<std::vector<MonitorInfo>()>::Override monitors(Monitors, [] {
        return std::vector<MonitorInfo>{{{0, 0, 1920, 1080}, true, L"\\\\.\\DISPLAY1", {0, 0, 1920, 1040}, 96}};
    });
    CAlbum captioned, plain;
    captioned.Name = plain.Name = L"Bench";
    captioned.FileList = plain.FileList = {photo};
    captioned.Caption = kCaptionOn;
    plain.Caption = kCaptionOff;
    const Paired timed = InTurn([&] { captioned.ApplyNextImage(); }, [&] { plain.ApplyNextImage(); });
    std::printf("pass with a caption on a 24 MP photo: %.3f s; without %.3f s"
                "   ratio %.2f (goal <= 1.10) (median of %d rounds)\n",
                timed.ours, timed.theirs, timed.ratio, kPairedRounds);
}

// A pass over a web entry whose picture the cache holds (its document asked again and
// answered 304) against a pass over the same picture as a local file, in turn over paired
// rounds. entry: the album's entry, or empty for the document's address itself.
void CachedWebPass(const char* what, const std::string& document, const std::string& picture,
                   const std::wstring& entry, const std::wstring& photo) {
    test::FakeActiveDesktop desktop;
    auto factory = desktop.Install();
    test::HttpServer server;
    test::HttpResponse answer{200, document};
    answer.etag = "\"bench\"";
    server.Serve("/document.xml", answer);
    server.Serve(picture, {200, test::ReadFileBytes(photo)});
    Seam<std::wstring(const DailySourceRow&)>::Override daily{DailyAddress,
                                                             [&](const DailySourceRow&) { return server.Url("/document.xml"); }};
    Seam<std::vector<MonitorInfo>()>::Override screens{
        Monitors, [] { return std::vector<MonitorInfo>{{{0, 0, 1920, 1080}, true, L"\\\\.\\DISPLAY1"}}; }};
    CAlbum web, local;
    web.Name = local.Name = L"Bench";
    web.FileList = {ImageEntry(entry.empty() ? server.Url("/document.xml") : entry)};
    local.FileList = {photo};
    web.ApplyNextImage(); // fetched once, into the cache
    const Paired timed = InTurn([&] { web.ApplyNextImage(); }, [&] { local.ApplyNextImage(); });
    std::printf("pass over a cached %s picture: %.3f s; over the same local file %.3f s"
                "   ratio %.2f (goal <= 1.20) (median of %d rounds; %d document requests)\n",
                what, timed.ours, timed.theirs, timed.ratio, kPairedRounds, server.Requests("/document.xml"));
}

void CachedFeedPasses(const std::wstring& photo) {
    CachedWebPass("feed",
                  "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>Bench</title><item><title>Photo"
                  "</title><enclosure url=\"/photo.jpg\" type=\"image/jpeg\"/></item></channel></rss>",
                  "/photo.jpg", L"", photo);
    CachedWebPass("daily archive",
                  "<?xml version=\"1.0\" encoding=\"utf-8\"?><images><image><startdate>20261210</startdate>"
                  "<urlBase>/th?id=OHR.Bench_EN-US1</urlBase><copyright>Bench (&#169; Glimro)</copyright></image></images>",
                  "/th?id=OHR.Bench_EN-US1_1920x1080.jpg", L"daily:bing", photo);
}

// The parts of a README example's variable, "a|b|c", read as UTF-8.
std::vector<std::wstring> ExampleParts(const char* variable) {
    const std::string text = variable;
    std::vector<std::wstring> parts;
    for (size_t start = 0; start <= text.size();) {
        const size_t bar = std::min(text.find('|', start), text.size());
        const int length = static_cast<int>(bar - start);
        std::wstring part(static_cast<size_t>(length), L'\0');
        part.resize(static_cast<size_t>(
            ::MultiByteToWideChar(CP_UTF8, 0, text.data() + start, length, part.data(), length)));
        parts.push_back(std::move(part));
        start = bar + 1;
    }
    return parts;
}

int main() {
    ::OleInitialize(nullptr);
    // The start-up figure's albums, in the registry of the prefix it runs in (a private one):
    // the set replaced by this many albums of kEntries entries.
    if (const char* albums = std::getenv("GLIMRO_BENCH_WRITE_ALBUMS")) {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kProductKey);
        StoreAlbums(std::atoi(albums));
        ::OleUninitialize();
        return 0;
    }
    // A 6000 x 4000 (24-megapixel) JPEG for the memory figure's pass.
    if (const char* photo = std::getenv("GLIMRO_BENCH_WRITE_PHOTO")) {
        const std::string narrow = photo;
        test::WriteTestImage(std::wstring(narrow.begin(), narrow.end()), 6000, 4000, L"image/jpeg");
        ::OleUninitialize();
        return 0;
    }
    // The README's picture of a composed wallpaper: "output|landscape|portrait" (Windows
    // paths), a 1600 x 900 primary with a portrait 900 x 1600 monitor to its left, Fill.
    if (const char* example = std::getenv("GLIMRO_COMPOSE_EXAMPLE")) {
        GdiplusSession gdiplus;
        const std::vector<std::wstring> parts = ExampleParts(example);
        if (parts.size() == 3)
            ComposeMonitorPictures({parts[1], parts[2]}, {{0, 0, 1600, 900}, {-900, -350, 0, 1250}},
                                   kFill, false, parts[0]);
        ::OleUninitialize();
        return 0;
    }
    // The README's example: the picture staged for a screen with the subject kept,
    // "subject.jpg|picture|width|height" (scripts/crop-example.sh makes the centre crop beside it).
    if (const char* example = std::getenv("GLIMRO_CROP_EXAMPLE")) {
        const std::vector<std::wstring> parts = ExampleParts(example);
        int result = 1;
        if (parts.size() == 4) {
            GdiplusSession gdiplus;
            const SIZE screen{std::stoi(parts[2]), std::stoi(parts[3])};
            result = StageFor(parts[1], screen, kFillSubject, parts[0]) == parts[0] ? 0 : 1;
        }
        ::OleUninitialize();
        return result;
    }
    // The README's picture of a caption: "output|picture|title|credit|album", Fill on a
    // 1280 x 720 monitor whose taskbar takes the bottom 40 pixels, at 100 %.
    if (const char* example = std::getenv("GLIMRO_CAPTION_EXAMPLE")) {
        const std::vector<std::wstring> parts = ExampleParts(example);
        int result = 1;
        if (parts.size() == 5) {
            GdiplusSession gdiplus;
            const CaptionChoice choice{true, kBottomRight, false, parts[4]};
            const CaptionArea area{{0, 0, 1280, 720}, {0, 0, 1280, 680}, 96};
            const Caption caption = CaptionOf(choice, parts[1], PictureCredit{parts[2], parts[3], L""}, parts[1]);
            result = ComposeMonitorPictures({parts[1]}, {area.monitor}, kFill, false, parts[0], {caption}, {area}) ? 0 : 1;
        }
        ::OleUninitialize();
        return result;
    }
    if (std::getenv("GLIMRO_BENCH_MONITORS_ONLY")) {
        GdiplusSession gdiplus;
        test::TempFolder folder;
        test::ScopedExecutableFolder exe(folder.Path());
        ComposeMonitors(folder);
        ::OleUninitialize();
        return 0;
    }
    if (std::getenv("GLIMRO_BENCH_FEED_ONLY")) {
        FeedFigure();
        ::OleUninitialize();
        return 0;
    }
    if (std::getenv("GLIMRO_BENCH_FITTING_ONLY")) {
        test::TempFolder folder;
        test::ScopedExecutableFolder exe(folder.Path());
        Seam<SIZE()>::Override screen(PrimaryScreenSize, [] { return SIZE{1920, 1080}; });
        FittingFolderPass(folder);
        ::OleUninitialize();
        return 0;
    }
    if (std::getenv("GLIMRO_BENCH_FOLDERS_ONLY")) {
        test::TempFolder folder;
        FolderExpansion(folder);
        ::OleUninitialize();
        return 0;
    }
    if (std::getenv("GLIMRO_BENCH_ALBUMS_ONLY")) {
        test::TempFolder folder;
        test::ScopedExecutableFolder exe(folder.Path());
        AlbumListAndIdleCheck();
        ::OleUninitialize();
        return 0;
    }
    GdiplusSession gdiplus;
    test::TempFolder folder;
    test::ScopedExecutableFolder exe(folder.Path());
    if (std::getenv("GLIMRO_BENCH_DOWNLOAD_ONLY")) {
        DownloadFigure(folder);
        ::OleUninitialize();
        return 0;
    }
    Seam<SIZE()>::Override screen(PrimaryScreenSize, [] { return SIZE{1920, 1080}; });

    const std::wstring big = folder.File(L"big.jpg");
    test::WriteTestImage(big, 6000, 4000, L"image/jpeg");

    const SIZE target = ShrunkSize(6000, 4000, 1920, 1080);
    PictureDecoder decoder;
    decoder.Open(big, target.cx, target.cy, &DecodeFits);
    // In turn, as the download: the figure is the median of the rounds' ratios.
    const Paired staged = InTurn([&] { PrepareLocalImage(big); },
                                 [&] { DecodeAndEncode(big, folder.File(L"copy.jpg")); });
    const double staging = staged.ours, baseline = staged.theirs;
    double shell_way = 0;
    {
        Seam<HRESULT(ComPtr<IWICImagingFactory>*)>::Override without(
            CreateImagingFactory, [](ComPtr<IWICImagingFactory>*) { return E_NOINTERFACE; });
        shell_way = Seconds([&] { PrepareLocalImage(big); }, 3);
    }
    std::printf("staging 6000x4000 JPEG to %ldx%ld: %.3f s   (decoded at %ux%u%s)\n", target.cx,
                target.cy, staging, decoder.Width(), decoder.Height(),
                decoder.Width() < 6000 ? ", a reduced scale"
                                       : ": this platform's decoder offers no reduced scale");
    std::printf("staging against a full decode + JPEG-encode (%.3f s): ratio %.2f (goal <= 0.60) "
                "(median of %d rounds)\n",
                baseline, staged.ratio, kPairedRounds);
    std::printf("the shell's way (extractor, or GDI+ where there is none): %.3f s   ratio %.2f\n",
                shell_way, shell_way / baseline);

    const double size_only = Seconds(
        [&] {
            ImageObject image;
            image.Load(big);
        },
        5);
    const double decode = Seconds([&] { FullDecode(big); }, 3);
    std::printf("learning the size:               %.4f s   full decode %.3f s (%.1f%%)\n",
                size_only, decode, 100.0 * size_only / decode);

    if (std::getenv("GLIMRO_BENCH_STAGING_ONLY")) {
        ::OleUninitialize();
        return 0;
    }
    SubjectFillPass(big);
    if (std::getenv("GLIMRO_BENCH_SUBJECT_ONLY")) {
        ::OleUninitialize();
        return 0;
    }
    CaptionedPass(big);
    if (std::getenv("GLIMRO_BENCH_CAPTION_ONLY")) {
        ::OleUninitialize();
        return 0;
    }
    CachedFeedPasses(big);
    if (std::getenv("GLIMRO_BENCH_CACHED_FEED_ONLY")) {
        ::OleUninitialize();
        return 0;
    }
    DownloadFigure(folder);
    AlbumListAndIdleCheck();
    FolderExpansion(folder);
    FittingFolderPass(folder);
    FeedFigure();
    ComposeMonitors(folder);
    ::OleUninitialize();
    return 0;
}
// A 50 MB body from the loopback server: the download against a bare read loop that writes
// the same body to a file.
void DownloadFigure(test::TempFolder& folder) {
    test::HttpServer server;
    test::HttpResponse body{200, std::string(50u * 1024 * 1024, 'b')};
    body.chunk_size = 256 * 1024;
    server.Serve("/big.bin", body);
    const std::wstring url = server.Url("/big.bin");
    server.Serve("/tiny.bin", test::HttpResponse{200, "t"});
    const double bare = Seconds([&] { BareReadLoop(url); }, 7);
    const std::wstring saved = folder.File(L"saved.bin");
    const int bare_requests = server.Requests("/big.bin");
    LogStream closed;
    // In turn, so that a slow spell of the machine falls on all three alike: the bare loop
    // that writes the body, the dialog's pauses and its own making (a one-byte download),
    // and the download; each round's ratio is the download less the pauses against the loop.
    constexpr int kRounds = 7;
    std::vector<double> written, fixed, downloads, ratios;
    for (int round = 0; round < kRounds; ++round) {
        written.push_back(Seconds([&] { BareReadLoop(url, saved.c_str()); }, 1));
        fixed.push_back(Seconds(
            [&] { DownloadImage(server.Url("/tiny.bin"), ::GetModuleHandleW(nullptr), closed); },
            1));
        downloads.push_back(
            Seconds([&] { DownloadImage(url, ::GetModuleHandleW(nullptr), closed); }, 1));
        ratios.push_back((downloads.back() - fixed.back()) / written.back());
    }
    std::printf("50 MB download:                  %.3f s, of which %.3f s the dialog's pauses "
                "(a one-byte download); %d requests for %d downloads\n",
                Median(downloads), Median(fixed), server.Requests("/big.bin") - bare_requests - kRounds,
                kRounds);
    std::printf("bare read loop, same server:     %.3f s   ratio %.2f\n", bare,
                (Median(downloads) - Median(fixed)) / bare);
    // Saving the picture is part of the work: the goal is against the loop that saves too.
    std::printf("50 MB download against the bare loop writing a file (%.3f s): ratio %.2f "
                "(goal <= 1.10) (median of %d rounds)\n",
                Median(written), Median(ratios), kRounds);
}
