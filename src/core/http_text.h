#pragma once
// What a web server says about a download, read as text it chose.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace glimro {

// A Content-Length header's value: decimal digits only (blanks around them allowed), at most
// max; nothing for anything else, so that a length too long to read never counts as absent.
std::optional<uint64_t> ParseContentLength(std::wstring_view text, uint64_t max);

// A name for what was fetched from the address: sixteen hex digits of its 64-bit FNV-1a
// hash, the same for the same address in every run.
std::wstring AddressKey(std::wstring_view address);

} // namespace glimro
