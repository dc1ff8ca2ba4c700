#include "ui/skipped_dialog.h"

#include "resource.h"

#include <commctrl.h>

#include <algorithm>

namespace glimro {

CSkippedDialog::CSkippedDialog(std::vector<std::wstring>& skipped)
    : CSimpleDialog(::GetModuleHandleW(nullptr), IDD_SKIPPED), skipped_(skipped) {}

INT_PTR CSkippedDialog::OnInitDialog(HWND window) {
    CSimpleDialog::OnInitDialog(window);
    const HWND list = ::GetDlgItem(window, IDC_SKIPPED_LIST);
    RECT inside = {};
    ::GetClientRect(list, &inside);
    LVCOLUMNW column = {};
    column.mask = LVCF_WIDTH;
    column.cx = inside.right - ::GetSystemMetrics(SM_CXVSCROLL);
    ::SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    Fill();
    return TRUE;
}

void CSkippedDialog::Fill() {
    const HWND list = ::GetDlgItem(Handle(), IDC_SKIPPED_LIST);
    ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    // Newest first: the picture just skipped is the one looked for.
    for (size_t i = 0; i < skipped_.size(); ++i) {
        std::wstring text = skipped_[skipped_.size() - 1 - i];
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = static_cast<int>(i);
        item.pszText = text.data();
        item.lParam = static_cast<LPARAM>(skipped_.size() - 1 - i);
        ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    const bool any = !skipped_.empty();
    ::EnableWindow(::GetDlgItem(Handle(), IDC_SKIPPED_SHOW_AGAIN), any);
    ::EnableWindow(::GetDlgItem(Handle(), IDC_SKIPPED_SHOW_ALL), any);
}

void CSkippedDialog::ShowAgain(bool all) {
    const HWND list = ::GetDlgItem(Handle(), IDC_SKIPPED_LIST);
    std::vector<size_t> given_back;
    for (int row = -1; (row = static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                                               all ? LVNI_ALL : LVNI_SELECTED))) != -1;) {
        LVITEMW item = {};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        ::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        given_back.push_back(static_cast<size_t>(item.lParam));
    }
    std::sort(given_back.rbegin(), given_back.rend());
    for (const size_t at : given_back)
        if (at < skipped_.size())
            skipped_.erase(skipped_.begin() + static_cast<std::ptrdiff_t>(at));
    changed_ = changed_ || !given_back.empty();
    Fill();
}

INT_PTR CSkippedDialog::OnCommand(WPARAM wparam, LPARAM lparam) {
    switch (LOWORD(wparam)) {
    case IDC_SKIPPED_SHOW_AGAIN:
        ShowAgain(false);
        return TRUE;
    case IDC_SKIPPED_SHOW_ALL:
        ShowAgain(true);
        return TRUE;
    default:
        return CSimpleDialog::OnCommand(wparam, lparam);
    }
}

} // namespace glimro
