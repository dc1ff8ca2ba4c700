#pragma once
// The fuzzers' input as text: each two bytes one UTF-16 unit, as Windows hands text over.
#include <cstddef>
#include <cstdint>
#include <string>

inline std::wstring FuzzText(const uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    return text;
}
