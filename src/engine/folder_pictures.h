#pragma once
// Folder entries: an album entry that names a folder (local, or \\server\share) stands for
// the pictures in it and in its subfolders, read afresh at every pass.
#include <string>
#include <vector>

namespace glimro {

// Whether the entry names a folder: a local or network path that exists as a directory
// (an address never does). A missing folder is then an entry that cannot be read, as a
// missing file is.
bool IsFolderEntry(const std::wstring& target);

// The pictures (by the album's extensions) in the folder and its subfolders, as full paths,
// in the order Explorer shows them: in each folder its subfolders first, then its files,
// names compared as Explorer compares them (StrCmpLogicalW), then by the exact name where
// Explorer rates two alike ("1.jpg" and "01.jpg"), so no two names tie. Hidden and system files and
// folders, and folders that are links (which may loop), are left out.
std::vector<std::wstring> FolderPictures(const std::wstring& folder);

// Every file in the folder and its subfolders, whatever its name, by the same rules and order:
// for folders whose pictures are named without an extension.
std::vector<std::wstring> FilesUnder(const std::wstring& folder);

// Whether a comes before b in that order; both under the same folder.
bool ComesBefore(const std::wstring& a, const std::wstring& b);

// Whether the path lies inside the folder (at any depth).
bool IsInFolder(const std::wstring& path, const std::wstring& folder);

} // namespace glimro
