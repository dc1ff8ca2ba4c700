#include "ui/daily_dialog.h"

#include "engine/daily_sources.h"
#include "platform/window.h"

#include "resource.h"

namespace glimro {

CDailyDialog::CDailyDialog() : CSimpleDialog(::GetModuleHandleW(nullptr), IDD_DAILY) {}

INT_PTR CDailyDialog::OnInitDialog(HWND window) {
    CSimpleDialog::OnInitDialog(window);
    const HWND list = ::GetDlgItem(window, IDC_DAILY_LIST);
    size_t count = 0;
    const DailySourceRow* rows = DailySources(&count);
    for (size_t i = 0; i < count; ++i) {
        const std::wstring title = LoadResourceString(rows[i].title);
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.c_str()));
    }
    ::SendMessageW(list, LB_SETCURSEL, 0, 0);
    ShowAbout();
    ::SetFocus(list);
    return FALSE; // the focus is set
}

int CDailyDialog::Selected() const {
    const LRESULT selected = ::SendDlgItemMessageW(Handle(), IDC_DAILY_LIST, LB_GETCURSEL, 0, 0);
    size_t count = 0;
    DailySources(&count);
    return selected >= 0 && static_cast<size_t>(selected) < count ? static_cast<int>(selected) : -1;
}

void CDailyDialog::ShowAbout() {
    size_t count = 0;
    const DailySourceRow* rows = DailySources(&count);
    const int selected = Selected();
    const std::wstring about = selected < 0 ? std::wstring() : LoadResourceString(rows[selected].about);
    ::SetDlgItemTextW(Handle(), IDC_DAILY_ABOUT, about.c_str());
    ::EnableWindow(::GetDlgItem(Handle(), IDOK), selected >= 0);
}

INT_PTR CDailyDialog::OnCommand(WPARAM wparam, LPARAM lparam) {
    if (LOWORD(wparam) == IDC_DAILY_LIST) {
        if (HIWORD(wparam) == LBN_SELCHANGE)
            ShowAbout();
        if (HIWORD(wparam) != LBN_DBLCLK || Selected() < 0)
            return TRUE;
        wparam = IDOK;
    }
    if (LOWORD(wparam) == IDOK) {
        const int selected = Selected();
        if (selected < 0)
            return TRUE;
        size_t count = 0;
        Chosen = DailyEntry(DailySources(&count)[selected]);
    }
    return CSimpleDialog::OnCommand(wparam, lparam);
}

} // namespace glimro
