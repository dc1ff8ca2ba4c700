#include "core/text_fields.h"

namespace glimro {

std::wstring FillFields(std::wstring_view pattern, const std::vector<std::wstring>& values) {
    std::wstring text;
    text.reserve(pattern.size());
    for (size_t i = 0; i < pattern.size(); ++i) {
        const wchar_t next = i + 1 < pattern.size() ? pattern[i + 1] : L'\0';
        if (pattern[i] == L'%' && next == L'%') {
            text += L'%';
            ++i;
        } else if (pattern[i] == L'%' && next >= L'1' && next <= L'9') {
            const size_t field = static_cast<size_t>(next - L'1');
            if (field < values.size())
                text += values[field];
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

} // namespace glimro
