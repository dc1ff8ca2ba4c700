// What the caption on the desktop says, which way it runs, how opaque its band must be, and
// the day a photo was taken as its camera wrote it.
#include "core/caption_text.h"
#include "core/exif.h"
#include "support/exif_bytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace glimro {
namespace {

TEST(ReadableFileName, DropsTheExtensionTheSizeTagAndTheUnderscores) {
    const struct {
        const wchar_t* name;
        const wchar_t* readable;
    } cases[] = {
        {L"Harbour_at_dawn.jpg", L"Harbour at dawn"},
        {L"harbour.at.dawn.JPEG", L"harbour at dawn"},
        {L"Lighthouse-1920x1080.jpg", L"Lighthouse"},
        {L"Lighthouse_3840\u00D72160.png", L"Lighthouse"},
        {L"Dunes 4K.jpg", L"Dunes"},
        {L"Dunes (UHD).bmp", L"Dunes"},
        {L"Dunes_2160p.jpg", L"Dunes"},
        {L"Route 66.jpg", L"Route 66"},         // a number that is no size stays
        {L"1920x1080.jpg", L"1920x1080.jpg"},   // nothing would be left
        {L"___.png", L"___.png"},               //
        {L"v1.2 notes.jpg", L"v1 2 notes"},     // dots between words are spaces
        {L"Caf\u00E9_du_Port.jpg", L"Caf\u00E9 du Port"},
        {L"a\u202Egpj.exe", L"a gpj"},          // controls blanked, never reordering
        {L"7c1e4b2a9f", L"7c1e4b2a9f"},         // a Spotlight file: no extension
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadableFileName(c.name), c.readable) << c.name;
    EXPECT_EQ(PictureFileName(L"https://example.org/photos/Harbour_4K.jpg?w=1#top"), L"Harbour_4K.jpg");
    EXPECT_EQ(PictureFileName(L"C:\\Pictures\\Dunes.jpg"), L"Dunes.jpg");
}

TEST(CaptionLines, TitleFirstThenWhatElseThereIs) {
    const struct {
        CaptionParts parts;
        std::vector<std::wstring> lines;
    } cases[] = {
        {{L"Harbour", L"Jane Doe", L"x", L"3/12/2019", L"Holidays"},
         {L"Harbour", L"Jane Doe  \u00B7  3/12/2019  \u00B7  Holidays"}},
        {{L"", L"Jane Doe", L"x", L"", L""}, {L"Jane Doe"}}, // a credit alone leads
        {{L"", L"", L"Dunes", L"", L"Holidays"}, {L"Dunes", L"Holidays"}},
        {{L"  Two\r\nlines\t", L"", L"x", L"", L""}, {L"Two lines"}},
        {{L"", L"", L"", L"", L""}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CaptionLines(c.parts), c.lines);
    // Bounded: a title of any length is cut long before the screen would end.
    EXPECT_EQ(CaptionLines({std::wstring(100000, L'a'), L"", L"", L"", L""}).front().size(), 300u);
}

TEST(RunsRightToLeft, ByTheFirstLetter) {
    EXPECT_TRUE(RunsRightToLeft(L"\u05E0\u05DE\u05DC \u05D7\u05D9\u05E4\u05D4"));  // Hebrew
    EXPECT_TRUE(RunsRightToLeft(L"2019 \u0645\u064A\u0646\u0627\u0621"));          // digits first
    EXPECT_FALSE(RunsRightToLeft(L"Haifa \u05D7\u05D9\u05E4\u05D4"));
    EXPECT_FALSE(RunsRightToLeft(L"\u6E2F\u53E3"));                                 // CJK
    EXPECT_FALSE(RunsRightToLeft(L""));
}

// The opacity asked for is the least that holds: one step less fails on some pixel.
TEST(LeastBandOpacity, IsJustEnoughForTheRatio) {
    std::vector<uint8_t> pixels(64 * 3);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<uint8_t>(i * 37 % 256);
    const PixelArea area{pixels.data(), 64, 1, pixels.size()};
    const Colour white{255, 255, 255}, black{0, 0, 0};
    const auto lowest = [&](Colour text, Colour band, int opacity) {
        double ratio = 21;
        for (int x = 0; x < 64; ++x) {
            const uint8_t* p = pixels.data() + x * 3;
            const Colour blended{BlendChannel(p[2], band.red, opacity), BlendChannel(p[1], band.green, opacity),
                                 BlendChannel(p[0], band.blue, opacity)};
            ratio = std::min(ratio, ContrastRatio(RelativeLuminance(text), RelativeLuminance(blended)));
        }
        return ratio;
    };
    for (const auto& [text, band] : {std::pair{white, black}, std::pair{black, white}}) {
        const int opacity = LeastBandOpacity(area, text, band, 4.5);
        EXPECT_GT(opacity, 0);
        EXPECT_GE(lowest(text, band, opacity), 4.5);
        EXPECT_LT(lowest(text, band, opacity - 1), 4.5);
    }
    std::vector<uint8_t> dark(64 * 3, 0);
    EXPECT_EQ(LeastBandOpacity({dark.data(), 64, 1, dark.size()}, white, black, 4.5), 0);
    EXPECT_NEAR(ContrastRatio(RelativeLuminance(white), RelativeLuminance(black)), 21.0, 1e-9);
}

bool DateOf(const std::string& bytes, TakenDate* date) {
    return ReadExifDateTaken(
        [&](uint64_t offset, uint8_t* out, size_t count) {
            if (offset > bytes.size() || count > bytes.size() - offset)
                return false;
            std::memcpy(out, bytes.data() + offset, count);
            return true;
        },
        date);
}

TEST(ExifDateTaken, IsTheCamerasDateOrNone) {
    const std::string soi = "\xFF\xD8", scan = std::string("\xFF\xDA\x00\x02", 4);
    const std::string dated = soi + test::ExifSegment(1, true, 3, "2019:03:12 07:45:10") + scan;
    TakenDate date;
    ASSERT_TRUE(DateOf(dated, &date));
    EXPECT_EQ(date.year, 2019);
    EXPECT_EQ(date.month, 3);
    EXPECT_EQ(date.day, 12);
    EXPECT_EQ(date.hour, 7);
    EXPECT_TRUE(DateOf(soi + test::ExifSegment(1, false, 3, "2001:12:31 23:59:59") + scan, &date));
    EXPECT_EQ(date.year, 2001);
    for (const std::string& refused : {
             soi + test::ExifSegment(1) + scan,                               // no EXIF directory
             soi + test::ExifSegment(1, true, 3, "0000:00:00 00:00:00") + scan, // no clock
             soi + test::ExifSegment(1, true, 3, "    :  :     :  :  ") + scan, //
             soi + test::ExifSegment(1, true, 3, "2019:13:12 07:45:10") + scan, // month 13
             soi + test::ExifSegment(1, true, 3, "2019") + scan,                // too short
             dated.substr(0, dated.size() - 12),                               // cut short
         })
        EXPECT_FALSE(DateOf(refused, &date));
}

} // namespace
} // namespace glimro
