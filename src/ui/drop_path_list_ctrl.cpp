#include "ui/drop_path_list_ctrl.h"

#include "engine/entry_judge.h"
#include "store/album.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>

namespace glimro {
namespace {


FORMATETC DropFormat() {
    return FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

} // namespace

// The list's IDropTarget; part of the control, never destroyed by Release.
class CDropPathListCtrl::Target : public IDropTarget {
public:
    explicit Target(CDropPathListCtrl& owner) : owner_(owner) {}
    virtual ~Target() { Forget(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IDropTarget) {
            *object = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point,
                                        DWORD* effect) override {
        Forget();
        FORMATETC format = DropFormat();
        if (data && data->QueryGetData(&format) == S_OK) {
            kept_ = data;
            kept_->AddRef();
        }
        // The copy cursor from the first moment of the drag.
        return DragOver(keys, point, effect);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect &= DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        Forget();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD keys, POINTL point, DWORD* effect) override {
        DWORD offered = *effect;
        // The source is told that nothing was copied or moved: a move never deletes files.
        *effect = DROPEFFECT_NONE;
        if (!kept_)
            return S_OK;
        DragOver(keys, point, &offered);
        FORMATETC format = DropFormat();
        STGMEDIUM medium = {};
        if (offered == DROPEFFECT_NONE || FAILED(kept_->GetData(&format, &medium))) {
            Forget();
            return S_OK;
        }
        std::vector<std::wstring> paths;
        if (void* block = ::GlobalLock(medium.hGlobal)) {
            paths = AcceptedPaths(static_cast<HDROP>(block));
            ::GlobalUnlock(medium.hGlobal);
        }
        ::ReleaseStgMedium(&medium);
        // A drop that adds nothing still counts as a change, as the user made one.
        owner_.host_->InsertNewRows(paths);
        owner_.host_->MarkChanged();
        Forget();
        return S_OK;
    }

private:
    void Forget() {
        if (kept_)
            kept_->Release();
        kept_ = nullptr;
    }

    CDropPathListCtrl& owner_;
    IDataObject* kept_ = nullptr;
    ULONG references_ = 0;
};

CDropPathListCtrl::CDropPathListCtrl() : target_(new Target(*this)) {}

CDropPathListCtrl::~CDropPathListCtrl() {
    Detach();
    delete target_;
}

IDropTarget* CDropPathListCtrl::DropTarget() {
    return target_;
}

bool CDropPathListCtrl::Attach(HWND list, DropPathListHost& host) {
    host_ = &host;
    if (!Subclass(list))
        return false;
    registered_ = SUCCEEDED(::RegisterDragDrop(list, target_));
    return true;
}

void CDropPathListCtrl::Detach() {
    if (registered_ && Handle())
        ::RevokeDragDrop(Handle());
    registered_ = false;
}

std::vector<std::wstring> CDropPathListCtrl::AcceptedPaths(HDROP drop) {
    std::vector<std::wstring> paths;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // Asked for its length first: a path cut to a buffer would name some other file.
        const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        path.resize(::DragQueryFileW(drop, i, path.data(), length + 1));
        // Pictures by their extension, and folders, which go in as folder entries.
        if (CheckNewEntry(path) != EntryProblem::None)
            continue;
        const auto after = std::upper_bound(paths.begin(), paths.end(), path,
                                            [](const std::wstring& a, const std::wstring& b) {
                                                return ::lstrcmpiW(a.c_str(), b.c_str()) < 0;
                                            });
        paths.insert(after, path);
    }
    return paths;
}

int CDropPathListCtrl::InsertEntry(int at, const std::wstring& path, int marker, UINT row_states,
                                   LPARAM data) {
    std::wstring text = path;
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_STATE | LVIF_PARAM;
    item.iItem = at;
    item.lParam = data;
    item.pszText = text.data();
    item.state = INDEXTOSTATEIMAGEMASK(marker + 1) | row_states;
    item.stateMask = LVIS_STATEIMAGEMASK | LVIS_SELECTED | LVIS_FOCUSED;
    return ListView_InsertItem(Handle(), &item);
}

void CDropPathListCtrl::OnKeyDown(WORD key) {
    switch (key) {
    case VK_SPACE:
        host_->UseNow();
        break;
    case VK_DELETE:
        host_->DeleteSelected();
        break;
    case VK_INSERT:
        host_->AddImages();
        break;
    default:
        break;
    }
}

LRESULT CDropPathListCtrl::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY)
        Detach();
    if (message != WM_LBUTTONDOWN || !host_)
        return Default(message, wparam, lparam);
    LVHITTESTINFO hit = {};
    hit.pt = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    const int row = ListView_HitTest(Handle(), &hit);
    if (row == -1 || hit.flags != LVHT_ONITEMSTATEICON)
        return Default(message, wparam, lparam);
    if (!(ListView_GetItemState(Handle(), row, LVIS_SELECTED) & LVIS_SELECTED)) {
        ListView_SetItemState(Handle(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_SetItemState(Handle(), row, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
    }
    host_->UseNow();
    return 0;
}

} // namespace glimro
