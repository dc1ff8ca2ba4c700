#pragma once
// Functions of system libraries that the program does not import: loaded on first use from
// the system folder by full path, so that no DLL of the same name beside the executable (or
// in the current folder) is ever taken for them.
#include <windows.h>

namespace glimro {

// The procedure, or null (the last error says why) when the library or the name is missing.
FARPROC SystemProcedure(const wchar_t* library, const char* name);

template <typename F>
F* SystemFunction(const wchar_t* library, const char* name) {
    return reinterpret_cast<F*>(reinterpret_cast<void*>(SystemProcedure(library, name)));
}

// A system library that a task loads on first use and lets go when it is done (Release);
// its functions are looked up at each call, so none outlives the library.
class SystemLibrary {
public:
    explicit SystemLibrary(const wchar_t* name) : name_(name) {}
    ~SystemLibrary() { Release(); }
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    // The procedure, or null (the last error says why); loads the library when needed.
    FARPROC Procedure(const char* name);
    template <typename F>
    F* Function(const char* name) {
        return reinterpret_cast<F*>(reinterpret_cast<void*>(Procedure(name)));
    }
    bool IsLoaded() const { return module_ != nullptr; }
    void Release();

private:
    const wchar_t* name_;
    HMODULE module_ = nullptr;
};

// Frees a delay-loaded library (named as it is imported) so that its next use loads it again;
// only once nothing of it is in use.
void UnloadDelayLoadedLibrary(const char* library);

// From now on, libraries the process loads by name come from the system folder only.
void LoadLibrariesFromSystemOnly();

} // namespace glimro
