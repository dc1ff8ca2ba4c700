#include "core/feed.h"

#include <gtest/gtest.h>

#include <string>

namespace glimro {
namespace {

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

TEST(FeedAddress, RelativeAddressesResolveAndOnlyHttpAndHttpsAreTaken) {
    const std::wstring base = L"https://pics.example/a/b/feed.xml?x=1#top";
    const struct {
        const wchar_t* ref;
        const wchar_t* expected; // empty: refused
    } cases[] = {
        {L"photo.jpg", L"https://pics.example/a/b/photo.jpg"},
        {L"../up.jpg", L"https://pics.example/a/up.jpg"},
        {L"./c/../d.jpg", L"https://pics.example/a/b/d.jpg"},
        {L"/root.jpg?s=2", L"https://pics.example/root.jpg?s=2"},
        {L"//cdn.example/x.png", L"https://cdn.example/x.png"},
        {L"?page=2", L"https://pics.example/a/b/feed.xml?page=2"},
        {L"  http://other.example/p.gif  ", L"http://other.example/p.gif"},
        {L"HTTPS://Other.example/p.gif", L"HTTPS://Other.example/p.gif"},
        {L"file:///C:/Windows/win.ini", L""},
        {L"javascript:alert(1)", L""},
        {L"\\\\server\\share\\p.jpg", L""},
        {L"a b.jpg", L""},
        {L"http:///nohost.jpg", L""},
        {L"data:image/png;base64,AAAA", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Narrow(ResolveAddress(base, c.ref)), Narrow(c.expected)) << Narrow(c.ref);
    EXPECT_EQ(ResolveAddress(L"file:///C:/feed.xml", L"p.jpg"), L""); // no http base
}

TEST(FeedHtml, TheFirstImgSourceIsFoundWithItsEntitiesDecoded) {
    const struct {
        const wchar_t* html;
        const wchar_t* source;
    } cases[] = {
        {L"<p>Hi</p><img src=\"a.jpg\"><img src=\"b.jpg\">", L"a.jpg"},
        {L"<IMG alt='x > y' SRC='/p.png?a=1&amp;b=2' />", L"/p.png?a=1&b=2"},
        {L"<img data-src=\"lazy.jpg\" src=x.gif>", L"x.gif"},
        {L"<image src=\"no.jpg\"><img\nsrc = \"yes.jpg\">", L"yes.jpg"},
        {L"<img src=\"&#104;ttp://e.example/&#x61;.jpg\">", L"http://e.example/a.jpg"},
        {L"<img alt=\"none\">", L""},
        {L"<img src=\"unterminated", L"unterminated"},
        {L"no html at all", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Narrow(FirstImageSource(c.html)), Narrow(c.source)) << Narrow(c.html);
}

TEST(FeedDate, RssAndAtomDatesAreSecondsSince1970) {
    const struct {
        const wchar_t* text;
        long long seconds; // -1: refused
    } cases[] = {
        {L"Wed, 09 Dec 2026 07:30:00 GMT", 1796801400},
        {L"09 Dec 2026 08:30:00 +0100", 1796801400},
        {L"Wed, 9 Dec 26 02:30 EST", 1796801400},
        {L"2026-12-09T07:30:00Z", 1796801400},
        {L"2026-12-09T09:30:00.250+02:00", 1796801400},
        {L"2026-12-09", 1796774400},
        {L"29 Feb 2027 00:00:00 GMT", -1},
        {L"2026-13-01T00:00:00Z", -1},
        {L"yesterday", -1},
        {L"", -1},
    };
    for (const auto& c : cases) {
        const std::optional<long long> parsed = ParseFeedDate(c.text);
        EXPECT_EQ(parsed.value_or(-1), c.seconds) << Narrow(c.text);
    }
}

// The reader fed the parser's events by hand: which picture of an item is chosen.
class FeedEvents {
public:
    explicit FeedEvents(const wchar_t* address = L"https://feed.example/rss") : reader(address) {}
    FeedEvents& Open(std::wstring_view space, std::wstring_view name,
                     std::vector<XmlAttribute> attributes = {}) {
        reader.StartElement(space, name, attributes);
        return *this;
    }
    FeedEvents& Text(std::wstring_view text) {
        reader.Text(text);
        return *this;
    }
    FeedEvents& Close() {
        reader.EndElement();
        return *this;
    }
    FeedEvents& Leaf(std::wstring_view space, std::wstring_view name,
                     std::vector<XmlAttribute> attributes, std::wstring_view text = {}) {
        return Open(space, name, std::move(attributes)).Text(text).Close();
    }
    FeedReader reader;
};

constexpr std::wstring_view kMediaSpace = L"http://search.yahoo.com/mrss/";

TEST(FeedReader, ChoosesTheWidestOfAGroupThenAnEnclosureThenTheHtmlsPicture) {
    FeedEvents e;
    e.Open(L"", L"rss").Open(L"", L"channel").Leaf(L"", L"title", {}, L" Pictures ");
    // A group of sizes beside an enclosure: the group's widest.
    e.Open(L"", L"item").Leaf(L"", L"title", {}, L"Group");
    e.Leaf(L"", L"enclosure", {{L"", L"url", L"enc.jpg"}, {L"", L"type", L"image/jpeg"}});
    e.Open(kMediaSpace, L"group");
    e.Leaf(kMediaSpace, L"content", {{L"", L"url", L"small.jpg"}, {L"", L"width", L"640"}, {L"", L"medium", L"image"}});
    e.Leaf(kMediaSpace, L"content", {{L"", L"url", L"large.jpg"}, {L"", L"width", L"4000"}, {L"", L"medium", L"image"}});
    e.Leaf(kMediaSpace, L"content", {{L"", L"url", L"clip.mp4"}, {L"", L"width", L"9000"}, {L"", L"medium", L"video"}});
    e.Close().Leaf(kMediaSpace, L"credit", {}, L"A. Photographer").Close();
    // An enclosure that is no picture, and the picture in the HTML.
    e.Open(L"", L"item").Leaf(L"", L"link", {}, L"https://feed.example/day/2");
    e.Leaf(L"", L"enclosure", {{L"", L"url", L"talk.mp3"}, {L"", L"type", L"audio/mpeg"}});
    e.Leaf(L"", L"description", {}, L"<p>Today</p><img src=\"/img/2.jpg\">").Close();
    // Nothing to show.
    e.Open(L"", L"item").Leaf(L"", L"description", {}, L"text only").Close();
    e.Close().Close();
    ASSERT_TRUE(e.reader.IsFeed());
    const Feed feed = e.reader.Finish();
    EXPECT_EQ(Narrow(feed.title), "Pictures");
    EXPECT_EQ(feed.items, 3u);
    ASSERT_EQ(feed.pictures.size(), 2u);
    EXPECT_EQ(Narrow(feed.pictures[0].address), "https://feed.example/large.jpg");
    EXPECT_EQ(Narrow(feed.pictures[0].credit), "A. Photographer");
    EXPECT_EQ(Narrow(feed.pictures[1].address), "https://feed.example/img/2.jpg");
    EXPECT_EQ(Narrow(feed.pictures[1].page), "https://feed.example/day/2");
}

TEST(FeedReader, DatedItemsComeNewestFirstAndTheItemCountIsBounded) {
    FeedEvents dated;
    dated.Open(L"", L"rss").Open(L"", L"channel");
    for (const wchar_t* day : {L"07", L"09", L"08"}) {
        dated.Open(L"", L"item").Leaf(L"", L"pubDate", {}, std::wstring(day) + L" Dec 2026 00:00:00 GMT");
        dated.Leaf(L"", L"enclosure", {{L"", L"url", std::wstring(L"p") + day + L".jpg"}, {L"", L"type", L"image/png"}});
        dated.Close();
    }
    const Feed feed = dated.reader.Finish();
    ASSERT_EQ(feed.pictures.size(), 3u);
    EXPECT_EQ(Narrow(feed.pictures[0].address), "https://feed.example/p09.jpg");
    EXPECT_EQ(Narrow(feed.pictures[2].address), "https://feed.example/p07.jpg");

    FeedEvents many;
    many.Open(L"", L"rss").Open(L"", L"channel");
    for (size_t i = 0; i < kMaxFeedItems + 5; ++i)
        many.Open(L"", L"item").Leaf(L"", L"enclosure", {{L"", L"url", L"p.jpg"}, {L"", L"type", L"image/png"}}).Close();
    const Feed bounded = many.reader.Finish();
    EXPECT_EQ(bounded.pictures.size(), kMaxFeedItems);
    EXPECT_TRUE(bounded.cut);

    FeedEvents page;
    page.Open(L"http://www.w3.org/1999/xhtml", L"html");
    EXPECT_FALSE(page.reader.IsFeed());
}

} // namespace
} // namespace glimro
