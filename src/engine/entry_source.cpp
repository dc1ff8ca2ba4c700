#include "engine/entry_source.h"

#include <algorithm>
#include "platform/window.h"
#include "resource.h"

namespace glimro {

void EntrySource::Expand(int entry, const ImageEntry& stored, const std::wstring&,
                         const std::wstring&, LogStream&, std::vector<Candidate>& out) const {
    out.push_back({entry, stored, this});
}

size_t EntrySource::Start(const CAlbum&, const Candidate*, size_t) const {
    return 0;
}

size_t EntrySource::After(const CAlbum&, const Candidate* first, size_t count,
                          const std::wstring& shown) const {
    for (size_t i = 0; i < count; ++i)
        if (first[i].image.Text == shown)
            return i + 1;
    return count;
}

EntryDescription EntrySource::Describe(const std::wstring& target,
                                       const std::vector<std::wstring>& skipped) const {
    EntryDescription description;
    description.preview = FileOf(target);
    description.preview_by_shell = !Downloads();
    if (std::any_of(skipped.begin(), skipped.end(),
                    [&](const std::wstring& s) { return SamePicture(s, target); }))
        description.note = LoadResourceString(IDS_NOTE_SKIPPED);
    return description;
}

// The kinds, most particular first: the first that claims an entry is its source. A picture
// of the day is named by its source; a feed is an address known to be a feed's; a folder is a
// path that names one.
const EntrySource& SourceFor(const std::wstring& target) {
    static const EntrySource* const kKinds[] = {
        &DailyWebSource(),
        &SpotlightSource(),
        &FeedSource(),
        &AddressSource(),
        &FolderSource(),
        &PictureFileSource(),
    };
    for (const EntrySource* kind : kKinds)
        if (kind->Claims(target))
            return *kind;
    return PictureFileSource();
}

const EntrySource& PictureSourceFor(const std::wstring& picture) {
    return AddressSource().Claims(picture) ? AddressSource() : PictureFileSource();
}

bool IsNewPicture(const CAlbum& album, const Candidate& picture) {
    return !picture.feed.empty() && !album.WasShownFromFeed(picture.feed, picture.image.Text);
}

std::wstring PicturesNote(const std::wstring& title, size_t count, const std::wstring& skipped) {
    const std::wstring pictures =
        count == 1 ? LoadResourceString(IDS_ONE_PICTURE) : ResourceText(IDS_PICTURES, {std::to_wstring(count)});
    return ResourceText(title.empty() ? IDS_NOTE_PICTURES : IDS_NOTE_TITLED_PICTURES, {pictures + skipped, title});
}

std::wstring SkippedNote(const std::vector<std::wstring>& skipped,
                         const std::function<bool(const std::wstring& picture)>& holds) {
    const size_t count = static_cast<size_t>(std::count_if(skipped.begin(), skipped.end(), holds));
    return count == 0 ? std::wstring() : ResourceText(IDS_NOTE_SOME_SKIPPED, {std::to_wstring(count)});
}

} // namespace glimro
