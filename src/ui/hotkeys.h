#pragma once
// The resident instance's global hotkeys: Next Picture, Previous Picture, Pause/Resume and
// Don't Show This Picture Again, wherever the focus is, with the Album Manager shown or not. Each is kept under the product
// key in the hotkey control's form; one that another program holds is reported, never lost.
// A plain key is never registered: it would be taken from everyone's typing.
#include <windows.h>

#include "platform/ui_language.h"

#include <string>
#include <vector>

namespace glimro {

// A hotkey runs a command of the command table (ui/command_table.h), whose tip names it.
struct HotkeyAction {
    int id; // the WM_HOTKEY identifier
    UINT command;
    const wchar_t* value;
    DWORD fallback;
};
extern const HotkeyAction kHotkeyActions[4];

// "Next Picture", "Pause/Resume": the action's command, as the Options window names it.
std::wstring HotkeyName(const HotkeyAction& action, LANGID language = UiLanguage());
// The hotkey of an action: its stored value, or the default when there is none.
WORD ReadHotkey(const HotkeyAction& action);
// "Ctrl+Alt+Shift+Right" for a value in the hotkey control's form; empty for none.
std::wstring HotkeyText(WORD hotkey, LANGID language = UiLanguage());

// Whether a hotkey may be taken from every program: it needs Ctrl or Alt (Shift alone would
// take a letter from everyone's typing), except F13-F24 and the media keys, which no program
// types with. None (0) is usable.
bool IsUsableHotkey(WORD hotkey);
// Whether two values are the same keys (the extended flag only names which of two keys it is).
bool SameHotkey(WORD a, WORD b);

class CHotkeys {
public:
    ~CHotkeys() { Unregister(); }
    // Registers each action's hotkey for the window, after letting go of those registered
    // before. One that cannot be had is remembered and written in the log.
    void Register(HWND window);
    void Unregister();
    // The command of a WM_HOTKEY identifier; 0 for none of ours.
    static UINT CommandOf(WPARAM id);
    // What kept a hotkey from being registered, one phrase each: "Ctrl+Alt+P for
    // Pause/Resume is in use by another program" (or "is also Next Picture's", or "needs Ctrl
    // or Alt").
    // In the windows' language; the log has them in English.
    std::vector<std::wstring> Problems() const;

private:
    HWND window_ = nullptr;
    std::vector<int> registered_;
    struct Problem {
        WORD hotkey;
        size_t action;
        UINT text;        // what is wrong with it
        size_t other = 0; // the action that has it too
    };
    std::vector<Problem> problems_;
    static std::wstring Said(const Problem& problem, LANGID language);
};

} // namespace glimro
