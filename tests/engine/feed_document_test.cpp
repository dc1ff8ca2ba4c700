// Feeds as the system's XmlLite reads them: each shape a picture feed comes in, the
// namespaces by their URI whatever the prefix, and the hostile documents refused.
#include "engine/feed_document.h"

#include <gtest/gtest.h>

#include <string>

namespace glimro {
namespace {

const std::wstring kFeedAddress = L"https://feed.example/daily/feed.xml";

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

// The first picture's address of the document, or "" when it is no feed.
std::string FirstPicture(const std::string& document) {
    const std::optional<Feed> feed = ReadFeedDocument(document, kFeedAddress);
    return feed && !feed->pictures.empty() ? Narrow(feed->pictures[0].address) : "";
}

TEST(FeedDocument, EachShapeOfFeedGivesItsPicture) {
    const struct {
        const char* what;
        std::string document;
        const char* picture;
    } cases[] = {
        {"RSS with an enclosure",
         R"(<?xml version="1.0"?><rss version="2.0"><channel><title>Daily</title>
            <item><title>One</title><enclosure url="https://img.example/1.jpg" type="image/jpeg" length="1"/></item>
            </channel></rss>)",
         "https://img.example/1.jpg"},
        {"Media RSS, a group of sizes, another prefix",
         R"(<rss version="2.0" xmlns:m="http://search.yahoo.com/mrss/"><channel><item>
            <m:group><m:content url="s.jpg" width="320" medium="image"/>
            <m:content url="l.jpg" width="3840" medium="image"/></m:group>
            </item></channel></rss>)",
         "https://feed.example/daily/l.jpg"},
        {"Atom with an enclosure link and xml:base",
         R"(<feed xmlns="http://www.w3.org/2005/Atom" xml:base="https://cdn.example/pics/">
            <title>Atom</title><entry><title>A</title>
            <link rel="alternate" href="https://feed.example/a"/>
            <link rel="enclosure" type="image/png" href="a.png"/></entry></feed>)",
         "https://cdn.example/pics/a.png"},
        {"Atom with another prefix for its namespace",
         R"(<a:feed xmlns:a="http://www.w3.org/2005/Atom"><a:entry>
            <a:link rel="enclosure" type="image/gif" href="/g.gif"/></a:entry></a:feed>)",
         "https://feed.example/g.gif"},
        {"RSS with the picture only in CDATA HTML",
         R"(<rss version="2.0"><channel><item><description><![CDATA[<p>Look</p><img src="../p.jpg?a=1&amp;b=2">]]></description></item></channel></rss>)",
         "https://feed.example/p.jpg?a=1&b=2"},
        {"RSS with escaped HTML in content:encoded",
         R"(<rss xmlns:content="http://purl.org/rss/1.0/modules/content/"><channel><item>
            <content:encoded>&lt;img src="http://e.example/x.png"&gt;</content:encoded></item></channel></rss>)",
         "http://e.example/x.png"},
        {"a picture that is a file: address",
         R"(<rss><channel><item><enclosure url="file:///C:/secret.jpg" type="image/jpeg"/></item></channel></rss>)",
         ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FirstPicture(c.document), c.picture) << c.what;
    // Atom's alternate link is the item's page.
    EXPECT_EQ(Narrow(ReadFeedDocument(cases[2].document, kFeedAddress)->pictures[0].page),
              "https://feed.example/a");
}

// What an item yields: its credit and page, nothing for an enclosure that is no picture or
// an item without one; dated items newest first; at most 2,000 items read.
TEST(FeedDocument, ItemsGiveTheirCreditsNewestFirstAndAreBounded) {
    const std::optional<Feed> feed = ReadFeedDocument(
        R"(<rss xmlns:media="http://search.yahoo.com/mrss/"><channel><title> Pictures </title>
           <item><pubDate>07 Dec 2026 00:00:00 GMT</pubDate><link>/day/7</link>
             <media:content url="7.jpg"/><media:credit>A. Photographer</media:credit></item>
           <item><pubDate>09 Dec 2026 00:00:00 GMT</pubDate>
             <enclosure url="talk.mp3" type="audio/mpeg"/><description>&lt;img src="9.jpg"&gt;</description></item>
           <item><pubDate>08 Dec 2026 00:00:00 GMT</pubDate><description>text only</description></item>
           </channel></rss>)",
        kFeedAddress);
    ASSERT_TRUE(feed);
    EXPECT_EQ(Narrow(feed->title), "Pictures");
    EXPECT_EQ(feed->items, 3u);
    ASSERT_EQ(feed->pictures.size(), 2u);
    EXPECT_EQ(Narrow(feed->pictures[0].address), "https://feed.example/daily/9.jpg");
    EXPECT_EQ(Narrow(feed->pictures[1].credit), "A. Photographer");
    EXPECT_EQ(Narrow(feed->pictures[1].page), "https://feed.example/day/7");

    std::string many = "<rss><channel>";
    for (size_t i = 0; i < kMaxFeedItems + 5; ++i)
        many += "<item><enclosure url=\"p.jpg\" type=\"image/png\"/></item>";
    const std::optional<Feed> bounded = ReadFeedDocument(many + "</channel></rss>", kFeedAddress);
    ASSERT_TRUE(bounded);
    EXPECT_EQ(bounded->pictures.size(), kMaxFeedItems);
    EXPECT_TRUE(bounded->cut);
}

// Told by the body: a picture, a web page or another XML document is no feed; entity
// expansion, an external entity and a document too deep are refused.
TEST(FeedDocument, WhatIsNoFeedOrIsHostileGivesNothing) {
    std::string deep = "<rss><channel><item><description>";
    for (int i = 0; i < 200; ++i)
        deep += "<b>";
    deep += "</description></item></channel></rss>";
    const struct {
        const char* what;
        std::string body;
        bool refused; // by the parser, rather than simply no feed
    } cases[] = {
        {"a JPEG", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF", 10), false},
        {"a web page", "<!doctype html><html><body><img src=a.jpg></body></html>", true},
        {"an SVG", R"(<svg xmlns="http://www.w3.org/2000/svg"/>)", false},
        {"entity expansion",
         R"(<?xml version="1.0"?><!DOCTYPE rss [<!ENTITY a "aaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;">]><rss><channel><title>&b;</title></channel></rss>)",
         true},
        {"an external entity",
         R"(<?xml version="1.0"?><!DOCTYPE rss [<!ENTITY x SYSTEM "file:///C:/windows/win.ini">]><rss><channel><title>&x;</title></channel></rss>)",
         true},
        {"nesting too deep", deep, true},
        {"too large", "<rss>" + std::string(kMaxFeedBytes, ' ') + "</rss>", false},
    };
    for (const auto& c : cases) {
        HRESULT problem = S_OK;
        EXPECT_FALSE(ReadFeedDocument(c.body, kFeedAddress, &problem)) << c.what;
        EXPECT_EQ(FAILED(problem), c.refused) << c.what;
    }
}

} // namespace
} // namespace glimro
