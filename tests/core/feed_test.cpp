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

} // namespace
} // namespace glimro
