#include "platform/image_list.h"

#include "platform/dpi.h"

namespace glimro {

UniqueImageList LoadIconList(std::initializer_list<UINT> ids, int size) {
    UniqueImageList list(
        ::ImageList_Create(size, size, ILC_COLOR32, static_cast<int>(ids.size()), 1));
    if (!list)
        return list;
    for (UINT id : ids) {
        // The icon's own colour and mask bitmaps, added as they are: half the time of
        // ImageList_AddIcon under Wine, which copies and converts them again.
        UniqueIcon icon(LoadIconOfSize(id, size));
        ICONINFO info = {};
        if (!icon || !::GetIconInfo(icon.Get(), &info))
            continue;
        GdiObject<HBITMAP> colour(info.hbmColor), mask(info.hbmMask);
        ::ImageList_Add(list.Get(), colour.Get(), mask.Get());
    }
    return list;
}

} // namespace glimro
