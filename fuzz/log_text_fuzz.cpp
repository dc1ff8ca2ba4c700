// Any text on its way into the log: it comes out as one line, and an address keeps no
// credentials.
#include "core/log_text.h"

#include "fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text = FuzzText(data, size);
    const std::wstring safe = glimro::LogSafeText(text);
    for (const wchar_t c : safe) {
        if ((c >= 0 && c < 0x20) || c == 0x7F)
            __builtin_trap();
    }
    glimro::WithoutCredentials(text);
    glimro::WithoutCredentials(safe);
    return 0;
}
