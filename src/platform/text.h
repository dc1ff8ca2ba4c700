#pragma once
// Text conversion to the ANSI code page, used only where text goes to the activity log.
#include <string>
#include <string_view>

namespace glimro {

// Converts to the ANSI code page as if into a buffer of buffer_bytes bytes (terminator
// included): a longer result is cut at the last whole character that fits, never written past.
std::string ToAnsi(std::wstring_view text, size_t buffer_bytes);
// UTF-8, for the small files Glimro keeps for itself.
std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view bytes);

} // namespace glimro

namespace glimro {

// The system's own words for an error code ("Access is denied."), without the line break
// that ends them; "Error N" when the system has none.
std::wstring SystemErrorText(unsigned long code);

} // namespace glimro
