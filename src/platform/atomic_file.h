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

} // namespace glimro
