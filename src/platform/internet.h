#pragma once
// Owning WinINet handles, and a GET request opened from an address.
#include "platform/handle.h"

#include <windows.h>
#include <wininet.h>

#include <string>

namespace glimro {

struct InternetHandleTraits {
    static HINTERNET Invalid() { return nullptr; }
    static bool IsValid(HINTERNET h) { return h != nullptr; }
    static void Close(HINTERNET h) { ::InternetCloseHandle(h); }
};
using InternetHandle = UniqueResource<HINTERNET, InternetHandleTraits>;

// A GET request and the connection it runs on; the request is closed first.
struct HttpGet {
    InternetHandle connection;
    InternetHandle request;
};

// Opens, without sending it, a GET request for an http:// or https:// address on the
// session. https is fetched over TLS with the server's certificate checked as the system
// checks it. Connecting, sending and every wait for data are limited to timeout_ms.
// Returns a Win32 error code.
DWORD OpenHttpGet(HINTERNET session, const std::wstring& url, DWORD flags, DWORD_PTR context,
                  DWORD timeout_ms, HttpGet* get);

} // namespace glimro
