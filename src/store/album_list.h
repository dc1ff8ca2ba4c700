#pragma once
// The set of all albums: loading every album key, writing the whole set back, finding the
// active album. The rows are the album list's rows in display order; a row without a record
// (the placeholder shown for an empty list) is a null pointer.
#include "store/account.h"

#include <list>
#include <memory>
#include <vector>

namespace glimro {

using AlbumCollection = std::list<std::unique_ptr<CAccount>>;
using AlbumRows = std::vector<CAccount*>;

// Puts every album of the registry at the head of the collection (so it ends in the reverse
// of the enumeration order); returns the collection's size afterwards.
size_t LoadAlbumList(AlbumCollection& collection);

// Deletes the album list key and writes every row's record again, from the last row to the
// first; returns the number of albums written.
int SaveAlbumList(const AlbumRows& rows);

// Deletes the album list key and, unless the collection is empty, writes every album again
// in collection order; returns the number written.
int RewriteAlbumList(const AlbumCollection& albums);
void FreeAlbumList(AlbumCollection& albums);

// The first row's record, in display order, whose active flag is set; null when none.
CAccount* FindActiveAlbum(const AlbumRows& rows);

} // namespace glimro
