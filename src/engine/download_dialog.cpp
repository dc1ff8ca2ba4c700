#include "engine/download_dialog.h"

#include "platform/command_ids.h"
#include "platform/window.h"
#include "resource.h"
#include "platform/dialog_fit.h"
#include "platform/ui_language.h"

namespace glimro {
namespace {

constexpr unsigned kStartDownload = kCommand2112;
constexpr unsigned kSetStatusText = kCommand3113;
constexpr UINT_PTR kWatchTimer = 1;
// The dialog's title in the windows' language, as its template gives it.
std::wstring DownloadCaption() {
    DWORD size = 0;
    const auto* bytes = reinterpret_cast<const BYTE*>(FindDialogTemplate(IDD_DOWNLOAD, &size));
    DialogLayout layout;
    return bytes && ReadDialogLayout(bytes, size, &layout) ? layout.title : std::wstring();
}

BOOL CALLBACK CancelIfDownloadDialog(HWND window, LPARAM) {
    wchar_t caption[64] = {};
    ::GetWindowTextW(window, caption, 64);
    if (std::wstring(caption) == DownloadCaption() && ::GetDlgItem(window, IDC_DOWNLOAD_STATUS))
        ::SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

} // namespace

void CancelDownload() {
    ::EnumThreadWindows(::GetCurrentThreadId(), &CancelIfDownloadDialog, 0);
}

CDownloadDialog::CDownloadDialog(CDownload& download, HINSTANCE instance)
    : CSimpleDialog(instance, IDD_DOWNLOAD), download_(download) {}

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
        // Esc and the close box end the download now.
        download_.Abort(HRESULT_FROM_WIN32(ERROR_CANCELLED));
        return 1;
    case kSetStatusText:
        // The text is the dialog's own: a message from elsewhere can only repaint it.
        ::SetDlgItemTextW(Handle(), IDC_DOWNLOAD_STATUS, status_.c_str());
        return 1;
    case kStartDownload:
        // Once: a second start (posted by anyone) would nest another download.
        if (started_)
            return 1;
        started_ = true;
        RunDownload();
        return 1;
    default:
        break;
    }
    return CSimpleDialog::OnCommand(wparam, lparam);
}

void CDownloadDialog::ShowStatus(const std::wstring& text) {
    status_ = text;
    ::PostMessageW(Handle(), WM_COMMAND, kSetStatusText, 0);
    PumpMessages(Handle());
}

INT_PTR CDownloadDialog::OnTimer(WPARAM wparam, LPARAM) {
    if (wparam == kWatchTimer)
        download_.Watch();
    return 1;
}

void CDownloadDialog::RunDownload() {
    const HWND dialog = Handle();
    ::SetTimer(dialog, kWatchTimer, CDownload::kWatchPeriod, nullptr);
    result_ = download_.Run(dialog, [this](const std::wstring& text) { ShowStatus(text); });
    ::KillTimer(dialog, kWatchTimer);
    End(FAILED(result_) ? IDCANCEL : IDOK);
}

} // namespace glimro
