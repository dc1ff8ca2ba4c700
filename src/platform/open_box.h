#pragma once
// The system's Open box, as a seam: tests answer it in its place.
#include "platform/seam.h"

#include <windows.h>
#include <commdlg.h>

namespace glimro {

// The user closed the box without choosing.
inline constexpr DWORD kOpenBoxCancelled = 0xFFFFFFFF;

// 0 when the user chose, kOpenBoxCancelled, or the Open box's extended error code.
extern Seam<DWORD(OPENFILENAMEW*)> ShowOpenBox;

} // namespace glimro
