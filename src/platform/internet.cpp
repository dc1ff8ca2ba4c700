#include "platform/internet.h"

#include "platform/system_library.h"

#include <atomic>
#include <functional>
#include <vector>

namespace glimro {
namespace {

std::wstring Part(const wchar_t* text, DWORD length) {
    return text ? std::wstring(text, length) : std::wstring();
}

DWORD LastErrorOr(DWORD fallback) {
    const DWORD error = ::GetLastError();
    return error == ERROR_SUCCESS ? fallback : error;
}

void LimitWaits(HINTERNET handle, DWORD timeout_ms) {
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT})
        net::InternetSetOptionW(handle, option, &timeout_ms, sizeof(timeout_ms));
}

// Requests' completion records not yet let go: the library stays while there are any.
std::atomic<long>& LivePending() {
    static std::atomic<long> live{0};
    return live;
}

SystemLibrary& WinInet() {
    static SystemLibrary library(L"wininet.dll");
    return library;
}

template <typename R>
R Missing() {
    ::SetLastError(ERROR_PROC_NOT_FOUND);
    return R{};
}

} // namespace

namespace net {

// Each looks its function up at each call: the library may have been let go since the last.
#define GLIMRO_WININET_CALL(name, ...)                                                           \
    const auto function = WinInet().Function<decltype(::name)>(#name);                          \
    return function ? function(__VA_ARGS__) : Missing<decltype(function(__VA_ARGS__))>()

HINTERNET InternetOpenW(LPCWSTR agent, DWORD access, LPCWSTR proxy, LPCWSTR bypass, DWORD flags) {
    GLIMRO_WININET_CALL(InternetOpenW, agent, access, proxy, bypass, flags);
}
HINTERNET InternetConnectW(HINTERNET session, LPCWSTR host, INTERNET_PORT port, LPCWSTR user,
                           LPCWSTR password, DWORD service, DWORD flags, DWORD_PTR context) {
    GLIMRO_WININET_CALL(InternetConnectW, session, host, port, user, password, service, flags,
                        context);
}
HINTERNET HttpOpenRequestW(HINTERNET connection, LPCWSTR verb, LPCWSTR object, LPCWSTR version,
                           LPCWSTR referrer, LPCWSTR* accept, DWORD flags, DWORD_PTR context) {
    GLIMRO_WININET_CALL(HttpOpenRequestW, connection, verb, object, version, referrer, accept,
                        flags, context);
}
BOOL HttpSendRequestW(HINTERNET request, LPCWSTR headers, DWORD length, LPVOID optional,
                      DWORD optional_length) {
    GLIMRO_WININET_CALL(HttpSendRequestW, request, headers, length, optional, optional_length);
}
BOOL HttpQueryInfoW(HINTERNET request, DWORD info, LPVOID buffer, LPDWORD length, LPDWORD index) {
    GLIMRO_WININET_CALL(HttpQueryInfoW, request, info, buffer, length, index);
}
BOOL InternetReadFileExA(HINTERNET file, LPINTERNET_BUFFERSA buffers, DWORD flags,
                         DWORD_PTR context) {
    GLIMRO_WININET_CALL(InternetReadFileExA, file, buffers, flags, context);
}
INTERNET_STATUS_CALLBACK InternetSetStatusCallbackW(HINTERNET handle,
                                                    INTERNET_STATUS_CALLBACK callback) {
    const auto function =
        WinInet().Function<decltype(::InternetSetStatusCallbackW)>("InternetSetStatusCallbackW");
    if (!function) {
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return INTERNET_INVALID_STATUS_CALLBACK;
    }
    return function(handle, callback);
}
BOOL InternetCloseHandle(HINTERNET handle) {
    GLIMRO_WININET_CALL(InternetCloseHandle, handle);
}
BOOL InternetSetOptionW(HINTERNET handle, DWORD option, LPVOID buffer, DWORD length) {
    GLIMRO_WININET_CALL(InternetSetOptionW, handle, option, buffer, length);
}
BOOL InternetQueryOptionW(HINTERNET handle, DWORD option, LPVOID buffer, LPDWORD length) {
    GLIMRO_WININET_CALL(InternetQueryOptionW, handle, option, buffer, length);
}
BOOL InternetCrackUrlW(LPCWSTR url, DWORD length, DWORD flags, LPURL_COMPONENTSW parts) {
    GLIMRO_WININET_CALL(InternetCrackUrlW, url, length, flags, parts);
}

BOOL InternetCombineUrlW(LPCWSTR base, LPCWSTR relative, LPWSTR url, LPDWORD length, DWORD flags) {
    GLIMRO_WININET_CALL(InternetCombineUrlW, base, relative, url, length, flags);
}

#undef GLIMRO_WININET_CALL

void ReleaseLibrary() {
    // A request given up on may still be at work inside the library.
    if (LivePending() == 0)
        WinInet().Release();
}

} // namespace net

Seam<BOOL(HINTERNET, LPINTERNET_BUFFERSA, DWORD, DWORD_PTR)> ReadInternetBody(
    &net::InternetReadFileExA);

// What the request's calls complete into, with a count of its holders: the AsyncHttpGet
// while it uses it, the request's handle until its closing callback, and a call from when it
// goes pending until it completes.
struct AsyncHttpGet::Pending {
    UniqueHandle done{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    INTERNET_ASYNC_RESULT result = {};
    INTERNET_BUFFERSA buffers = {};
    std::vector<char> block;
    std::atomic<long> holders{1};

    explicit Pending(DWORD block_bytes) : block(block_bytes) { ++LivePending(); }
    ~Pending() { --LivePending(); }
    void Hold() { ++holders; }
    void Release() {
        if (--holders == 0)
            delete this;
    }
    DWORD_PTR Context() { return reinterpret_cast<DWORD_PTR>(this); }
};

namespace {

void CALLBACK RequestStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info,
                            DWORD info_length) {
    if (context == 0)
        return;
    auto* pending = reinterpret_cast<AsyncHttpGet::Pending*>(context);
    if (status == INTERNET_STATUS_REQUEST_COMPLETE) {
        pending->result = {};
        if (info && info_length >= sizeof(INTERNET_ASYNC_RESULT))
            pending->result = *static_cast<const INTERNET_ASYNC_RESULT*>(info);
        ::SetEvent(pending->done.Get());
        pending->Release(); // the call's
    } else if (status == INTERNET_STATUS_HANDLE_CLOSING) {
        pending->Release(); // the handle's
    }
}

} // namespace

AsyncHttpGet::AsyncHttpGet(DWORD block_bytes) : block_bytes_(block_bytes) {}

AsyncHttpGet::~AsyncHttpGet() {
    Close();
}

HINTERNET AsyncHttpGet::OpenSession(const wchar_t* agent) {
    HINTERNET session =
        net::InternetOpenW(agent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, INTERNET_FLAG_ASYNC);
    if (session &&
        net::InternetSetStatusCallbackW(session, &RequestStatus) == INTERNET_INVALID_STATUS_CALLBACK) {
        const DWORD error = LastErrorOr(ERROR_INTERNET_INTERNAL_ERROR);
        net::InternetCloseHandle(session);
        ::SetLastError(error);
        return nullptr;
    }
    return session;
}

void AsyncHttpGet::Close() {
    ended_ = false;
    request_.Reset();
    connection_.Reset();
    if (pending_)
        pending_->Release();
    pending_ = nullptr;
}

DWORD AsyncHttpGet::Open(HINTERNET session, const std::wstring& url, DWORD flags,
                         DWORD timeout_ms) {
    Close();
    // Lengths without buffers: the parts are pointed out within the address itself.
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.dwHostNameLength = parts.dwUserNameLength = parts.dwPasswordLength = 1;
    parts.dwUrlPathLength = parts.dwExtraInfoLength = 1;
    if (!net::InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts))
        return LastErrorOr(ERROR_INTERNET_INVALID_URL);
    if (parts.nScheme == INTERNET_SCHEME_HTTPS)
        flags |= INTERNET_FLAG_SECURE;
    else if (parts.nScheme != INTERNET_SCHEME_HTTP)
        return ERROR_INTERNET_UNRECOGNIZED_SCHEME;

    std::wstring object = Part(parts.lpszUrlPath, parts.dwUrlPathLength) +
                          Part(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    object = object.substr(0, object.find(L'#')); // the fragment never goes to the server
    if (object.empty())
        object = L"/";
    const std::wstring host = Part(parts.lpszHostName, parts.dwHostNameLength);
    const std::wstring user = Part(parts.lpszUserName, parts.dwUserNameLength);
    const std::wstring password = Part(parts.lpszPassword, parts.dwPasswordLength);

    // No context for the connection: it makes no call of its own, and reports nothing.
    connection_.Reset(net::InternetConnectW(session, host.c_str(), parts.nPort,
                                            user.empty() ? nullptr : user.c_str(),
                                            password.empty() ? nullptr : password.c_str(),
                                            INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection_)
        return LastErrorOr(ERROR_INTERNET_CANNOT_CONNECT);
    LimitWaits(connection_.Get(), timeout_ms);
    pending_ = new Pending(block_bytes_);
    request_.Reset(net::HttpOpenRequestW(connection_.Get(), L"GET", object.c_str(), nullptr,
                                         nullptr, nullptr, flags, pending_->Context()));
    if (!request_)
        return LastErrorOr(ERROR_INTERNET_INTERNAL_ERROR);
    pending_->Hold(); // the handle's, given back by its closing callback
    // Set on the request as well: not every WinINet passes the connection's limits down.
    LimitWaits(request_.Get(), timeout_ms);
    return ERROR_SUCCESS;
}

DWORD AsyncHttpGet::Wait(HANDLE stop) {
    const HANDLE handles[] = {stop, pending_->done.Get()};
    // The stop first: once it is set, no completion is waited for.
    if (::WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0 + 1)
        return ERROR_CANCELLED;
    if (pending_->result.dwResult)
        return ERROR_SUCCESS;
    return pending_->result.dwError ? pending_->result.dwError : ERROR_INTERNET_INTERNAL_ERROR;
}

// Runs one call of the request: done at once, failed, or pending until it completes (the
// call holds the record meanwhile) or the stop is set.
DWORD AsyncHttpGet::Call(HANDLE stop, const std::function<BOOL()>& call) {
    pending_->Hold();
    if (call()) {
        pending_->Release();
        return ERROR_SUCCESS;
    }
    const DWORD error = LastErrorOr(ERROR_INTERNET_INTERNAL_ERROR);
    if (error != ERROR_IO_PENDING) {
        pending_->Release();
        return error;
    }
    return Wait(stop);
}

DWORD AsyncHttpGet::Send(HANDLE stop, const std::wstring& headers) {
    if (!pending_)
        return ERROR_INVALID_HANDLE;
    return Call(stop, [&] {
        return net::HttpSendRequestW(request_.Get(), headers.empty() ? nullptr : headers.c_str(),
                                     headers.empty() ? 0 : static_cast<DWORD>(-1L), nullptr, 0);
    });
}

DWORD AsyncHttpGet::Read(HANDLE stop, const char** data, DWORD* bytes) {
    *data = nullptr;
    *bytes = 0;
    if (!pending_)
        return ERROR_INVALID_HANDLE;
    if (ended_)
        return ERROR_SUCCESS; // the read that found the end said so already
    // Filled whole, however the library splits its answers, so the file is written in large
    // blocks; a read of nothing is the end of the body.
    DWORD filled = 0;
    while (filled < block_bytes_) {
        if (::WaitForSingleObject(stop, 0) == WAIT_OBJECT_0)
            return ERROR_CANCELLED;
        INTERNET_BUFFERSA& buffers = pending_->buffers;
        buffers = {};
        buffers.dwStructSize = sizeof(buffers);
        buffers.lpvBuffer = pending_->block.data() + filled;
        buffers.dwBufferLength = block_bytes_ - filled;
        if (const DWORD error = Call(stop, [&] {
                return ReadInternetBody(request_.Get(), &buffers, IRF_ASYNC, pending_->Context());
            });
            error != ERROR_SUCCESS)
            return error;
        if (buffers.dwBufferLength == 0) {
            ended_ = true;
            break;
        }
        filled += buffers.dwBufferLength;
    }
    *data = pending_->block.data();
    *bytes = filled;
    return ERROR_SUCCESS;
}

} // namespace glimro
