#pragma once
// The primary screen's size in pixels, read at every call; tests set it.
#include "platform/seam.h"

#include <windows.h>

namespace glimro {

extern Seam<SIZE()> PrimaryScreenSize; // GetSystemMetrics(SM_CXSCREEN / SM_CYSCREEN)
// All monitors together: GetSystemMetrics(SM_CXVIRTUALSCREEN / SM_CYVIRTUALSCREEN).
extern Seam<SIZE()> VirtualScreenSize;

} // namespace glimro
