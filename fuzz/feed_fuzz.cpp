// Any text as an item's HTML, a relative address and a date: the picture found resolves to
// an http or https address or to nothing, and nothing reads out of bounds.
#include "core/feed.h"

#include "fuzz_text.h"

#include <cwctype>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text = FuzzText(data, size);
    const std::wstring source = glimro::FirstImageSource(text);
    for (const std::wstring& ref : {text, source}) {
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
    return 0;
}
