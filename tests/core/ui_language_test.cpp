#include "core/text_fields.h"
#include "core/ui_language.h"

#include <gtest/gtest.h>

namespace glimro {
namespace {

const std::vector<std::wstring> kCarried = {L"en-US", L"de-DE", L"fr-FR", L"es-ES", L"it-IT",
                                            L"pt-BR", L"pl-PL", L"ja-JP", L"zh-CN"};

TEST(ChooseUiLanguage, TheOptionsChoiceThenTheUsersLanguagesInTheirOrderThenEnglish) {
    const struct {
        const wchar_t* chosen;
        std::vector<std::wstring> preferred;
        const wchar_t* spoken;
    } cases[] = {
        {L"", {L"de-DE"}, L"de-DE"},
        {L"", {L"de-AT", L"en-US"}, L"de-DE"},           // a region takes its language
        {L"", {L"pt-PT"}, L"pt-BR"},                     // the Portuguese there is
        {L"", {L"en-GB", L"de-DE"}, L"en-US"},           // English wanted first
        {L"", {L"nl-NL", L"fr-BE", L"de-DE"}, L"fr-FR"}, // the first one carried
        {L"", {L"nl-NL", L"sv-SE"}, L"en-US"},           // none: English
        {L"", {}, L"en-US"},
        {L"", {L"zh-Hans-CN"}, L"zh-CN"},
        {L"", {L"zh-SG"}, L"zh-CN"},
        {L"", {L"zh-TW", L"ja-JP"}, L"ja-JP"},           // Traditional is not Simplified
        {L"", {L"zh-Hant-HK"}, L"en-US"},
        {L"", {L"JA-jp"}, L"ja-JP"},                     // letter case
        {L"", {L"pl_PL"}, L"pl-PL"},
        {L"fr-FR", {L"de-DE"}, L"fr-FR"},                // Options before Windows
        {L"en-US", {L"de-DE"}, L"en-US"},
        {L"it", {L"de-DE"}, L"it-IT"},
        {L"xx-YY", {L"de-DE"}, L"de-DE"},                // a choice Glimro no longer has
        {L"", {L"", L"-", L"1234", L"es-419"}, L"es-ES"},
    };
    for (const auto& c : cases) {
        const size_t spoken = ChooseUiLanguage(kCarried, c.chosen, c.preferred);
        ASSERT_LT(spoken, kCarried.size());
        EXPECT_EQ(kCarried[spoken], c.spoken) << c.chosen << " / " << (c.preferred.empty() ? L"" : c.preferred[0]);
    }
}

TEST(ChooseUiLanguage, ALongOrHostileTagMatchesNothing) {
    const std::wstring long_tag(1000, L'd');
    EXPECT_EQ(ChooseUiLanguage(kCarried, long_tag, {long_tag, std::wstring(L"de\0DE", 5), L"d\u00E9-DE"}), 0u);
    EXPECT_EQ(PartsOfTag(L"zh").script, L"hans");
    EXPECT_EQ(PartsOfTag(L"de-CH").language, L"de");
}

} // namespace
} // namespace glimro

namespace glimro {
namespace {

TEST(FillFields, EachFieldWhereTheTranslationPutsIt) {
    EXPECT_EQ(FillFields(L"%2 and %1", {L"a", L"b"}), L"b and a");
    EXPECT_EQ(FillFields(L"Under %1 %% of it", {L"25"}), L"Under 25 % of it");
    EXPECT_EQ(FillFields(L"%3 missing, %x kept, ends in %", {L"a"}), L" missing, %x kept, ends in %");
    EXPECT_EQ(FillFields(L"%1", {L"%2 stays"}), L"%2 stays"); // a value is never read as a pattern
}

} // namespace
} // namespace glimro
