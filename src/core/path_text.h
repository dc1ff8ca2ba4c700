#pragma once
// Paths as people type them into Glimro, and the names it accepts from its command line.
#include <string>
#include <string_view>
#include <vector>

namespace glimro {

// The paths of a typed text: separated by ';', blanks around each dropped, empty ones
// skipped; a path in double quotes is taken whole, ';' and all.
std::vector<std::wstring> SplitPathText(std::wstring_view text);
// The paths as a field shows them, joined by ';': each quoted when it holds a ';' or begins
// or ends with a blank, so that splitting the text gives the same paths back.
std::wstring JoinPathText(const std::vector<std::wstring>& paths);

// A saved album set's name as -C takes it: a plain folder name, not empty, at most 100
// characters, with no path separator, drive, quote, wildcard or control character, and
// not "." or "..".
bool IsPlainSetName(std::wstring_view name);

// A file name (no extension) made from a picture's title: characters Windows refuses in
// a name and control characters become blanks, blanks are run together, the ends trimmed
// of blanks and dots, at most 80 characters, never a device name; "Glimro picture" when
// nothing is left.
std::wstring FileNameFromTitle(std::wstring_view title);

} // namespace glimro
