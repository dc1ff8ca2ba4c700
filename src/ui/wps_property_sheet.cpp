#include "ui/wps_property_sheet.h"

#include "resource.h"
#include "ui/um_view.h"

namespace glimro {

CWPSPropertySheet::CWPSPropertySheet(std::wstring caption, CumView& view)
    : CPropertySheet(std::move(caption), view.Handle()), view_(view) {}

void CWPSPropertySheet::OnInitialized() {
    HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ::SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    ::SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

bool CWPSPropertySheet::OnCommandBefore(WORD id) {
    if (id != IDOK && id != ID_APPLY_NOW)
        return false;
    // Nothing is committed into an album, or saved, while a pass is writing the albums.
    if (view_.RefuseWhilePassRuns()) {
        ::MessageBeep(MB_ICONWARNING);
        return true;
    }
    return id == ID_APPLY_NOW && OnApplyNow();
}

bool CWPSPropertySheet::OnApplyNow() {
    bool any_shown = false;
    for (size_t index = 0; index < Pages().size(); ++index) {
        CPropertyPage* page = Pages()[index];
        if (!page->Handle())
            continue; // never shown: neither checked nor committed
        any_shown = true;
        if (!page->OnApply()) {
            ::SendMessageW(Handle(), PSM_SETCURSEL, index, 0);
            return true;
        }
    }
    if (!any_shown)
        return true;
    view_.RefreshAlbumList();
    view_.SaveForCommand(Handle());
    SetChanged(false);
    return false;
}

} // namespace glimro
