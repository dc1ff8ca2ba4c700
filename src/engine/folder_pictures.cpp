#include "engine/folder_pictures.h"

#include "engine/internet_fetch.h"
#include "core/picture_names.h"

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>

namespace glimro {
namespace {

constexpr int kMaxDepth = 64;
constexpr DWORD kSkipped = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

bool LogicalLess(const std::wstring& a, const std::wstring& b) {
    return ::StrCmpLogicalW(a.c_str(), b.c_str()) < 0;
}

std::wstring WithSlash(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/')
        folder += L'\\';
    return folder;
}

void Walk(const std::wstring& folder, int depth, std::vector<std::wstring>* pictures) {
    std::vector<std::wstring> folders, files;
    WIN32_FIND_DATAW found = {};
    HANDLE search = ::FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &found,
                                       FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (found.dwFileAttributes & kSkipped)
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (name != L"." && name != L".." &&
                !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                folders.push_back(name);
        } else if (HasImageExtension(name)) {
            files.push_back(name);
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(folders.begin(), folders.end(), LogicalLess);
    std::sort(files.begin(), files.end(), LogicalLess);
    if (depth < kMaxDepth) {
        for (const std::wstring& name : folders)
            Walk(folder + name + L"\\", depth + 1, pictures);
    }
    for (const std::wstring& name : files)
        pictures->push_back(folder + name);
}

} // namespace

bool IsFolderEntry(const std::wstring& target) {
    if (target.empty() || IsInternetEntry(target))
        return false;
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::wstring> FolderPictures(const std::wstring& folder) {
    std::vector<std::wstring> pictures;
    Walk(WithSlash(folder), 0, &pictures);
    return pictures;
}

bool ComesBefore(const std::wstring& a, const std::wstring& b) {
    // Component by component: at the first difference a folder (more to come) goes before
    // a file, and names compare as Explorer compares them.
    size_t i = 0, j = 0;
    for (;;) {
        const size_t a_end = std::min(a.find(L'\\', i), a.size());
        const size_t b_end = std::min(b.find(L'\\', j), b.size());
        const std::wstring a_name = a.substr(i, a_end - i), b_name = b.substr(j, b_end - j);
        const bool a_folder = a_end < a.size(), b_folder = b_end < b.size();
        if (::lstrcmpiW(a_name.c_str(), b_name.c_str()) != 0 || a_folder != b_folder) {
            if (a_folder != b_folder)
                return a_folder;
            return LogicalLess(a_name, b_name);
        }
        if (!a_folder)
            return false; // the same path
        i = a_end + 1;
        j = b_end + 1;
    }
}

bool IsInFolder(const std::wstring& path, const std::wstring& folder) {
    const std::wstring prefix = WithSlash(folder);
    return path.size() > prefix.size() &&
           ::CompareStringOrdinal(path.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                                  static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

} // namespace glimro
