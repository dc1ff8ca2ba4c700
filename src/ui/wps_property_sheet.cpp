#include "ui/wps_property_sheet.h"

#include "resource.h"
#include "ui/um_view.h"

namespace glimro {

CWPSPropertySheet::CWPSPropertySheet(std::wstring caption, CumView& view,
                                     std::function<bool(HWND)> commit)
    : CPropertySheet(std::move(caption), view.Handle()), view_(view),
      commit_(std::move(commit)) {}

void CWPSPropertySheet::OnInitialized() {
    HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ::SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    ::SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

bool CWPSPropertySheet::OnCommandBefore(WORD id) {
    return (id == IDOK || id == ID_APPLY_NOW) && RefusesApply();
}

bool CWPSPropertySheet::RefusesApply() {
    // Nothing is committed into an album, or saved, while a pass is writing the albums.
    if (!view_.RefuseWhilePassRuns())
        return false;
    ::MessageBeep(MB_ICONWARNING);
    return true;
}

bool CWPSPropertySheet::OnPagesApplied(bool) {
    bool saved = false;
    if (commit_) {
        saved = commit_(Handle());
    } else {
        view_.RefreshAlbumList();
        saved = view_.SaveForCommand(Handle());
    }
    if (saved)
        SetChanged(false);
    return saved;
}

} // namespace glimro
