#include "platform/atomic_file.h"

#include "platform/handle.h"

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

} // namespace glimro
