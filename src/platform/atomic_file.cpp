#include "platform/atomic_file.h"

#include "platform/handle.h"

#include <shlobj.h>

namespace glimro {
namespace {

HRESULT LastError() {
    const DWORD error = ::GetLastError();
    return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}

} // namespace

HRESULT CommitFile(const std::wstring& written, const std::wstring& target) {
    HRESULT result = S_OK;
    {
        // Whoever wrote the file may have left its data in the system's cache.
        UniqueHandle file(::CreateFileW(written.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file || !::FlushFileBuffers(file.Get()))
            result = LastError();
    }
    if (SUCCEEDED(result) &&
        !::MoveFileExW(written.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        result = LastError();
    if (FAILED(result))
        ::DeleteFileW(written.c_str());
    return result;
}

bool ReadSmallFile(const std::wstring& path, size_t max_bytes, std::string* bytes) {
    UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > max_bytes)
        return false;
    bytes->assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    return bytes->empty() ||
           (::ReadFile(file.Get(), bytes->data(), static_cast<DWORD>(bytes->size()), &read, nullptr) &&
            read == bytes->size());
}

namespace {

// Beside path, under a name of its own: what is written before it is put in place.
std::wstring WrittenBeside(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\') + 1;
    return path.substr(0, slash) + L"~" + path.substr(slash);
}

} // namespace

HRESULT MakeFolder(const std::wstring& folder) {
    const int made = ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    return made == ERROR_SUCCESS || made == ERROR_ALREADY_EXISTS || made == ERROR_FILE_EXISTS
               ? S_OK
               : HRESULT_FROM_WIN32(made);
}

HRESULT CopyWhole(const std::wstring& from, const std::wstring& to) {
    const std::wstring written = WrittenBeside(to);
    if (!::CopyFileW(from.c_str(), written.c_str(), FALSE))
        return LastError();
    return CommitFile(written, to);
}

HRESULT WriteSmallFile(const std::wstring& path, const std::string& bytes) {
    const std::wstring written = WrittenBeside(path);
    {
        UniqueHandle file(::CreateFileW(written.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD wrote = 0;
        if (!file || !::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &wrote,
                                  nullptr) || wrote != bytes.size()) {
            const HRESULT result = LastError();
            ::DeleteFileW(written.c_str());
            return result;
        }
    }
    return CommitFile(written, path);
}

} // namespace glimro
