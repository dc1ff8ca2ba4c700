#pragma once
// A downloaded body read as a web feed with the system's XmlLite: DTDs prohibited (no
// entity is expanded, nothing external is read), the depth bounded, the body at most 5 MB.
#include "core/feed.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace glimro {

inline constexpr size_t kMaxFeedBytes = 5u * 1024 * 1024;
inline constexpr UINT kMaxFeedDepth = 64;

// The feed the body holds, fetched from address; nothing when the body is no feed (another
// document, or no XML at all), too large, or refused by the parser. *problem, when given,
// says why a body that began as a feed was refused.
std::optional<Feed> ReadFeedDocument(std::string_view body, const std::wstring& address,
                                     HRESULT* problem = nullptr, FeedReading reading = {});

// Whether a body begins as an XML document (after a byte-order mark and blanks): a feed's
// does, a picture's never.
bool LooksLikeXml(std::string_view body);

} // namespace glimro
