// Any text as an item's HTML, a day's page, a relative address, a wiki thumbnail, a date and
// a daily archive's fields: the picture found resolves to an http or https address or to
// nothing, an archive's never leaves its host, and nothing reads out of bounds.
#include "core/feed.h"

#include "fuzz_text.h"

#include <cwctype>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text = FuzzText(data, size);
    const std::wstring source = glimro::FirstImageSource(text);
    const std::wstring linked = glimro::PictureLinkedAroundImage(text, L"https://feed.example/day.html");
    const std::wstring original = glimro::FullPictureOfThumbnail(text, static_cast<long long>(size) * 97);
    if (!original.empty() && original.find(L"://") == std::wstring::npos)
        __builtin_trap();
    for (const std::wstring& ref : {text, source, linked}) {
        const std::wstring resolved = glimro::ResolveAddress(L"https://feed.example/a/b.xml", ref);
        std::wstring head = resolved.substr(0, 8);
        for (wchar_t& c : head)
            c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
        if (!resolved.empty() && head.rfind(L"http://", 0) != 0 && head.rfind(L"https://", 0) != 0)
            __builtin_trap();
        if (resolved.find_first_of(L"\\ \t\r\n") != std::wstring::npos)
            __builtin_trap();
    }
    glimro::ParseFeedDate(text);
    // The same text as an item's fields.
    glimro::FeedReader reader(L"https://feed.example/");
    reader.StartElement(L"", L"rss", {});
    reader.StartElement(L"", L"item", {});
    reader.StartElement(L"", L"description", {});
    reader.Text(text);
    reader.EndElement();
    reader.StartElement(L"", L"enclosure", {{L"", L"url", text}, {L"", L"type", L"image/jpeg"}});
    reader.EndElement();
    reader.EndElement();
    reader.EndElement();
    for (const glimro::FeedPicture& picture : reader.Finish().pictures)
        if (picture.address.find(L"://") == std::wstring::npos)
            __builtin_trap();
    // The text as every field of an archive's image.
    glimro::FeedReader archive(L"https://archive.example/a.aspx", {size % 2 == 0, true});
    archive.StartElement(L"", L"images", {});
    archive.StartElement(L"", L"image", {});
    for (const wchar_t* field : {L"startdate", L"url", L"urlBase", L"copyright", L"copyrightlink"}) {
        archive.StartElement(L"", field, {});
        archive.Text(text);
        archive.EndElement();
    }
    archive.EndElement();
    archive.EndElement();
    for (const glimro::FeedPicture& picture : archive.Finish().pictures) {
        std::wstring start = picture.address.substr(0, 24);
        for (wchar_t& c : start)
            c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
        if (start != L"https://archive.example/")
            __builtin_trap();
    }
    return 0;
}
