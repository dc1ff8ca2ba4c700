#pragma once
// The rules of the built-in pictures of the day that depend on nothing but text: the
// archive's market and the wiki's language from the user's locale, a source's address form
// filled in, and whether a picture lies on its source's own site. Host-tested.
#include <string>
#include <string_view>

namespace glimro {

// The daily archive's market for a locale name ("de-DE"): the locale itself when the archive
// knows it (letter case as the archive writes it), else "en-US".
std::wstring ArchiveMarket(std::wstring_view locale);

// The wiki's language for a locale name: its language part in lower case ("pt-BR": "pt"),
// "en" when there is none.
std::wstring WikiLanguage(std::wstring_view locale);

// An address form with "{market}" and "{language}" filled in.
std::wstring FillAddressForm(std::wstring_view form, std::wstring_view market,
                             std::wstring_view language);

// Whether the picture's host is the document's or of the same site (the same last two labels
// of a name: "upload.wikimedia.org" of "commons.wikimedia.org"); an IP address only itself.
bool OnSameSite(std::wstring_view document, std::wstring_view picture);

} // namespace glimro
