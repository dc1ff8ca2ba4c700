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

    const std::optional<Feed> atom = ReadFeedDocument(cases[2].document, kFeedAddress);
    ASSERT_TRUE(atom);
    EXPECT_EQ(Narrow(atom->title), "Atom");
    EXPECT_EQ(Narrow(atom->pictures[0].title), "A");
    EXPECT_EQ(Narrow(atom->pictures[0].page), "https://feed.example/a");
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
