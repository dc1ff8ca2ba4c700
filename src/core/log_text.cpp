#include "core/log_text.h"

namespace glimro {

std::wstring LogSafeText(std::wstring_view text) {
    static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring safe;
    safe.reserve(text.size());
    for (const wchar_t c : text) {
        if (c == L'\r') {
            safe += L"\\r";
        } else if (c == L'\n') {
            safe += L"\\n";
        } else if (c == L'\t') {
            safe += L"\\t";
        } else if ((c >= 0 && c < 0x20) || c == 0x7F) {
            safe += L"\\x";
            safe += kHex[(c >> 4) & 0xF];
            safe += kHex[c & 0xF];
        } else {
            safe += c;
        }
    }
    return safe;
}

std::wstring WithoutCredentials(std::wstring_view address) {
    const size_t scheme = address.find(L"://");
    if (scheme == std::wstring_view::npos)
        return std::wstring(address);
    const size_t host = scheme + 3;
    const size_t authority_end = std::min(address.find_first_of(L"/?#", host), address.size());
    const size_t at = address.substr(0, authority_end).rfind(L'@');
    if (at == std::wstring_view::npos || at < host)
        return std::wstring(address);
    return std::wstring(address.substr(0, host)) + L"***" + std::wstring(address.substr(at));
}

} // namespace glimro
