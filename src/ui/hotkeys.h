#pragma once
// The resident instance's global hotkeys: Next Picture, Previous Picture and Pause/Resume,
// wherever the focus is, with the Album Manager shown or not. Each is kept under the product
// key in the hotkey control's form; one that another program holds is reported, never lost.
#include <windows.h>

#include <string>
#include <vector>

namespace glimro {

struct HotkeyAction {
    int id; // the WM_HOTKEY identifier
    UINT command;
    const wchar_t* value;
    DWORD fallback;
    const wchar_t* name;
};
extern const HotkeyAction kHotkeyActions[3];

// The hotkey of an action: its stored value, or the default when there is none.
WORD ReadHotkey(const HotkeyAction& action);
// "Ctrl+Alt+Shift+Right" for a value in the hotkey control's form; empty for none.
std::wstring HotkeyText(WORD hotkey);

class CHotkeys {
public:
    ~CHotkeys() { Unregister(); }
    // Registers each action's hotkey for the window, after letting go of those registered
    // before. One that cannot be had is remembered and written in the log.
    void Register(HWND window);
    void Unregister();
    // The command of a WM_HOTKEY identifier; 0 for none of ours.
    static UINT CommandOf(WPARAM id);
    // "Ctrl+Alt+Shift+P for Pause/Resume", for each hotkey in use elsewhere.
    const std::vector<std::wstring>& Taken() const { return taken_; }

private:
    HWND window_ = nullptr;
    std::vector<int> registered_;
    std::vector<std::wstring> taken_;
};

} // namespace glimro
