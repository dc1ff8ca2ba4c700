#include "core/daily_pictures.h"

#include "core/local_address.h"

#include <cstdint>
#include <cwctype>

namespace glimro {
namespace {

bool SameText(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i])))
            return false;
    return true;
}

// The host's last two labels: the site it belongs to.
std::wstring_view Site(std::wstring_view host) {
    const size_t last = host.rfind(L'.');
    if (last == std::wstring_view::npos || last == 0)
        return host;
    const size_t before = host.rfind(L'.', last - 1);
    return before == std::wstring_view::npos ? host : host.substr(before + 1);
}

} // namespace

std::wstring ArchiveMarket(std::wstring_view locale) {
    // The markets the archive has pictures and texts of its own for.
    constexpr std::wstring_view kMarkets[] = {L"en-US", L"en-GB", L"en-AU", L"en-CA", L"en-IN",
                                              L"en-NZ", L"de-DE", L"fr-FR", L"fr-CA", L"es-ES",
                                              L"it-IT", L"pt-BR", L"ja-JP", L"zh-CN"};
    for (std::wstring_view market : kMarkets)
        if (SameText(market, locale))
            return std::wstring(market);
    return L"en-US";
}

std::wstring WikiLanguage(std::wstring_view locale) {
    std::wstring language;
    for (wchar_t c : locale) {
        if (c == L'-' || c == L'_')
            break;
        if (c > 0x7F || !std::iswalpha(static_cast<wint_t>(c)) || language.size() == 3)
            return L"en";
        language += static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    }
    return language.size() >= 2 ? language : L"en";
}

std::wstring FillAddressForm(std::wstring_view form, std::wstring_view market,
                             std::wstring_view language) {
    constexpr std::wstring_view kMarket = L"{market}", kLanguage = L"{language}";
    std::wstring out;
    for (size_t i = 0; i < form.size(); ++i) {
        if (form.substr(i, kMarket.size()) == kMarket) {
            out += market;
            i += kMarket.size() - 1;
        } else if (form.substr(i, kLanguage.size()) == kLanguage) {
            out += language;
            i += kLanguage.size() - 1;
        } else {
            out += form[i];
        }
    }
    return out;
}

bool OnSameSite(std::wstring_view document, std::wstring_view picture) {
    const std::wstring from = AddressHost(document), to = AddressHost(picture);
    if (from.empty() || to.empty())
        return false;
    uint8_t bytes[16];
    size_t size = 0;
    if (ParseIpLiteral(from, bytes, &size) || ParseIpLiteral(to, bytes, &size))
        return from == to;
    return Site(from) == Site(to);
}

} // namespace glimro
