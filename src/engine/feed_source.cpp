// A feed entry: an address whose server answered with an RSS or Atom feed, standing for its
// items' pictures, newest first, read from the feed's last good copy after asking its server
// for a newer one.
#include "engine/entry_source.h"
#include "engine/web_cache.h"
#include "engine/web_entry.h"

#include <algorithm>
#include "core/hidden_controls.h"

namespace glimro {
namespace {

// The feed's newest picture as the cache holds it; empty for a feed without pictures.
std::wstring NewestCached(const Feed& feed) {
    return feed.pictures.empty() ? std::wstring() : CachedFile(feed.pictures.front().address, kCachedPicture);
}

class FeedSource final : public EntrySource {
public:
    bool Claims(const std::wstring& target) const override {
        return AddressSource().Claims(target) && IsKnownFeed(target);
    }

    // A feed whose copy cannot be read is an address again.
    void Expand(int entry, const ImageEntry& stored, const std::wstring& target,
                const std::wstring& fresh, LogStream& log, std::vector<Candidate>& out) const override {
        const std::optional<Feed> feed = LoadFeed(target, log, target != fresh);
        if (!feed) {
            AddressSource().Expand(entry, stored, target, fresh, log, out);
            return;
        }
        if (feed->pictures.empty()) {
            log << "Skipped a feed that holds no picture: " << LogSafe(target);
            log.EndLine();
        }
        for (const FeedPicture& picture : feed->pictures)
            out.push_back({entry, ImageEntry(picture.address), &AddressSource(), target,
                           {picture.title, picture.credit, picture.page}});
    }
    bool HoldsMany() const override { return true; }

    // Its newest picture not shown yet, while there is one.
    size_t Start(const CAlbum& album, const Candidate* first, size_t count) const override {
        for (size_t i = 0; i < count; ++i)
            if (IsNewPicture(album, first[i]))
                return i;
        return 0;
    }
    // The newest picture not shown yet, else the one after the picture shown.
    size_t After(const CAlbum& album, const Candidate* first, size_t count,
                 const std::wstring& shown) const override {
        for (size_t i = 0; i < count; ++i)
            if (IsNewPicture(album, first[i]))
                return i;
        return EntrySource::After(album, first, count, shown);
    }

    TryOutcome Show(const Candidate& picture, const Look& look, LogStream& log) const override {
        return AddressSource().Show(picture, look, log);
    }
    std::wstring ReadyFile(const Candidate& picture, size_t slot, LogStream& log) const override {
        return AddressSource().ReadyFile(picture, slot, log);
    }
    // Its newest picture, as the cache holds it.
    std::wstring FileOf(const std::wstring& target) const override {
        const std::optional<Feed> feed = CachedFeed(target);
        return feed ? NewestCached(*feed) : std::wstring();
    }
    bool Downloads() const override { return true; }

    size_t MaxChars() const override { return AddressSource().MaxChars(); }
    const wchar_t* Noun() const override { return AddressSource().Noun(); }
    EntryProblem CheckNew(const std::wstring& text) const override { return AddressSource().CheckNew(text); }

    // What its last fetch held.
    EntryDescription Describe(const std::wstring& target,
                              const std::vector<std::wstring>& skipped) const override {
        const std::optional<Feed> feed = CachedFeed(target);
        if (!feed)
            return EntrySource::Describe(target, skipped);
        const auto holds = [&](const std::wstring& s) {
            return std::any_of(feed->pictures.begin(), feed->pictures.end(),
                               [&](const FeedPicture& p) { return p.address == s; });
        };
        EntryDescription description;
        description.note = PicturesNote(BlankControls(feed->title), feed->pictures.size(), SkippedNote(skipped, holds));
        description.preview = NewestCached(*feed);
        // Cached under a name the shell cannot tell a picture by: decoded here.
        description.preview_by_shell = false;
        return description;
    }
};

} // namespace

const EntrySource& FeedSource() {
    static const class FeedSource source;
    return source;
}

} // namespace glimro
