#include "platform/property_sheet.h"

#include "platform/dialog_fit.h"
#include "platform/window_object.h"

#include <utility>

namespace glimro {
namespace {

// The head of an extended dialog template, as documented (no header declares it).
struct DialogTemplateExHead {
    WORD version;
    WORD signature;
    DWORD help_id;
    DWORD ex_style;
    DWORD style;
};

} // namespace

PROPSHEETPAGEW CPropertyPage::Describe() {
    PROPSHEETPAGEW page = {};
    page.dwSize = sizeof(page);
    page.dwFlags = PSP_DLGINDIRECT;
    page.hInstance = ::GetModuleHandleW(nullptr);
    // The sheet makes the page when it is first shown: the bytes live as long as the page.
    template_ = FittedDialogTemplate(template_id_);
    page.pResource = reinterpret_cast<const DLGTEMPLATE*>(template_.data());
    page.pfnDlgProc = &CPropertyPage::DialogProc;
    page.lParam = reinterpret_cast<LPARAM>(this);
    return page;
}

void CPropertyPage::SetModified(bool modified) {
    HWND sheet = ::GetParent(window_);
    if (sheet)
        ::SendMessageW(sheet, modified ? PSM_CHANGED : PSM_UNCHANGED,
                       reinterpret_cast<WPARAM>(window_), 0);
}

std::wstring CPropertyPage::ItemText(int id) const {
    return WindowText(Item(id));
}

INT_PTR CALLBACK CPropertyPage::DialogProc(HWND window, UINT message, WPARAM wparam,
                                           LPARAM lparam) {
    CPropertyPage* created = nullptr;
    if (message == WM_INITDIALOG)
        created = reinterpret_cast<CPropertyPage*>(
            reinterpret_cast<const PROPSHEETPAGEW*>(lparam)->lParam);
    auto* page = WindowObject<CPropertyPage>(window, message, created);
    if (!page)
        return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        page->window_ = window;
        // The sheet's window is the page's parent: the first page to open binds the sheet,
        // so that no global has to carry it through PropertySheetW.
        if (CPropertySheet* sheet = page->sheet_; sheet && !sheet->Handle()) {
            sheet->Subclass(::GetParent(window));
            sheet->OnInitialized();
        }
        page->OnInitDialog();
        return TRUE;
    case WM_COMMAND:
        return page->OnCommand(LOWORD(wparam), HIWORD(wparam)) ? TRUE : FALSE;
    case WM_NOTIFY: {
        const auto& notify = *reinterpret_cast<const PSHNOTIFY*>(lparam);
        if (notify.hdr.code != PSN_APPLY) {
            LRESULT result = 0;
            if (!page->OnNotify(notify.hdr, &result))
                return FALSE;
            ::SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
            return TRUE;
        }
        CPropertySheet* sheet = page->sheet_;
        bool accepted = !sheet->RefusesApply() && page->OnApply();
        if (accepted && sheet->IsLastShown(page))
            accepted = sheet->OnPagesApplied(notify.lParam != 0);
        // lParam is TRUE when OK asked for the apply, FALSE for the Apply button.
        if (notify.lParam) {
            page->ok_asked_ = true;
            page->ok_refused_ = !accepted;
        }
        ::SetWindowLongPtrW(window, DWLP_MSGRESULT,
                            accepted ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE);
        return TRUE;
    }
    case WM_DESTROY:
        page->OnDestroy();
        page->window_ = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

bool CPropertySheet::IsLastShown(const CPropertyPage* page) const {
    bool after = false;
    for (const CPropertyPage* other : pages_) {
        if (after && other->Handle())
            return false;
        after = after || other == page;
    }
    return true;
}

void CPropertySheet::SetChanged(bool changed) {
    if (Handle())
        ::EnableWindow(::GetDlgItem(Handle(), IDCANCEL), changed ? TRUE : FALSE);
}

void CPropertySheet::AddPage(CPropertyPage& page) {
    page.sheet_ = this;
    pages_.push_back(&page);
}

INT_PTR CPropertySheet::DoModal() {
    std::vector<PROPSHEETPAGEW> described;
    for (CPropertyPage* page : pages_) {
        page->ok_asked_ = page->ok_refused_ = false;
        described.push_back(page->Describe());
    }
    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK;
    header.hwndParent = parent_;
    header.hInstance = ::GetModuleHandleW(nullptr);
    header.pszCaption = caption_.c_str();
    header.nPages = static_cast<UINT>(described.size());
    header.nStartPage = start_page_;
    header.ppsp = described.data();
    header.pfnCallback = &CPropertySheet::Callback;

    const INT_PTR shown = ::PropertySheetW(&header);
    if (shown == -1)
        return -1;
    bool ok = false;
    for (const CPropertyPage* page : pages_) {
        if (page->ok_refused_)
            return IDCANCEL;
        ok = ok || page->ok_asked_;
    }
    return ok ? IDOK : IDCANCEL;
}

int CALLBACK CPropertySheet::Callback(HWND, UINT message, LPARAM lparam) {
    if (message == PSCB_PRECREATE) {
        // Shown without a system menu.
        auto* extended = reinterpret_cast<DialogTemplateExHead*>(lparam);
        if (extended->signature == 0xFFFF)
            extended->style &= ~WS_SYSMENU;
        else
            reinterpret_cast<DLGTEMPLATE*>(lparam)->style &= ~WS_SYSMENU;
    }
    return 0;
}

LRESULT CPropertySheet::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_COMMAND && OnCommandBefore(LOWORD(wparam)))
        return 0;
    return Default(message, wparam, lparam);
}

} // namespace glimro
