#pragma once
// One download of an http:// or https:// address into a file. The object owns its request
// (asynchronous: setting its stop event ends any wait under way), the limits, the https rule, the rate window
// and the write, flush and replace of the file; its blocking calls run on a worker thread
// while the calling thread pumps its messages. A dialog only shows its progress.
#include "engine/internet_fetch.h"
#include "log/activity_log.h"
#include "platform/internet.h"

#include <atomic>
#include <functional>
#include <string>

namespace glimro {

// A download goes to the target's name with this added, and is moved over it once complete.
inline constexpr wchar_t kPartialSuffix[] = L".part";

class CDownload {
public:
    CDownload(std::wstring url, std::wstring target, LogStream& log,
              const DownloadLimits& limits = DownloadLimits());
    CDownload(const CDownload&) = delete;
    CDownload& operator=(const CDownload&) = delete;

    // Runs the download, pumping the thread's messages (those of dialog through its keyboard
    // handling) while it waits; each step's text goes to status. 0 or more when the target
    // holds the body; every failure is reported to the log once.
    HRESULT Run(HWND dialog, const std::function<void(const std::wstring&)>& status);
    // Makes the request conditional on these (kNotModified when the server answers 304).
    void Ask(const HttpValidators& validators) { ask_ = validators; }
    // The validators of the response, once it came.
    const HttpValidators& Answer() const { return answer_; }
    // Ends the download under way with this result; any thread.
    void Abort(HRESULT reason);
    // Looks at the deadlines: past the total, or under the least rate over a window, the
    // download is ended. Called every so often while it runs (on the thread that runs it).
    void Watch();

    static constexpr DWORD kWatchPeriod = 250;

private:
    HRESULT OpenSession(InternetHandle* session);
    HRESULT SendRequest(HINTERNET session);
    HRESULT SaveBody(HWND dialog);
    HRESULT CopyBody(HANDLE file);
    HRESULT Failure(DWORD error) const;

    std::wstring url_;
    std::wstring target_;
    LogStream& log_;
    DownloadLimits limits_;
    HttpValidators ask_;
    HttpValidators answer_;

    AsyncHttpGet get_; // used by one thread at a time: the worker while it runs
    UniqueHandle stop_; // set by Abort
    std::atomic<HRESULT> abort_reason_{S_OK};
    std::atomic<unsigned long long> received_{0};
    ULONGLONG started_at_ = 0;
    ULONGLONG window_start_ = 0;          // the present rate window
    unsigned long long window_bytes_ = 0; // received_ when it began
};

} // namespace glimro
