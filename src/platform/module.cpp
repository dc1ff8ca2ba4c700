#include "platform/module.h"

#include <windows.h>

namespace glimro {

Seam<std::wstring()> ModulePath([] {
    wchar_t buffer[MAX_PATH];
    DWORD length = ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::wstring();
    return std::wstring(buffer, length);
});

std::wstring FolderOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring ExecutableFolder() {
    return FolderOf(ModulePath());
}

} // namespace glimro
