#include "engine/image_header.h"

#include "platform/handle.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace glimro {
namespace {

class HeaderReader {
public:
    explicit HeaderReader(const std::wstring& path)
        : file_(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}

    bool IsOpen() const { return file_.IsValid(); }

    // Reads exactly count bytes at offset.
    bool Read(uint64_t offset, void* data, DWORD count) {
        LARGE_INTEGER at;
        at.QuadPart = static_cast<LONGLONG>(offset);
        DWORD read = 0;
        return ::SetFilePointerEx(file_.Get(), at, nullptr, FILE_BEGIN) &&
               ::ReadFile(file_.Get(), data, count, &read, nullptr) && read == count;
    }

private:
    UniqueHandle file_;
};

uint32_t Little16(const uint8_t* p) {
    return p[0] | (p[1] << 8);
}
uint32_t Big16(const uint8_t* p) {
    return (p[0] << 8) | p[1];
}
uint32_t Big32(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}
int32_t Little32(const uint8_t* p) {
    return static_cast<int32_t>(p[0] | (p[1] << 8) | (p[2] << 16) |
                                (static_cast<uint32_t>(p[3]) << 24));
}

bool IsStartOfFrame(uint8_t marker) {
    // SOF0..SOF15, except DHT (C4), JPG (C8) and DAC (CC), which share the range.
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool JpegSize(HeaderReader& file, int* width, int* height) {
    uint64_t offset = 2;
    for (int segments = 0; segments < 1000; ++segments) {
        uint8_t head[4];
        if (!file.Read(offset, head, 4) || head[0] != 0xFF)
            return false;
        if (head[1] == 0xFF) { // fill byte
            ++offset;
            continue;
        }
        const uint32_t length = Big16(head + 2);
        if (IsStartOfFrame(head[1])) {
            uint8_t frame[5];
            if (!file.Read(offset + 4, frame, 5))
                return false;
            *height = static_cast<int>(Big16(frame + 1));
            *width = static_cast<int>(Big16(frame + 3));
            return *width > 0 && *height > 0;
        }
        if (length < 2)
            return false;
        offset += 2 + length;
    }
    return false;
}

} // namespace

bool ReadImageHeaderSize(const std::wstring& path, int* width, int* height) {
    HeaderReader file(path);
    uint8_t head[30] = {};
    if (!file.IsOpen() || !file.Read(0, head, 26))
        return false;
    if (head[0] == 0xFF && head[1] == 0xD8)
        return JpegSize(file, width, height);
    if (head[0] == 'B' && head[1] == 'M' && Little32(head + 14) >= 40) {
        *width = Little32(head + 18);
        const int32_t rows = Little32(head + 22);
        *height = rows < 0 ? -rows : rows;
        return *width > 0 && *height > 0;
    }
    if (head[0] == 'G' && head[1] == 'I' && head[2] == 'F') {
        *width = static_cast<int>(Little16(head + 6));
        *height = static_cast<int>(Little16(head + 8));
        return *width > 0 && *height > 0;
    }
    if (head[0] == 0x89 && head[1] == 'P' && head[2] == 'N' && head[3] == 'G') {
        *width = static_cast<int>(Big32(head + 16));
        *height = static_cast<int>(Big32(head + 20));
        return *width > 0 && *height > 0;
    }
    return false;
}

} // namespace glimro
