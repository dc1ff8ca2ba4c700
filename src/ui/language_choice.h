#pragma once
// Which language Glimro's windows speak: the Options choice (the product value "Language"),
// else the first of the user's display languages Glimro carries, else English.
#include <string>
#include <vector>

namespace glimro {

struct LanguageOption {
    std::wstring tag;  // "de-DE"
    std::wstring name; // "Deutsch", as the language names itself
};
// The languages carried, English first.
std::vector<LanguageOption> LanguageOptions();

// The stored choice (empty: as Windows), and the language it means now, made the windows'.
std::wstring ChosenLanguage();
void ApplyLanguageChoice();

} // namespace glimro
