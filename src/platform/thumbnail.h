#pragma once
// The shell's thumbnail extractor for one item of a folder; tests put stand-ins here so that
// "no extractor", "pending" and "no bitmap" can all be exercised.
#include "platform/com_ptr.h"
#include "platform/seam.h"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace glimro {

// IShellFolder::GetUIObjectOf(no owner, one child, IID_IExtractImage).
extern Seam<HRESULT(IShellFolder* parent, PCUITEMID_CHILD child, ComPtr<IExtractImage>* out)>
    GetThumbnailExtractor;

} // namespace glimro
