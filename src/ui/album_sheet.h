#pragma once
// The album properties sheet: its pages edit one album. However OK or Apply comes (button,
// keyboard, PSM_PRESSBUTTON), once every shown page has committed, the commit the view gave
// saves the album; a save that fails keeps the sheet open.
#include "platform/property_sheet.h"

#include <functional>
#include <string>

namespace glimro {

class CRotator;

class CAlbumSheet : public CPropertySheet {
public:
    // commit is given the sheet's window, to own its messages, and returns false when the
    // save failed; without one, the rows are announced and every change saved.
    CAlbumSheet(std::wstring caption, CRotator& rotator, HWND owner,
                      std::function<bool(HWND)> commit = nullptr);

protected:
    void OnInitialized() override;
    bool OnCommandBefore(WORD id) override;
    bool RefusesApply() override;
    bool OnPagesApplied(bool ok) override;

private:
    CRotator& rotator_;
    std::function<bool(HWND)> commit_;
};

} // namespace glimro
