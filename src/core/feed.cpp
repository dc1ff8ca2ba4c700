#include "core/feed.h"

#include "core/hidden_controls.h"

#include "core/interval.h"
#include "core/picture_names.h"

#include <algorithm>
#include <cwctype>

namespace glimro {
namespace {

constexpr std::wstring_view kAtom = L"http://www.w3.org/2005/Atom";
constexpr std::wstring_view kMedia = L"http://search.yahoo.com/mrss/";
constexpr std::wstring_view kMediaBare = L"http://search.yahoo.com/mrss";
constexpr std::wstring_view kContent = L"http://purl.org/rss/1.0/modules/content/";
constexpr std::wstring_view kDublinCore = L"http://purl.org/dc/elements/1.1/";
constexpr std::wstring_view kRss1 = L"http://purl.org/rss/1.0/";
constexpr std::wstring_view kRdf = L"http://www.w3.org/1999/02/22-rdf-syntax-ns#";
constexpr std::wstring_view kXml = L"http://www.w3.org/XML/1998/namespace";
constexpr size_t kMaxAddress = 2048;

wchar_t Lower(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool SameLetters(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

bool StartsWithLetters(std::wstring_view text, std::wstring_view start) {
    return text.size() >= start.size() && SameLetters(text.substr(0, start.size()), start);
}

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

std::wstring_view Trimmed(std::wstring_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsMedia(std::wstring_view space) {
    return space == kMedia || space == kMediaBare;
}

bool IsRssSpace(std::wstring_view space) {
    return space.empty() || space == kRss1;
}

std::wstring_view Attribute(const std::vector<XmlAttribute>& attributes, std::wstring_view name) {
    for (const XmlAttribute& a : attributes)
        if (a.space.empty() && a.name == name)
            return a.value;
    return {};
}

bool IsImageType(std::wstring_view type) {
    return StartsWithLetters(Trimmed(type), L"image/");
}

// An address whose path ends as a picture's does, for media:content that says neither.
bool LooksLikePicture(std::wstring_view address) {
    return HasImageExtension(address.substr(0, address.find_first_of(L"?#")));
}

long long Number(std::wstring_view text) {
    text = Trimmed(text);
    long long value = 0;
    if (text.empty() || text.size() > 9)
        return -1;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return -1;
        value = value * 10 + (c - L'0');
    }
    return value;
}

// The RFC 3986 removal of "." and ".." segments from a path.
std::wstring WithoutDotSegments(std::wstring_view path) {
    const bool dots = path.find(L"/.") != std::wstring_view::npos ||
                      (!path.empty() && path.front() == L'.');
    if (!dots)
        return std::wstring(path); // the usual case, as it is
    std::vector<std::wstring_view> kept;
    const bool absolute = !path.empty() && path.front() == L'/';
    size_t start = absolute ? 1 : 0;
    bool directory = false;
    while (start <= path.size()) {
        const size_t slash = std::min(path.find(L'/', start), path.size());
        const std::wstring_view segment = path.substr(start, slash - start);
        directory = false;
        if (segment == L"..") {
            if (!kept.empty())
                kept.pop_back();
            directory = true;
        } else if (segment == L".") {
            directory = true;
        } else {
            kept.push_back(segment);
        }
        start = slash + 1;
    }
    std::wstring out = absolute ? L"/" : L"";
    for (size_t i = 0; i < kept.size(); ++i)
        out.append(kept[i]).append(i + 1 < kept.size() ? L"/" : L"");
    if (directory && !kept.empty())
        out += L'/';
    return out;
}

struct Parts {
    std::wstring_view scheme, authority, path, rest; // rest: "?query#fragment"
};

bool SplitAbsolute(std::wstring_view address, Parts* parts) {
    const size_t colon = address.find(L':');
    if (colon == std::wstring_view::npos)
        return false;
    parts->scheme = address.substr(0, colon);
    if (!SameLetters(parts->scheme, L"http") && !SameLetters(parts->scheme, L"https"))
        return false;
    std::wstring_view after = address.substr(colon + 1);
    if (after.substr(0, 2) != L"//")
        return false;
    after.remove_prefix(2);
    const size_t end = std::min(after.find_first_of(L"/?#"), after.size());
    parts->authority = after.substr(0, end);
    if (parts->authority.empty())
        return false;
    after.remove_prefix(end);
    const size_t rest = std::min(after.find_first_of(L"?#"), after.size());
    parts->path = after.substr(0, rest);
    parts->rest = after.substr(rest);
    return true;
}

std::wstring Join(const Parts& parts, std::wstring_view path, std::wstring_view rest) {
    std::wstring out(parts.scheme);
    out.append(L"://").append(parts.authority).append(path.empty() ? L"/" : path).append(rest);
    return out;
}

// "&amp;" and the other entities an HTML attribute may hold, decoded.
std::wstring DecodeEntities(std::wstring_view text) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t semicolon = text[i] == L'&' ? text.find(L';', i) : std::wstring_view::npos;
        if (semicolon == std::wstring_view::npos || semicolon - i > 10) {
            out += text[i];
            continue;
        }
        const std::wstring_view name = text.substr(i + 1, semicolon - i - 1);
        long long code = -1;
        if (name == L"amp")
            code = L'&';
        else if (name == L"lt")
            code = L'<';
        else if (name == L"gt")
            code = L'>';
        else if (name == L"quot")
            code = L'"';
        else if (name == L"apos")
            code = L'\'';
        else if (name.size() > 1 && name[0] == L'#') {
            code = 0;
            const bool hex = name[1] == L'x' || name[1] == L'X';
            for (wchar_t c : name.substr(hex ? 2 : 1)) {
                const int digit = c >= L'0' && c <= L'9'   ? c - L'0'
                                  : hex && c >= L'a' && c <= L'f' ? c - L'a' + 10
                                  : hex && c >= L'A' && c <= L'F' ? c - L'A' + 10
                                                                  : -1;
                if (digit < 0 || code > 0x10FFFF) {
                    code = -1;
                    break;
                }
                code = code * (hex ? 16 : 10) + digit;
            }
            if (code <= 0 || code > 0xFFFF)
                code = -1; // beyond one UTF-16 unit: not in an address
        }
        if (code < 0) {
            out += text[i];
            continue;
        }
        out += static_cast<wchar_t>(code);
        i = semicolon;
    }
    return out;
}

// Days and seconds to seconds since 1970.
std::optional<long long> Moment(int year, int month, int day, int hour, int minute, int second,
                                int offset_minutes) {
    if (year < 1601 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month) || hour > 23 || minute > 59 || second > 60)
        return std::nullopt;
    return ((DaysFromCivil(year, month, day) * 24 + hour) * 60 + minute - offset_minutes) * 60LL +
           second;
}

// Reads `count` digits at text[*at].
bool Digits(std::wstring_view text, size_t* at, size_t count, int* value) {
    if (*at + count > text.size())
        return false;
    *value = 0;
    for (size_t i = 0; i < count; ++i) {
        const wchar_t c = text[*at + i];
        if (c < L'0' || c > L'9')
            return false;
        *value = *value * 10 + (c - L'0');
    }
    *at += count;
    return true;
}

std::optional<long long> ParseAtomDate(std::wstring_view t) {
    size_t at = 0;
    int year, month, day, hour = 0, minute = 0, second = 0, offset = 0;
    if (!Digits(t, &at, 4, &year) || at >= t.size() || t[at++] != L'-' ||
        !Digits(t, &at, 2, &month) || at >= t.size() || t[at++] != L'-' ||
        !Digits(t, &at, 2, &day))
        return std::nullopt;
    if (at < t.size()) {
        if (t[at] != L'T' && t[at] != L't' && t[at] != L' ')
            return std::nullopt;
        ++at;
        if (!Digits(t, &at, 2, &hour) || at >= t.size() || t[at++] != L':' ||
            !Digits(t, &at, 2, &minute))
            return std::nullopt;
        if (at < t.size() && t[at] == L':') {
            ++at;
            if (!Digits(t, &at, 2, &second))
                return std::nullopt;
            if (at < t.size() && t[at] == L'.') {
                ++at;
                while (at < t.size() && t[at] >= L'0' && t[at] <= L'9')
                    ++at;
            }
        }
        if (at < t.size() && (t[at] == L'Z' || t[at] == L'z')) {
            ++at;
        } else if (at < t.size() && (t[at] == L'+' || t[at] == L'-')) {
            const int sign = t[at++] == L'-' ? -1 : 1;
            int hours, minutes;
            if (!Digits(t, &at, 2, &hours))
                return std::nullopt;
            if (at < t.size() && t[at] == L':')
                ++at;
            if (!Digits(t, &at, 2, &minutes) || hours > 23 || minutes > 59)
                return std::nullopt;
            offset = sign * (hours * 60 + minutes);
        }
        if (at != t.size())
            return std::nullopt;
    }
    return Moment(year, month, day, hour, minute, second, offset);
}

std::optional<long long> ParseRssDate(std::wstring_view t) {
    // The words of the date: [weekday,] day month year time [zone].
    std::vector<std::wstring_view> words;
    for (size_t at = 0; at < t.size() && words.size() < 8;) {
        while (at < t.size() && (IsBlank(t[at]) || t[at] == L','))
            ++at;
        const size_t start = at;
        while (at < t.size() && !IsBlank(t[at]) && t[at] != L',')
            ++at;
        if (at > start)
            words.push_back(t.substr(start, at - start));
    }
    if (!words.empty() && Number(words[0]) < 0)
        words.erase(words.begin()); // the weekday
    if (words.size() < 4)
        return std::nullopt;
    constexpr std::wstring_view kMonths[] = {L"jan", L"feb", L"mar", L"apr", L"may", L"jun",
                                             L"jul", L"aug", L"sep", L"oct", L"nov", L"dec"};
    int month = 0;
    for (int m = 0; m < 12; ++m)
        if (words[1].size() >= 3 && SameLetters(words[1].substr(0, 3), kMonths[m]))
            month = m + 1;
    const long long day = Number(words[0]);
    long long year = Number(words[2]);
    if (year >= 0 && words[2].size() == 2)
        year += year < 50 ? 2000 : 1900;
    int hour = 0, minute = 0, second = 0;
    size_t at = 0;
    const std::wstring_view time = words[3];
    if (!Digits(time, &at, 2, &hour) || at >= time.size() || time[at++] != L':' ||
        !Digits(time, &at, 2, &minute))
        return std::nullopt;
    if (at < time.size() && (time[at++] != L':' || !Digits(time, &at, 2, &second) ||
                             at != time.size()))
        return std::nullopt;
    int offset = 0;
    if (words.size() > 4) {
        const std::wstring_view zone = words[4];
        constexpr struct {
            std::wstring_view name;
            int hours;
        } kZones[] = {{L"GMT", 0},  {L"UT", 0},   {L"UTC", 0},  {L"Z", 0},
                      {L"EST", -5}, {L"EDT", -4}, {L"CST", -6}, {L"CDT", -5},
                      {L"MST", -7}, {L"MDT", -6}, {L"PST", -8}, {L"PDT", -7}};
        bool known = false;
        for (const auto& z : kZones)
            if (SameLetters(zone, z.name)) {
                offset = z.hours * 60;
                known = true;
            }
        if (!known) {
            size_t z = 1;
            int hours, minutes;
            if (zone.size() != 5 || (zone[0] != L'+' && zone[0] != L'-') ||
                !Digits(zone, &z, 2, &hours) || !Digits(zone, &z, 2, &minutes) || minutes > 59)
                return std::nullopt;
            offset = (zone[0] == L'-' ? -1 : 1) * (hours * 60 + minutes);
        }
    }
    if (month == 0 || day < 0 || year < 0)
        return std::nullopt;
    return Moment(static_cast<int>(year), month, static_cast<int>(day), hour, minute, second,
                  offset);
}

} // namespace

std::optional<long long> ParseFeedDate(std::wstring_view text) {
    text = Trimmed(text);
    if (text.size() > 64)
        return std::nullopt;
    if (text.size() >= 10 && text[4] == L'-')
        return ParseAtomDate(text);
    return ParseRssDate(text);
}

std::wstring ResolveAddress(std::wstring_view base, std::wstring_view ref) {
    ref = Trimmed(ref);
    if (ref.size() > kMaxAddress)
        return {};
    for (wchar_t c : ref)
        if (c < 0x21 || c == L'\\' || c == 0x7F)
            return {};
    // A scheme of its own: taken only when it is http or https.
    const size_t colon = ref.find(L':');
    const size_t first_other = ref.find_first_of(L"/?#");
    if (colon != std::wstring_view::npos && colon > 0 &&
        (first_other == std::wstring_view::npos || colon < first_other)) {
        bool scheme = std::iswalpha(static_cast<wint_t>(ref[0])) != 0;
        for (size_t i = 1; i < colon && scheme; ++i)
            scheme = std::iswalnum(static_cast<wint_t>(ref[i])) || ref[i] == L'+' ||
                     ref[i] == L'-' || ref[i] == L'.';
        if (scheme) {
            Parts parts;
            if (!SplitAbsolute(ref, &parts))
                return {};
            return Join(parts, WithoutDotSegments(parts.path), parts.rest);
        }
    }
    Parts base_parts;
    if (!SplitAbsolute(base, &base_parts))
        return {};
    std::wstring result;
    if (ref.substr(0, 2) == L"//") {
        result = std::wstring(base_parts.scheme) + L":" + std::wstring(ref);
        Parts parts;
        if (!SplitAbsolute(result, &parts))
            return {};
        result = Join(parts, WithoutDotSegments(parts.path), parts.rest);
    } else {
        const size_t rest_at = std::min(ref.find_first_of(L"?#"), ref.size());
        const std::wstring_view path = ref.substr(0, rest_at), rest = ref.substr(rest_at);
        if (ref.empty()) {
            const size_t fragment = base_parts.rest.find(L'#');
            result = Join(base_parts, base_parts.path, base_parts.rest.substr(0, fragment));
        } else if (path.empty()) {
            const std::wstring_view query =
                rest[0] == L'#' ? base_parts.rest.substr(0, base_parts.rest.find(L'#'))
                                : std::wstring_view();
            result = Join(base_parts, base_parts.path, std::wstring(query) + std::wstring(rest));
        } else if (path[0] == L'/') {
            result = Join(base_parts, WithoutDotSegments(path), rest);
        } else {
            const size_t slash = base_parts.path.rfind(L'/');
            std::wstring merged = slash == std::wstring_view::npos
                                      ? L"/"
                                      : std::wstring(base_parts.path.substr(0, slash + 1));
            merged += path;
            result = Join(base_parts, WithoutDotSegments(merged), rest);
        }
    }
    return result.size() <= kMaxAddress ? result : std::wstring();
}

namespace {

// One tag of an HTML text: its name and its attributes' names and values (as written).
struct HtmlTag {
    std::wstring_view name;
    bool closing = false;
    std::vector<std::pair<std::wstring_view, std::wstring_view>> attributes;

    std::wstring_view Value(std::wstring_view wanted) const {
        for (const auto& [key, value] : attributes)
            if (SameLetters(key, wanted))
                return value;
        return {};
    }
};

// The tag that begins at html[at] ('<'); *end: just past it.
HtmlTag ReadTag(std::wstring_view html, size_t at, size_t* end) {
    HtmlTag tag;
    size_t i = at + 1;
    if (i < html.size() && html[i] == L'/') {
        tag.closing = true;
        ++i;
    }
    const size_t name_start = i;
    while (i < html.size() && std::iswalnum(static_cast<wint_t>(html[i])))
        ++i;
    tag.name = html.substr(name_start, i - name_start);
    // The attributes, up to the tag's end.
    while (i < html.size() && html[i] != L'>') {
        while (i < html.size() && (IsBlank(html[i]) || html[i] == L'/'))
            ++i;
        const size_t key_start = i;
        while (i < html.size() && !IsBlank(html[i]) && html[i] != L'=' && html[i] != L'>' &&
               html[i] != L'/')
            ++i;
        const std::wstring_view key = html.substr(key_start, i - key_start);
        while (i < html.size() && IsBlank(html[i]))
            ++i;
        std::wstring_view value;
        if (i < html.size() && html[i] == L'=') {
            ++i;
            while (i < html.size() && IsBlank(html[i]))
                ++i;
            if (i < html.size() && (html[i] == L'"' || html[i] == L'\'')) {
                const wchar_t quote = html[i++];
                const size_t close = std::min(html.find(quote, i), html.size());
                value = html.substr(i, close - i);
                i = std::min(close + 1, html.size());
            } else {
                const size_t value_start = i;
                while (i < html.size() && !IsBlank(html[i]) && html[i] != L'>')
                    ++i;
                value = html.substr(value_start, i - value_start);
            }
        }
        // A page may hold any number of attributes; a picture's tag needs a handful.
        if (!key.empty() && tag.attributes.size() < 64)
            tag.attributes.emplace_back(key, value);
        if (key.empty() && i < html.size() && html[i] != L'>')
            ++i; // a stray character: step over it
    }
    *end = i;
    return tag;
}

std::wstring AttributeText(std::wstring_view value) {
    return std::wstring(Trimmed(DecodeEntities(value)));
}

// Each <img> with a src, in order, with the link it lies inside; until found says enough.
template <typename Found> void ForEachImage(std::wstring_view html, Found found) {
    std::wstring link; // the href of the <a> open here, or empty
    for (size_t at = html.find(L'<'); at != std::wstring_view::npos; at = html.find(L'<', at + 1)) {
        size_t end = at;
        const HtmlTag tag = ReadTag(html, at, &end);
        if (SameLetters(tag.name, L"a")) {
            link = tag.closing ? std::wstring() : AttributeText(tag.Value(L"href"));
        } else if (!tag.closing && SameLetters(tag.name, L"img")) {
            HtmlPicture picture;
            picture.source = AttributeText(tag.Value(L"src"));
            if (picture.source.empty())
                continue;
            picture.link = link;
            picture.file_width = Number(tag.Value(L"data-file-width"));
            if (found(picture))
                return;
        }
        at = end == at ? at : end - 1;
    }
}

// The picture an item's HTML stands for: a wiki's original for its thumbnail, else the
// picture its first image links to, else that image itself.
std::wstring FullPictureInHtml(std::wstring_view html, const std::wstring& base) {
    std::wstring chosen;
    ForEachImage(html, [&](const HtmlPicture& picture) {
        const std::wstring source = ResolveAddress(base, picture.source);
        if (source.empty())
            return false;
        chosen = FullPictureOfThumbnail(source, picture.file_width);
        if (chosen.empty() && !picture.link.empty() && LooksLikePicture(picture.link))
            chosen = ResolveAddress(base, picture.link);
        if (chosen.empty())
            chosen = source;
        return true;
    });
    return chosen;
}

} // namespace

std::wstring FirstImageSource(std::wstring_view html) {
    std::wstring source;
    ForEachImage(html, [&](const HtmlPicture& picture) {
        source = picture.source;
        return true;
    });
    return source;
}

std::wstring PictureLinkedAroundImage(std::wstring_view html, const std::wstring& page) {
    std::wstring chosen;
    ForEachImage(html, [&](const HtmlPicture& picture) {
        if (picture.link.empty() || !LooksLikePicture(picture.link))
            return false;
        chosen = ResolveAddress(page, picture.link);
        return !chosen.empty();
    });
    return chosen;
}

std::wstring FullPictureOfThumbnail(const std::wstring& address, long long file_width) {
    Parts parts;
    if (!SplitAbsolute(address, &parts))
        return {};
    // ".../thumb/a/ab/Name.jpg/300px-Name.jpg": its hash's two folders, the name, the size.
    const size_t thumb = parts.path.rfind(L"/thumb/");
    if (thumb == std::wstring_view::npos)
        return {};
    std::vector<std::wstring_view> segments;
    for (size_t at = thumb + 7; at <= parts.path.size() && segments.size() < 5;) {
        const size_t slash = std::min(parts.path.find(L'/', at), parts.path.size());
        segments.push_back(parts.path.substr(at, slash - at));
        at = slash + 1;
    }
    if (segments.size() != 4 || segments[0].size() != 1 || segments[1].size() != 2 ||
        segments[1][0] != segments[0][0] || segments[2].empty())
        return {};
    const std::wstring_view name = segments[2], sized = segments[3];
    size_t digits = 0;
    while (digits < sized.size() && sized[digits] >= L'0' && sized[digits] <= L'9')
        ++digits;
    if (digits == 0 || sized.substr(digits, 3) != L"px-" || sized.substr(digits + 3, name.size()) != name)
        return {};
    const std::wstring_view rendered = sized.substr(digits + 3); // "Name.svg.png" for a drawing
    const std::wstring_view folder = parts.path.substr(0, thumb + 12 + name.size());
    const bool original = rendered == name && HasImageExtension(name) && file_width <= kMaxWikiWidth;
    if (original) {
        std::wstring path(parts.path.substr(0, thumb));
        path.append(L"/").append(parts.path.substr(thumb + 7, 5 + name.size()));
        return Join(parts, path, L"");
    }
    return Join(parts, std::wstring(folder) + L"/" + std::to_wstring(kMaxWikiWidth) + L"px-" +
                           std::wstring(rendered),
                L"");
}

FeedReader::FeedReader(std::wstring address, FeedReading reading)
    : address_(std::move(address)), reading_(reading) {
    bases_.push_back(address_);
}

const std::wstring& FeedReader::Base() const {
    return bases_[stack_.empty() ? 0 : stack_.back().base];
}

void FeedReader::AddCandidate(std::wstring_view address, const std::wstring& base, long long width,
                              int rank) {
    std::wstring resolved = ResolveAddress(base, address);
    if (!resolved.empty())
        item_.candidates.push_back({std::move(resolved), width, rank == 0 ? group_ : -1, rank});
}

void FeedReader::StartElement(std::wstring_view space, std::wstring_view name,
                              const std::vector<XmlAttribute>& attributes) {
    Element element;
    element.base = stack_.empty() ? 0 : stack_.back().base;
    for (const XmlAttribute& a : attributes)
        if (a.space == kXml && a.name == L"base") {
            std::wstring resolved = ResolveAddress(bases_[element.base], a.value);
            if (!resolved.empty() && !element.own_base) {
                bases_.push_back(std::move(resolved));
                element.base = bases_.size() - 1;
                element.own_base = true;
            }
        }
    const std::wstring& base = bases_[element.base];
    const size_t depth = stack_.size();
    if (depth == 0) {
        if ((space.empty() && name == L"rss") || (space == kRdf && name == L"RDF"))
            kind_ = Kind::Rss;
        else if (space == kAtom && name == L"feed")
            kind_ = Kind::Atom;
        else if (space.empty() && name == L"images")
            kind_ = Kind::Archive;
    }
    const bool rss = kind_ == Kind::Rss, atom = kind_ == Kind::Atom, archive = kind_ == Kind::Archive;
    Field field = Field::None;
    if (kind_ != Kind::None && item_depth_ >= 0) {
        if (IsMedia(space) && name == L"group") {
            element.group = true;
            group_ = groups_++;
        } else if (IsMedia(space) && name == L"content") {
            const std::wstring_view medium = Attribute(attributes, L"medium");
            const std::wstring_view type = Attribute(attributes, L"type");
            const std::wstring_view url = Attribute(attributes, L"url");
            const bool image = SameLetters(Trimmed(medium), L"image") || IsImageType(type) ||
                               (medium.empty() && type.empty() && LooksLikePicture(url));
            if (image)
                AddCandidate(url, base, Number(Attribute(attributes, L"width")), 0);
        } else if (IsMedia(space) && name == L"credit") {
            field = Field::Credit;
        } else if (space == kContent && name == L"encoded") {
            field = Field::Html;
        } else if (space == kDublinCore && name == L"creator") {
            field = Field::Credit;
        } else if (space == kDublinCore && name == L"date") {
            field = Field::Date;
        } else if (rss && IsRssSpace(space)) {
            if (name == L"title")
                field = Field::Title;
            else if (name == L"link")
                field = Field::Link;
            else if (name == L"description")
                field = Field::Html;
            else if (name == L"author")
                field = Field::AuthorName;
            else if (name == L"pubDate")
                field = Field::Date;
            else if (name == L"enclosure" && IsImageType(Attribute(attributes, L"type")))
                AddCandidate(Attribute(attributes, L"url"), base, -1, 1);
        } else if (atom && space == kAtom) {
            if (name == L"title")
                field = Field::Title;
            else if (name == L"content" || name == L"summary")
                field = Field::Html;
            else if (name == L"published" || name == L"updated")
                field = Field::Date;
            else if (name == L"author" && static_cast<int>(depth) == item_depth_ + 1)
                element.author = true;
            else if (name == L"name" && stack_.back().author)
                field = Field::AuthorName;
            else if (name == L"link") {
                const std::wstring_view rel = Trimmed(Attribute(attributes, L"rel"));
                const std::wstring_view href = Attribute(attributes, L"href");
                if (rel == L"enclosure" && IsImageType(Attribute(attributes, L"type")))
                    AddCandidate(href, base, -1, 1);
                else if ((rel.empty() || rel == L"alternate") && item_.page.empty())
                    item_.page = ResolveAddress(base, href);
            }
        } else if (archive && space.empty() && static_cast<int>(depth) == item_depth_ + 1) {
            constexpr struct {
                std::wstring_view name;
                Field field;
            } kArchiveFields[] = {{L"startdate", Field::Date},       {L"url", Field::ArchiveUrl},
                                  {L"urlBase", Field::ArchiveBase},   {L"copyright", Field::Copyright},
                                  {L"copyrightlink", Field::Link},    {L"title", Field::Title}};
            for (const auto& f : kArchiveFields)
                if (name == f.name)
                    field = f.field;
        } else if (text_field_ == Field::Html && name == L"img") {
            // XHTML content: its pictures are elements.
            item_.html.push_back(L"<img src=\"" + std::wstring(Attribute(attributes, L"src")) + L"\">");
            item_.html_bases.push_back(base);
        }
    } else if (kind_ != Kind::None) {
        if ((rss && IsRssSpace(space) && name == L"item") ||
            (atom && space == kAtom && name == L"entry") ||
            (archive && space.empty() && name == L"image" && depth == 1)) {
            item_depth_ = static_cast<int>(depth);
            // Emptied, its room kept for the next: a feed has up to 2,000 of them.
            for (std::wstring* text : {&item_.title, &item_.page, &item_.credit, &item_.author,
                                       &item_.date_text, &item_.archive_url, &item_.archive_base,
                                       &item_.copyright})
                text->clear();
            item_.html.clear();
            item_.candidates.clear();
            item_.html_bases.clear();
        } else if (!title_taken_ && name == L"title" &&
                   ((rss && IsRssSpace(space) && depth == 2) || (atom && space == kAtom && depth == 1))) {
            field = Field::FeedTitle;
        }
    }
    if (field != Field::None && text_field_ == Field::None) {
        element.field = field;
        text_field_ = field;
        text_.clear();
    }
    stack_.push_back(std::move(element));
}

void FeedReader::Text(std::wstring_view text) {
    if (text_field_ == Field::None)
        return;
    const size_t limit = text_field_ == Field::Html ? kMaxFeedText : kMaxFeedLabel;
    if (text_.size() + text.size() > limit) {
        text = text.substr(0, limit > text_.size() ? limit - text_.size() : 0);
        feed_.cut = true;
    }
    text_.append(text);
}

void FeedReader::EndElement() {
    if (stack_.empty())
        return;
    const Element element = stack_.back();
    stack_.pop_back();
    const std::wstring& base = bases_[element.base]; // let go of at the end
    if (element.field != Field::None) {
        std::wstring value = element.field == Field::Html ? std::move(text_)
                                                          : std::wstring(Trimmed(text_));
        switch (element.field) {
        case Field::FeedTitle:
            feed_.title = std::move(value);
            title_taken_ = true;
            break;
        case Field::Title:
            if (item_.title.empty())
                item_.title = std::move(value);
            break;
        case Field::Link:
            if (item_.page.empty())
                item_.page = ResolveAddress(base, value);
            break;
        case Field::Credit:
            if (item_.credit.empty())
                item_.credit = std::move(value);
            break;
        case Field::AuthorName:
            if (item_.author.empty())
                item_.author = std::move(value);
            break;
        case Field::Date:
            if (item_.date_text.empty())
                item_.date_text = std::move(value);
            break;
        case Field::ArchiveUrl:
            item_.archive_url = std::move(value);
            break;
        case Field::ArchiveBase:
            item_.archive_base = std::move(value);
            break;
        case Field::Copyright:
            item_.copyright = std::move(value);
            break;
        case Field::Html:
            item_.html.push_back(std::move(value));
            item_.html_bases.push_back(base);
            break;
        default:
            break;
        }
        text_field_ = Field::None;
        text_.clear();
    }
    if (element.group)
        group_ = -1;
    if (static_cast<int>(stack_.size()) == item_depth_) {
        EndItem();
        item_depth_ = -1;
    }
    if (element.own_base)
        bases_.pop_back();
}

void FeedReader::EndItem() {
    if (++feed_.items > kMaxFeedItems) {
        feed_.items = kMaxFeedItems;
        feed_.cut = true;
        return;
    }
    std::wstring chosen;
    // A media:content first (the widest of its group), then an enclosure.
    for (int rank = 0; rank < 2 && chosen.empty(); ++rank) {
        for (const Candidate& c : item_.candidates) {
            if (c.rank != rank)
                continue;
            const Candidate* best = &c;
            if (c.group >= 0)
                for (const Candidate& other : item_.candidates)
                    if (other.group == c.group && other.width > best->width)
                        best = &other;
            chosen = best->address;
            break;
        }
    }
    // Else the first picture of the item's HTML that is an http or https address.
    for (size_t i = 0; i < item_.html.size() && chosen.empty(); ++i)
        chosen = FullPictureInHtml(item_.html[i], item_.html_bases[i]);
    if (kind_ == Kind::Archive)
        chosen = ArchivePicture();
    FeedPicture picture;
    picture.title = std::move(item_.title);
    picture.credit = std::move(item_.credit.empty() ? item_.author : item_.credit);
    picture.page = std::move(item_.page);
    picture.published = ParseFeedDate(item_.date_text);
    if (kind_ == Kind::Archive)
        SplitCopyright(&picture);
    if (reading_.item_pages)
        feed_.pages.push_back(picture);
    if (chosen.empty())
        return;
    picture.address = std::move(chosen);
    feed_.pictures.push_back(std::move(picture));
}

// The picture's base address with the size's ending, on the archive's own host; an address
// elsewhere (or of another scheme) is refused and counted.
std::wstring FeedReader::ArchivePicture() {
    const std::wstring& stem = item_.archive_base.empty() ? item_.archive_url : item_.archive_base;
    if (stem.empty())
        return {};
    const std::wstring suffix = item_.archive_base.empty() ? L""
                                : reading_.large_screen  ? L"_UHD.jpg"
                                                         : L"_1920x1080.jpg";
    // "/th?id=OHR.Name_EN-US123" + "_UHD.jpg": the base names the picture in its query.
    const std::wstring picture = ResolveAddress(address_, std::wstring(Trimmed(stem)) + suffix);
    Parts archive, resolved;
    if (picture.empty() || !SplitAbsolute(address_, &archive) || !SplitAbsolute(picture, &resolved) ||
        !SameLetters(archive.authority, resolved.authority)) {
        ++feed_.refused;
        return {};
    }
    return picture;
}

// "Title (© Credit)": the text in the last parentheses is the credit, the text before them the
// title; without them, the archive's title and the whole text as the credit.
void FeedReader::SplitCopyright(FeedPicture* picture) {
    const std::wstring_view copyright = Trimmed(item_.copyright);
    const size_t open = copyright.rfind(L'(');
    if (!copyright.empty() && copyright.back() == L')' && open != std::wstring_view::npos) {
        picture->credit = std::wstring(Trimmed(copyright.substr(open + 1, copyright.size() - open - 2)));
        const std::wstring_view before = Trimmed(copyright.substr(0, open));
        if (!before.empty())
            picture->title = std::wstring(before);
    } else {
        picture->credit = std::wstring(copyright);
    }
    // "20261210": that day.
    if (item_.date_text.size() == 8)
        picture->published = ParseFeedDate(item_.date_text.substr(0, 4) + L"-" +
                                            item_.date_text.substr(4, 2) + L"-" + item_.date_text.substr(6));
}

Feed FeedReader::Finish() {
    // Newest first: by the dates when every picture has one, else in the feed's order.
    const bool dated = std::all_of(feed_.pictures.begin(), feed_.pictures.end(),
                                   [](const FeedPicture& p) { return p.published.has_value(); });
    if (dated)
        std::stable_sort(feed_.pictures.begin(), feed_.pictures.end(),
                         [](const FeedPicture& a, const FeedPicture& b) {
                             return *a.published > *b.published;
                         });
    return std::move(feed_);
}

std::wstring BlankControls(std::wstring text) {
    for (wchar_t& c : text)
        if (IsHiddenControl(c))
            c = L' ';
    return text;
}

} // namespace glimro
