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
    return run.Create(HKEY_CURRENT_USER, kAutostartKey, KEY_SET_VALUE) == ERROR_SUCCESS &&
           run.SetTextWithNul(kAutostartValue, command) == ERROR_SUCCESS;
}

bool RemoveAutostart() {
    RegKey run;
    LSTATUS status = run.Open(HKEY_CURRENT_USER, kAutostartKey, KEY_SET_VALUE);
    if (status == ERROR_SUCCESS)
        status = run.DeleteValue(kAutostartValue);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool HasAutostart() {
    RegKey run;
    return run.Open(HKEY_CURRENT_USER, kAutostartKey, KEY_QUERY_VALUE) == ERROR_SUCCESS &&
           run.QueryInfo(kAutostartValue, nullptr, nullptr) == ERROR_SUCCESS;
}

} // namespace glimro
