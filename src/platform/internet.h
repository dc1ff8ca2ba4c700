#pragma once
// Owning WinINet handles, and a GET request opened from an address.
#include "platform/handle.h"

#include <windows.h>
#include <wininet.h>

#include <string>

namespace glimro {

namespace net {
BOOL InternetCloseHandle(HINTERNET handle);
}

struct InternetHandleTraits {
    static HINTERNET Invalid() { return nullptr; }
    static bool IsValid(HINTERNET h) { return h != nullptr; }
    static void Close(HINTERNET h) { net::InternetCloseHandle(h); }
};
using InternetHandle = UniqueResource<HINTERNET, InternetHandleTraits>;

// A GET request and the connection it runs on; the request is closed first.
struct HttpGet {
    InternetHandle connection;
    InternetHandle request;
};

// WinINet, loaded from the system folder on first use rather than imported: the same
// signatures as the system's; a missing library fails the call with ERROR_PROC_NOT_FOUND.
namespace net {
// Lets the library go once every handle is closed; the next call loads it again.
void ReleaseLibrary();
HINTERNET InternetOpenW(LPCWSTR agent, DWORD access, LPCWSTR proxy, LPCWSTR bypass, DWORD flags);
HINTERNET InternetConnectW(HINTERNET session, LPCWSTR host, INTERNET_PORT port, LPCWSTR user,
                           LPCWSTR password, DWORD service, DWORD flags, DWORD_PTR context);
HINTERNET HttpOpenRequestW(HINTERNET connection, LPCWSTR verb, LPCWSTR object, LPCWSTR version,
                           LPCWSTR referrer, LPCWSTR* accept, DWORD flags, DWORD_PTR context);
BOOL HttpSendRequestW(HINTERNET request, LPCWSTR headers, DWORD length, LPVOID optional,
                      DWORD optional_length);
BOOL HttpQueryInfoW(HINTERNET request, DWORD info, LPVOID buffer, LPDWORD length, LPDWORD index);
BOOL InternetQueryDataAvailable(HINTERNET file, LPDWORD available, DWORD flags, DWORD_PTR context);
BOOL InternetReadFile(HINTERNET file, LPVOID buffer, DWORD to_read, LPDWORD read);
BOOL InternetCloseHandle(HINTERNET handle);
BOOL InternetSetOptionW(HINTERNET handle, DWORD option, LPVOID buffer, DWORD length);
BOOL InternetQueryOptionW(HINTERNET handle, DWORD option, LPVOID buffer, LPDWORD length);
BOOL InternetCrackUrlW(LPCWSTR url, DWORD length, DWORD flags, LPURL_COMPONENTSW parts);
BOOL InternetCombineUrlW(LPCWSTR base, LPCWSTR relative, LPWSTR url, LPDWORD length, DWORD flags);
} // namespace net

// Opens, without sending it, a GET request for an http:// or https:// address on the
// session. https is fetched over TLS with the server's certificate checked as the system
// checks it. Connecting, sending and every wait for data are limited to timeout_ms.
// Returns a Win32 error code.
DWORD OpenHttpGet(HINTERNET session, const std::wstring& url, DWORD flags, DWORD_PTR context,
                  DWORD timeout_ms, HttpGet* get);

} // namespace glimro
