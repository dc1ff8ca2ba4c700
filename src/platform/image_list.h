#pragma once
// An owned image list, destroyed with its owner.
#include "platform/handle.h"

#include <windows.h>
#include <commctrl.h>

#include <initializer_list>

namespace glimro {

struct ImageListTraits {
    static HIMAGELIST Invalid() { return nullptr; }
    static bool IsValid(HIMAGELIST h) { return h != nullptr; }
    static void Close(HIMAGELIST h) { ::ImageList_Destroy(h); }
};
using UniqueImageList = UniqueResource<HIMAGELIST, ImageListTraits>;

// A 32-bit image list of the icon resources, in order, each drawn at size x size; null when
// the list cannot be made.
UniqueImageList LoadIconList(std::initializer_list<UINT> ids, int size);

} // namespace glimro
