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

// From now on, libraries the process loads by name come from the system folder only.
void LoadLibrariesFromSystemOnly();

} // namespace glimro
