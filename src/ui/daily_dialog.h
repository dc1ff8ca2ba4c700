#pragma once
// "Picture of the Day": the built-in sources listed, the line of the one selected under the
// list; OK (or a double click) chooses it.
#include "platform/simple_dialog.h"

#include <string>

namespace glimro {

class CDailyDialog : public CSimpleDialog {
public:
    CDailyDialog();

    // The entry that names the source chosen; empty until OK.
    std::wstring Chosen;

protected:
    INT_PTR OnInitDialog(HWND window) override;
    INT_PTR OnCommand(WPARAM wparam, LPARAM lparam) override;

private:
    int Selected() const;
    void ShowAbout();
};

} // namespace glimro
