#pragma once
// What a host name resolves to now, by the system's resolver (Winsock, loaded on first use
// from the system folder and let go after): each address as 4 bytes (IPv4) or 16 (IPv6);
// none when the name resolves to nothing. Tests put their own.
#include "platform/seam.h"

#include <cstdint>
#include <string>
#include <vector>

namespace glimro {

using HostAddresses = std::vector<std::vector<uint8_t>>;
extern Seam<HostAddresses(const std::wstring& host)> ResolveHost;

} // namespace glimro
