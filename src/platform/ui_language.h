#pragma once
// The language the windows speak: every string and dialog template is loaded in it, and in
// English where a language lacks one, so a language is one resource file. Which one is the
// program's to choose (ui/language_choice.h); this is only how it is found and loaded.
#include "platform/seam.h"

#include <windows.h>

#include <string>
#include <vector>

namespace glimro {

inline constexpr LANGID kEnglishLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// The languages the executable carries a string table for: those of the string block that
// holds marker_id, English first.
std::vector<LANGID> CarriedLanguages(UINT marker_id);
// "de-DE" for German (Germany); empty when the system knows no such language.
std::wstring LanguageTag(LANGID language);

// The user's display languages, most wanted first, the thread's and the process's own before
// the user's (GetThreadPreferredUILanguages); tests put lists here.
extern Seam<std::vector<std::wstring>()> PreferredUiLanguages;

void SetUiLanguage(LANGID language);
LANGID UiLanguage();

// A string of this module in that language, exactly; empty when it has none there.
std::wstring LoadResourceStringIn(UINT id, LANGID language);

// A dialog template of this module in the windows' language, else English; null when missing.
const DLGTEMPLATE* FindDialogTemplate(UINT id, DWORD* size = nullptr);

} // namespace glimro
