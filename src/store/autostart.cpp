#include "store/autostart.h"

#include "platform/module.h"
#include "platform/reg_key.h"

namespace glimro {

// Quoted, so that a path with blanks ("C:\Program Files\...") is neither taken for
// "C:\Program.exe" by the shell nor split before the switch.
std::wstring AutostartCommand(const std::wstring& module_path) {
    if (module_path.empty())
        return {};
    return L"\"" + module_path + L"\" -s";
}

bool AddAutostart() {
    std::wstring command = AutostartCommand(ModulePath());
    if (command.empty())
        return false;
    RegKey run;
    if (run.Open(HKEY_CURRENT_USER, kAutostartKey, KEY_SET_VALUE) == ERROR_SUCCESS)
        run.SetTextWithNul(kAutostartValue, command);
    return true;
}

bool RemoveAutostart() {
    RegKey run;
    if (run.Open(HKEY_CURRENT_USER, kAutostartKey, KEY_SET_VALUE) == ERROR_SUCCESS)
        run.DeleteValue(kAutostartValue);
    return true;
}

bool HasAutostart() {
    RegKey run;
    return run.Open(HKEY_CURRENT_USER, kAutostartKey, KEY_QUERY_VALUE) == ERROR_SUCCESS &&
           ::RegQueryValueExW(run.Get(), kAutostartValue, nullptr, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS;
}

} // namespace glimro
