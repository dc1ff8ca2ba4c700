#include "ui/hotkeys.h"

#include "log/activity_log.h"
#include "resource.h"
#include "store/product_key.h"
#include "ui/command_table.h"

#include <commctrl.h>

namespace glimro {

const HotkeyAction kHotkeyActions[4] = {
    {1, ID_ALBUM_NEXT, kHotkeyNextValue, kDefaultHotkeyNext},
    {2, ID_ALBUM_PREVIOUS, kHotkeyPreviousValue, kDefaultHotkeyPrevious},
    {3, ID_ALBUM_PAUSE, kHotkeyPauseValue, kDefaultHotkeyPause},
    {4, ID_PICTURE_NEVER_AGAIN, kHotkeyNeverAgainValue, 0},
};

std::wstring HotkeyName(const HotkeyAction& action) {
    return CommandText(action.command, 1);
}

namespace {

std::wstring KeyName(UINT key, bool extended) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::wstring(1, static_cast<wchar_t>(key));
    if (key >= VK_F1 && key <= VK_F24)
        return L"F" + std::to_wstring(key - VK_F1 + 1);
    switch (key) {
    case VK_LEFT:
        return L"Left";
    case VK_RIGHT:
        return L"Right";
    case VK_UP:
        return L"Up";
    case VK_DOWN:
        return L"Down";
    default:
        break;
    }
    const LONG scan = static_cast<LONG>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    wchar_t name[64] = {};
    if (::GetKeyNameTextW(scan | (extended ? 1L << 24 : 0), name, 64) > 0)
        return name;
    return L"Key " + std::to_wstring(key);
}

} // namespace

WORD ReadHotkey(const HotkeyAction& action) {
    return static_cast<WORD>(ReadProductNumber(action.value, action.fallback));
}

std::wstring HotkeyText(WORD hotkey) {
    const UINT key = LOBYTE(hotkey), flags = HIBYTE(hotkey);
    if (key == 0)
        return {};
    std::wstring text;
    if (flags & HOTKEYF_CONTROL)
        text += L"Ctrl+";
    if (flags & HOTKEYF_ALT)
        text += L"Alt+";
    if (flags & HOTKEYF_SHIFT)
        text += L"Shift+";
    return text + KeyName(key, (flags & HOTKEYF_EXT) != 0);
}

bool IsUsableHotkey(WORD hotkey) {
    const UINT key = LOBYTE(hotkey), flags = HIBYTE(hotkey);
    const bool alone = (key >= VK_F13 && key <= VK_F24) ||
                       (key >= VK_BROWSER_BACK && key <= VK_LAUNCH_APP2);
    return key == 0 || alone || (flags & (HOTKEYF_CONTROL | HOTKEYF_ALT)) != 0;
}

bool SameHotkey(WORD a, WORD b) {
    const UINT modifiers = HOTKEYF_CONTROL | HOTKEYF_ALT | HOTKEYF_SHIFT;
    return LOBYTE(a) != 0 && LOBYTE(a) == LOBYTE(b) &&
           (HIBYTE(a) & modifiers) == (HIBYTE(b) & modifiers);
}

void CHotkeys::Register(HWND window) {
    Unregister();
    window_ = window;
    WORD earlier[std::size(kHotkeyActions)] = {};
    for (size_t i = 0; i < std::size(kHotkeyActions); ++i) {
        const HotkeyAction& action = kHotkeyActions[i];
        const WORD hotkey = earlier[i] = ReadHotkey(action);
        if (LOBYTE(hotkey) == 0)
            continue;
        std::wstring problem;
        for (size_t j = 0; j < i && problem.empty(); ++j)
            if (SameHotkey(earlier[j], hotkey))
                problem = L" is also " + HotkeyName(kHotkeyActions[j]) + L"'s";
        if (problem.empty() && !IsUsableHotkey(hotkey))
            problem = L" needs Ctrl or Alt";
        if (problem.empty()) {
            const UINT flags = HIBYTE(hotkey);
            const UINT modifiers = ((flags & HOTKEYF_CONTROL) ? MOD_CONTROL : 0) |
                                   ((flags & HOTKEYF_ALT) ? MOD_ALT : 0) |
                                   ((flags & HOTKEYF_SHIFT) ? MOD_SHIFT : 0);
            // Held down, a key repeats: one picture per press.
            if (::RegisterHotKey(window, action.id, modifiers | MOD_NOREPEAT, LOBYTE(hotkey))) {
                registered_.push_back(action.id);
                continue;
            }
            problem = L" is in use by another program";
        }
        problems_.push_back(HotkeyText(hotkey) + L" for " + HotkeyName(action) + problem);
        BuildLogPath();
        LogStream log = OpenLog(LogMode::Append);
        log << L"The hotkey " << problems_.back() << L".";
        log.EndLine();
    }
}

void CHotkeys::Unregister() {
    for (const int id : registered_)
        ::UnregisterHotKey(window_, id);
    registered_.clear();
    problems_.clear();
}

UINT CHotkeys::CommandOf(WPARAM id) {
    for (const HotkeyAction& action : kHotkeyActions)
        if (static_cast<WPARAM>(action.id) == id)
            return action.command;
    return 0;
}

} // namespace glimro
