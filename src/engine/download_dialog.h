#pragma once
// The modal "Glimro - Downloading Image" dialog. The download runs inside it, on the
// user-interface thread, pumping messages between steps so that the status line repaints.
#include "engine/internet_fetch.h"
#include "platform/internet.h"
#include "platform/simple_dialog.h"
#include "log/activity_log.h"

#include <string>

namespace glimro {

// A download goes to the local wallpaper file's name with this added, and is renamed over
// it once complete.
inline constexpr wchar_t kPartialSuffix[] = L".part";

class CDownloadDialog : public CSimpleDialog {
public:
    CDownloadDialog(const std::wstring& url, HINSTANCE instance, LogStream& log,
                    const DownloadLimits& limits = DownloadLimits());

    HRESULT Result() const { return result_; }

protected:
    INT_PTR OnCommand(WPARAM wparam, LPARAM lparam) override;
    INT_PTR OnInitDialog(HWND window) override;

private:
    void RunDownload();
    HRESULT OpenSession(InternetHandle* session);
    HRESULT OpenRequest(HINTERNET session, HttpGet* get);
    HRESULT SendRequest(HINTERNET session, HttpGet* get) const;
    HRESULT SaveLocalCopy(HINTERNET request, const std::wstring& local_path);
    HRESULT CopyBody(HINTERNET request, HANDLE file) const;
    void PostStatus(const std::wstring& text);

    HRESULT result_ = E_FAIL;
    bool failed_ = false;
    LogStream& log_;
    std::wstring url_;
    DownloadLimits limits_;
    std::wstring status_; // alive until the next pump has shown it
};

} // namespace glimro
