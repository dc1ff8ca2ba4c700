#pragma once
// The one judge of whether a text can be an album entry: for the pass, which meets whatever
// the registry holds, and for the Images page and the drop list, which take what the user
// adds. The messages and log lines take their limits from here.
#include <string>

namespace glimro {

enum class EntryProblem { None, Empty, TooLong, NotFullPath, NotAPicture };

// The longest entry of its kind that the pass can use: an address, or a local path.
size_t MaxEntryChars(const std::wstring& entry);

// For the pass: a text it can try (not empty, within its kind's length).
EntryProblem CheckStoredEntry(const std::wstring& target);

// For an entry the user adds: besides that, a folder, or a full path or an address whose
// name (an address's before its "?" or "#") is a picture's.
EntryProblem CheckNewEntry(const std::wstring& text);

// "an address longer than 2048 characters", "a path longer than 259 characters".
std::wstring TooLongText(const std::wstring& entry);

} // namespace glimro
