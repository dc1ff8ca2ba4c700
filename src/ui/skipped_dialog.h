#pragma once
// "Skipped Pictures": the pictures an album never shows, with Show Again for those selected
// and Show All Again. It edits the list it is given (the Images page's working copy).
#include "platform/simple_dialog.h"

#include <string>
#include <vector>

namespace glimro {

class CSkippedDialog : public CSimpleDialog {
public:
    explicit CSkippedDialog(std::vector<std::wstring>& skipped);

    // Whether a picture was given back.
    bool Changed() const { return changed_; }

protected:
    INT_PTR OnInitDialog(HWND window) override;
    INT_PTR OnCommand(WPARAM wparam, LPARAM lparam) override;

private:
    void Fill();
    void ShowAgain(bool all);

    std::vector<std::wstring>& skipped_;
    bool changed_ = false;
};

} // namespace glimro
