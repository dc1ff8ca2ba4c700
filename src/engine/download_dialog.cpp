#include "engine/download_dialog.h"

#include "engine/image_staging.h"
#include "engine/internet_fetch.h"
#include "platform/handle.h"
#include "platform/module.h"
#include "platform/window.h"
#include "resource.h"
#include "platform/command_ids.h"

#include <cstdlib>

namespace glimro {
namespace {

constexpr unsigned kStartDownload = kCommand2112;
constexpr unsigned kSetStatusText = kCommand3113;
constexpr DWORD kReadChunk = 2048;
constexpr DWORD_PTR kRequestContext = 2;
// Deliberately the ASCII transfer flag alone, as the program has always asked: no reload or
// no-cache flag, so the system's internet cache may answer.
constexpr DWORD kRequestFlags = INTERNET_FLAG_TRANSFER_ASCII;

// A failed call that left no error code must still count as a failure.
HRESULT LastWin32Error() {
    const DWORD error = ::GetLastError();
    return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
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

CDownloadDialog::CDownloadDialog(const std::wstring& url, HINSTANCE instance, LogStream& log)
    : CSimpleDialog(instance, IDD_DOWNLOAD), log_(log), url_(url) {}

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
        InternetHandle request;
        result = OpenRequest(session.Get(), &request);
        if (SUCCEEDED(result)) {
            PostStatus(SavingStatusText(url_));
            PumpMessages(dialog);
            result = SaveLocalCopy(request.Get(), GetLocalWallpaperPath());
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

HRESULT CDownloadDialog::OpenRequest(HINTERNET session, InternetHandle* request) {
    const HWND dialog = Handle();
    PumpMessages(dialog);
    PostStatus(L"Getting internet image file...");
    PumpMessages(dialog);
    ::Sleep(500);

    HRESULT result = S_OK;
    request->Reset(
        ::InternetOpenUrlW(session, url_.c_str(), nullptr, 0, kRequestFlags, kRequestContext));
    PumpMessages(dialog);
    if (!*request)
        result = LastWin32Error();
    // The request was already sent by opening the address; sending it again is what the
    // program has always done, and it fetches the body afresh.
    if (SUCCEEDED(result) && !::HttpSendRequestW(request->Get(), nullptr, 0, nullptr, 0))
        result = LastWin32Error();
    if (SUCCEEDED(result))
        PumpMessages(dialog);
    if (SUCCEEDED(result) && QueryNumber(request->Get(), HTTP_QUERY_STATUS_CODE) != 200)
        result = E_FAIL;
    if (FAILED(result)) {
        ReportError(L"Could not get " + url_ + L"!\n",
                    L"Run Glimro and update the album to correct the problem.",
                    static_cast<DWORD>(result), log_);
        failed_ = true;
    }
    return result;
}

// The body goes to a temporary file beside the executable first, and replaces the local
// wallpaper file only once all of it has arrived: a failed or cut-off download leaves the
// current wallpaper file as it was.
HRESULT CDownloadDialog::SaveLocalCopy(HINTERNET request, const std::wstring& local_path) {
    HRESULT result = S_OK;
    wchar_t temp_path[MAX_PATH] = {};
    std::wstring folder = FolderOf(local_path);
    if (!::GetTempFileNameW(folder.empty() ? L"." : folder.c_str(), L"pod", 0, temp_path))
        result = LastWin32Error();

    if (SUCCEEDED(result)) {
        UniqueHandle file(::CreateFileW(temp_path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            result = LastWin32Error();
        long long received = 0;
        char chunk[kReadChunk];
        while (SUCCEEDED(result)) {
            DWORD read = 0;
            if (!::InternetReadFile(request, chunk, kReadChunk, &read)) {
                result = LastWin32Error();
                break;
            }
            if (read == 0)
                break;
            DWORD written = 0;
            if (!::WriteFile(file.Get(), chunk, read, &written, nullptr) || written != read)
                result = LastWin32Error();
            received += read;
        }
        const long long announced = QueryNumber(request, HTTP_QUERY_CONTENT_LENGTH);
        if (SUCCEEDED(result) && announced >= 0 && received != announced)
            result = HRESULT_FROM_WIN32(ERROR_HANDLE_EOF); // the body was cut off
        file.Reset();
        if (SUCCEEDED(result) &&
            !::MoveFileExW(temp_path, local_path.c_str(), MOVEFILE_REPLACE_EXISTING))
            result = LastWin32Error();
        if (FAILED(result))
            ::DeleteFileW(temp_path);
    }

    if (FAILED(result))
        ReportError(L"Could not copy " + RequestFileName(url_) + L" to " + local_path + L"!\n",
                    L"Please correct the problem before trying again.", static_cast<DWORD>(result),
                    log_);
    return result;
}

} // namespace glimro
