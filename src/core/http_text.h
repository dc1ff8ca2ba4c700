#pragma once
// What a web server says about a download, read as text it chose.
#include <cstdint>
#include <optional>
#include <string_view>

namespace glimro {

// A Content-Length header's value: decimal digits only (blanks around them allowed), at most
// max; nothing for anything else, so that a length too long to read never counts as absent.
std::optional<uint64_t> ParseContentLength(std::wstring_view text, uint64_t max);

} // namespace glimro
