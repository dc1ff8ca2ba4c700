#include "core/ui_language.h"

#include <cwctype>
#include <optional>

namespace glimro {
namespace {

std::wstring Lower(std::wstring_view text) {
    std::wstring lower(text);
    for (wchar_t& c : lower)
        c = c < 0x80 ? static_cast<wchar_t>(std::towlower(c)) : c;
    return lower;
}

std::vector<std::wstring> Subtags(std::wstring_view tag) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (size_t i = 0; i <= tag.size(); ++i) {
        if (i == tag.size() || tag[i] == L'-' || tag[i] == L'_') {
            parts.push_back(Lower(tag.substr(start, i - start)));
            start = i + 1;
        }
    }
    return parts;
}

bool IsLetters(const std::wstring& text) {
    for (const wchar_t c : text)
        if (c < L'a' || c > L'z')
            return false;
    return !text.empty();
}

std::optional<size_t> Find(const std::vector<std::wstring>& available, std::wstring_view tag, bool exact) {
    const std::wstring wanted = Lower(tag);
    const LanguageParts parts = PartsOfTag(tag);
    if (parts.language.empty())
        return std::nullopt;
    for (size_t i = 0; i < available.size(); ++i) {
        if (exact ? Lower(available[i]) == wanted
                  : PartsOfTag(available[i]).language == parts.language &&
                        PartsOfTag(available[i]).script == parts.script)
            return i;
    }
    return std::nullopt;
}

} // namespace

LanguageParts PartsOfTag(std::wstring_view tag) {
    const std::vector<std::wstring> subtags = Subtags(tag);
    LanguageParts parts;
    if (subtags.empty() || subtags[0].size() < 2 || subtags[0].size() > 3 || !IsLetters(subtags[0]))
        return parts;
    parts.language = subtags[0];
    if (parts.language != L"zh")
        return parts;
    // Simplified unless the tag says Traditional or names a region that writes it.
    parts.script = L"hans";
    for (size_t i = 1; i < subtags.size(); ++i) {
        const std::wstring& subtag = subtags[i];
        if (subtag == L"hant" || subtag == L"tw" || subtag == L"hk" || subtag == L"mo")
            parts.script = L"hant";
        if (subtag == L"hans")
            return parts;
    }
    return parts;
}

size_t ChooseUiLanguage(const std::vector<std::wstring>& available, std::wstring_view chosen,
                        const std::vector<std::wstring>& preferred) {
    if (!chosen.empty()) {
        if (const auto found = Find(available, chosen, true))
            return *found;
        if (const auto found = Find(available, chosen, false))
            return *found;
    }
    // In the user's order, each wanted language exactly or in another region's form, before
    // the next is looked at: someone who reads Portuguese first gets Brazil's before English.
    for (const std::wstring& wanted : preferred) {
        if (const auto found = Find(available, wanted, true))
            return *found;
        if (const auto found = Find(available, wanted, false))
            return *found;
    }
    return 0;
}

} // namespace glimro
