// Any picture name or feed title as a caption: a readable name is never empty, and the lines
// are at most two, bounded, and carry no control character onto the desktop.
#include "core/caption_text.h"
#include "core/hidden_controls.h"

#include "fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text = FuzzText(data, size);
    const std::wstring name = glimro::ReadableFileName(glimro::PictureFileName(text));
    if (name.empty() && !glimro::PictureFileName(text).empty())
        __builtin_trap();
    const std::vector<std::wstring> lines = glimro::CaptionLines({text, text, name, L"", text});
    if (lines.size() > 2)
        __builtin_trap();
    for (const std::wstring& line : lines) {
        if (line.size() > 3 * 300 + 10)
            __builtin_trap();
        for (const wchar_t c : line)
            if (glimro::IsHiddenControl(c))
                __builtin_trap();
    }
    glimro::RunsRightToLeft(text);
    return 0;
}
