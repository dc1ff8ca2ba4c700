#include "ui/album_sheet.h"

#include "resource.h"
#include "ui/rotator.h"

namespace glimro {

CAlbumSheet::CAlbumSheet(std::wstring caption, CRotator& rotator, HWND owner,
                                     std::function<bool(HWND)> commit)
    : CPropertySheet(std::move(caption), owner), rotator_(rotator), commit_(std::move(commit)) {}

void CAlbumSheet::OnInitialized() {
    HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ::SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    ::SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

bool CAlbumSheet::OnCommandBefore(WORD id) {
    return (id == IDOK || id == ID_APPLY_NOW) && RefusesApply();
}

bool CAlbumSheet::RefusesApply() {
    // Nothing is committed into an album, or saved, while a pass is writing the albums.
    if (!rotator_.Busy())
        return false;
    if (rotator_.Status)
        rotator_.Status(kPassRunningStatus);
    ::MessageBeep(MB_ICONWARNING);
    return true;
}

bool CAlbumSheet::OnPagesApplied(bool) {
    bool saved = false;
    if (commit_) {
        saved = commit_(Handle());
    } else {
        rotator_.RefreshAlbumList();
        saved = rotator_.SaveForCommand(MessageBoxReport(Handle()));
    }
    if (saved)
        SetChanged(false);
    return saved;
}

} // namespace glimro
