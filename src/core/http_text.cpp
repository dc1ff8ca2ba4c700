#include "core/http_text.h"

#include "core/decimal.h"

namespace glimro {

std::optional<uint64_t> ParseContentLength(std::wstring_view text, uint64_t max) {
    while (!text.empty() && (text.front() == L' ' || text.front() == L'\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t'))
        text.remove_suffix(1);
    return ParseDecimal(text, max);
}

std::wstring AddressKey(std::wstring_view address) {
    uint64_t hash = 14695981039346656037ull;
    for (const wchar_t unit : address) {
        hash ^= static_cast<uint16_t>(unit);
        hash *= 1099511628211ull;
    }
    std::wstring key(16, L'0');
    for (size_t i = 16; i-- > 0; hash >>= 4)
        key[i] = L"0123456789abcdef"[hash & 15];
    return key;
}

} // namespace glimro
