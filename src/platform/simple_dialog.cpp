#include "platform/simple_dialog.h"

#include "platform/screen.h"
#include "platform/dialog_fit.h"
#include "platform/window_object.h"

namespace glimro {

POINT CenteredDialogPosition(SIZE dialog, const RECT* parent, SIZE screen, int taskbar_height) {
    POINT at;
    if (!parent) {
        // Arithmetic shifts and the 8-pixel grid are how this dialog has always been placed.
        at.x = (((screen.cx - dialog.cx) >> 1) + 4) & ~7;
        at.y = (screen.cy - dialog.cy) >> 1;
        return at;
    }
    at.x = parent->left + (parent->right - parent->left - dialog.cx) / 2;
    at.y = parent->top + (parent->bottom - parent->top - dialog.cy) / 2;
    if (at.x < 0)
        at.x = 0;
    if (at.y < 0)
        at.y = 0;
    if (at.x > screen.cx - dialog.cx)
        at.x = screen.cx - dialog.cx;
    if (at.y > screen.cy - taskbar_height - dialog.cy)
        at.y = screen.cy - taskbar_height - dialog.cy;
    return at;
}

CSimpleDialog::~CSimpleDialog() {
    if (modeless_ && ::IsWindow(window_))
        ::DestroyWindow(window_);
}

INT_PTR CSimpleDialog::DoModal(HWND parent, bool centre) {
    centre_ = centre;
    template_ = FittedDialogTemplate(template_id_);
    if (template_.empty())
        return -1;
    return ::DialogBoxIndirectParamW(instance_, reinterpret_cast<const DLGTEMPLATE*>(template_.data()), parent,
                                     DialogProc, reinterpret_cast<LPARAM>(this));
}

int CSimpleDialog::Create(HWND parent) {
    if (modeless_)
        return 0;
    template_ = FittedDialogTemplate(template_id_);
    if (template_.empty())
        return 0;
    HWND window = ::CreateDialogIndirectParamW(instance_, reinterpret_cast<const DLGTEMPLATE*>(template_.data()),
                                               parent, DialogProc, reinterpret_cast<LPARAM>(this));
    if (!window)
        return 0;
    window_ = window;
    modeless_ = true;
    return 1;
}

int CSimpleDialog::End(INT_PTR code) {
    if (!::IsWindow(window_))
        return 0;
    if (modeless_) {
        ::DestroyWindow(window_);
        modeless_ = false;
    } else {
        ::EndDialog(window_, code);
    }
    window_ = nullptr;
    return 1;
}

void CSimpleDialog::Show(int show_command) {
    if (::IsWindow(window_))
        ::ShowWindow(window_, show_command);
}

int CSimpleDialog::ShowItem(int control_id, int show_command) {
    if (!::IsWindow(window_))
        return -1;
    return ::ShowWindow(::GetDlgItem(window_, control_id), show_command);
}

void CSimpleDialog::BringToTop() {
    if (::IsWindow(window_))
        ::BringWindowToTop(window_);
}

void CSimpleDialog::CenterOver(HWND parent) {
    RECT own;
    ::GetWindowRect(window_, &own);
    const SIZE dialog{own.right - own.left, own.bottom - own.top};
    const SIZE screen = PrimaryScreenSize();
    POINT at;
    if (!parent || !::IsWindow(parent)) {
        at = CenteredDialogPosition(dialog, nullptr, screen, 0);
    } else {
        RECT work;
        int taskbar = 0;
        if (::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
            taskbar = screen.cy - (work.bottom - work.top);
        RECT parent_rect;
        ::GetWindowRect(parent, &parent_rect);
        at = CenteredDialogPosition(dialog, &parent_rect, screen, taskbar);
    }
    ::MoveWindow(window_, at.x, at.y, dialog.cx, dialog.cy, FALSE);
}

INT_PTR CSimpleDialog::OnCommand(WPARAM wparam, LPARAM) {
    const WORD command = LOWORD(wparam);
    if (command == IDOK || command == IDCANCEL) {
        End(command);
        return 1;
    }
    return 0;
}

INT_PTR CSimpleDialog::OnInitDialog(HWND window) {
    if (!::IsWindow(window))
        return 0;
    window_ = window;
    if (centre_)
        CenterOver(::GetParent(window));
    return 1;
}

INT_PTR CALLBACK CSimpleDialog::DialogProc(HWND window, UINT message, WPARAM wparam,
                                           LPARAM lparam) {
    auto* dialog = WindowObject<CSimpleDialog>(
        window, message,
        message == WM_INITDIALOG ? reinterpret_cast<CSimpleDialog*>(lparam) : nullptr);
    if (!dialog)
        return 0;
    switch (message) {
    case WM_INITDIALOG:
        return dialog->OnInitDialog(window);
    case WM_COMMAND:
        return dialog->OnCommand(wparam, lparam);
    case WM_TIMER:
        return dialog->OnTimer(wparam, lparam);
    case WM_DESTROY:
        return dialog->OnDestroy(wparam, lparam);
    case WM_NCDESTROY:
        if (dialog->window_ == window) {
            dialog->window_ = nullptr;
            dialog->modeless_ = false;
        }
        return 0;
    default:
        return 0;
    }
}

} // namespace glimro
