#pragma once
// An owned image list, destroyed with its owner.
#include "platform/handle.h"

#include <windows.h>
#include <commctrl.h>

namespace glimro {

struct ImageListTraits {
    static HIMAGELIST Invalid() { return nullptr; }
    static bool IsValid(HIMAGELIST h) { return h != nullptr; }
    static void Close(HIMAGELIST h) { ::ImageList_Destroy(h); }
};
using UniqueImageList = UniqueResource<HIMAGELIST, ImageListTraits>;

} // namespace glimro
