#include "platform/system_library.h"

#include <delayimp.h>

#include <string>

namespace glimro {

namespace {

HMODULE LoadSystemLibrary(const wchar_t* library) {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\" + library;
    return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace

FARPROC SystemProcedure(const wchar_t* library, const char* name) {
    // Loaded once and kept: the function may be called at any time afterwards.
    HMODULE module = ::GetModuleHandleW(library);
    if (!module)
        module = LoadSystemLibrary(library);
    return module ? ::GetProcAddress(module, name) : nullptr;
}

FARPROC SystemLibrary::Procedure(const char* name) {
    if (!module_)
        module_ = LoadSystemLibrary(name_);
    return module_ ? ::GetProcAddress(module_, name) : nullptr;
}

void SystemLibrary::Release() {
    if (module_)
        ::FreeLibrary(module_);
    module_ = nullptr;
}

void UnloadDelayLoadedLibrary(const char* library) {
    __FUnloadDelayLoadedDLL2(library);
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
