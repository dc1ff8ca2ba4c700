#include "platform/ui_language.h"

#include <atomic>

namespace glimro {
namespace {

std::atomic<LANGID> g_language{kEnglishLanguage};

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) {
    auto* languages = reinterpret_cast<std::vector<LANGID>*>(found);
    if (language != kEnglishLanguage)
        languages->push_back(language);
    return TRUE;
}

// The resource's bytes in exactly that language; null when it has none there.
const void* ResourceIn(LPCWSTR type, LPCWSTR name, LANGID language, DWORD* size) {
    const HMODULE module = ::GetModuleHandleW(nullptr);
    const HRSRC found = ::FindResourceExW(module, type, name, language);
    const HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    if (!loaded)
        return nullptr;
    if (size)
        *size = ::SizeofResource(module, found);
    return ::LockResource(loaded);
}

std::vector<std::wstring> SystemPreferredUiLanguages() {
    ULONG count = 0, length = 0;
    const DWORD flags = MUI_LANGUAGE_NAME | MUI_MERGE_USER_FALLBACK;
    if (!::GetThreadPreferredUILanguages(flags, &count, nullptr, &length) || length == 0)
        return {};
    std::wstring list(length, L'\0');
    if (!::GetThreadPreferredUILanguages(flags, &count, list.data(), &length))
        return {};
    std::vector<std::wstring> languages;
    for (size_t start = 0; start < list.size() && list[start] != L'\0';) {
        const size_t end = list.find(L'\0', start);
        languages.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return languages;
}

} // namespace

Seam<std::vector<std::wstring>()> PreferredUiLanguages{SystemPreferredUiLanguages};

std::vector<LANGID> CarriedLanguages(UINT marker_id) {
    std::vector<LANGID> languages{kEnglishLanguage};
    ::EnumResourceLanguagesW(::GetModuleHandleW(nullptr), RT_STRING, MAKEINTRESOURCEW(marker_id / 16 + 1),
                             CollectLanguage, reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

std::wstring LanguageTag(LANGID language) {
    wchar_t tag[LOCALE_NAME_MAX_LENGTH] = {};
    return ::LCIDToLocaleName(MAKELCID(language, SORT_DEFAULT), tag, LOCALE_NAME_MAX_LENGTH, 0) > 0 ? tag : L"";
}

void SetUiLanguage(LANGID language) {
    g_language = language;
}

LANGID UiLanguage() {
    return g_language;
}

std::wstring LoadResourceStringIn(UINT id, LANGID language) {
    // A string table block holds sixteen strings, each its length and its characters.
    DWORD size = 0;
    const auto* block = static_cast<const WCHAR*>(
        ResourceIn(RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language, &size));
    if (!block)
        return {};
    const WCHAR* const end = block + size / sizeof(WCHAR);
    for (UINT i = 0; i < id % 16 && block < end; ++i)
        block += 1 + *block;
    if (block >= end || block + 1 + *block > end)
        return {};
    return std::wstring(block + 1, *block);
}

const DLGTEMPLATE* FindDialogTemplate(UINT id, DWORD* size) {
    for (const LANGID language : {UiLanguage(), kEnglishLanguage}) {
        if (const void* found = ResourceIn(RT_DIALOG, MAKEINTRESOURCEW(id), language, size))
            return static_cast<const DLGTEMPLATE*>(found);
    }
    return nullptr;
}

} // namespace glimro
