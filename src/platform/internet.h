#pragma once
// Owning WinINet handles, and a GET request opened from an address.
#include "platform/handle.h"
#include "platform/seam.h"

#include <windows.h>
#include <wininet.h>

#include <functional>
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
BOOL InternetReadFileExA(HINTERNET file, LPINTERNET_BUFFERSA buffers, DWORD flags,
                         DWORD_PTR context);
INTERNET_STATUS_CALLBACK InternetSetStatusCallbackW(HINTERNET handle,
                                                    INTERNET_STATUS_CALLBACK callback);
BOOL InternetCloseHandle(HINTERNET handle);
BOOL InternetSetOptionW(HINTERNET handle, DWORD option, LPVOID buffer, DWORD length);
BOOL InternetQueryOptionW(HINTERNET handle, DWORD option, LPVOID buffer, LPDWORD length);
BOOL InternetCrackUrlW(LPCWSTR url, DWORD length, DWORD flags, LPURL_COMPONENTSW parts);
BOOL InternetCombineUrlW(LPCWSTR base, LPCWSTR relative, LPWSTR url, LPDWORD length, DWORD flags);
} // namespace net

// Every read of a response body goes through here: a test counts them.
extern Seam<BOOL(HINTERNET, LPINTERNET_BUFFERSA, DWORD, DWORD_PTR)> ReadInternetBody;

// A GET on an asynchronous session. Its calls return at once and complete through the
// session's status callback; the caller waits for each with a stop event beside it, so that
// Cancel and the deadlines never wait on the network. A call given up on may still complete
// later (Wine does not end a pending read when its handle closes): what it writes into, the
// block and the count, is kept until that call and the request's handle are both done.
class AsyncHttpGet {
public:
    // The body is read in blocks of this size.
    explicit AsyncHttpGet(DWORD block_bytes);
    ~AsyncHttpGet();
    AsyncHttpGet(const AsyncHttpGet&) = delete;
    AsyncHttpGet& operator=(const AsyncHttpGet&) = delete;

    // A session whose requests run this way; null (the last error says why) on failure.
    static HINTERNET OpenSession(const wchar_t* agent);

    // Opens, without sending it, a GET request for an http:// or https:// address, closing
    // the one before. https is fetched over TLS with the server's certificate checked as the
    // system checks it. Connecting, sending and every wait for data are limited to
    // timeout_ms. Each returns a Win32 error code; ERROR_CANCELLED once stop is set.
    DWORD Open(HINTERNET session, const std::wstring& url, DWORD flags, DWORD timeout_ms);
    // headers: more request header lines, each ended by "\r\n"; empty for none.
    DWORD Send(HANDLE stop, const std::wstring& headers = {});
    // The next block of the body, a whole block unless the body ends first: *bytes is 0 at
    // its end. The data stays valid until the next call.
    DWORD Read(HANDLE stop, const char** data, DWORD* bytes);
    HINTERNET Request() const { return request_.Get(); }
    void Close();

    struct Pending; // the status callback's, as well

private:
    DWORD Call(HANDLE stop, const std::function<BOOL()>& call);
    DWORD Wait(HANDLE stop);

    DWORD block_bytes_;
    Pending* pending_ = nullptr; // this request's, shared with its handle while it lives
    bool ended_ = false;         // the body has been read to its end
    InternetHandle connection_;
    InternetHandle request_;
};

} // namespace glimro
