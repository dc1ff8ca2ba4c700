// A picture for each monitor, through layouts put in place by the monitor seam: composed into
// one picture of the virtual screen (Wine, Windows 7), or set monitor by monitor through a
// stand-in desktop wallpaper object.
#include "support/fake_desktop.h" // first: the desktop headers need WinINet declared

#include "core/frequency.h"
#include "engine/image_object.h"
#include "engine/image_staging.h"
#include "engine/monitor_wallpaper.h"
#include "platform/screen.h"
#include "store/product_key.h"
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
#include <functional>
#include <map>
#include <optional>

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
    void* bits = nullptr;
    GdiObject<HBITMAP> halves(CreateTopDownBitmap(200, 50, &bits));
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

// The caption on the desktop.

// Where a staged picture differs from the same staging without a caption by more than the
// JPEG's rounding, in columns [from_x, to_x): the bounding box, empty when nowhere.
Box CaptionDifference(const std::wstring& captioned, const std::wstring& plain, int from_x = 0,
                      int to_x = 1 << 30) {
    SIZE size = {}, plain_size = {};
    const std::vector<COLORREF> a = test::DecodedPixels(captioned, &size);
    const std::vector<COLORREF> b = test::DecodedPixels(plain, &plain_size);
    EXPECT_EQ(size.cx, plain_size.cx);
    EXPECT_EQ(size.cy, plain_size.cy);
    Box found{1 << 30, 1 << 30, -1, -1};
    for (int y = 0; y < size.cy && a.size() == b.size(); ++y) {
        for (int x = std::max(from_x, 0); x < std::min<int>(to_x, size.cx); ++x) {
            const COLORREF p = a[static_cast<size_t>(y) * size.cx + x], q = b[static_cast<size_t>(y) * size.cx + x];
            if (std::max({std::abs(GetRValue(p) - GetRValue(q)), std::abs(GetGValue(p) - GetGValue(q)),
                          std::abs(GetBValue(p) - GetBValue(q))}) > 40)
                found = {std::min(found.left, x), std::min(found.top, y), std::max(found.right, x + 1),
                         std::max(found.bottom, y + 1)};
        }
    }
    return found.right < 0 ? Box{} : found;
}

// A top-down 24-bit canvas of its own, as staging draws on.
class OwnCanvas {
public:
    OwnCanvas(int width, int height) {
        void* bits = nullptr;
        bitmap_ = GdiObject<HBITMAP>(CreateTopDownBitmap(width, height, &bits));
        old_ = ::SelectObject(dc_.Get(), bitmap_.Get());
        canvas = {dc_.Get(), static_cast<uint8_t*>(bits), width, height};
    }
    ~OwnCanvas() { ::SelectObject(dc_.Get(), old_); }
    OwnCanvas(const OwnCanvas&) = delete;
    OwnCanvas& operator=(const OwnCanvas&) = delete;
    COLORREF Pixel(int x, int y) const {
        const uint8_t* p = canvas.bits + static_cast<size_t>(y) * canvas.Stride() + static_cast<size_t>(x) * 3;
        return RGB(p[2], p[1], p[0]);
    }
    // Saved as a staged picture is.
    bool Save(const std::wstring& path) {
        ::SelectObject(dc_.Get(), old_);
        ImageObject image;
        image.Attach(bitmap_.Release());
        return SUCCEEDED(image.Save(path));
    }
    Canvas canvas;

private:
    UniqueDc dc_{::CreateCompatibleDC(nullptr)};
    GdiObject<HBITMAP> bitmap_;
    HGDIOBJ old_ = nullptr;
};

const Caption kHarbour{{L"Harbour at dawn", L"Jane Doe  \u00B7  Holidays"}, kBottomRight};

class CaptionTest : public MonitorWallpaperTest {
protected:
    std::wstring photo = folder.File(L"photo.jpg");
    void SetUp() override { ASSERT_TRUE(test::WriteTestImage(photo, 1000, 1000, L"image/jpeg")); }
    static MonitorInfo Screen(RECT rect, RECT work, UINT dpi, bool primary) {
        return {rect, primary, L"", work, dpi};
    }
};

// In every corner and position, the caption's pixels lie in that corner of the work area,
// never under the taskbar or a docked bar, and nowhere else. A Fit picture's caption sits on
// the bar, in the monitor's corner, as Center's and Tile's do.
TEST_F(CaptionTest, ItsPixelsLieInTheChosenCornerOfTheWorkAreaAndNowhereElse) {
    const struct {
        int corner;
        int position;
        RECT work;
    } cases[] = {
        {kBottomRight, kFit, {0, 0, 1280, 760}},   // the taskbar at the bottom
        {kBottomLeft, kCenter, {0, 0, 1280, 760}}, //
        {kTopRight, kTile, {0, 40, 1280, 800}},    // at the top
        {kTopLeft, kFill, {60, 0, 1280, 800}},     // a bar docked on the left
        {kBottomLeft, kFillSubject, {0, 0, 1280, 800}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "corner " << c.corner << ", position " << c.position);
        layout = {Screen({0, 0, 1280, 800}, c.work, 96, true)};
        Caption caption = kHarbour;
        caption.corner = c.corner;
        LogStream closed;
        ASSERT_TRUE(SetCaptionedWallpaper(photo, caption, c.position, closed));
        EXPECT_EQ(desktop.wallpaper, CaptionedPath());
        EXPECT_EQ(desktop.wallpaper_style, static_cast<DWORD>(c.position == kFillSubject ? kFill : c.position));
        const std::wstring plain = folder.File(L"plain.jpg");
        ASSERT_TRUE(ComposeMonitorPictures({photo}, {{0, 0, 1280, 800}}, c.position, false, plain));
        const Box seen = CaptionDifference(CaptionedPath(), plain);
        ASSERT_GT(seen.Width(), 0);
        const bool right = c.corner == kBottomRight || c.corner == kTopRight;
        const bool bottom = c.corner == kBottomRight || c.corner == kBottomLeft;
        EXPECT_GE(seen.left, right ? c.work.right - 640 - 16 : c.work.left);
        EXPECT_LE(seen.right, right ? c.work.right : c.work.left + 640 + 16);
        EXPECT_GE(seen.top, bottom ? c.work.bottom - 160 : c.work.top);
        EXPECT_LE(seen.bottom, bottom ? c.work.bottom : c.work.top + 160);
    }
}

// On a white, a black and a noisy picture, the text keeps at least 4.5:1 against every pixel
// of the band under it, drawn and read back from the staged file: dark text on a light band
// over white, white text on a dark band over black.
TEST_F(CaptionTest, TheTextStandsOutFromEveryPictureByAtLeastFourAndAHalfToOne) {
    constexpr int kWidth = 640, kHeight = 400;
    const struct {
        const char* what;
        int kind; // 0 white, 1 black, 2 noise
    } cases[] = {{"white", 0}, {"black", 1}, {"noise", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OwnCanvas own(kWidth, kHeight);
        const Canvas& canvas = own.canvas;
        uint32_t seed = 7;
        for (size_t i = 0; i < canvas.Stride() * kHeight; ++i) {
            seed = seed * 1664525u + 1013904223u;
            canvas.bits[i] = c.kind == 0 ? 255 : c.kind == 1 ? 0 : static_cast<uint8_t>(seed >> 24);
        }
        const CaptionLayout drawn =
            DrawCaption(canvas, {{L"Harbour at dawn"}, kBottomLeft}, {{0, 0, kWidth, kHeight}, {0, 0, kWidth, kHeight}, 96});
        ASSERT_GT(drawn.box.Width(), 0);
        if (c.kind < 2) {
            EXPECT_EQ(drawn.dark_band, c.kind == 1);
        }
        const double text = RelativeLuminance(drawn.dark_band ? Colour{255, 255, 255} : Colour{0, 0, 0});
        // The band's padding beside the text: what lies under the text, with no glyph on it.
        const int pad = drawn.line_height / 2;
        const auto lowest = [&](const std::function<COLORREF(int x, int y)>& pixel, int inset) {
            double ratio = 21;
            for (int y = drawn.box.top + inset; y < drawn.box.bottom - inset; ++y) {
                for (int x = drawn.box.left + inset; x < drawn.box.left + pad - inset; ++x) {
                    const COLORREF p = pixel(x, y);
                    ratio = std::min(ratio, ContrastRatio(text, RelativeLuminance({GetRValue(p), GetGValue(p), GetBValue(p)})));
                }
            }
            return ratio;
        };
        EXPECT_GE(lowest([&](int x, int y) { return own.Pixel(x, y); }, 0), 4.5);
        const std::wstring file = folder.File(L"staged.jpg");
        ASSERT_TRUE(own.Save(file));
        SIZE size = {};
        const std::vector<COLORREF> read = test::DecodedPixels(file, &size);
        ASSERT_EQ(size.cx, kWidth);
        // Noise is not what a JPEG keeps pixel by pixel: the read-back is judged where it keeps
        // the picture, on the plain ones.
        if (c.kind < 2) {
            EXPECT_GE(lowest([&](int x, int y) { return read[static_cast<size_t>(y) * kWidth + x]; }, 1), 4.5);
        }
    }
}

// A title longer than half the monitor is cut with an ellipsis within the caption's box.
TEST_F(CaptionTest, ALongTitleEndsInAnEllipsisWithinItsBox) {
    constexpr int kWidth = 800, kHeight = 600;
    OwnCanvas own(kWidth, kHeight);
    const Canvas& canvas = own.canvas;
    std::memset(canvas.bits, 0x80, canvas.Stride() * kHeight);
    std::wstring title;
    for (int i = 0; i < 20; ++i)
        title += L"A harbour at dawn, seen from the lighthouse ";
    const CaptionLayout drawn =
        DrawCaption(canvas, {{title, L"Jane Doe"}, kTopRight}, {{0, 0, kWidth, kHeight}, {0, 0, kWidth, kHeight}, 96});
    ASSERT_EQ(drawn.drawn.size(), 2u);
    EXPECT_LT(drawn.drawn[0].size(), title.size());
    EXPECT_EQ(drawn.drawn[0].substr(drawn.drawn[0].size() - 3), L"...");
    EXPECT_EQ(drawn.drawn[1], L"Jane Doe");
    EXPECT_LE(drawn.box.Width(), kWidth / 2);
    EXPECT_EQ(drawn.box.right, kWidth - kHeight * 2 / 100); // nothing beyond it: the corner test's
}

// Two monitors at 100 % and 200 %: each picture's caption is drawn at its own monitor's scale,
// through the desktop wallpaper object and in the composed picture alike.
TEST_F(CaptionTest, EachMonitorGetsACaptionAtItsOwnScale) {
    layout = {Screen({0, 0, 1280, 800}, {0, 0, 1280, 760}, 96, true),
              Screen({1280, 0, 2560, 800}, {1280, 0, 2560, 800}, 192, false)};
    FakeDesktopWallpaper object;
    object.rects = {RECT{0, 0, 1280, 800}, RECT{1280, 0, 2560, 800}};
    for (const bool through_object : {true, false}) {
        SCOPED_TRACE(through_object ? "the desktop wallpaper object" : "the composed picture");
        std::optional<Seam<HRESULT(ComPtr<IDesktopWallpaperObject>*)>::Override> present;
        if (through_object)
            present.emplace(CreateDesktopWallpaper, [&](ComPtr<IDesktopWallpaperObject>* out) {
                object.HandOut(out);
                return S_OK;
            });
        LogStream closed;
        ASSERT_TRUE(SetCaptionedWallpaper(photo, kHarbour, kFill, closed));
        Box seen[2];
        if (through_object) {
            for (size_t k = 0; k < 2; ++k) {
                EXPECT_EQ(object.set[static_cast<int>(k)], MonitorPicturePath(k));
                const std::wstring plain = folder.File(L"plain.jpg");
                ASSERT_TRUE(ComposeMonitorPictures({photo}, {OrderedMonitors()[k]}, kFill, false, plain));
                seen[k] = CaptionDifference(MonitorPicturePath(k), plain);
            }
        } else {
            EXPECT_EQ(desktop.wallpaper, CompositePath());
            const std::wstring plain = folder.File(L"plain.jpg");
            ASSERT_TRUE(ComposeMonitorPictures({photo}, OrderedMonitors(), kFill, false, plain));
            seen[0] = CaptionDifference(CompositePath(), plain, 0, 1280);
            seen[1] = CaptionDifference(CompositePath(), plain, 1280);
        }
        ASSERT_GT(seen[0].Height(), 0);
        const double scale = static_cast<double>(seen[1].Height()) / seen[0].Height();
        // About twice as tall: what differs is the glyphs and the band, not a ruled box.
        EXPECT_GT(scale, 1.6);
        EXPECT_LT(scale, 2.6);
        EXPECT_LE(seen[0].bottom, 760); // above the first monitor's taskbar
    }
}

// With the caption off, for the album or in Options, a pass stages exactly the bytes it
// always has; on, the desktop is given the captioned picture.
TEST_F(CaptionTest, OffItChangesNothingOnItIsWhatTheDesktopShows) {
    Seam<SIZE()>::Override screen(PrimaryScreenSize, [] { return SIZE{640, 400}; });
    layout = {Screen({0, 0, 640, 400}, {0, 0, 640, 400}, 96, true)};
    const auto pass = [&](DWORD options, int album_rule) {
        WriteProductNumber(kCaptionValue, options);
        CAlbum album;
        album.Name = L"Holidays";
        album.FileList = {ImageEntry(photo)};
        album.Position = kFill;
        album.Caption = album_rule;
        EXPECT_EQ(album.ApplyNextImage(), kPassApplied);
        return std::pair{desktop.wallpaper, test::ReadFileBytes(desktop.wallpaper)};
    };
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kProductKey);
    const auto today = pass(0, kCaptionAsOptions);
    EXPECT_EQ(today.first, GetLocalWallpaperPath());
    EXPECT_EQ(pass(1, kCaptionOff), today);
    EXPECT_EQ(pass(0, kCaptionAsOptions), today);
    for (const auto& [options, rule] : {std::pair{1u, kCaptionAsOptions}, std::pair{0u, kCaptionOn}}) {
        const auto captioned = pass(options, rule);
        EXPECT_EQ(captioned.first, CaptionedPath());
        EXPECT_NE(captioned.second, today.second);
    }
}

} // namespace
} // namespace glimro
