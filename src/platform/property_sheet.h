#pragma once
// A modal property sheet over the common controls' PropertySheetW, and its pages: the least
// of a framework that the album editor needs. Pages reach their objects as every window of
// ours does (window_object.h); the sheet's window is subclassed when its first page opens,
// so that commands can be handled before the sheet's own processing.
#include "platform/window.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace glimro {

class CPropertySheet;

class CPropertyPage {
public:
    explicit CPropertyPage(WORD template_id) : template_id_(template_id) {}
    virtual ~CPropertyPage() = default;
    CPropertyPage(const CPropertyPage&) = delete;
    CPropertyPage& operator=(const CPropertyPage&) = delete;

    // Null until the page has been shown once.
    HWND Handle() const { return window_; }
    // The page's apply handling (PSN_APPLY, and the sheet's own Apply loop): false refuses,
    // and the sheet stays open on this page.
    virtual bool OnApply() { return true; }

protected:
    virtual void OnInitDialog() {}
    // A control's notification; true when handled.
    virtual bool OnCommand(WORD /*id*/, WORD /*code*/) { return false; }
    // A control's WM_NOTIFY (the sheet's own PSN_ codes aside); true with *result when
    // handled.
    virtual bool OnNotify(const NMHDR& /*header*/, LRESULT* /*result*/) { return false; }
    // While the page's window is being destroyed.
    virtual void OnDestroy() {}
    // Marks the page changed or unchanged for the sheet's Apply button.
    void SetModified(bool modified);
    CPropertySheet* Sheet() const { return sheet_; }

    HWND Item(int id) const { return ::GetDlgItem(window_, id); }
    std::wstring ItemText(int id) const;

private:
    friend class CPropertySheet;
    PROPSHEETPAGEW Describe();
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    WORD template_id_;
    std::vector<BYTE> template_; // laid out for its language when it is run
    HWND window_ = nullptr;
    CPropertySheet* sheet_ = nullptr;
    // The outcome of the last apply that OK asked for: the sheet closed with OK only when
    // no page refused it.
    bool ok_asked_ = false;
    bool ok_refused_ = false;
};

class CPropertySheet : public CWindow {
public:
    CPropertySheet(std::wstring caption, HWND parent, UINT start_page = 0)
        : caption_(std::move(caption)), parent_(parent), start_page_(start_page) {}

    void AddPage(CPropertyPage& page);
    const std::vector<CPropertyPage*>& Pages() const { return pages_; }
    // IDOK when OK closed the sheet, IDCANCEL otherwise; -1 when it could not be shown.
    INT_PTR DoModal();
    // Enables the Cancel button while there is something to cancel.
    void SetChanged(bool changed);

protected:
    // Once the sheet's window exists and is initialised.
    virtual void OnInitialized() {}
    // A command before the sheet's own processing; true when it is handled here and goes no
    // further.
    virtual bool OnCommandBefore(WORD /*id*/) { return false; }
    // Before each page's apply, however the apply came (OK, Apply, the keyboard,
    // PSM_PRESSBUTTON): true refuses it, and the sheet stays open.
    virtual bool RefusesApply() { return false; }
    // Once every page that has been shown has accepted an apply; ok when OK asked for it.
    // False keeps the sheet open.
    virtual bool OnPagesApplied(bool /*ok*/) { return true; }
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    friend class CPropertyPage;
    static int CALLBACK Callback(HWND window, UINT message, LPARAM lparam);
    // Whether no page after this one has been shown: its apply is the sheet's last.
    bool IsLastShown(const CPropertyPage* page) const;

    std::wstring caption_;
    HWND parent_;
    UINT start_page_;
    std::vector<CPropertyPage*> pages_;
};

} // namespace glimro
