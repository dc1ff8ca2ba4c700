#include "core/local_address.h"

#include <gtest/gtest.h>

namespace glimro {
namespace {

// A feed on the internet may not send Glimro to the user's own machine or network; a feed
// that is there itself may. Hosts as written: every form of an IP literal the resolvers take,
// IPv6 with its IPv4-mapped form, and the names that mean the local network.
TEST(LocalAddress, AFeedMaySendGlimroOnlyWhereItIsItself) {
    const struct {
        const wchar_t* feed;
        const wchar_t* picture;
        bool allowed;
    } cases[] = {
        {L"https://feeds.example.com/rss", L"https://img.example.com/a.jpg", true},
        {L"https://feeds.example.com/rss", L"http://127.0.0.1/a.jpg", false},
        {L"https://feeds.example.com/rss", L"http://127.1:8080/a.jpg", false},
        {L"https://feeds.example.com/rss", L"http://2130706433/a.jpg", false},
        {L"https://feeds.example.com/rss", L"http://0x7f.0.0.1/a.jpg", false},
        {L"https://feeds.example.com/rss", L"http://0177.0.0.1/a.jpg", false},
        {L"https://feeds.example.com/rss", L"http://10.1.2.3/a.jpg", false},
        {L"https://feeds.example.com/rss", L"http://172.16.0.9/a.jpg", false},
        {L"https://feeds.example.com/rss", L"http://172.31.255.255/a.jpg", false},
        {L"https://feeds.example.com/rss", L"http://172.32.0.1/a.jpg", true},
        {L"https://feeds.example.com/rss", L"http://192.168.1.1/a.jpg", false},
        {L"https://feeds.example.com/rss", L"http://192.169.1.1/a.jpg", true},
        {L"https://feeds.example.com/rss", L"http://169.254.169.254/latest", false},
        {L"https://feeds.example.com/rss", L"http://0.0.0.0/a.jpg", false},
        {L"https://feeds.example.com/rss", L"http://[::1]/a.jpg", false},
        {L"https://feeds.example.com/rss", L"http://[::ffff:127.0.0.1]:81/a.jpg", false},
        {L"https://feeds.example.com/rss", L"http://[fd12:3456::1]/a.jpg", false},
        {L"https://feeds.example.com/rss", L"http://[FE80::1]/a.jpg", false},
        {L"https://feeds.example.com/rss", L"http://[2001:db8::1]/a.jpg", true},
        {L"https://feeds.example.com/rss", L"http://LOCALHOST./a.jpg", false},
        {L"https://feeds.example.com/rss", L"http://printer.local/a.jpg", false},
        {L"https://feeds.example.com/rss", L"http://app.localhost/a.jpg", false},
        {L"https://feeds.example.com/rss", L"http://user@127.0.0.1@img.example.com/a.jpg", true},
        {L"https://feeds.example.com/rss", L"http://img.example.com@127.0.0.1/a.jpg", false},
        {L"https://feeds.example.com/rss", L"http://localhost.example.com/a.jpg", true},
        {L"https://feeds.example.com/rss", L"http://256.1.1.1/a.jpg", true}, // no address: a name
        {L"http://127.0.0.1:8080/feed.xml", L"http://127.0.0.1:8080/a.jpg", true},
        {L"http://192.168.1.20/feed.xml", L"http://10.0.0.5/a.jpg", true},
        {L"http://nas.local/feed.xml", L"http://[::1]/a.jpg", true},
    };
    for (const auto& c : cases) {
        const bool feed_local = IsLocalHostName(AddressHost(c.feed));
        const bool picture_local = IsLocalHostName(AddressHost(c.picture));
        EXPECT_EQ(MayFollowFeedPicture(feed_local, picture_local), c.allowed)
            << testing::PrintToString(std::wstring(c.feed)) << " -> " << testing::PrintToString(std::wstring(c.picture));
    }
    EXPECT_EQ(AddressHost(L"HTTPS://Img.Example.COM.:443/a?b#c"), L"img.example.com");
    uint8_t bytes[16] = {};
    size_t size = 0;
    for (const wchar_t* bad : {L"1.2.3.4.5", L"1..2", L"0x", L"09.1.1.1", L"1.2.3.256", L":::1", L"1:2:3:4:5:6:7:8:9", L""})
        EXPECT_FALSE(ParseIpLiteral(bad, bytes, &size)) << testing::PrintToString(std::wstring(bad));
}

} // namespace
} // namespace glimro
