#include "core/picture_names.h"

namespace glimro {
namespace {

wchar_t Lower(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

} // namespace

bool HasImageExtension(std::wstring_view path) {
    const size_t name = path.find_last_of(L"\\/");
    const std::wstring_view last = name == std::wstring_view::npos ? path : path.substr(name + 1);
    const size_t dot = last.find_last_of(L'.');
    if (dot == std::wstring_view::npos)
        return false;
    const std::wstring_view extension = last.substr(dot);
    for (const std::wstring_view accepted : kImageExtensions) {
        if (accepted.size() != extension.size())
            continue;
        bool same = true;
        for (size_t i = 0; i < accepted.size() && same; ++i)
            same = Lower(extension[i]) == accepted[i];
        if (same)
            return true;
    }
    return false;
}

bool IsFullPath(std::wstring_view path) {
    if (path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/'))
        return (path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z');
    return path.size() > 2 && path[0] == L'\\' && path[1] == L'\\';
}

} // namespace glimro
