// The Album Manager at 100 %, 150 % and 200 %: sizes, pictures and fonts follow the frame's
// DPI when it opens and when it moves to a monitor of another DPI.
#include "platform/dpi.h"
#include "ui/album_manager_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace glimro {
namespace {

using test::AlbumManagerHarness;

int ImageSize(HIMAGELIST list) {
    int cx = 0, cy = 0;
    return list && ::ImageList_GetIconSize(list, &cx, &cy) && cx == cy ? cx : -1;
}

int ToolbarImageSize(HWND bar) {
    return ImageSize(reinterpret_cast<HIMAGELIST>(::SendMessageW(bar, TB_GETIMAGELIST, 0, 0)));
}

HIMAGELIST DisabledImages(HWND bar) {
    return reinterpret_cast<HIMAGELIST>(::SendMessageW(bar, TB_GETDISABLEDIMAGELIST, 0, 0));
}

int FontHeight(HWND window) {
    LOGFONTW font = {};
    HFONT handle = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
    return handle && ::GetObjectW(handle, sizeof(font), &font) ? std::abs(font.lfHeight) : -1;
}

// The colour of the image's middle pixel drawn on white.
COLORREF MiddlePixel(HIMAGELIST list, int index) {
    const int size = ImageSize(list);
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    RECT all = {0, 0, size, size};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::ImageList_Draw(list, index, dc, 0, 0, ILD_TRANSPARENT);
    const COLORREF colour = ::GetPixel(dc, size / 2, size / 2);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return colour;
}

struct DpiCase {
    UINT dpi;
    int picture; // toolbar, state and small icons
    int width;   // the frame's default outer size
    int height;
};

class FrameDpiTest : public ::testing::TestWithParam<DpiCase> {};

TEST_P(FrameDpiTest, OpensScaledWithPicturesDrawnForTheDpi) {
    const DpiCase c = GetParam();
    Seam<UINT(HWND)>::Override dpi(WindowDpi, [&](HWND) { return c.dpi; });
    AlbumManagerHarness h;
    h.StoreAlbums({AlbumManagerHarness::Album(L"Alps", kEveryDay, true)});
    ASSERT_TRUE(h.Start());

    EXPECT_EQ(h.frame->Dpi(), c.dpi);
    RECT r = {};
    ::GetWindowRect(h.frame->Handle(), &r);
    // The null display's screen is 1024 x 768: 200 % takes all of it.
    EXPECT_EQ(r.right - r.left, std::min(c.width, ::GetSystemMetrics(SM_CXFULLSCREEN)));
    EXPECT_EQ(r.bottom - r.top, std::min(c.height, ::GetSystemMetrics(SM_CYFULLSCREEN)));
    EXPECT_EQ(ToolbarImageSize(h.frame->ToolBar()), c.picture);
    EXPECT_EQ(ImageSize(DisabledImages(h.frame->ToolBar())), c.picture);
    EXPECT_EQ(ImageSize(ListView_GetImageList(h.List(), LVSIL_STATE)), c.picture);
    EXPECT_EQ(::ImageList_GetImageCount(DisabledImages(h.frame->ToolBar())), 5);
    // Short texts: the columns keep their initial 150 pixels at 100 %, scaled.
    for (int column = 1; column < 4; ++column)
        EXPECT_EQ(ListView_GetColumnWidth(h.List(), column), ScaleForDpi(150, c.dpi)) << column;
    HICON small_icon =
        reinterpret_cast<HICON>(::SendMessageW(h.frame->Handle(), WM_GETICON, ICON_SMALL, 0));
    ICONINFO info = {};
    ASSERT_TRUE(small_icon && ::GetIconInfo(small_icon, &info));
    BITMAP colour = {};
    ::GetObjectW(info.hbmColor, sizeof(colour), &colour);
    EXPECT_EQ(colour.bmWidth, c.picture);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
}

INSTANTIATE_TEST_SUITE_P(Scales, FrameDpiTest,
                         ::testing::Values(DpiCase{96, 16, 640, 480}, DpiCase{144, 24, 960, 720},
                                           DpiCase{192, 32, 1280, 960}),
                         [](const ::testing::TestParamInfo<DpiCase>& info) {
                             return "Dpi" + std::to_string(info.param.dpi);
                         });

TEST(FrameDpi, MovingToAMonitorOfAnotherDpiRescalesEverythingAndTakesTheSuggestedRectangle) {
    Seam<UINT(HWND)>::Override dpi(WindowDpi, [](HWND) { return 96u; });
    AlbumManagerHarness h;
    h.StoreAlbums({AlbumManagerHarness::Album(L"Alps", kEveryDay, true)});
    ASSERT_TRUE(h.Start());
    const int font_at_100 = FontHeight(h.List());
    ASSERT_GT(font_at_100, 0);
    ListView_SetColumnWidth(h.List(), 2, 200); // the user's own width is kept, scaled

    RECT suggested = {100, 50, 100 + 900, 50 + 700};
    ::SendMessageW(h.frame->Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192),
                   reinterpret_cast<LPARAM>(&suggested));

    EXPECT_EQ(h.frame->Dpi(), 192u);
    RECT r = {};
    ::GetWindowRect(h.frame->Handle(), &r);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(r.right - r.left, 900);
    EXPECT_EQ(r.bottom - r.top, 700);
    EXPECT_EQ(ToolbarImageSize(h.frame->ToolBar()), 32);
    EXPECT_EQ(ImageSize(ListView_GetImageList(h.List(), LVSIL_STATE)), 32);
    EXPECT_EQ(ListView_GetColumnWidth(h.List(), 2), 400);
    EXPECT_EQ(ListView_GetColumnWidth(h.List(), 3), 300);
    EXPECT_NEAR(FontHeight(h.List()), 2 * font_at_100, 1);
    EXPECT_EQ(FontHeight(h.frame->StatusBar()), FontHeight(h.List()));
    // The active album's box is still there to draw.
    EXPECT_EQ(h.StateImage(h.RowOf(L"Alps (on the day)")), kStateActive);
}

TEST(FrameDpi, DisabledToolbarPicturesAreGreyNotColouredOrBlank) {
    AlbumManagerHarness h;
    ASSERT_TRUE(h.Start());
    HIMAGELIST normal = reinterpret_cast<HIMAGELIST>(
        ::SendMessageW(h.frame->ToolBar(), TB_GETIMAGELIST, 0, 0));
    HIMAGELIST disabled = DisabledImages(h.frame->ToolBar());
    ASSERT_NE(disabled, nullptr);
    for (int index : {1, 4}) { // Delete (red), Next Picture (its middle is sky blue)
        const COLORREF colour = MiddlePixel(normal, index);
        const COLORREF grey = MiddlePixel(disabled, index);
        EXPECT_NE(colour, RGB(255, 255, 255)) << index;
        EXPECT_NE(grey, RGB(255, 255, 255)) << index;
        EXPECT_EQ(GetRValue(grey), GetGValue(grey)) << index;
        EXPECT_EQ(GetGValue(grey), GetBValue(grey)) << index;
        EXPECT_NE(GetRValue(colour), GetBValue(colour)) << index;
    }
}

} // namespace
} // namespace glimro
