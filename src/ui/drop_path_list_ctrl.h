#pragma once
// The Images page's list of picture paths: image files dragged from the shell are dropped
// onto it; a click on an entry's box, or Space, makes the selected entry the wallpaper; the
// Delete and Insert keys run the page's Delete and Add.
#include "core/picture_names.h"
#include "platform/window.h"

#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace glimro {

// What the list asks of the page it sits on.
class DropPathListHost {
public:
    virtual ~DropPathListHost() = default;
    virtual void UseNow() = 0;
    virtual void DeleteSelected() = 0;
    virtual void AddImages() = 0;
    virtual void EnableButtons(int rows) = 0;
    // The page is changed: its apply writes the rows back, and the sheet's Cancel is on.
    virtual void MarkChanged() = 0;
    // New entries, in this order, after the selected row (which loses its selection) or at
    // the end; the last one is left selected.
    virtual void InsertNewRows(const std::vector<std::wstring>& paths) = 0;
};

class CDropPathListCtrl : public CWindow {
public:
    CDropPathListCtrl();
    ~CDropPathListCtrl() override;

    // Takes over the page's list control; registers it as a drop target.
    bool Attach(HWND list, DropPathListHost& host);
    // Before the list's window goes.
    void Detach();

    IDropTarget* DropTarget();
    // From the page's LVN_KEYDOWN.
    void OnKeyDown(WORD key);
    // Inserts an entry at a row with the marker's box and the given selected and focused
    // states, and the page's data for the row; the row it went to, or -1.
    int InsertEntry(int at, const std::wstring& path, int marker, UINT row_states, LPARAM data);

protected:
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    class Target;
    friend class Target;
    // The files of a CF_HDROP block that the album can hold, sorted without regard to case.
    static std::vector<std::wstring> AcceptedPaths(HDROP drop);

    Target* target_;
    DropPathListHost* host_ = nullptr;
    bool registered_ = false;
};

} // namespace glimro
