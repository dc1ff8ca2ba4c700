#include "engine/entry_judge.h"

#include "engine/entry_source.h"

namespace glimro {

size_t MaxEntryChars(const std::wstring& entry) {
    return PictureSourceFor(entry).MaxChars();
}

EntryProblem CheckStoredEntry(const std::wstring& target) {
    if (target.empty())
        return EntryProblem::Empty;
    return target.size() > MaxEntryChars(target) ? EntryProblem::TooLong : EntryProblem::None;
}

EntryProblem CheckNewEntry(const std::wstring& text) {
    if (const EntryProblem stored = CheckStoredEntry(text); stored != EntryProblem::None)
        return stored;
    return SourceFor(text).CheckNew(text);
}

std::wstring TooLongText(const std::wstring& entry) {
    const std::wstring noun = PictureSourceFor(entry).Noun();
    const bool vowel = std::wstring(L"aeiou").find(noun.front()) != std::wstring::npos;
    return (vowel ? L"an " : L"a ") + noun + L" longer than " + std::to_wstring(MaxEntryChars(entry)) +
           L" characters";
}

} // namespace glimro
