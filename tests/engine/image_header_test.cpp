#include "engine/image_header.h"

#include "support/temp_folder.h"
#include "support/test_images.h"

#include <gtest/gtest.h>

namespace glimro {
namespace {

TEST(ImageHeaderSize, AgreesWithTheDecodedSizeForEveryAlbumFormat) {
    test::TempFolder folder;
    const struct {
        const wchar_t* name;
        const wchar_t* mime;
        int width, height;
    } cases[] = {{L"a.bmp", L"image/bmp", 37, 23},
                 {L"b.jpg", L"image/jpeg", 640, 3},
                 {L"c.gif", L"image/gif", 5, 301},
                 {L"d.png", L"image/png", 70, 70},
                 {L"e.jpg", L"image/jpeg", 1, 1}};
    for (const auto& c : cases) {
        const std::wstring path = folder.File(c.name);
        ASSERT_TRUE(test::WriteTestImage(path, c.width, c.height, c.mime));
        PictureSize size;
        EXPECT_TRUE(ReadImageHeaderSize(path, &size)) << test::Narrow(c.name);
        const SIZE decoded = test::DecodedSize(path);
        EXPECT_EQ(size.width, static_cast<uint64_t>(decoded.cx)) << test::Narrow(c.name);
        EXPECT_EQ(size.height, static_cast<uint64_t>(decoded.cy)) << test::Narrow(c.name);
        EXPECT_EQ(size.width, static_cast<uint64_t>(c.width)) << test::Narrow(c.name);
    }
}

TEST(ImageHeaderSize, RefusesWhatIsNoImageOrIsCutShort) {
    test::TempFolder folder;
    ASSERT_TRUE(test::WriteTestImage(folder.File(L"whole.jpg"), 50, 40, L"image/jpeg"));
    const std::string jpeg = test::ReadFileBytes(folder.File(L"whole.jpg"));
    const struct {
        const wchar_t* name;
        std::string bytes;
    } cases[] = {
        {L"text.jpg", "just some text, long enough to fill a header"},
        {L"short.gif", "GIF8"},
        {L"cut.jpg", jpeg.substr(0, 30)},
        {L"empty.bmp", ""},
    };
    for (const auto& c : cases) {
        test::WriteFileBytes(folder.File(c.name), c.bytes);
        PictureSize size;
        EXPECT_FALSE(ReadImageHeaderSize(folder.File(c.name), &size)) << test::Narrow(c.name);
    }
    PictureSize size;
    EXPECT_FALSE(ReadImageHeaderSize(folder.File(L"missing.png"), &size));
}

} // namespace
} // namespace glimro
