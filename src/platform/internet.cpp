#include "platform/internet.h"

#include "platform/system_library.h"

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
BOOL InternetQueryDataAvailable(HINTERNET file, LPDWORD available, DWORD flags,
                                DWORD_PTR context) {
    GLIMRO_WININET_CALL(InternetQueryDataAvailable, file, available, flags, context);
}
BOOL InternetReadFile(HINTERNET file, LPVOID buffer, DWORD to_read, LPDWORD read) {
    GLIMRO_WININET_CALL(InternetReadFile, file, buffer, to_read, read);
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
    WinInet().Release();
}

} // namespace net

DWORD OpenHttpGet(HINTERNET session, const std::wstring& url, DWORD flags, DWORD_PTR context,
                  DWORD timeout_ms, HttpGet* get) {
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

    get->connection.Reset(net::InternetConnectW(session, host.c_str(), parts.nPort,
                                             user.empty() ? nullptr : user.c_str(),
                                             password.empty() ? nullptr : password.c_str(),
                                             INTERNET_SERVICE_HTTP, 0, context));
    if (!get->connection)
        return LastErrorOr(ERROR_INTERNET_CANNOT_CONNECT);
    LimitWaits(get->connection.Get(), timeout_ms);
    get->request.Reset(net::HttpOpenRequestW(get->connection.Get(), L"GET", object.c_str(), nullptr,
                                          nullptr, nullptr, flags, context));
    if (!get->request)
        return LastErrorOr(ERROR_INTERNET_INTERNAL_ERROR);
    // Set on the request as well: not every WinINet passes the connection's limits down.
    LimitWaits(get->request.Get(), timeout_ms);
    return ERROR_SUCCESS;
}

} // namespace glimro
