// Any typed Add Image text, and any -C name: the paths split from a text join back to the
// same paths, and an accepted set name can never leave the albums folder.
#include "core/path_text.h"

#include "fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text = FuzzText(data, size);
    const std::vector<std::wstring> paths = glimro::SplitPathText(text);
    for (const std::wstring& path : paths) {
        if (path.empty())
            __builtin_trap();
    }
    if (glimro::SplitPathText(glimro::JoinPathText(paths)) != paths)
        __builtin_trap();
    if (glimro::IsPlainSetName(text) &&
        (text.find(L'\\') != std::wstring::npos || text.find(L'/') != std::wstring::npos ||
         text.find(L"..") != std::wstring::npos || text.find(L':') != std::wstring::npos))
        __builtin_trap();
    return 0;
}
