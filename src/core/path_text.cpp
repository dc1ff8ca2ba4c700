#include "core/path_text.h"

#include "core/hidden_controls.h"

#include <algorithm>

namespace glimro {
namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

} // namespace

std::vector<std::wstring> SplitPathText(std::wstring_view text) {
    std::vector<std::wstring> paths;
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && IsBlank(text[at]))
            ++at;
        std::wstring_view path;
        if (at < text.size() && text[at] == L'"') {
            const size_t close = std::min(text.find(L'"', at + 1), text.size());
            path = text.substr(at + 1, close - at - 1);
            at = std::min(text.find(L';', close), text.size());
        } else {
            const size_t end = std::min(text.find(L';', at), text.size());
            path = text.substr(at, end - at);
            while (!path.empty() && IsBlank(path.back()))
                path.remove_suffix(1);
            at = end;
        }
        ++at; // past the ';'
        if (!path.empty())
            paths.emplace_back(path);
    }
    return paths;
}

std::wstring JoinPathText(const std::vector<std::wstring>& paths) {
    std::wstring text;
    for (const std::wstring& path : paths) {
        if (!text.empty())
            text += L';';
        const bool quoted = path.find(L';') != std::wstring::npos ||
                            (!path.empty() && (IsBlank(path.front()) || IsBlank(path.back())));
        text += quoted ? L'"' + path + L'"' : path;
    }
    return text;
}

bool IsPlainSetName(std::wstring_view name) {
    if (name.empty() || name.size() > 100 || name == L"." || name == L"..")
        return false;
    if (name.find(L"..") != std::wstring_view::npos)
        return false;
    return std::none_of(name.begin(), name.end(), [](wchar_t c) {
        return c < 0x20 || std::wstring_view(L"\\/:\"*?<>|").find(c) != std::wstring_view::npos;
    });
}

std::wstring FileNameFromTitle(std::wstring_view title) {
    constexpr size_t kMaxChars = 80;
    std::wstring name;
    for (const wchar_t c : title) {
        const bool refused =
            IsHiddenControl(c) || std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos;
        const wchar_t kept = refused || c == L'\t' ? L' ' : c;
        if (kept == L' ' && (name.empty() || name.back() == L' '))
            continue;
        if (name.size() == kMaxChars)
            break;
        name += kept;
    }
    while (!name.empty() && (name.back() == L' ' || name.back() == L'.'))
        name.pop_back();
    name.erase(0, name.find_first_not_of(L" ."));
    // "CON", "com1" and the like name devices, with any extension.
    std::wstring upper;
    for (const wchar_t c : name)
        upper += (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c;
    const bool device = upper == L"CON" || upper == L"PRN" || upper == L"AUX" || upper == L"NUL" ||
                        (upper.size() == 4 && (upper.rfind(L"COM", 0) == 0 || upper.rfind(L"LPT", 0) == 0) &&
                         upper[3] >= L'1' && upper[3] <= L'9');
    if (device)
        name = L"Glimro " + name;
    return name.empty() ? L"Glimro picture" : name;
}

} // namespace glimro
