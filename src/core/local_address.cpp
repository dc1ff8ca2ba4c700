#include "core/local_address.h"

#include <cstring>

namespace glimro {
namespace {

wchar_t Lower(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool EndsWith(std::wstring_view text, std::wstring_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// One part of an IPv4 address as inet_aton reads it: decimal, octal after "0", hex after "0x".
bool ParseIpv4Part(std::wstring_view part, uint64_t* value) {
    if (part.empty())
        return false;
    unsigned base = 10;
    if (part.size() > 1 && part[0] == L'0' && (part[1] == L'x' || part[1] == L'X')) {
        base = 16;
        part.remove_prefix(2);
        if (part.empty())
            return false;
    } else if (part.size() > 1 && part[0] == L'0') {
        base = 8;
        part.remove_prefix(1);
    }
    uint64_t v = 0;
    for (const wchar_t c : part) {
        unsigned digit;
        if (c >= L'0' && c <= L'9')
            digit = static_cast<unsigned>(c - L'0');
        else if (base == 16 && Lower(c) >= L'a' && Lower(c) <= L'f')
            digit = static_cast<unsigned>(Lower(c) - L'a' + 10);
        else
            return false;
        if (digit >= base)
            return false;
        v = v * base + digit;
        if (v > 0xFFFFFFFFu)
            return false;
    }
    *value = v;
    return true;
}

bool ParseIpv4(std::wstring_view host, uint8_t* bytes) {
    uint64_t parts[4] = {};
    size_t count = 0;
    while (true) {
        const size_t dot = host.find(L'.');
        if (count == 4 || !ParseIpv4Part(host.substr(0, dot), &parts[count]))
            return false;
        ++count;
        if (dot == std::wstring_view::npos)
            break;
        host.remove_prefix(dot + 1);
    }
    // The last part fills the bytes the others leave.
    uint64_t value = 0;
    for (size_t i = 0; i + 1 < count; ++i) {
        if (parts[i] > 0xFF)
            return false;
        value |= parts[i] << (24 - 8 * i);
    }
    const unsigned rest_bits = 32 - 8 * static_cast<unsigned>(count - 1);
    if (rest_bits < 32 && parts[count - 1] >= (uint64_t{1} << rest_bits))
        return false;
    value |= parts[count - 1];
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(value >> (24 - 8 * i));
    return true;
}

bool ParseIpv6(std::wstring_view host, uint8_t* bytes) {
    uint16_t groups[8] = {};
    size_t before = 0, after = 0; // groups before and after "::"
    bool gap = false;
    uint16_t tail[8] = {};
    size_t i = 0;
    if (host.substr(0, 2) == L"::") {
        gap = true;
        i = 2;
    }
    while (i < host.size()) {
        const size_t end = host.find(L':', i);
        const std::wstring_view group = host.substr(i, end == std::wstring_view::npos ? std::wstring_view::npos : end - i);
        // A dotted IPv4 address ends the address as its last two groups.
        if (group.find(L'.') != std::wstring_view::npos) {
            uint8_t v4[4];
            if (end != std::wstring_view::npos || !ParseIpv4(group, v4))
                return false;
            uint16_t* into = gap ? tail : groups;
            size_t& n = gap ? after : before;
            if (n + 2 > 8)
                return false;
            into[n++] = static_cast<uint16_t>(v4[0] << 8 | v4[1]);
            into[n++] = static_cast<uint16_t>(v4[2] << 8 | v4[3]);
            i = host.size();
            break;
        }
        if (group.empty() || group.size() > 4)
            return false;
        unsigned value = 0;
        for (const wchar_t c : group) {
            const wchar_t l = Lower(c);
            if (l >= L'0' && l <= L'9')
                value = value * 16 + static_cast<unsigned>(l - L'0');
            else if (l >= L'a' && l <= L'f')
                value = value * 16 + static_cast<unsigned>(l - L'a' + 10);
            else
                return false;
        }
        uint16_t* into = gap ? tail : groups;
        size_t& n = gap ? after : before;
        if (n == 8)
            return false;
        into[n++] = static_cast<uint16_t>(value);
        if (end == std::wstring_view::npos) {
            i = host.size();
            break;
        }
        i = end + 1;
        if (i < host.size() && host[i] == L':') {
            if (gap)
                return false;
            gap = true;
            ++i;
        } else if (i == host.size()) {
            return false; // a trailing single ':'
        }
    }
    if ((gap && before + after > 7) || (!gap && before != 8))
        return false;
    for (size_t k = 0; k < after; ++k)
        groups[8 - after + k] = tail[k];
    for (size_t k = 0; k < 8; ++k) {
        bytes[2 * k] = static_cast<uint8_t>(groups[k] >> 8);
        bytes[2 * k + 1] = static_cast<uint8_t>(groups[k] & 0xFF);
    }
    return true;
}

bool IsLocalIpv4(const uint8_t* b) {
    return b[0] == 127 || b[0] == 10 || b[0] == 0 || (b[0] == 172 && (b[1] & 0xF0) == 16) ||
           (b[0] == 192 && b[1] == 168) || (b[0] == 169 && b[1] == 254);
}

} // namespace

std::wstring AddressHost(std::wstring_view address) {
    const size_t scheme = address.find(L"://");
    if (scheme == std::wstring_view::npos)
        return {};
    std::wstring_view rest = address.substr(scheme + 3);
    rest = rest.substr(0, rest.find_first_of(L"/?#"));
    if (const size_t at = rest.rfind(L'@'); at != std::wstring_view::npos)
        rest.remove_prefix(at + 1);
    if (!rest.empty() && rest[0] == L'[') {
        const size_t close = rest.find(L']');
        rest = close == std::wstring_view::npos ? std::wstring_view() : rest.substr(1, close - 1);
    } else {
        rest = rest.substr(0, rest.find(L':'));
    }
    std::wstring host;
    for (const wchar_t c : rest)
        host += Lower(c);
    while (!host.empty() && host.back() == L'.')
        host.pop_back();
    return host;
}

bool IsLocalAddress(const uint8_t* bytes, size_t size) {
    if (size == 4)
        return IsLocalIpv4(bytes);
    if (size != 16)
        return false;
    static const uint8_t kMapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    if (std::memcmp(bytes, kMapped, 12) == 0)
        return IsLocalIpv4(bytes + 12);
    bool zero_to_14 = true;
    for (size_t i = 0; i < 15; ++i)
        zero_to_14 = zero_to_14 && bytes[i] == 0;
    if (zero_to_14 && (bytes[15] == 0 || bytes[15] == 1))
        return true; // :: and ::1
    return (bytes[0] & 0xFE) == 0xFC || (bytes[0] == 0xFE && (bytes[1] & 0xC0) == 0x80);
}

bool ParseIpLiteral(std::wstring_view host, uint8_t* bytes, size_t* size) {
    if (host.find(L':') != std::wstring_view::npos) {
        *size = 16;
        return ParseIpv6(host, bytes);
    }
    *size = 4;
    return ParseIpv4(host, bytes);
}

bool IsLocalHostName(std::wstring_view host) {
    uint8_t bytes[16];
    size_t size = 0;
    if (ParseIpLiteral(host, bytes, &size))
        return IsLocalAddress(bytes, size);
    return host == L"localhost" || EndsWith(host, L".localhost") || EndsWith(host, L".local");
}

} // namespace glimro
