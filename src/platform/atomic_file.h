#pragma once
// Replacing a file whole: a complete new file, written beside the old one, is flushed to the
// disk and then moved over the old one in one step, so that after a crash or a power cut the
// old file or all of the new one is there, never part of one.
#include <windows.h>

#include <string>

namespace glimro {

// Puts the written file in place of target; the system's code of the first step that failed
// (the written file is then deleted, and target is as it was).
HRESULT CommitFile(const std::wstring& written, const std::wstring& target);

// The folder and any missing above it; S_OK also when it is there already.
HRESULT MakeFolder(const std::wstring& folder);
// A copy of from put in place of to as CommitFile does.
HRESULT CopyWhole(const std::wstring& from, const std::wstring& to);
// A file of at most max_bytes read whole; false when it is missing, unreadable or larger.
bool ReadSmallFile(const std::wstring& path, size_t max_bytes, std::string* bytes);
// The bytes written under another name and then put in place of path.
HRESULT WriteSmallFile(const std::wstring& path, const std::string& bytes);

} // namespace glimro
