#include "engine/download_dialog.h"

#include "engine/image_staging.h"
#include "engine/internet_fetch.h"
#include "platform/handle.h"
#include "platform/module.h"
#include "platform/window.h"
#include "resource.h"
#include "platform/command_ids.h"

#include <cstdlib>
#include <vector>

namespace glimro {
namespace {

constexpr unsigned kStartDownload = kCommand2112;
constexpr unsigned kSetStatusText = kCommand3113;
constexpr DWORD kReadBlock = 256 * 1024;
constexpr DWORD_PTR kRequestContext = 2;
// A body, announced or received, larger than the limit.
const HRESULT kBodyTooLarge = HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE);
constexpr DWORD kSocketTimedOut = 10060; // WSAETIMEDOUT
// Deliberately the ASCII transfer flag alone, as the program has always asked: no reload or
// no-cache flag, so the system's internet cache may answer.
constexpr DWORD kRequestFlags = INTERNET_FLAG_TRANSFER_ASCII;

// A failed call that left no error code must still count as a failure.
HRESULT LastWin32Error() {
    const DWORD error = ::GetLastError();
    return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}

// The server went silent (WinINet's own code; Wine passes on the socket's) or sent too much:
// the fetch failed, not the copy.
bool IsFetchFailure(HRESULT result) {
    return result == kBodyTooLarge || result == HRESULT_FROM_WIN32(ERROR_INTERNET_TIMEOUT) ||
           result == HRESULT_FROM_WIN32(kSocketTimedOut);
}

// The last component of the address's path: what the "Could not copy" report names.
std::wstring RequestFileName(const std::wstring& url) {
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.dwUrlPathLength = 1;
    std::wstring path = url;
    if (::InternetCrackUrlW(url.c_str(), 0, 0, &parts) && parts.lpszUrlPath)
        path.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    const size_t slash = path.find_last_of(L'/');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// A numeric header of the response (read as text into an 80-byte buffer), or -1 when the
// server did not give it.
long long QueryNumber(HINTERNET request, DWORD info) {
    wchar_t text[40] = {};
    DWORD bytes = sizeof(text);
    if (!::HttpQueryInfoW(request, info, text, &bytes, nullptr))
        return -1;
    return std::wcstoll(text, nullptr, 10);
}

} // namespace

CDownloadDialog::CDownloadDialog(const std::wstring& url, HINSTANCE instance, LogStream& log,
                                 const DownloadLimits& limits)
    : CSimpleDialog(instance, IDD_DOWNLOAD), log_(log), url_(url), limits_(limits) {}

INT_PTR CDownloadDialog::OnInitDialog(HWND window) {
    centre_ = true;
    INT_PTR result = CSimpleDialog::OnInitDialog(window);
    if (::IsWindow(Handle()))
        ::PostMessageW(Handle(), WM_COMMAND, kStartDownload, 0);
    return result;
}

INT_PTR CDownloadDialog::OnCommand(WPARAM wparam, LPARAM lparam) {
    if (!::IsWindow(Handle()))
        return 0;
    switch (LOWORD(wparam)) {
    case IDCANCEL:
        // Esc and the close box only mark the download failed; it runs to its end.
        failed_ = true;
        return 1;
    case kSetStatusText:
        ::SendDlgItemMessageW(Handle(), IDC_DOWNLOAD_STATUS, WM_SETTEXT, 0, lparam);
        return 1;
    case kStartDownload:
        RunDownload();
        break;
    default:
        break;
    }
    return CSimpleDialog::OnCommand(wparam, lparam);
}

void CDownloadDialog::PostStatus(const std::wstring& text) {
    status_ = text;
    ::PostMessageW(Handle(), WM_COMMAND, kSetStatusText, reinterpret_cast<LPARAM>(status_.c_str()));
}

void CDownloadDialog::RunDownload() {
    const HWND dialog = Handle();
    PostStatus(L"Establishing internet connection...");
    PumpMessages(dialog);
    ::Sleep(1000);

    InternetHandle session;
    HRESULT result = OpenSession(&session);
    if (SUCCEEDED(result)) {
        HttpGet get;
        result = OpenRequest(session.Get(), &get);
        if (SUCCEEDED(result)) {
            PostStatus(SavingStatusText(url_));
            PumpMessages(dialog);
            result = SaveLocalCopy(get.request.Get(), GetLocalWallpaperPath());
            if (FAILED(result))
                failed_ = true;
            PumpMessages(dialog);
        }
    }
    result_ = result;
    End(failed_ ? IDCANCEL : IDOK);
    failed_ = false;
}

HRESULT CDownloadDialog::OpenSession(InternetHandle* session) {
    session->Reset(::InternetOpenW(L"GLIMRO", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (*session)
        return S_OK;
    const HRESULT result = LastWin32Error();
    ReportError(L"Could not start an internet session!\n",
                L"Please esure that your computer is configured for internet access and that it "
                L"is connected to the network.",
                static_cast<DWORD>(result), log_);
    failed_ = true;
    return result;
}

HRESULT CDownloadDialog::OpenRequest(HINTERNET session, HttpGet* get) {
    const HWND dialog = Handle();
    PumpMessages(dialog);
    PostStatus(L"Getting internet image file...");
    PumpMessages(dialog);
    ::Sleep(500);

    HRESULT result = E_FAIL;
    RunWhilePumping(dialog, [&] { result = SendRequest(session, get); });
    if (FAILED(result)) {
        ReportError(L"Could not get " + LogSafe(url_) + L"!\n",
                    L"Run Glimro and update the album to correct the problem.",
                    static_cast<DWORD>(result), log_);
        failed_ = true;
    }
    return result;
}

// Runs off the user-interface thread. The request is sent once; a status other than 200,
// or a body announced larger than the limit, fails it before anything is read.
HRESULT CDownloadDialog::SendRequest(HINTERNET session, HttpGet* get) const {
    const DWORD error =
        OpenHttpGet(session, url_, kRequestFlags, kRequestContext, limits_.silence_ms, get);
    if (error != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(error);
    if (!::HttpSendRequestW(get->request.Get(), nullptr, 0, nullptr, 0))
        return LastWin32Error();
    if (QueryNumber(get->request.Get(), HTTP_QUERY_STATUS_CODE) != 200)
        return E_FAIL;
    const long long announced = QueryNumber(get->request.Get(), HTTP_QUERY_CONTENT_LENGTH);
    if (announced > 0 && static_cast<unsigned long long>(announced) > limits_.max_body)
        return kBodyTooLarge;
    return S_OK;
}

// The body goes to a temporary file beside the executable first, and replaces the local
// wallpaper file only once all of it has arrived: a failed, cut-off or over-long download
// leaves the current wallpaper file as it was.
HRESULT CDownloadDialog::SaveLocalCopy(HINTERNET request, const std::wstring& local_path) {
    HRESULT result = S_OK;
    // One fixed name, which the uninstaller removes by name; one download runs at a time.
    const std::wstring temp = local_path + kPartialSuffix;
    const wchar_t* temp_path = temp.c_str();
    {
        UniqueHandle file(::CreateFileW(temp_path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            result = LastWin32Error();
        else
            RunWhilePumping(Handle(), [&] { result = CopyBody(request, file.Get()); });
        file.Reset();
        if (SUCCEEDED(result) &&
            !::MoveFileExW(temp_path, local_path.c_str(), MOVEFILE_REPLACE_EXISTING))
            result = LastWin32Error();
        if (FAILED(result))
            ::DeleteFileW(temp_path);
    }

    if (IsFetchFailure(result))
        ReportError(L"Could not get " + LogSafe(url_) + L"!\n",
                    L"Run Glimro and update the album to correct the problem.",
                    static_cast<DWORD>(result), log_);
    else if (FAILED(result))
        ReportError(L"Could not copy " + LogSafe(RequestFileName(url_)) + L" to " + LogSafe(local_path) +
                        L"!\n",
                    L"Please correct the problem before trying again.", static_cast<DWORD>(result),
                    log_);
    return result;
}

// Runs off the user-interface thread: reads the body in large blocks into the file.
HRESULT CDownloadDialog::CopyBody(HINTERNET request, HANDLE file) const {
    std::vector<char> block(kReadBlock);
    unsigned long long received = 0;
    for (;;) {
        DWORD read = 0;
        if (!::InternetReadFile(request, block.data(), kReadBlock, &read))
            return LastWin32Error();
        if (read == 0)
            break;
        received += read;
        if (received > limits_.max_body)
            return kBodyTooLarge;
        DWORD written = 0;
        if (!::WriteFile(file, block.data(), read, &written, nullptr) || written != read)
            return LastWin32Error();
    }
    const long long announced = QueryNumber(request, HTTP_QUERY_CONTENT_LENGTH);
    if (announced >= 0 && received != static_cast<unsigned long long>(announced))
        return HRESULT_FROM_WIN32(ERROR_HANDLE_EOF); // the body was cut off
    return S_OK;
}

} // namespace glimro
