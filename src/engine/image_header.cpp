#include "engine/image_header.h"

#include "platform/handle.h"

#include <windows.h>

namespace glimro {

bool ReadImageHeaderSize(const std::wstring& path, PictureSize* size) {
    UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    const ByteSource read = [&file](uint64_t offset, uint8_t* data, size_t count) {
        LARGE_INTEGER at;
        at.QuadPart = static_cast<LONGLONG>(offset);
        DWORD read_bytes = 0;
        return offset <= static_cast<uint64_t>(LLONG_MAX) && count <= MAXDWORD &&
               ::SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN) &&
               ::ReadFile(file.Get(), data, static_cast<DWORD>(count), &read_bytes, nullptr) &&
               read_bytes == count;
    };
    return ReadPictureSize(read, size);
}

} // namespace glimro
