#include "platform/system_library.h"

#include <delayimp.h>

#include <cstring>
#include <string>
#include <vector>

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

// A delay-loaded library of the program's: the loader's handle for it, the address table its
// calls go through, and that table before its first call, each entry still leading to the
// stub that loads the library.
struct DelayImport {
    const char* library;
    HMODULE* module;
    ULONG_PTR* table;
    std::vector<ULONG_PTR> unbound;
};

std::vector<DelayImport>& DelayImports() {
    static std::vector<DelayImport> imports;
    return imports;
}

// Told by the loading stub before it loads a library or binds an entry: on a library's first
// call, nothing of its table is bound yet.
FARPROC WINAPI NoteDelayLoad(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliStartProcessing || !info || !info->pidd ||
        !(info->pidd->grAttrs & dlattrRva))
        return nullptr;
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
    auto* module = reinterpret_cast<HMODULE*>(base + info->pidd->rvaHmod);
    for (const DelayImport& known : DelayImports())
        if (known.module == module)
            return nullptr;
    if (*module)
        return nullptr;
    DelayImport import{info->szDll, module,
                       reinterpret_cast<ULONG_PTR*>(base + info->pidd->rvaIAT), {}};
    const auto* names = reinterpret_cast<const ULONG_PTR*>(base + info->pidd->rvaINT);
    for (size_t i = 0; names[i] != 0; ++i)
        import.unbound.push_back(import.table[i]);
    DelayImports().push_back(std::move(import));
    return nullptr;
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
    // What a linker's unload support does: the table back as it was, then the library freed,
    // so that the next call goes through the loading stub again.
    for (DelayImport& import : DelayImports()) {
        if (::lstrcmpiA(import.library, library) != 0 || !*import.module)
            continue;
        const SIZE_T bytes = import.unbound.size() * sizeof(ULONG_PTR);
        DWORD protection = 0;
        if (!::VirtualProtect(import.table, bytes, PAGE_READWRITE, &protection))
            return;
        std::memcpy(import.table, import.unbound.data(), bytes);
        ::VirtualProtect(import.table, bytes, protection, &protection);
        HMODULE module = *import.module;
        *import.module = nullptr;
        ::FreeLibrary(module);
    }
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

// The delay-load helper's notification hook (Visual C++ declares it const).
#if defined(_MSC_VER)
extern "C" const PfnDliHook __pfnDliNotifyHook2 = glimro::NoteDelayLoad;
#else
extern "C" PfnDliHook __pfnDliNotifyHook2 = glimro::NoteDelayLoad;
#endif
