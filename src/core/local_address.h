#pragma once
// Which addresses lie on the user's own machine or network: the loopback, the private and
// link-local ranges, and the names that mean them. A feed from the internet must not send
// Glimro there (its picture addresses are the feed's, not the user's); plain C++ over the
// address as written, host-tested and fuzzed.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace glimro {

// The host of an http or https address as written: lower case, without user, port or the
// brackets of an IPv6 literal, and without a final dot; empty when there is none.
std::wstring AddressHost(std::wstring_view address);

// Whether an IPv4 (4 bytes) or IPv6 (16 bytes) address is on the loopback (127.0.0.0/8,
// ::1), a private network (10.0.0.0/8, 172.16.0.0/12, 192.168.0.0/16, fc00::/7), link-local
// (169.254.0.0/16, fe80::/10) or unspecified (0.0.0.0/8, ::), an IPv4-mapped IPv6 address by
// its IPv4 address.
bool IsLocalAddress(const uint8_t* bytes, size_t size);

// The host as an IP literal: IPv4 in every form the system's resolvers take ("127.1",
// "0x7f.0.0.1", "2130706433", octal parts), or IPv6; false for a name.
bool ParseIpLiteral(std::wstring_view host, uint8_t* bytes, size_t* size);

// Whether the host as written names such an address: an IP literal in those ranges,
// "localhost" and names under it, and names ending in ".local".
bool IsLocalHostName(std::wstring_view host);

// Whether a feed may send Glimro to a picture: always when the feed itself is local, else only
// when the picture is not.
constexpr bool MayFollowFeedPicture(bool feed_is_local, bool picture_is_local) {
    return feed_is_local || !picture_is_local;
}

} // namespace glimro
