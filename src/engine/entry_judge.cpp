#include "engine/entry_judge.h"

#include "core/picture_names.h"
#include "engine/folder_pictures.h"
#include "engine/internet_fetch.h"
#include "store/account.h"

namespace glimro {

size_t MaxEntryChars(const std::wstring& entry) {
    return IsInternetEntry(entry) ? kMaxAddressChars : kMaxPathChars;
}

EntryProblem CheckStoredEntry(const std::wstring& target) {
    if (target.empty())
        return EntryProblem::Empty;
    return target.size() > MaxEntryChars(target) ? EntryProblem::TooLong : EntryProblem::None;
}

EntryProblem CheckNewEntry(const std::wstring& text) {
    if (const EntryProblem stored = CheckStoredEntry(text); stored != EntryProblem::None)
        return stored;
    const bool address = IsInternetEntry(text);
    if (!address && IsFolderEntry(text))
        return EntryProblem::None; // a folder of pictures
    // A relative path would be looked for in whatever folder Glimro runs from.
    if (!address && !IsFullPath(text))
        return EntryProblem::NotFullPath;
    const std::wstring name = address ? text.substr(0, text.find_first_of(L"?#")) : text;
    return HasImageExtension(name) ? EntryProblem::None : EntryProblem::NotAPicture;
}

std::wstring TooLongText(const std::wstring& entry) {
    return (IsInternetEntry(entry) ? L"an address longer than " : L"a path longer than ") +
           std::to_wstring(MaxEntryChars(entry)) + L" characters";
}

} // namespace glimro
