#include "core/daily_pictures.h"
#include "core/feed.h"

#include <gtest/gtest.h>

#include <string>

namespace glimro {
namespace {

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

TEST(DailyPictures, TheMarketAndLanguageFollowTheLocale) {
    const struct {
        const wchar_t* locale;
        const wchar_t* market;
        const wchar_t* language;
    } cases[] = {
        {L"de-DE", L"de-DE", L"de"}, {L"ja-JP", L"ja-JP", L"ja"}, {L"PT-br", L"pt-BR", L"pt"},
        {L"de-AT", L"en-US", L"de"}, {L"nl-NL", L"en-US", L"nl"}, {L"", L"en-US", L"en"},
        {L"x", L"en-US", L"en"},     {L"zh-Hans-CN", L"en-US", L"zh"},
        {L"a/b-CD", L"en-US", L"en"}, // nothing but letters goes into an address
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ArchiveMarket(c.locale), c.market) << Narrow(c.locale);
        EXPECT_EQ(WikiLanguage(c.locale), c.language) << Narrow(c.locale);
    }
    EXPECT_EQ(FillAddressForm(L"https://a.example/x?mkt={market}&l={language}&n=8", L"ja-JP", L"ja"),
              L"https://a.example/x?mkt=ja-JP&l=ja&n=8");
}

TEST(DailyPictures, APictureIsOnItsSourcesSiteOnlyUnderTheSameName) {
    const struct {
        const wchar_t* document;
        const wchar_t* picture;
        bool same;
    } cases[] = {
        {L"https://commons.wikimedia.org/w/api.php", L"https://upload.wikimedia.org/a.jpg", true},
        {L"https://apod.nasa.gov/apod.rss", L"https://apod.nasa.gov/image/a.jpg", true},
        {L"https://apod.nasa.gov/apod.rss", L"https://nasa.gov.evil.example/a.jpg", false},
        {L"https://www.bing.com/x", L"https://bing.com.example/a.jpg", false},
        {L"http://127.0.0.1:8080/feed", L"http://127.0.0.1:9/a.jpg", true},
        {L"http://127.0.0.1/feed", L"http://127.0.0.2/a.jpg", false},
        {L"https://apod.nasa.gov/", L"file:///C:/a.jpg", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OnSameSite(c.document, c.picture), c.same) << Narrow(c.picture);
}

TEST(DailyPictures, AWikiThumbnailStandsForItsOriginalWithinTheWidthBound) {
    const std::wstring thumb = L"https://upload.wikimedia.org/wikipedia/commons/thumb/a/ab/Sea_view.jpg/300px-Sea_view.jpg";
    const struct {
        std::wstring address;
        long long width;
        const wchar_t* full; // empty: not a wiki thumbnail
    } cases[] = {
        {thumb, 3000, L"https://upload.wikimedia.org/wikipedia/commons/a/ab/Sea_view.jpg"},
        {thumb, -1, L"https://upload.wikimedia.org/wikipedia/commons/a/ab/Sea_view.jpg"},
        {thumb, 6000, L"https://upload.wikimedia.org/wikipedia/commons/thumb/a/ab/Sea_view.jpg/3840px-Sea_view.jpg"},
        {L"https://upload.wikimedia.org/wikipedia/commons/thumb/c/cd/Map.svg/300px-Map.svg.png", 800,
         L"https://upload.wikimedia.org/wikipedia/commons/thumb/c/cd/Map.svg/3840px-Map.svg.png"},
        {L"https://upload.wikimedia.org/wikipedia/commons/thumb/a/ab/One.jpg/300px-Other.jpg", -1, L""},
        {L"https://upload.wikimedia.org/wikipedia/commons/thumb/a/xb/A.jpg/300px-A.jpg", -1, L""},
        {L"https://upload.wikimedia.org/wikipedia/commons/a/ab/Sea_view.jpg", -1, L""},
        {L"https://pics.example/thumb/a/ab/A.jpg/px-A.jpg", -1, L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Narrow(FullPictureOfThumbnail(c.address, c.width)), Narrow(c.full)) << Narrow(c.address);
}

TEST(DailyPictures, ALinkAroundAnImageIsThePictureAtFullSize) {
    const std::wstring page = L"https://apod.nasa.gov/apod/ap261210.html";
    const struct {
        const wchar_t* html;
        const wchar_t* picture;
    } cases[] = {
        {L"<a href=\"archivepix.html\">Archive</a><a href=\"image/2612/M31.jpg\">\n<IMG SRC=\"image/2612/M31_1024.jpg\"></a>",
         L"https://apod.nasa.gov/apod/image/2612/M31.jpg"},
        {L"<a href=\"ap261209.html\"><img src=\"prev.gif\"></a><a href='big.png'><img src=s.png></a>",
         L"https://apod.nasa.gov/apod/big.png"},
        {L"<a href=\"big.jpg\">text</a><img src=\"alone.jpg\">", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Narrow(PictureLinkedAroundImage(c.html, page)), Narrow(c.picture)) << Narrow(c.html);
}

// A feed item's HTML: the linked picture over its thumbnail, the image itself when the link
// is no picture's.
TEST(DailyPictures, AFeedItemsHtmlGivesItsFullPicture) {
    const struct {
        const wchar_t* html;
        const wchar_t* picture;
    } cases[] = {
        {L"<a href=\"/full/b.jpg\"><img src=\"/small/b.jpg\"></a>", L"http://f.example/full/b.jpg"},
        {L"<a href=\"/post/7\"><img src=\"/small/c.jpg\"></a>", L"http://f.example/small/c.jpg"},
    };
    for (const auto& c : cases) {
        FeedReader reader(L"http://f.example/feed.xml");
        for (const wchar_t* element : {L"rss", L"channel", L"item", L"description"})
            reader.StartElement(L"", element, {});
        reader.Text(c.html);
        for (int i = 0; i < 4; ++i)
            reader.EndElement();
        const Feed feed = reader.Finish();
        ASSERT_EQ(feed.pictures.size(), 1u) << Narrow(c.html);
        EXPECT_EQ(Narrow(feed.pictures[0].address), Narrow(c.picture));
    }
}

} // namespace
} // namespace glimro
