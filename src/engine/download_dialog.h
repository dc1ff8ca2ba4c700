#pragma once
// The modal "Glimro - Downloading Image" dialog. The download runs inside it, its blocking
// calls on a worker thread while the dialog pumps messages. Every download ends: a total
// deadline and a least rate besides the silence limit, and Cancel (Esc, the close box, a
// quit of the instance) closes the request so that a read under way returns at once.
#include "engine/internet_fetch.h"
#include "platform/internet.h"
#include "platform/simple_dialog.h"
#include "log/activity_log.h"

#include <atomic>
#include <mutex>
#include <string>

namespace glimro {

// A download goes to the local wallpaper file's name with this added, and is renamed over
// it once complete.
inline constexpr wchar_t kPartialSuffix[] = L".part";

class CDownloadDialog : public CSimpleDialog {
public:
    CDownloadDialog(const std::wstring& url, HINSTANCE instance, LogStream& log,
                    const DownloadLimits& limits = DownloadLimits());

    ~CDownloadDialog() override;

    HRESULT Result() const { return result_; }
    // Ends the download under way with this result; any thread.
    void Abort(HRESULT reason);

protected:
    INT_PTR OnCommand(WPARAM wparam, LPARAM lparam) override;
    INT_PTR OnInitDialog(HWND window) override;
    INT_PTR OnTimer(WPARAM wparam, LPARAM lparam) override;

private:
    void RunDownload();
    HRESULT OpenSession(InternetHandle* session);
    HRESULT OpenRequest(HINTERNET session, HttpGet* get);
    HRESULT SendRequest(HINTERNET session, HttpGet* get);
    HRESULT SaveLocalCopy(HINTERNET request, const std::wstring& local_path);
    HRESULT CopyBody(HINTERNET request, HANDLE file);
    void ShowStatus(const std::wstring& text);
    // The request the worker uses, so that Abort can close it; false when already aborted
    // (the request is then closed here).
    bool Track(HINTERNET request);
    // The worker is done with the request: closes it unless Abort already has.
    void Untrack(HttpGet* get);

    HRESULT result_ = E_FAIL;
    bool failed_ = false;
    bool started_ = false;
    LogStream& log_;
    std::wstring url_;
    DownloadLimits limits_;
    std::wstring status_; // the status line's text: the dialog reads it, no message carries it

    std::mutex mutex_; // guards request_ and abort_reason_ between the threads
    HINTERNET request_ = nullptr;
    std::atomic<HRESULT> abort_reason_{S_OK};
    std::atomic<unsigned long long> received_{0};
    ULONGLONG started_at_ = 0;
    ULONGLONG window_start_ = 0;         // the present rate window
    unsigned long long window_bytes_ = 0; // received_ when it began
};

// Ends the download under way in this process, if any (a quit of the instance).
void CancelDownload();

} // namespace glimro
