#include "platform/image_list.h"

#include "platform/dpi.h"

namespace glimro {

UniqueImageList LoadIconList(std::initializer_list<UINT> ids, int size) {
    UniqueImageList list(
        ::ImageList_Create(size, size, ILC_COLOR32, static_cast<int>(ids.size()), 1));
    if (!list)
        return list;
    for (UINT id : ids) {
        HICON icon = LoadIconOfSize(id, size);
        ::ImageList_AddIcon(list.Get(), icon);
        if (icon)
            ::DestroyIcon(icon);
    }
    return list;
}

} // namespace glimro
