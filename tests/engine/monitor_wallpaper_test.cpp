// A picture for each monitor, through layouts put in place by the monitor seam: composed into
// one picture of the virtual screen (Wine, Windows 7), or set monitor by monitor through a
// stand-in desktop wallpaper object.
#include "support/fake_desktop.h" // first: the desktop headers need WinINet declared

#include "core/frequency.h"
#include "engine/image_object.h"
#include "engine/image_staging.h"
#include "engine/monitor_wallpaper.h"
#include "platform/monitors.h"
#include "store/album.h"
#include "support/counted_fake.h"
#include "support/registry_sandbox.h"
#include "support/temp_folder.h"
#include "support/test_images.h"

#include "core/picture_fit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>

namespace glimro {
namespace {

constexpr COLORREF kColours[] = {RGB(200, 30, 30), RGB(30, 200, 30), RGB(30, 30, 200)};

bool Near(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) < 12 && std::abs(GetGValue(a) - GetGValue(b)) < 12 &&
           std::abs(GetBValue(a) - GetBValue(b)) < 12;
}

// The desktop wallpaper object as Windows 8 has it: each monitor's device path and rectangle.
class FakeDesktopWallpaper : public test::CountedFake<IDesktopWallpaperObject> {
public:
    std::vector<RECT> rects;
    std::map<int, std::wstring> set; // monitor number: picture
    int position = -1;

    STDMETHODIMP SetWallpaper(LPCWSTR monitor, LPCWSTR wallpaper) override {
        set[std::stoi(monitor)] = wallpaper;
        return S_OK;
    }
    STDMETHODIMP GetWallpaper(LPCWSTR, LPWSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMonitorDevicePathAt(UINT index, LPWSTR* monitor) override {
        const std::wstring id = std::to_wstring(index);
        *monitor = static_cast<LPWSTR>(::CoTaskMemAlloc((id.size() + 1) * sizeof(wchar_t)));
        wcscpy(*monitor, id.c_str());
        return S_OK;
    }
    STDMETHODIMP GetMonitorDevicePathCount(UINT* count) override {
        *count = static_cast<UINT>(rects.size());
        return S_OK;
    }
    STDMETHODIMP GetMonitorRECT(LPCWSTR monitor, RECT* rect) override {
        *rect = rects.at(static_cast<size_t>(std::stoi(monitor)));
        return S_OK;
    }
    STDMETHODIMP SetBackgroundColor(COLORREF) override { return S_OK; }
    STDMETHODIMP GetBackgroundColor(COLORREF*) override { return E_NOTIMPL; }
    STDMETHODIMP SetPosition(int value) override {
        position = value;
        return S_OK;
    }
};

class MonitorWallpaperTest : public ::testing::Test {
protected:
    test::RegistrySandbox sandbox;
    test::TempFolder folder;
    test::ScopedExecutableFolder exe{folder.Path()};
    test::FakeActiveDesktop desktop;
    Seam<HRESULT(ComPtr<IActiveDesktop>*)>::Override desktop_override = desktop.Install();
    std::vector<MonitorInfo> layout;
    Seam<std::vector<MonitorInfo>()>::Override monitors{Monitors, [this] { return layout; }};
    Seam<HRESULT(ComPtr<IDesktopWallpaperObject>*)>::Override no_object{
        CreateDesktopWallpaper, [](ComPtr<IDesktopWallpaperObject>*) { return REGDB_E_CLASSNOTREG; }};
    bool windows8 = true;
    Seam<bool()>::Override version{RunsOnWindows8OrLater, [this] { return windows8; }};
    std::vector<std::wstring> pictures;

    void SetUp() override {
        for (int i = 0; i < 3; ++i) {
            pictures.push_back(folder.File(L"p" + std::to_wstring(i) + L".bmp"));
            ASSERT_TRUE(test::WriteSolidBitmap(pictures.back(), 64, 48, kColours[i]));
        }
    }
    static MonitorInfo At(int left, int top, int width, int height, bool primary = false) {
        return {RECT{left, top, left + width, top + height}, primary, L""};
    }
};

// Each layout: the composite covers the virtual screen, and the middle of each monitor's part
// shows that monitor's picture (primary first, then left to right, top to bottom).
TEST_F(MonitorWallpaperTest, TheCompositeHoldsEachMonitorsPictureInItsRectangle) {
    const struct {
        const char* what;
        std::vector<MonitorInfo> monitors;
        bool windows8;
        SIZE size;
        std::vector<POINT> middles; // in the composite, in picture order
    } cases[] = {
        {"side by side", {At(0, 0, 1920, 1080, true), At(1920, 0, 1280, 1024)}, true, {3200, 1080},
         {{960, 540}, {2560, 512}}},
        {"stacked", {At(0, 0, 800, 600, true), At(0, 600, 800, 600)}, true, {800, 1200},
         {{400, 300}, {400, 900}}},
        {"portrait left of the primary", {At(0, 0, 1600, 900, true), At(-1080, -200, 1080, 1920)},
         true, {2680, 1920}, {{1880, 650}, {540, 960}}},
        {"the same, tiled from the primary on Windows 7",
         {At(0, 0, 1600, 900, true), At(-1080, -200, 1080, 1920)}, false, {2680, 1920},
         {{800, 450}, {2140, 760}, {2140, 1820}}}, // the part above the primary wraps
        {"three, the primary in the middle",
         {At(-800, 0, 800, 600), At(0, 0, 800, 600, true), At(800, 0, 800, 600)}, true,
         {2400, 600}, {{1200, 300}, {400, 300}, {2000, 300}}},
    };
    for (const auto& c : cases) {
        layout = c.monitors;
        windows8 = c.windows8;
        LogStream closed;
        ASSERT_TRUE(SetMonitorWallpapers(pictures, kFill, closed)) << c.what;
        EXPECT_EQ(desktop.wallpaper, CompositePath()) << c.what;
        EXPECT_EQ(desktop.wallpaper_style,
                  static_cast<DWORD>(c.windows8 ? kSpan : kTile))
            << c.what;
        const SIZE size = test::DecodedSize(CompositePath());
        EXPECT_EQ(size.cx, c.size.cx) << c.what;
        EXPECT_EQ(size.cy, c.size.cy) << c.what;
        for (size_t k = 0; k < c.middles.size(); ++k) {
            const COLORREF pixel = test::DecodedPixel(CompositePath(), c.middles[k].x, c.middles[k].y);
            EXPECT_TRUE(Near(pixel, kColours[std::min<size_t>(k, c.monitors.size() - 1)]))
                << c.what << ": point " << k;
        }
    }
}

// Fill crops a picture wider than its monitor to the middle, drawn once: a 200 x 50 picture,
// red then green, on a square monitor shows the red and green halves of its middle quarter.
TEST_F(MonitorWallpaperTest, APictureIsCroppedToItsMonitorOnce) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 200;
    info.bmiHeader.biHeight = 50;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    GdiObject<HBITMAP> halves(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 200; ++x)
            std::memcpy(static_cast<BYTE*>(bits) + y * 600 + x * 3, x < 100 ? "\x1E\x1E\xC8" : "\x1E\xC8\x1E", 3);
    ImageObject picture;
    picture.Attach(halves.Release());
    ASSERT_TRUE(SUCCEEDED(SaveWhole(picture, folder.File(L"halves.jpg"))));
    const std::wstring out = folder.File(L"out.jpg");
    ASSERT_TRUE(ComposeMonitorPictures({folder.File(L"halves.jpg")}, {{0, 0, 500, 500}}, kFill,
                                       false, out));
    EXPECT_TRUE(Near(test::DecodedPixel(out, 100, 250), RGB(200, 30, 30)));
    EXPECT_TRUE(Near(test::DecodedPixel(out, 400, 250), RGB(30, 200, 30)));
}

// Where the system has the desktop wallpaper object, each monitor gets its own picture and
// the position, matched to the monitors by their rectangles.
TEST_F(MonitorWallpaperTest, TheObjectSetsEachMonitorItsPicture) {
    FakeDesktopWallpaper object;
    object.rects = {RECT{1920, 0, 3200, 1024}, RECT{0, 0, 1920, 1080}};
    Seam<HRESULT(ComPtr<IDesktopWallpaperObject>*)>::Override present(
        CreateDesktopWallpaper, [&](ComPtr<IDesktopWallpaperObject>* out) {
            object.HandOut(out);
            return S_OK;
        });
    layout = {At(1920, 0, 1280, 1024), At(0, 0, 1920, 1080, true)};
    LogStream closed;
    ASSERT_TRUE(SetMonitorWallpapers({pictures[0], pictures[1]}, kFit, closed));
    EXPECT_EQ(object.set[1], pictures[0]); // device 1 is the primary: it fits as it is
    EXPECT_EQ(object.set[0], pictures[1]);
    EXPECT_EQ(object.position, kFit);
    EXPECT_TRUE(desktop.wallpaper.empty());
}

// An album with a picture for each monitor takes its next pictures, one per monitor, and
// goes on from the last one used (a new layout: DisplayChange in the view's tests).
TEST_F(MonitorWallpaperTest, AnAlbumTakesOnePicturePerMonitor) {
    layout = {At(0, 0, 1024, 768, true), At(1024, 0, 1024, 768)};
    CAlbum album;
    album.FileList.assign(pictures.begin(), pictures.end());
    album.Monitors = kPictureEach;
    album.LastIndex = -1;
    ASSERT_EQ(album.ApplyNextImage(), kPassApplied);
    EXPECT_EQ(album.ShownPerMonitor, (std::vector<std::wstring>{pictures[0], pictures[1]}));
    EXPECT_EQ(album.LastIndex, 1);
    ASSERT_EQ(album.ApplyNextImage(), kPassApplied);
    EXPECT_EQ(album.ShownPerMonitor, (std::vector<std::wstring>{pictures[2], pictures[0]}));
    EXPECT_EQ(album.LastIndex, 0);


    album.Frequency = kSyncToMonth; // every monitor the month's picture
    ASSERT_EQ(album.ApplyNextImage(), kPassApplied);
    EXPECT_EQ(album.ShownPerMonitor.size(), 1u);
}

// "Match each monitor": the landscape monitor takes the album's landscape pictures in turn,
// the portrait one its portrait pictures.
TEST_F(MonitorWallpaperTest, MatchingEachMonitorGivesAPortraitMonitorItsPortraitPictures) {
    layout = {At(0, 0, 1024, 768, true), At(1024, 0, 768, 1024)};
    CAlbum album;
    for (const wchar_t* name : {L"wide0.bmp", L"wide1.bmp", L"tall0.bmp", L"tall1.bmp"}) {
        album.FileList.push_back(folder.File(name));
        const bool wide = name[0] == L'w';
        ASSERT_TRUE(test::WriteSolidBitmap(album.FileList.back().Text, wide ? 64 : 48, wide ? 48 : 64));
    }
    album.Monitors = kPictureEach;
    album.Shape = kMatchMonitor;
    album.LastIndex = -1;
    const auto pair = [&](int wide, int tall) {
        return std::vector<std::wstring>{album.FileList[static_cast<size_t>(wide)].Text,
                                         album.FileList[static_cast<size_t>(2 + tall)].Text};
    };
    for (const auto& expected : {pair(0, 0), pair(1, 1), pair(0, 0)}) {
        ASSERT_EQ(album.ApplyNextImage(), kPassApplied);
        EXPECT_EQ(album.ShownPerMonitor, expected);
    }
}

} // namespace
} // namespace glimro
