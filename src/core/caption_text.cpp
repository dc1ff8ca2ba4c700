#include "core/caption_text.h"

#include "core/hidden_controls.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace glimro {
namespace {

constexpr size_t kMaxPartChars = 300; // more than half a screen's width at any size

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

wchar_t Lower(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool IsWordCharacter(wchar_t c) {
    return IsDigit(c) || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c >= 0x00C0;
}

// "1920x1080", "4K", "8k", "2160p", "1080P", "UHD", "FHD", "HD", with or without brackets.
bool IsSizeTag(std::wstring_view word) {
    if (word.size() >= 2 && (word.front() == L'(' || word.front() == L'[') &&
        (word.back() == L')' || word.back() == L']'))
        word = word.substr(1, word.size() - 2);
    std::wstring lower;
    for (const wchar_t c : word)
        lower += Lower(c);
    if (lower == L"uhd" || lower == L"fhd" || lower == L"hd" || lower == L"qhd")
        return true;
    size_t digits = 0;
    while (digits < lower.size() && IsDigit(lower[digits]))
        ++digits;
    if (digits == 0)
        return false;
    const std::wstring_view rest = std::wstring_view(lower).substr(digits);
    if ((rest == L"k" && digits <= 2) || (rest == L"p" && digits >= 3 && digits <= 4))
        return true;
    if (rest.empty() || (rest[0] != L'x' && rest[0] != 0x00D7))
        return false;
    const std::wstring_view height = rest.substr(1);
    return !height.empty() && std::all_of(height.begin(), height.end(), IsDigit);
}

std::wstring Trimmed(std::wstring text) {
    const size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos)
        return {};
    text.erase(0, first);
    text.erase(text.find_last_not_of(L' ') + 1);
    return text;
}

// Controls as blanks, runs of blanks as one, at most kMaxPartChars.
std::wstring Cleaned(std::wstring_view text) {
    std::wstring out;
    for (const wchar_t c : text.substr(0, kMaxPartChars)) {
        const wchar_t shown = IsHiddenControl(c) ? L' ' : c;
        if (shown != L' ' || (!out.empty() && out.back() != L' '))
            out += shown;
    }
    return Trimmed(std::move(out));
}

double Linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

const std::array<double, 256>& LinearTable() {
    static const std::array<double, 256> table = [] {
        std::array<double, 256> values{};
        for (int i = 0; i < 256; ++i)
            values[static_cast<size_t>(i)] = Linear(i);
        return values;
    }();
    return table;
}

} // namespace

std::wstring_view PictureFileName(std::wstring_view picture) {
    picture = picture.substr(0, std::min(picture.find_first_of(L"?#"), picture.size()));
    const size_t slash = picture.find_last_of(L"/\\");
    return slash == std::wstring_view::npos ? picture : picture.substr(slash + 1);
}

std::wstring ReadableFileName(std::wstring_view name) {
    std::wstring_view stem = name;
    const size_t dot = stem.find_last_of(L'.');
    if (dot != std::wstring_view::npos && dot > 0)
        stem = stem.substr(0, dot);
    std::wstring spaced;
    for (size_t i = 0; i < stem.size(); ++i) {
        const wchar_t c = stem[i];
        const bool between_words = c == L'.' && i > 0 && i + 1 < stem.size() &&
                                   IsWordCharacter(stem[i - 1]) && IsWordCharacter(stem[i + 1]);
        spaced += c == L'_' || between_words ? L' ' : c;
    }
    std::wstring text = Cleaned(spaced);
    // The last word, when it only says how large the picture is, with what joined it on.
    const size_t cut = text.find_last_of(L" -");
    const size_t start = cut == std::wstring::npos ? 0 : cut + 1;
    if (IsSizeTag(std::wstring_view(text).substr(start))) {
        text.erase(start);
        while (!text.empty() && (text.back() == L' ' || text.back() == L'-'))
            text.pop_back();
    }
    return text.empty() ? std::wstring(name) : text;
}

std::vector<std::wstring> CaptionLines(const CaptionParts& parts) {
    std::wstring title = Cleaned(parts.title), credit = Cleaned(parts.credit);
    std::wstring first = !title.empty() ? title : !credit.empty() ? credit : Cleaned(parts.file_name);
    if (title.empty())
        credit.clear(); // already the first line
    std::wstring second;
    for (const std::wstring& part : {credit, Cleaned(parts.date), Cleaned(parts.album)}) {
        if (part.empty())
            continue;
        second += (second.empty() ? L"" : L"  \u00B7  ") + part;
    }
    std::vector<std::wstring> lines;
    for (std::wstring* line : {&first, &second})
        if (!line->empty())
            lines.push_back(std::move(*line));
    return lines;
}

bool RunsRightToLeft(std::wstring_view line) {
    for (const wchar_t c : line) {
        if ((c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF))
            return true;
        const bool neutral = c < L'A' || (c > L'Z' && c < L'a') || (c > L'z' && c < 0x00C0) ||
                             (c >= 0x2000 && c <= 0x2BFF) || (c >= 0x3000 && c <= 0x303F) ||
                             (c >= 0xD800 && c <= 0xDFFF) || (c >= 0xFF00 && c <= 0xFF20);
        if (!neutral)
            return false;
    }
    return false;
}

double RelativeLuminance(Colour colour) {
    const auto& linear = LinearTable();
    return 0.2126 * linear[colour.red] + 0.7152 * linear[colour.green] + 0.0722 * linear[colour.blue];
}

double ContrastRatio(double a, double b) {
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

int LeastBandOpacity(const PixelArea& under, Colour text, Colour band, double ratio) {
    const double text_luminance = RelativeLuminance(text);
    const auto holds = [&](int opacity) {
        for (int y = 0; y < under.height; ++y) {
            const uint8_t* row = under.pixels + static_cast<size_t>(y) * under.stride;
            for (int x = 0; x < under.width; ++x) {
                const uint8_t* p = row + static_cast<size_t>(x) * 3;
                const Colour blended{BlendChannel(p[2], band.red, opacity), BlendChannel(p[1], band.green, opacity),
                                     BlendChannel(p[0], band.blue, opacity)};
                if (ContrastRatio(text_luminance, RelativeLuminance(blended)) < ratio)
                    return false;
            }
        }
        return true;
    };
    // Every pixel only gains contrast as the band grows more opaque: the least that holds.
    int low = 0, high = 255;
    while (low < high) {
        const int middle = (low + high) / 2;
        if (holds(middle))
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

} // namespace glimro
