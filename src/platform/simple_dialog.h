#pragma once
// A small wrapper of the raw dialog-box API: one shared dialog procedure that reaches the
// object as every window of ours does (window_object.h), virtual handlers, modal and
// modeless runs.
#include <windows.h>

#include <vector>

namespace glimro {

// Where a dialog of size w x h goes to be centred over its parent's rectangle (or on the
// screen without a parent), kept clear of the taskbar at the screen's bottom.
POINT CenteredDialogPosition(SIZE dialog, const RECT* parent, SIZE screen, int taskbar_height);

class CSimpleDialog {
public:
    CSimpleDialog(HINSTANCE instance, WORD template_id)
        : instance_(instance), template_id_(template_id) {}
    virtual ~CSimpleDialog();
    CSimpleDialog(const CSimpleDialog&) = delete;
    CSimpleDialog& operator=(const CSimpleDialog&) = delete;

    // DialogBoxParamW's result: the code given to End, or -1 when the dialog cannot be run.
    INT_PTR DoModal(HWND parent, bool centre);
    // A modeless run; refused (0) while one exists.
    int Create(HWND parent);
    int End(INT_PTR code);
    void Show(int show_command);
    int ShowItem(int control_id, int show_command);
    void BringToTop();
    void CenterOver(HWND parent);

    HWND Handle() const { return window_; }

protected:
    // Return values are the dialog procedure's results; 0 means not handled.
    virtual INT_PTR OnCommand(WPARAM wparam, LPARAM lparam);
    virtual INT_PTR OnInitDialog(HWND window);
    virtual INT_PTR OnTimer(WPARAM, LPARAM) { return 1; }
    virtual INT_PTR OnDestroy(WPARAM, LPARAM) { return 0; }

    bool centre_ = false;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    HWND window_ = nullptr;
    HINSTANCE instance_;
    WORD template_id_;
    std::vector<BYTE> template_; // laid out for its language when it is run
    bool modeless_ = false;
};

} // namespace glimro
