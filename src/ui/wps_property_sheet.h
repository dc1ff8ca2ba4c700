#pragma once
// The album properties sheet: its pages edit one album; Apply commits every page that has
// been shown, then the album list is refreshed and every album saved at once.
#include "platform/property_sheet.h"

#include <string>

namespace glimro {

class CumView;

class CWPSPropertySheet : public CPropertySheet {
public:
    CWPSPropertySheet(std::wstring caption, CumView& view);

protected:
    void OnInitialized() override;
    bool OnCommandBefore(WORD id) override;

private:
    // The Apply button, before the sheet's own Apply processing; true when that is not to
    // run.
    bool OnApplyNow();

    CumView& view_;
};

} // namespace glimro
