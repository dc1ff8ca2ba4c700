#pragma once
// The Options window: the global hotkeys, the autostart entry, when a change waits for the
// user, where the user is (for the albums that follow the sun), whether Windows' theme
// follows the day, and the caption on the desktop. OK, Cancel and Apply work as in the album
// sheet; each apply takes effect at once.
#include "platform/property_sheet.h"
#include "ui/language_choice.h"

#include <functional>
#include <string>
#include <vector>

namespace glimro {

class COptionsPage : public CPropertyPage {
public:
    // applied runs after the values are written: it registers the hotkeys again and returns
    // what kept any from being registered, which the page then names. problems: those now.
    COptionsPage(std::vector<std::wstring> problems,
                 std::function<std::vector<std::wstring>()> applied);
    bool OnApply() override;

protected:
    void OnInitDialog() override;
    bool OnCommand(WORD id, WORD code) override;
    bool OnNotify(const NMHDR& header, LRESULT* result) override;

private:
    void ShowProblems();
    // The theme's scope and times enabled where the choice uses them; the caption's corner and
    // parts while it is shown.
    void ShowThemeControls();
    void ShowCaptionControls();
    // Says why in a message box and puts the focus on the control; false.
    bool Refuse(int control, const std::wstring& problem);
    // False, after saying why, for a plain key or keys that two actions share.
    bool CheckHotkeys();
    // Stores the place typed (or removes it when both are blank); false, after saying why,
    // for a value that is no coordinate.
    bool ApplyPlace();

    std::vector<std::wstring> problems_;
    const std::vector<LanguageOption> languages_ = LanguageOptions();
    std::function<std::vector<std::wstring>()> applied_;
    bool filling_ = false;
    LSTATUS place_written_ = ERROR_SUCCESS; // the first failure of the last ApplyPlace
};

// The Options window owned by owner; IDOK or IDCANCEL.
INT_PTR RunOptions(HWND owner, std::vector<std::wstring> problems,
                   std::function<std::vector<std::wstring>()> applied);

} // namespace glimro
