#include "engine/image_header.h"

#include "platform/handle.h"

#include <windows.h>

#include <functional>

namespace glimro {
namespace {

// Runs reader over the file's bytes; false when the file cannot be opened.
bool ReadFileHeader(const std::wstring& path, const std::function<bool(const ByteSource&)>& reader) {
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
    return reader(read);
}

} // namespace

bool ReadImageHeaderSize(const std::wstring& path, PictureSize* size) {
    return ReadFileHeader(path, [size](const ByteSource& read) { return ReadPictureSize(read, size); });
}

bool ReadFileDateTaken(const std::wstring& path, TakenDate* date) {
    return ReadFileHeader(path, [date](const ByteSource& read) { return ReadExifDateTaken(read, date); });
}

} // namespace glimro
