#include "ui/hotkeys.h"

#include "log/activity_log.h"
#include "platform/window.h"
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

std::wstring HotkeyName(const HotkeyAction& action, LANGID language) {
    return CommandText(action.command, 1, language);
}

namespace {

std::wstring KeyName(UINT key, bool extended, LANGID language) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::wstring(1, static_cast<wchar_t>(key));
    if (key >= VK_F1 && key <= VK_F24)
        return L"F" + std::to_wstring(key - VK_F1 + 1);
    switch (key) {
    case VK_LEFT:
        return LoadResourceString(IDS_KEY_LEFT, language);
    case VK_RIGHT:
        return LoadResourceString(IDS_KEY_RIGHT, language);
    case VK_UP:
        return LoadResourceString(IDS_KEY_UP, language);
    case VK_DOWN:
        return LoadResourceString(IDS_KEY_DOWN, language);
    default:
        break;
    }
    const LONG scan = static_cast<LONG>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    wchar_t name[64] = {};
    if (::GetKeyNameTextW(scan | (extended ? 1L << 24 : 0), name, 64) > 0)
        return name;
    return ResourceText(IDS_KEY_NUMBER, {std::to_wstring(key)}, language);
}

} // namespace

WORD ReadHotkey(const HotkeyAction& action) {
    return static_cast<WORD>(ReadProductNumber(action.value, action.fallback));
}

std::wstring HotkeyText(WORD hotkey, LANGID language) {
    const UINT key = LOBYTE(hotkey), flags = HIBYTE(hotkey);
    if (key == 0)
        return {};
    std::wstring text;
    if (flags & HOTKEYF_CONTROL)
        text += LoadResourceString(IDS_KEY_CTRL, language);
    if (flags & HOTKEYF_ALT)
        text += LoadResourceString(IDS_KEY_ALT, language);
    if (flags & HOTKEYF_SHIFT)
        text += LoadResourceString(IDS_KEY_SHIFT, language);
    return text + KeyName(key, (flags & HOTKEYF_EXT) != 0, language);
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
        Problem problem{hotkey, i, 0};
        for (size_t j = 0; j < i && !problem.text; ++j)
            if (SameHotkey(earlier[j], hotkey))
                problem = {hotkey, i, IDS_HOTKEY_ALSO, j};
        if (!problem.text && !IsUsableHotkey(hotkey))
            problem.text = IDS_HOTKEY_NEEDS_CTRL;
        if (!problem.text) {
            const UINT flags = HIBYTE(hotkey);
            const UINT modifiers = ((flags & HOTKEYF_CONTROL) ? MOD_CONTROL : 0) |
                                   ((flags & HOTKEYF_ALT) ? MOD_ALT : 0) |
                                   ((flags & HOTKEYF_SHIFT) ? MOD_SHIFT : 0);
            // Held down, a key repeats: one picture per press.
            if (::RegisterHotKey(window, action.id, modifiers | MOD_NOREPEAT, LOBYTE(hotkey))) {
                registered_.push_back(action.id);
                continue;
            }
            problem.text = IDS_HOTKEY_IN_USE;
        }
        problems_.push_back(problem);
        BuildLogPath();
        LogStream log = OpenLog(LogMode::Append);
        log << L"The hotkey " << Said(problem, kEnglishLanguage) << L".";
        log.EndLine();
    }
}

std::wstring CHotkeys::Said(const Problem& problem, LANGID language) {
    return ResourceText(problem.text,
                        {HotkeyText(problem.hotkey, language), HotkeyName(kHotkeyActions[problem.action], language),
                         HotkeyName(kHotkeyActions[problem.other], language)},
                        language);
}

std::vector<std::wstring> CHotkeys::Problems() const {
    std::vector<std::wstring> said;
    for (const Problem& problem : problems_)
        said.push_back(Said(problem, UiLanguage()));
    return said;
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
