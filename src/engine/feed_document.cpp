#include "engine/feed_document.h"

#include "platform/com_ptr.h"
#include "platform/system_library.h"

#include <shlwapi.h>
#include <xmllite.h>

#include <vector>

namespace glimro {
namespace {

const IID kIidXmlReader = {0x7279fc81, 0x709d, 0x4095, {0xb6, 0x3d, 0x69, 0xfe, 0x4b, 0x0d, 0x90, 0x30}};

std::wstring_view View(const wchar_t* text, UINT length) {
    return text ? std::wstring_view(text, length) : std::wstring_view();
}

} // namespace

bool LooksLikeXml(std::string_view body) {
    if (body.substr(0, 3) == "\xEF\xBB\xBF")
        body.remove_prefix(3);
    // UTF-16 with its mark: the parser reads it; its first character is '<' too.
    if (body.substr(0, 2) == "\xFF\xFE" || body.substr(0, 2) == "\xFE\xFF")
        return body.size() > 3 && (body[2] == '<' || body[3] == '<');
    const size_t first = body.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && body[first] == '<';
}

std::optional<Feed> ReadFeedDocument(std::string_view body, const std::wstring& address,
                                     HRESULT* problem, FeedReading reading) {
    HRESULT unused = S_OK;
    if (!problem)
        problem = &unused;
    *problem = S_OK;
    if (body.size() > kMaxFeedBytes || !LooksLikeXml(body))
        return std::nullopt;
    const auto create = SystemFunction<decltype(::CreateXmlReader)>(L"xmllite.dll", "CreateXmlReader");
    if (!create) {
        *problem = HRESULT_FROM_WIN32(::GetLastError());
        return std::nullopt;
    }
    ComPtr<IXmlReader> reader;
    HRESULT result = create(kIidXmlReader, reinterpret_cast<void**>(reader.Put()), nullptr);
    ComPtr<IStream> stream;
    if (SUCCEEDED(result)) {
        stream = ComPtr<IStream>::Attach(::SHCreateMemStream(
            reinterpret_cast<const BYTE*>(body.data()), static_cast<UINT>(body.size())));
        result = stream ? S_OK : E_OUTOFMEMORY;
    }
    if (SUCCEEDED(result))
        result = reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit);
    if (SUCCEEDED(result))
        result = reader->SetProperty(XmlReaderProperty_MaxElementDepth, kMaxFeedDepth);
    if (SUCCEEDED(result))
        result = reader->SetInput(stream.Get());
    if (FAILED(result)) {
        *problem = result;
        return std::nullopt;
    }

    FeedReader feed(address, reading);
    // Reused from element to element: the names and values are copied out of the parser's
    // buffers (which the next call overwrites) without a new allocation each time.
    std::wstring element_space, element_name;
    std::vector<std::wstring> texts;
    std::vector<XmlAttribute> attributes;
    XmlNodeType node = XmlNodeType_None;
    while ((result = reader->Read(&node)) == S_OK) {
        switch (node) {
        case XmlNodeType_Element: {
            const wchar_t *space = nullptr, *name = nullptr;
            UINT space_length = 0, name_length = 0;
            reader->GetNamespaceUri(&space, &space_length);
            reader->GetLocalName(&name, &name_length);
            element_space.assign(View(space, space_length));
            element_name.assign(View(name, name_length));
            const bool empty = reader->IsEmptyElement() != FALSE;
            size_t count = 0;
            for (HRESULT more = reader->MoveToFirstAttribute(); more == S_OK;
                 more = reader->MoveToNextAttribute()) {
                const wchar_t* parts[3] = {};
                UINT lengths[3] = {};
                reader->GetNamespaceUri(&parts[0], &lengths[0]);
                reader->GetLocalName(&parts[1], &lengths[1]);
                reader->GetValue(&parts[2], &lengths[2]);
                if (texts.size() < count + 3)
                    texts.resize(count + 3);
                for (int i = 0; i < 3; ++i)
                    texts[count + i].assign(View(parts[i], lengths[i]));
                count += 3;
            }
            attributes.clear();
            for (size_t i = 0; i < count; i += 3)
                attributes.push_back({texts[i], texts[i + 1], texts[i + 2]});
            feed.StartElement(element_space, element_name, attributes);
            if (empty)
                feed.EndElement();
            // Anything but a feed's root: no need to read the rest.
            if (!feed.IsFeed())
                return std::nullopt;
            break;
        }
        case XmlNodeType_EndElement:
            feed.EndElement();
            break;
        case XmlNodeType_Text:
        case XmlNodeType_CDATA:
        case XmlNodeType_Whitespace: {
            const wchar_t* value = nullptr;
            UINT length = 0;
            if (SUCCEEDED(reader->GetValue(&value, &length)))
                feed.Text(View(value, length));
            break;
        }
        default:
            break;
        }
    }
    if (FAILED(result)) {
        // A feed cut short by the parser's refusal (a DTD, too deep, broken XML): nothing of
        // it is used.
        *problem = result;
        return std::nullopt;
    }
    return feed.Finish();
}

} // namespace glimro
