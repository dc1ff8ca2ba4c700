#pragma once
// Owning WinINet handle.
#include "platform/handle.h"

#include <windows.h>
#include <wininet.h>

namespace glimro {

struct InternetHandleTraits {
    static HINTERNET Invalid() { return nullptr; }
    static bool IsValid(HINTERNET h) { return h != nullptr; }
    static void Close(HINTERNET h) { ::InternetCloseHandle(h); }
};
using InternetHandle = UniqueResource<HINTERNET, InternetHandleTraits>;

} // namespace glimro
