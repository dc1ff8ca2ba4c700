#include "ui/language_choice.h"

#include "core/ui_language.h"
#include "platform/ui_language.h"
#include "resource.h"
#include "store/product_key.h"

namespace glimro {

std::vector<LanguageOption> LanguageOptions() {
    std::vector<LanguageOption> options;
    for (const LANGID language : CarriedLanguages(IDS_LANGUAGE_NAME)) {
        const std::wstring tag = LanguageTag(language);
        if (!tag.empty())
            options.push_back({tag, LoadResourceStringIn(IDS_LANGUAGE_NAME, language)});
    }
    return options;
}

std::wstring ChosenLanguage() {
    return ReadProductText(kLanguageValue).value_or(L"");
}

void ApplyLanguageChoice() {
    const std::vector<LANGID> carried = CarriedLanguages(IDS_LANGUAGE_NAME);
    std::vector<std::wstring> tags;
    for (const LANGID language : carried)
        tags.push_back(LanguageTag(language));
    SetUiLanguage(carried[ChooseUiLanguage(tags, ChosenLanguage(), PreferredUiLanguages())]);
}

} // namespace glimro
