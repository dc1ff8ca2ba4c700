#include "store/album_list.h"

#include "store/product_key.h"

#include <memory>

namespace glimro {

size_t LoadAlbumList(AlbumCollection& collection) {
    RegKey album_list;
    if (album_list.Open(HKEY_CURRENT_USER, kAlbumListKey, KEY_ALL_ACCESS) != ERROR_SUCCESS)
        return 0;
    std::wstring name;
    for (DWORD index = 0; album_list.EnumSubkey(index, &name) == ERROR_SUCCESS; ++index) {
        RegKey album_key;
        // A subkey that cannot be opened ends the loading: later ones are not loaded either.
        if (album_key.Open(album_list.Get(), name.c_str(), KEY_ALL_ACCESS) != ERROR_SUCCESS)
            break;
        auto album = std::make_unique<CAccount>();
        album->Name = name;
        if (album->LoadFromKey(album_key))
            collection.push_front(std::move(album));
    }
    return collection.size();
}

namespace {

// Deletes the album list key with everything under it; unless there is nothing to write,
// creates it again and lets each album of [first, last) save itself there, skipping rows
// without one.
template <typename Iterator> int ReplaceAlbumList(Iterator first, Iterator last) {
    RegKey::DeleteTree(HKEY_CURRENT_USER, kAlbumListKey);
    if (first == last)
        return 0;
    RegKey album_list;
    if (album_list.Create(HKEY_CURRENT_USER, kAlbumListKey, KEY_WRITE) != ERROR_SUCCESS)
        return 0;
    int written = 0;
    for (; first != last; ++first) {
        if (const CAccount* album = std::to_address(*first)) {
            album->SaveToKey(album_list.Get(), written);
            ++written;
        }
    }
    return written;
}

} // namespace

int SaveAlbumList(const AlbumRows& rows) {
    return ReplaceAlbumList(rows.rbegin(), rows.rend());
}

int RewriteAlbumList(const AlbumCollection& albums) {
    return ReplaceAlbumList(albums.begin(), albums.end());
}

void FreeAlbumList(AlbumCollection& albums) {
    albums.clear();
}

CAccount* FindActiveAlbum(const AlbumRows& rows) {
    for (CAccount* album : rows) {
        if (album && album->Enabled)
            return album;
    }
    return nullptr;
}

} // namespace glimro
