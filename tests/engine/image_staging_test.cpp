#include "engine/image_staging.h"

#include "engine/image_object.h"
#include "core/orientation.h"
#include "engine/image_header.h"
#include "support/exif_bytes.h"
#include "platform/imaging.h"
#include "platform/screen.h"
#include "support/fake_extractor.h"
#include "core/frequency.h"
#include "support/temp_folder.h"
#include "support/test_images.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <vector>

namespace glimro {
namespace {

using FactorySeam = Seam<HRESULT(ComPtr<IWICImagingFactory>*)>;

HRESULT NoImagingFactory(ComPtr<IWICImagingFactory>*) {
    return REGDB_E_CLASSNOTREG;
}

// A platform without the imaging component's decoders: the shell makes the shrunk copy.
FactorySeam::Override WithoutImagingComponent() {
    return {CreateImagingFactory, NoImagingFactory};
}

TEST(LocalWallpaperPath, IsPodJpgBesideTheExecutable) {
    const struct {
        const wchar_t* module;
        const wchar_t* expected;
    } cases[] = {
        {L"C:\\Tools\\viewer.exe", L"C:\\Tools\\pod.jpg"},
        {L"viewer.exe", L"pod.jpg"},
        {L"", L"pod.jpg"},
    };
    for (const auto& c : cases) {
        Seam<std::wstring()>::Override module(ModulePath, [&c] { return c.module; });
        EXPECT_EQ(GetLocalWallpaperPath(), c.expected);
    }
}

TEST(ShrunkSize, WorkedExamplesForA1024By768Screen) {
    const struct {
        int width, height;
        LONG cx, cy;
    } cases[] = {
        {1600, 1200, 990, 743}, {1100, 700, 1000, 636}, {1025, 768, 931, 698},
        {1024, 768, 1024, 768}, {1024, 769, 930, 699},  {6000, 4000, 977, 650},
    };
    for (const auto& c : cases) {
        SIZE size = ShrunkSize(c.width, c.height, 1024, 768);
        EXPECT_EQ(size.cx, c.cx) << c.width << "x" << c.height;
        EXPECT_EQ(size.cy, c.cy) << c.width << "x" << c.height;
    }
}

class StagingTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    test::ScopedExecutableFolder exe{folder.Path()};
    Seam<SIZE()>::Override screen{PrimaryScreenSize, [] { return SIZE{200, 150}; }};
    std::wstring pod = folder.File(L"pod.jpg");

    std::wstring Image(const wchar_t* name, int width, int height, const wchar_t* mime) {
        std::wstring path = folder.File(name);
        EXPECT_TRUE(test::WriteTestImage(path, width, height, mime));
        return path;
    }
};

TEST_F(StagingTest, ImagesThatFitAreAppliedFromTheirOwnPath) {
    const struct {
        const wchar_t* name;
        int width, height;
        const wchar_t* mime;
    } cases[] = {
        {L"exact.bmp", 200, 150, L"image/bmp"},
        {L"small.jpg", 120, 80, L"image/jpeg"},
        {L"fits.gif", 200, 10, L"image/gif"},
    };
    for (const auto& c : cases) {
        std::wstring entry = Image(c.name, c.width, c.height, c.mime);
        EXPECT_EQ(PrepareLocalImage(entry), entry) << test::Narrow(c.name);
    }
    EXPECT_FALSE(test::FileExists(pod));
}

TEST_F(StagingTest, LargerImagesAreShrunkIntoPodJpgWhateverTheirFormat) {
    const struct {
        const wchar_t* name;
        int width, height;
        const wchar_t* mime;
        LONG cx, cy;
    } cases[] = {
        {L"wide.bmp", 201, 150, L"image/bmp", 182, 136}, // one pixel too wide: one step
        {L"big.jpg", 320, 240, L"image/jpeg", 197, 148},
        {L"tall.gif", 100, 400, L"image/gif", 32, 137},
        {L"wide.png", 300, 100, L"image/png", 184, 60},
        {L"photo.jpeg", 1600, 1200, L"image/jpeg", 192, 143},
    };
    for (const auto& c : cases) {
        ::DeleteFileW(pod.c_str());
        std::wstring entry = Image(c.name, c.width, c.height, c.mime);
        EXPECT_EQ(PrepareLocalImage(entry), pod);
        EXPECT_TRUE(test::IsJpegFile(pod)) << test::Narrow(c.name);
        SIZE size = test::DecodedSize(pod);
        EXPECT_EQ(size.cx, c.cx) << test::Narrow(c.name);
        EXPECT_EQ(size.cy, c.cy) << test::Narrow(c.name);
    }
}

TEST_F(StagingTest, AShrunkCopyThatCannotBeWrittenHandsOnTheOriginal) {
    std::wstring entry = Image(L"big.bmp", 400, 300, L"image/bmp");
    ASSERT_TRUE(::CreateDirectoryW(pod.c_str(), nullptr)); // pod.jpg cannot be a file now
    EXPECT_EQ(PrepareLocalImage(entry), entry);
    ::RemoveDirectoryW(pod.c_str());
}

// The pass skips such an entry instead of handing the desktop something it cannot show.
TEST_F(StagingTest, UndecodableOrMissingFileGivesNoPath) {
    std::wstring entry = folder.File(L"notes.jpg");
    test::WriteFileBytes(entry, "not an image at all");
    EXPECT_EQ(PrepareLocalImage(entry), L"");
    EXPECT_EQ(PrepareLocalImage(folder.File(L"missing.bmp")), L"");
    EXPECT_FALSE(test::FileExists(pod));
}

// pod.jpg holds another entry's picture: the original goes on instead, and pod.jpg stays.
TEST_F(StagingTest, ExtractorWithoutABitmapHandsOnTheOriginalAndKeepsPodJpg) {
    auto no_decoders = WithoutImagingComponent();
    test::WriteFileBytes(pod, "previous");
    std::wstring entry = Image(L"big.bmp", 400, 300, L"image/bmp");
    const struct {
        const char* what;
        HRESULT location_result;
    } cases[] = {{"pending", E_PENDING}, {"no bitmap", S_OK}, {"other answer", S_FALSE}};
    for (const auto& c : cases) {
        test::FakeExtractImage extractor;
        extractor.location_result = c.location_result;
        auto seam = extractor.Install();
        EXPECT_EQ(PrepareLocalImage(entry), entry) << c.what;
        EXPECT_EQ(test::ReadFileBytes(pod), "previous") << c.what;
        EXPECT_EQ(extractor.extract_calls, c.location_result == S_OK ? 1 : 0) << c.what;
        EXPECT_EQ(extractor.asked_size.cx, 184) << c.what;
        EXPECT_EQ(extractor.asked_size.cy, 137) << c.what;
        EXPECT_EQ(extractor.asked_depth, 8u) << c.what;
        EXPECT_EQ(extractor.asked_flags, static_cast<DWORD>(IEIFLAG_SCREEN)) << c.what;
        EXPECT_EQ(extractor.references, 1) << c.what;
    }
}

// The imaging component shrinks what it can decode; the shell's extractor makes the rest.
TEST_F(StagingTest, TheShellsBitmapIsSavedOnlyWhereTheImagingComponentCannotDecode) {
    std::wstring entry = Image(L"big.bmp", 400, 300, L"image/bmp");
    for (bool decoders : {true, false}) {
        test::FakeExtractImage extractor;
        extractor.bitmap = ::CreateBitmap(64, 32, 1, 32, nullptr);
        auto seam = extractor.Install();
        std::optional<FactorySeam::Override> absent;
        if (!decoders)
            absent.emplace(CreateImagingFactory, NoImagingFactory);
        EXPECT_EQ(PrepareLocalImage(entry), pod);
        const SIZE size = test::DecodedSize(pod);
        EXPECT_EQ(size.cx, decoders ? 184 : 64) << decoders;
        EXPECT_EQ(size.cy, decoders ? 137 : 32) << decoders;
        EXPECT_EQ(extractor.extract_calls, decoders ? 0 : 1) << decoders;
        if (decoders)
            ::DeleteObject(extractor.bitmap);
    }
}

TEST_F(StagingTest, TheShrunkCopyKeepsThePicturesColours) {
    const std::wstring entry = folder.File(L"blue.bmp");
    ASSERT_TRUE(test::WriteSolidBitmap(entry, 640, 480, RGB(30, 120, 200)));
    ASSERT_EQ(PrepareLocalImage(entry), pod);
    const COLORREF colour = test::DecodedPixel(pod, 90, 60);
    EXPECT_LE(std::abs(GetRValue(colour) - 30), 6);
    EXPECT_LE(std::abs(GetGValue(colour) - 120), 6);
    EXPECT_LE(std::abs(GetBValue(colour) - 200), 6);
}

// "Fill (keep the subject)": a grey 1200 x 800 picture with a red disc on its left third, for
// a 9:16 screen, is staged as the window of the screen's shape that holds the disc; plain Fill
// keeps the centre, without it.
TEST_F(StagingTest, KeepingTheSubjectStagesTheCropThatHoldsIt) {
    std::string bytes = test::SolidBitmapBytes(1200, 800);
    constexpr size_t kHeader = 54, kStride = 1200 * 3;
    for (size_t row = 0; row < 800; ++row)
        for (size_t x = 0; x < 1200; ++x) {
            const long dx = static_cast<long>(x) - 250, dy = static_cast<long>(799 - row) - 400;
            const bool disc = dx * dx + dy * dy <= 110 * 110;
            char* p = &bytes[kHeader + row * kStride + x * 3]; // blue, green, red
            p[0] = static_cast<char>(disc ? 30 : 128);
            p[1] = static_cast<char>(disc ? 20 : 128);
            p[2] = static_cast<char>(disc ? 220 : 128);
        }
    const std::wstring entry = folder.File(L"disc.bmp");
    test::WriteFileBytes(entry, bytes);
    Seam<SIZE()>::Override tall{PrimaryScreenSize, [] { return SIZE{450, 800}; }};
    for (const int position : {kFillSubject, kFill}) {
        ASSERT_EQ(PrepareLocalImage(entry, nullptr, position), position == kFill ? entry : pod);
        if (position == kFill)
            break; // it covers the screen as it is: the system crops its centre
        EXPECT_EQ(test::DecodedSize(pod).cx, 450);
        EXPECT_EQ(test::DecodedSize(pod).cy, 800);
        // Wherever the window stands while it holds the disc, this is the disc's red.
        const COLORREF inside = test::DecodedPixel(pod, 200, 400);
        EXPECT_GT(GetRValue(inside), 180);
        EXPECT_LT(GetGValue(inside), 70);
    }
}

// A phone's photo, stored turned with its EXIF orientation: staged upright and without the tag,
// large or small, and its thumbnail upright too.
TEST_F(StagingTest, ACamerasOrientationIsAppliedToTheStagedPictureAndTheThumbnail) {
    constexpr COLORREF R = RGB(220, 30, 30), G = RGB(30, 200, 30), B = RGB(30, 30, 220),
                       Y = RGB(230, 220, 30);
    // Upright, each picture is red top left, green top right, blue and yellow below; stored,
    // its quadrants are where the orientation says the camera put them.
    const struct {
        int orientation;
        COLORREF stored[4];
    } cases[] = {
        {1, {R, G, B, Y}}, {2, {G, R, Y, B}}, {3, {Y, B, G, R}}, {4, {B, Y, R, G}},
        {5, {R, B, G, Y}}, {6, {G, Y, R, B}}, {7, {Y, G, B, R}}, {8, {B, R, Y, G}},
    };
    const auto close_to = [](COLORREF a, COLORREF b) {
        return std::abs(GetRValue(a) - GetRValue(b)) < 40 &&
               std::abs(GetGValue(a) - GetGValue(b)) < 40 && std::abs(GetBValue(a) - GetBValue(b)) < 40;
    };
    for (const auto& c : cases) {
        for (const SIZE stored : {SIZE{80, 40}, SIZE{320, 160}}) {
            SCOPED_TRACE(::testing::Message() << "orientation " << c.orientation << ", "
                                              << stored.cx << " x " << stored.cy);
            const std::wstring plain = folder.File(L"plain.jpg"), entry = folder.File(L"phone.jpg");
            ASSERT_TRUE(test::WriteQuadrantJpeg(plain, stored.cx, stored.cy, c.stored));
            test::WriteFileBytes(entry, test::WithExif(test::ReadFileBytes(plain), c.orientation));
            ::DeleteFileW(pod.c_str());
            const std::wstring staged = PrepareLocalImage(entry);
            if (c.orientation == kUpright && stored.cx == 80) {
                EXPECT_EQ(staged, entry); // fits, and upright: as it is
                continue;
            }
            ASSERT_EQ(staged, pod);
            const SIZE size = test::DecodedSize(pod);
            EXPECT_EQ(size.cx > size.cy, !SwapsSides(c.orientation));
            PictureSize header;
            ASSERT_TRUE(ReadImageHeaderSize(pod, &header));
            EXPECT_EQ(header.orientation, kUpright);
            const POINT corners[] = {{size.cx / 4, size.cy / 4},
                                     {size.cx * 3 / 4, size.cy / 4},
                                     {size.cx / 4, size.cy * 3 / 4},
                                     {size.cx * 3 / 4, size.cy * 3 / 4}};
            const COLORREF upright[] = {R, G, B, Y};
            for (int k = 0; k < 4; ++k)
                EXPECT_TRUE(close_to(test::DecodedPixel(pod, corners[k].x, corners[k].y), upright[k]))
                    << "quadrant " << k;
            // The thumbnail, made by the codec library where the shell has no extractor.
            GdiObject<HBITMAP> thumbnail(ScaleImageFile(entry, 20, 20));
            ASSERT_TRUE(thumbnail);
            HDC dc = ::CreateCompatibleDC(nullptr);
            HGDIOBJ previous = ::SelectObject(dc, thumbnail.Get());
            for (int k = 0; k < 4; ++k)
                EXPECT_TRUE(close_to(::GetPixel(dc, 5 + (k % 2) * 10, 5 + (k / 2) * 10), upright[k]))
                    << "thumbnail quadrant " << k;
            ::SelectObject(dc, previous);
            ::DeleteDC(dc);
        }
    }
}

// A JPEG decoder offers 1/8, 1/4 and 1/2 of the picture, rounded up.
TEST(SmallestDecodeSize, TakesTheSmallestScaleStillAsLargeAsTheTarget) {
    const auto jpeg = [](UINT*, UINT*) { return true; }; // the wish itself is offered
    const auto none = [](UINT*, UINT*) { return false; };
    const struct {
        UINT width, height, min_width, min_height;
        bool scales;
        LONG cx, cy;
    } cases[] = {
        {6000, 4000, 1577, 1050, true, 3000, 2000}, // a quarter would be too small
        {6000, 4000, 700, 466, true, 750, 500},     // an eighth is enough
        {6000, 4000, 1500, 1000, true, 1500, 1000}, // exactly a quarter
        {1001, 1001, 126, 126, true, 126, 126},     // 1001 / 8 rounded up
        {6000, 4000, 5999, 10, true, 6000, 4000},   // no smaller scale is wide enough
        {6000, 4000, 700, 466, false, 6000, 4000},  // a decoder without scaling
    };
    for (const auto& c : cases) {
        const SIZE size = c.scales ? SmallestDecodeSize(c.width, c.height, c.min_width,
                                                        c.min_height, jpeg)
                                   : SmallestDecodeSize(c.width, c.height, c.min_width,
                                                        c.min_height, none);
        EXPECT_EQ(size.cx, c.cx) << c.width << "x" << c.height << " for " << c.min_width;
        EXPECT_EQ(size.cy, c.cy) << c.width << "x" << c.height << " for " << c.min_width;
    }
}

TEST(ImageObject, SavesWithTheEncoderTheExtensionNames) {
    test::TempFolder folder;
    const struct {
        const wchar_t* name;
        bool saved;
    } cases[] = {{L"a.jpg", true}, {L"b.JPEG", true}, {L"c.bmp", true},
                 {L"d.gif", true}, {L"e.xyz", false}, {L"noextension", false}};
    for (const auto& c : cases) {
        ImageObject image;
        image.Attach(::CreateBitmap(16, 8, 1, 32, nullptr));
        EXPECT_EQ(image.Width(), 16);
        EXPECT_EQ(image.Height(), 8);
        EXPECT_EQ(SUCCEEDED(image.Save(folder.File(c.name))), c.saved) << test::Narrow(c.name);
        EXPECT_EQ(test::FileExists(folder.File(c.name)), c.saved) << test::Narrow(c.name);
    }
    ImageObject empty;
    EXPECT_EQ(empty.Save(folder.File(L"f.jpg")), E_FAIL);
}

TEST(ImageObject, LoadLearnsTheSize) {
    test::TempFolder folder;
    ASSERT_TRUE(test::WriteTestImage(folder.File(L"a.gif"), 33, 21, L"image/gif"));
    ImageObject image;
    EXPECT_TRUE(image.Load(folder.File(L"a.gif")));
    EXPECT_EQ(image.Width(), 33);
    EXPECT_EQ(image.Height(), 21);
    EXPECT_FALSE(image.Load(folder.File(L"missing.gif")));
    EXPECT_EQ(image.Width(), 0);
    EXPECT_EQ(image.Height(), 0);
}

} // namespace
} // namespace glimro
