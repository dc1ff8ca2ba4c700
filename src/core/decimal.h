#pragma once
// A number written in decimal digits by someone else (a server's header, a value typed into
// the registry): digits only, at least one, and at most max; nothing for anything else, so a
// number too long to read never counts as a smaller one.
#include <cstdint>
#include <optional>
#include <string_view>

namespace glimro {

constexpr std::optional<uint64_t> ParseDecimal(std::wstring_view digits, uint64_t max) {
    if (digits.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (const wchar_t c : digits) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        const uint64_t digit = static_cast<uint64_t>(c - L'0');
        if (value > (max - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

} // namespace glimro
