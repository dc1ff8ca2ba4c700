#pragma once
// The modal "Glimro - Downloading Image" dialog: the view of a download. It runs the download
// once it shows, shows its steps in the status line, watches its deadlines, and Cancel (Esc,
// the close box, a quit of the instance) ends it at once.
#include "engine/download.h"
#include "platform/simple_dialog.h"

#include <string>

namespace glimro {

class CDownloadDialog : public CSimpleDialog {
public:
    CDownloadDialog(CDownload& download, HINSTANCE instance);

    // The download's result; E_FAIL when it never ran.
    HRESULT Result() const { return result_; }

protected:
    INT_PTR OnCommand(WPARAM wparam, LPARAM lparam) override;
    INT_PTR OnInitDialog(HWND window) override;
    INT_PTR OnTimer(WPARAM wparam, LPARAM lparam) override;

private:
    void RunDownload();
    void ShowStatus(const std::wstring& text);

    CDownload& download_;
    HRESULT result_ = E_FAIL;
    bool started_ = false;
    std::wstring status_; // the status line's text: the dialog reads it, no message carries it
};

// Ends the download under way on this thread, if any (a quit of the instance): its dialog is
// told Cancel.
void CancelDownload();

} // namespace glimro
