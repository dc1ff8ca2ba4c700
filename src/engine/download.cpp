#include "engine/download.h"

#include "core/http_text.h"
#include "engine/feed_document.h"
#include "engine/image_staging.h"
#include "platform/atomic_file.h"
#include "platform/handle.h"
#include "platform/window.h"

#include <algorithm>
#include <optional>
#include <vector>
#include "resource.h"

namespace glimro {
namespace {


// Measured under Wine against a bare read loop: 512 KB blocks were the quickest (1 MB a
// little slower, 4 MB twice as slow, the library's own 8 KB pieces five times).
constexpr DWORD kReadBlock = 512 * 1024;
// A body, announced or received, larger than the limit.
const HRESULT kBodyTooLarge = HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE);
// A Content-Length that is no number, or other than the bytes that came.
const HRESULT kBadLength = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
// Past the total deadline, or under the least rate.
const HRESULT kTooSlow = HRESULT_FROM_WIN32(ERROR_INTERNET_TIMEOUT);
const HRESULT kCancelled = HRESULT_FROM_WIN32(ERROR_CANCELLED);
const HRESULT kNotAPicture = HRESULT_FROM_WIN32(ERROR_UNSUPPORTED_TYPE);
// An https address redirected to anything but https.
const HRESULT kInsecureRedirect = HRESULT_FROM_WIN32(ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR);
constexpr DWORD kSocketTimedOut = 10060; // WSAETIMEDOUT
// Deliberately the ASCII transfer flag alone, as the program has always asked: no reload or
// no-cache flag, so the system's internet cache may answer.
constexpr DWORD kRequestFlags = INTERNET_FLAG_TRANSFER_ASCII;

// A failed call that left no error code must still count as a failure.
HRESULT LastWin32Error() {
    const DWORD error = ::GetLastError();
    return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}

// The server went silent (WinINet's own code; Wine passes on the socket's), too slow, sent
// too much or a length that is no number, or the download was cancelled: the fetch failed,
// not the copy.
bool IsFetchFailure(HRESULT result) {
    return result == kBodyTooLarge || result == kBadLength || result == kTooSlow ||
           result == kCancelled || result == kNotAPicture ||
           result == HRESULT_FROM_WIN32(ERROR_INTERNET_TIMEOUT) ||
           result == HRESULT_FROM_WIN32(kSocketTimedOut);
}

// The last component of the address's path: what the "Could not copy" report names.
std::wstring RequestFileName(const std::wstring& url) {
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.dwUrlPathLength = 1;
    std::wstring path = url;
    if (net::InternetCrackUrlW(url.c_str(), 0, 0, &parts) && parts.lpszUrlPath)
        path.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    const size_t slash = path.find_last_of(L'/');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// A header of the response as text; false when the server did not send it.
bool QueryHeader(HINTERNET request, DWORD info, std::wstring* text) {
    DWORD bytes = 0;
    net::HttpQueryInfoW(request, info, nullptr, &bytes, nullptr);
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || bytes == 0 || bytes > 64 * 1024)
        return false;
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    if (!net::HttpQueryInfoW(request, info, buffer.data(), &bytes, nullptr))
        return false;
    text->assign(buffer.data(), bytes / sizeof(wchar_t));
    return true;
}

// The announced length of the body: absent is fine (the body then ends with the connection),
// but one that is no number, or a number over the limit, fails the download.
HRESULT AnnouncedLength(HINTERNET request, unsigned long long max,
                        std::optional<unsigned long long>* length) {
    std::wstring text;
    length->reset();
    if (!QueryHeader(request, HTTP_QUERY_CONTENT_LENGTH, &text))
        return S_OK;
    *length = ParseContentLength(text, max);
    if (*length)
        return S_OK;
    // All digits, only too many of them: too large, as a number within reach would be.
    const bool digits = text.find_first_of(L"0123456789") != std::wstring::npos &&
                        text.find_first_not_of(L" \t0123456789") == std::wstring::npos;
    return digits ? kBodyTooLarge : kBadLength;
}

// Where a redirect points, resolved against the address it answered; empty without one.
std::wstring RedirectTarget(HINTERNET request, const std::wstring& from) {
    std::wstring location;
    if (!QueryHeader(request, HTTP_QUERY_LOCATION, &location) || location.empty())
        return {};
    DWORD chars = 0;
    net::InternetCombineUrlW(from.c_str(), location.c_str(), nullptr, &chars, 0);
    if (chars == 0 || chars > 64 * 1024)
        return {};
    std::vector<wchar_t> buffer(chars + 1, L'\0');
    if (!net::InternetCombineUrlW(from.c_str(), location.c_str(), buffer.data(), &chars, 0))
        return {};
    return buffer.data();
}

// A validator as the server sent it, or nothing when it could not be sent back as it is
// (too long, or holding a line break or another control character).
std::wstring CleanValidator(const std::wstring& text) {
    if (text.size() > 1024)
        return {};
    for (const wchar_t c : text)
        if (c < L' ' || c == 0x7F)
            return {};
    return text;
}

// The request's If-None-Match and If-Modified-Since lines; empty without validators.
std::wstring ConditionalHeaders(const HttpValidators& ask) {
    std::wstring headers;
    if (const std::wstring etag = CleanValidator(ask.etag); !etag.empty())
        headers += L"If-None-Match: " + etag + L"\r\n";
    if (const std::wstring date = CleanValidator(ask.last_modified); !date.empty())
        headers += L"If-Modified-Since: " + date + L"\r\n";
    return headers;
}

// Whether the file begins as an XML document: what a feed's body does.
bool FileLooksLikeXml(const std::wstring& path) {
    UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    char head[512] = {};
    DWORD read = 0;
    return file && ::ReadFile(file.Get(), head, sizeof(head), &read, nullptr) &&
           LooksLikeXml(std::string_view(head, read));
}

bool IsRedirect(const std::wstring& status) {
    return status == L"301" || status == L"302" || status == L"303" || status == L"307" ||
           status == L"308";
}

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
    return ::_wcsnicmp(text.c_str(), prefix, wcslen(prefix)) == 0;
}

} // namespace

CDownload::CDownload(std::wstring url, std::wstring target, LogStream& log,
                     const DownloadLimits& limits)
    : url_(std::move(url)), target_(std::move(target)), log_(log), limits_(limits),
      get_(kReadBlock), stop_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

void CDownload::Abort(HRESULT reason) {
    HRESULT expected = S_OK;
    if (abort_reason_.compare_exchange_strong(expected, reason))
        ::SetEvent(stop_.Get()); // ends the wait of the call under way, whatever the network does
}

// The result of a step that failed: why the download was ended, when it was.
HRESULT CDownload::Failure(DWORD error) const {
    const HRESULT reason = abort_reason_;
    if (reason != S_OK)
        return reason;
    return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}

void CDownload::Watch() {
    if (started_at_ == 0)
        return; // the clock starts once the connection is being made
    const ULONGLONG now = ::GetTickCount64();
    const unsigned long long received = received_;
    if (now - started_at_ >= limits_.total_ms) {
        Abort(kTooSlow);
    } else if (now - window_start_ >= limits_.rate_window_ms) {
        if (received - window_bytes_ < limits_.min_window_bytes)
            Abort(kTooSlow);
        window_start_ = now;
        window_bytes_ = received;
    }
}

HRESULT CDownload::Run(HWND dialog, const std::function<void(const std::wstring&)>& status) {
    // The pauses are the download's as it has always run; the windows keep working meanwhile.
    status(LoadResourceString(IDS_DOWNLOAD_CONNECTING));
    if (limits_.pauses)
        PumpFor(dialog, 1000);
    started_at_ = window_start_ = ::GetTickCount64();
    InternetHandle session;
    HRESULT result = OpenSession(&session);
    if (FAILED(result))
        return result;
    status(LoadResourceString(IDS_DOWNLOAD_GETTING));
    if (limits_.pauses)
        PumpFor(dialog, 500);
    result = E_FAIL;
    RunWhilePumping(dialog, [&] { result = SendRequest(session.Get()); });
    if (FAILED(result) && abort_reason_ != S_OK)
        result = abort_reason_;
    if (result == kNotModified) {
        get_.Close();
        return result;
    }
    if (FAILED(result)) {
        ReportError(L"Could not get " + LogSafe(url_) + L"!\n",
                    L"Run Glimro and update the album to correct the problem.",
                    static_cast<DWORD>(result), log_);
        get_.Close();
        return result;
    }
    status(SavingStatusText(url_));
    PumpMessages(dialog);
    result = SaveBody(dialog);
    get_.Close();
    return result;
}

HRESULT CDownload::OpenSession(InternetHandle* session) {
    session->Reset(AsyncHttpGet::OpenSession(L"GLIMRO"));
    if (*session)
        return S_OK;
    const HRESULT result = LastWin32Error();
    ReportError(L"Could not start an internet session!\n",
                L"Please esure that your computer is configured for internet access and that it "
                L"is connected to the network.",
                static_cast<DWORD>(result), log_);
    return result;
}

// Runs off the user-interface thread. Each request is sent once; redirects are followed
// here, at most kMaxRedirects, each checked before it is sent: an https address never moves
// to plain http, so nothing of it travels in the clear. A status other than 200 or a body
// announced larger than the limit (or not as a number) fails it before anything is read.
HRESULT CDownload::SendRequest(HINTERNET session) {
    constexpr int kMaxRedirects = 5;
    std::wstring address = url_;
    std::wstring status;
    const std::wstring conditional = ConditionalHeaders(ask_);
    // A conditional request is this program's own cache at work: the system's must not
    // answer for the server.
    const DWORD flags = kRequestFlags | INTERNET_FLAG_NO_AUTO_REDIRECT |
                        (conditional.empty() ? 0 : INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE);
    for (int redirects = 0;; ++redirects) {
        DWORD error = get_.Open(session, address, flags, limits_.silence_ms);
        if (error == ERROR_SUCCESS)
            error = get_.Send(stop_.Get(), conditional);
        if (error != ERROR_SUCCESS)
            return Failure(error);
        const HINTERNET request = get_.Request();
        if (!QueryHeader(request, HTTP_QUERY_STATUS_CODE, &status) || !IsRedirect(status))
            break;
        if (redirects == kMaxRedirects)
            return HRESULT_FROM_WIN32(ERROR_HTTP_REDIRECT_FAILED);
        const std::wstring next = RedirectTarget(request, address);
        if (next.empty())
            return E_FAIL;
        if (StartsWith(address, L"https://") && !StartsWith(next, L"https://"))
            return kInsecureRedirect;
        address = next;
    }
    if (status == L"304" && !conditional.empty())
        return kNotModified;
    if (status != L"200")
        return E_FAIL;
    std::wstring validator;
    if (QueryHeader(get_.Request(), HTTP_QUERY_ETAG, &validator))
        answer_.etag = CleanValidator(validator);
    if (QueryHeader(get_.Request(), HTTP_QUERY_LAST_MODIFIED, &validator))
        answer_.last_modified = CleanValidator(validator);
    std::optional<unsigned long long> announced;
    return AnnouncedLength(get_.Request(), limits_.max_body, &announced);
}

// The body goes to a file beside the target first (written by a worker thread while this one
// pumps), and replaces the target only once all of it has arrived: a failed, cut-off or
// over-long download leaves the target as it was.
HRESULT CDownload::SaveBody(HWND dialog) {
    HRESULT result = S_OK;
    // One fixed name, which the uninstaller removes by name; one download runs at a time.
    const std::wstring temp = target_ + kPartialSuffix;
    {
        UniqueHandle file(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            result = LastWin32Error();
        else
            RunWhilePumping(dialog, [&] { result = CopyBody(file.Get()); });
    }
    if (FAILED(result) && abort_reason_ != S_OK)
        result = abort_reason_;
    // A body that is no picture, or claims a giant one, never becomes the target.
    if (SUCCEEDED(result) && limits_.pictures_only && CheckPicture(temp) != StagingProblem::None)
        result = limits_.feeds_too && received_ <= kMaxFeedBytes && FileLooksLikeXml(temp)
                     ? kGotFeed
                     : kNotAPicture;
    if (SUCCEEDED(result)) {
        if (const HRESULT committed = CommitFile(temp, target_); FAILED(committed))
            result = committed;
    } else
        ::DeleteFileW(temp.c_str());

    if (IsFetchFailure(result))
        ReportError(L"Could not get " + LogSafe(url_) + L"!\n",
                    L"Run Glimro and update the album to correct the problem.",
                    static_cast<DWORD>(result), log_);
    else if (FAILED(result))
        ReportError(L"Could not copy " + LogSafe(RequestFileName(url_)) + L" to " +
                        LogSafe(target_) + L"!\n",
                    L"Please correct the problem before trying again.", static_cast<DWORD>(result),
                    log_);
    return result;
}

// Runs off the user-interface thread: the body in whole blocks into the file. Each read
// returns as soon as its block is full, the body ends, or the download is ended: a
// trickling server holds no read past Cancel or a deadline.
HRESULT CDownload::CopyBody(HANDLE file) {
    unsigned long long received = 0;
    for (;;) {
        const char* data = nullptr;
        DWORD read = 0;
        if (const DWORD error = get_.Read(stop_.Get(), &data, &read); error != ERROR_SUCCESS)
            return Failure(error);
        if (read == 0)
            break;
        received += read;
        received_ = received;
        if (received > limits_.max_body)
            return kBodyTooLarge;
        DWORD written = 0;
        if (!::WriteFile(file, data, read, &written, nullptr) || written != read)
            return LastWin32Error();
    }
    std::optional<unsigned long long> announced;
    if (const HRESULT length = AnnouncedLength(get_.Request(), limits_.max_body, &announced);
        FAILED(length))
        return length;
    if (announced && received != *announced)
        return received < *announced ? HRESULT_FROM_WIN32(ERROR_HANDLE_EOF) // cut off
                                     : kBadLength;
    return S_OK;
}

} // namespace glimro
