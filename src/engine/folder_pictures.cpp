#include "engine/folder_pictures.h"

#include "core/picture_names.h"
#include "platform/handle.h"

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <cwchar>

namespace glimro {
namespace {

constexpr int kMaxDepth = 64;
constexpr DWORD kSkipped = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// Explorer's order, then the exact name: Explorer rates "1.jpg" and "01.jpg" alike, and a
// walk that steps past a name must never step over another.
bool NameLess(const wchar_t* a, const wchar_t* b) {
    if (const int logical = ::StrCmpLogicalW(a, b); logical != 0)
        return logical < 0;
    if (const int ordinal = ::CompareStringOrdinal(a, -1, b, -1, TRUE); ordinal != CSTR_EQUAL)
        return ordinal == CSTR_LESS_THAN;
    return std::wcscmp(a, b) < 0;
}

bool NameLess(const std::wstring& a, const std::wstring& b) {
    return NameLess(a.c_str(), b.c_str());
}

// Orders names as Explorer does where that is certain, without allocating: runs of digits by
// their value, ASCII letters without regard to case. *certain says whether the decision fell
// where StrCmpLogicalW decides the same way (two numbers of different value, or two
// different letters); anything else (punctuation, other scripts, equal numbers written
// differently) is left to StrCmpLogicalW.
int RoughCompare(std::wstring_view a, std::wstring_view b, bool* certain) {
    const auto digit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
    const auto letter = [](wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); };
    const auto lower = [](wchar_t c) {
        return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    };
    *certain = false;
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (digit(a[i]) && digit(b[j])) {
            size_t a_end = i, b_end = j;
            while (a_end < a.size() && digit(a[a_end]))
                ++a_end;
            while (b_end < b.size() && digit(b[b_end]))
                ++b_end;
            size_t x = i, y = j;
            while (x + 1 < a_end && a[x] == L'0')
                ++x;
            while (y + 1 < b_end && b[y] == L'0')
                ++y;
            int order = a_end - x == b_end - y ? a.substr(x, a_end - x).compare(b.substr(y, b_end - y))
                                               : (a_end - x < b_end - y ? -1 : 1);
            if (order != 0) {
                *certain = true;
                return order;
            }
            if (a_end - i != b_end - j)
                return a_end - i < b_end - j ? -1 : 1; // equal values written differently
            i = a_end;
            j = b_end;
            continue;
        }
        const wchar_t x = lower(a[i]), y = lower(b[j]);
        if (x != y) {
            *certain = letter(a[i]) && letter(b[j]);
            return x < y ? -1 : 1;
        }
        ++i;
        ++j;
    }
    return a.size() - i == b.size() - j ? 0 : (a.size() - i < b.size() - j ? -1 : 1);
}

// Paths of one folder sorted by their names (from `skip` on) in NameLess's order.
// That call is slow (a folder may hold thousands of names), so the names are put in order by
// the cheap comparison first, and only neighbours it is not certain about are checked with
// StrCmpLogicalW; a folder where the two disagree is sorted with StrCmpLogicalW throughout.
void SortLogically(std::vector<std::wstring>* paths, size_t skip) {
    const auto name = [skip](const std::wstring& path) {
        return std::wstring_view(path).substr(skip);
    };
    bool certain = false;
    std::sort(paths->begin(), paths->end(), [&](const std::wstring& a, const std::wstring& b) {
        const int rough = RoughCompare(name(a), name(b), &certain);
        return rough != 0 ? rough < 0 : a < b;
    });
    const auto exact = [skip](const std::wstring& a, const std::wstring& b) {
        return NameLess(a.c_str() + skip, b.c_str() + skip);
    };
    for (size_t i = 1; i < paths->size(); ++i) {
        RoughCompare(name((*paths)[i - 1]), name((*paths)[i]), &certain);
        if (!certain && exact((*paths)[i], (*paths)[i - 1])) {
            std::stable_sort(paths->begin(), paths->end(), exact);
            return;
        }
    }
}

std::wstring WithSlash(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/')
        folder += L'\\';
    return folder;
}

void Walk(const std::wstring& folder, int depth, bool any_name, std::vector<std::wstring>* pictures) {
    std::vector<std::wstring> folders, files;
    WIN32_FIND_DATAW found = {};
    const UniqueFind search(::FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &found,
                                               FindExSearchNameMatch, nullptr,
                                               FIND_FIRST_EX_LARGE_FETCH));
    if (!search)
        return;
    do {
        const std::wstring_view name = found.cFileName;
        if (found.dwFileAttributes & kSkipped)
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (name != L"." && name != L".." &&
                !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                folders.push_back(folder + std::wstring(name) + L"\\");
        } else if (any_name || HasImageExtension(name)) {
            files.push_back(folder + std::wstring(name));
        }
    } while (::FindNextFileW(search.Get(), &found));
    SortLogically(&folders, folder.size());
    SortLogically(&files, folder.size());
    if (depth < kMaxDepth) {
        for (const std::wstring& sub : folders)
            Walk(sub, depth + 1, any_name, pictures);
    }
    pictures->insert(pictures->end(), std::make_move_iterator(files.begin()),
                     std::make_move_iterator(files.end()));
}

} // namespace

bool IsFolderEntry(const std::wstring& target) {
    if (target.empty())
        return false;
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::wstring> FolderPictures(const std::wstring& folder) {
    std::vector<std::wstring> pictures;
    Walk(WithSlash(folder), 0, false, &pictures);
    return pictures;
}

std::vector<std::wstring> FilesUnder(const std::wstring& folder) {
    std::vector<std::wstring> files;
    Walk(WithSlash(folder), 0, true, &files);
    return files;
}

bool ComesBefore(const std::wstring& a, const std::wstring& b) {
    // Component by component: at the first difference a folder (more to come) goes before
    // a file, and names compare as Explorer compares them.
    size_t i = 0, j = 0;
    for (;;) {
        const size_t a_end = std::min(a.find(L'\\', i), a.size());
        const size_t b_end = std::min(b.find(L'\\', j), b.size());
        const bool a_folder = a_end < a.size(), b_folder = b_end < b.size();
        const bool same_name =
            ::CompareStringOrdinal(a.c_str() + i, static_cast<int>(a_end - i), b.c_str() + j,
                                   static_cast<int>(b_end - j), TRUE) == CSTR_EQUAL;
        if (!same_name || a_folder != b_folder) {
            if (a_folder != b_folder)
                return a_folder;
            return NameLess(a.substr(i, a_end - i), b.substr(j, b_end - j));
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
