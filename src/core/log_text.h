#pragma once
// Text from outside (addresses, file names, registry values) as the activity log may show it:
// one entry stays one line, and no password in an address is written out.
#include <string>
#include <string_view>

namespace glimro {

// Control characters (below 32, and 127) shown as \r, \n, \t or \xNN, and a backslash
// before "x" kept apart from such a code, so that no text can end a line or forge one.
std::wstring LogSafeText(std::wstring_view text);

// An address with any "user:password@" (or "user@") before its host replaced by "***@".
std::wstring WithoutCredentials(std::wstring_view address);

} // namespace glimro
