#pragma once
// The system's Open box, as a seam: tests answer it in its place.
#include "platform/seam.h"

#include <windows.h>
#include <commdlg.h>

#include <string>

namespace glimro {

// The user closed the box without choosing.
inline constexpr DWORD kOpenBoxCancelled = 0xFFFFFFFF;

// 0 when the user chose, kOpenBoxCancelled, or the Open box's extended error code.
extern Seam<DWORD(OPENFILENAMEW*)> ShowOpenBox;

// The system's folder picker (IFileOpenDialog with FOS_PICKFOLDERS), owned by the window,
// titled, starting in start when it is not empty; the chosen folder's path, or empty.
extern Seam<std::wstring(HWND owner, const std::wstring& title, const std::wstring& start)>
    PickFolder;

} // namespace glimro
