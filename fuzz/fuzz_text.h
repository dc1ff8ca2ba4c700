#pragma once
// The fuzzers' input as text (each two bytes one UTF-16 unit, as Windows hands text over), or
// as a file's bytes.
#include "core/picture_header.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

inline std::wstring FuzzText(const uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    return text;
}

inline glimro::ByteSource FuzzBytes(const uint8_t* data, size_t size) {
    return [data, size](uint64_t offset, uint8_t* out, size_t count) {
        if (offset > size || count > size - offset)
            return false;
        std::memcpy(out, data + offset, count);
        return true;
    };
}
