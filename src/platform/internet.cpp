#include "platform/internet.h"

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
        ::InternetSetOptionW(handle, option, &timeout_ms, sizeof(timeout_ms));
}

} // namespace

DWORD OpenHttpGet(HINTERNET session, const std::wstring& url, DWORD flags, DWORD_PTR context,
                  DWORD timeout_ms, HttpGet* get) {
    // Lengths without buffers: the parts are pointed out within the address itself.
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.dwHostNameLength = parts.dwUserNameLength = parts.dwPasswordLength = 1;
    parts.dwUrlPathLength = parts.dwExtraInfoLength = 1;
    if (!::InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts))
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

    get->connection.Reset(::InternetConnectW(session, host.c_str(), parts.nPort,
                                             user.empty() ? nullptr : user.c_str(),
                                             password.empty() ? nullptr : password.c_str(),
                                             INTERNET_SERVICE_HTTP, 0, context));
    if (!get->connection)
        return LastErrorOr(ERROR_INTERNET_CANNOT_CONNECT);
    LimitWaits(get->connection.Get(), timeout_ms);
    get->request.Reset(::HttpOpenRequestW(get->connection.Get(), L"GET", object.c_str(), nullptr,
                                          nullptr, nullptr, flags, context));
    if (!get->request)
        return LastErrorOr(ERROR_INTERNET_INTERNAL_ERROR);
    // Set on the request as well: not every WinINet passes the connection's limits down.
    LimitWaits(get->request.Get(), timeout_ms);
    return ERROR_SUCCESS;
}

} // namespace glimro
