#pragma once
// Albums put into the (sandboxed) registry as a running instance would find them at start.
#include "store/album_set.h"

#include <memory>
#include <vector>

namespace glimro::test {

inline int StoreAlbums(const std::vector<CAlbum>& albums) {
    AlbumSet set;
    for (const CAlbum& album : albums)
        set.Add(std::make_unique<CAlbum>(album));
    return set.SaveAlbumList();
}

} // namespace glimro::test
