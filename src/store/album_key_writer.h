#pragma once
// Crash-safe changes to the album list key: an album is written whole under a staging key
// and swapped in by renames; a key that goes (an old form, a removed album) is first renamed
// to a staging key, so removals and renames finish even when cut off and nothing is removed
// under an album's name. Each change is first noted in a journal value of the album list key
// (values there are no albums), which names its staging keys and its target, so recovery
// never guesses from an album's name: every name the registry accepts is a valid album name.
#include "store/album.h"

#include <string>
#include <vector>

namespace glimro {

// Finishes or undoes every change that a crash or a power cut interrupted; false when some
// could not be put right now (they are tried again next time).
bool FinishInterruptedChanges(RegKey& list);

// Subkeys that belong to an unfinished change (staging keys, albums being removed): never
// loaded as albums.
std::vector<std::wstring> KeysOfUnfinishedChanges(const RegKey& list);

// Stores the album under its Name. old_name is the key it was loaded from or last saved to
// (empty for a new album); its foreign content is carried over, and when the name changed
// it is removed once the new form is in place. stored is the record as that key holds it,
// so that unchanged values are copied as they are. ERROR_ALREADY_EXISTS when Name belongs
// to another key.
LSTATUS WriteAlbumKey(RegKey& list, const CAlbum& album, const std::wstring& old_name,
                      const CAlbum* stored);

// Removes an album's key with everything under it.
LSTATUS RemoveAlbumKey(RegKey& list, const std::wstring& name);

// Registry key names ignore letter case: the form two names are compared in.
std::wstring KeyNameIdentity(std::wstring name);

} // namespace glimro
