#pragma once
// Which of the languages Glimro carries it speaks, chosen the way Windows programs choose: the
// one picked in Options, else the first of the user's display languages that Glimro has (a
// regional variant taking its language: de-AT German, pt-PT the Portuguese there is), else
// English. Languages are BCP 47 tags as Windows writes them ("de-DE", "zh-Hans-CN").
#include <string>
#include <string_view>
#include <vector>

namespace glimro {

// The parts of a tag that decide: its language ("zh") and, for Chinese, its script ("Hans" or
// "Hant", from the region when the tag names none), lower-cased.
struct LanguageParts {
    std::wstring language;
    std::wstring script;
};
LanguageParts PartsOfTag(std::wstring_view tag);

// available: the languages Glimro carries, English first; chosen: the Options choice (empty:
// as Windows); preferred: the user's display languages, most wanted first. The index of the
// language to speak in available (0 when none fits).
size_t ChooseUiLanguage(const std::vector<std::wstring>& available, std::wstring_view chosen,
                        const std::vector<std::wstring>& preferred);

} // namespace glimro
