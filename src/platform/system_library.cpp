#include "platform/system_library.h"

#include <string>

namespace glimro {

FARPROC SystemProcedure(const wchar_t* library, const char* name) {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\" + library;
    // Loaded once and kept: the function may be called at any time afterwards.
    HMODULE module = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    return module ? ::GetProcAddress(module, name) : nullptr;
}

void LoadLibrariesFromSystemOnly() {
    // Found at run time: Windows 7 has it only with an update, and then also takes the flag.
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    const auto set_directories = kernel ? reinterpret_cast<SetDirectories>(reinterpret_cast<void*>(
                                              ::GetProcAddress(kernel, "SetDefaultDllDirectories")))
                                        : nullptr;
    if (set_directories)
        set_directories(0x00000800); // LOAD_LIBRARY_SEARCH_SYSTEM32
    ::SetDllDirectoryW(L""); // and never the current folder
}

} // namespace glimro
