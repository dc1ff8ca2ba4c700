#pragma once
// A Win32 status code as a result code. MinGW's HRESULT_FROM_WIN32 is a macro that evaluates
// its argument twice, so HRESULT_FROM_WIN32(f()) would call f twice; this evaluates it once.
#include <windows.h>

namespace glimro {

inline HRESULT HresultFromWin32(LSTATUS status) {
    return HRESULT_FROM_WIN32(static_cast<unsigned long>(status));
}

} // namespace glimro
