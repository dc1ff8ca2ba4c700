#include <winsock2.h>
#include <ws2tcpip.h>

#include "platform/host_addresses.h"
#include "platform/system_library.h"

namespace glimro {

Seam<HostAddresses(const std::wstring& host)> ResolveHost([](const std::wstring& host) {
    HostAddresses addresses;
    SystemLibrary winsock(L"ws2_32.dll");
    const auto startup = winsock.Function<decltype(::WSAStartup)>("WSAStartup");
    const auto cleanup = winsock.Function<decltype(::WSACleanup)>("WSACleanup");
    const auto resolve = winsock.Function<decltype(::GetAddrInfoW)>("GetAddrInfoW");
    const auto release = winsock.Function<decltype(::FreeAddrInfoW)>("FreeAddrInfoW");
    WSADATA data = {};
    if (!startup || !cleanup || !resolve || !release || startup(MAKEWORD(2, 2), &data) != 0)
        return addresses;
    ADDRINFOW hints = {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    ADDRINFOW* found = nullptr;
    if (resolve(host.c_str(), nullptr, &hints, &found) == 0) {
        for (const ADDRINFOW* at = found; at; at = at->ai_next) {
            if (at->ai_family == AF_INET && at->ai_addrlen >= sizeof(sockaddr_in)) {
                const auto* v4 = reinterpret_cast<const sockaddr_in*>(at->ai_addr);
                const auto* bytes = reinterpret_cast<const uint8_t*>(&v4->sin_addr);
                addresses.emplace_back(bytes, bytes + 4);
            } else if (at->ai_family == AF_INET6 && at->ai_addrlen >= sizeof(sockaddr_in6)) {
                const auto* v6 = reinterpret_cast<const sockaddr_in6*>(at->ai_addr);
                const auto* bytes = reinterpret_cast<const uint8_t*>(&v6->sin6_addr);
                addresses.emplace_back(bytes, bytes + 16);
            }
        }
        release(found);
    }
    cleanup();
    return addresses;
});

} // namespace glimro
