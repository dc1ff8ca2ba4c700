#include "store/recent_pictures.h"

#include "core/feed.h"
#include "store/product_key.h"

#include <algorithm>

namespace glimro {
namespace {

constexpr wchar_t kRecentPictures[] = L"Recent Pictures";
// Ten pictures of long addresses and titles fit many times over; a foreign value past this
// is not read.
constexpr DWORD kMaxRecentBytes = 256u << 10;

// A field never holds the separator or a control character: they become blanks.
std::wstring Field(std::wstring text) {
    return BlankControls(std::move(text));
}

std::vector<std::wstring> SplitFields(const std::wstring& text) {
    std::vector<std::wstring> fields;
    size_t start = 0;
    for (size_t tab; (tab = text.find(L'\t', start)) != std::wstring::npos; start = tab + 1)
        fields.push_back(text.substr(start, tab - start));
    fields.push_back(text.substr(start));
    fields.resize(std::max<size_t>(fields.size(), 5));
    return fields;
}

} // namespace

std::vector<RecentPicture> ReadRecentPictures() {
    std::vector<RecentPicture> recent;
    for (const std::wstring& text : ReadProductStrings(kRecentPictures, kMaxRecentBytes)) {
        const std::vector<std::wstring> f = SplitFields(text);
        if (!f[0].empty() && recent.size() < kMaxRecentPictures)
            recent.push_back({f[0], f[1], {f[2], f[3], f[4]}});
    }
    return recent;
}

LSTATUS RememberRecentPicture(const RecentPicture& shown) {
    if (shown.picture.empty())
        return ERROR_SUCCESS;
    std::vector<RecentPicture> recent = ReadRecentPictures();
    recent.erase(std::remove_if(recent.begin(), recent.end(),
                                [&](const RecentPicture& r) { return PictureKey(r.picture) == PictureKey(shown.picture); }),
                 recent.end());
    recent.insert(recent.begin(), shown);
    if (recent.size() > kMaxRecentPictures)
        recent.resize(kMaxRecentPictures);
    std::vector<std::wstring> strings;
    for (const RecentPicture& r : recent)
        strings.push_back(Field(r.picture) + L'\t' + Field(r.album) + L'\t' + Field(r.credit.Title) +
                          L'\t' + Field(r.credit.Credit) + L'\t' + Field(r.credit.Page));
    return WriteProductStrings(kRecentPictures, strings);
}

RecentPicture RecentFrom(const CAlbum& album) {
    const CAlbum::AsidePicture shown = album.Current();
    return {shown.picture.Expanded(), shown.album.empty() ? album.Name : shown.album, shown.credit};
}

std::wstring RecentName(const RecentPicture& recent) {
    if (!recent.credit.Title.empty())
        return Field(recent.credit.Title);
    std::wstring name = recent.picture.substr(0, recent.picture.find_first_of(L"?#"));
    const size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos && slash + 1 < name.size())
        name = name.substr(slash + 1);
    return Field(name);
}

} // namespace glimro
