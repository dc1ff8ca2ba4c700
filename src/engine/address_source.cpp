// An address entry: a picture at an http or https address, fetched into the cache (or found
// there) at every pass; an address that answers with a feed becomes a feed entry.
#include "core/local_address.h"
#include "core/picture_names.h"
#include "engine/entry_source.h"
#include "engine/internet_fetch.h"
#include "engine/picture_show.h"
#include "engine/web_cache.h"
#include "engine/web_entry.h"
#include "platform/atomic_file.h"
#include "platform/host_addresses.h"
#include "platform/module.h"

namespace glimro {
namespace {

// Whether the address's host is on this computer or its network: by the host as written, and
// a name by every address it resolves to now, just before the request. A host that cannot be
// found in the address counts as such.
bool IsOnLocalNetwork(const std::wstring& address) {
    const std::wstring host = AddressHost(address);
    uint8_t bytes[16];
    size_t size = 0;
    if (host.empty() || IsLocalHostName(host))
        return true;
    if (ParseIpLiteral(host, bytes, &size))
        return false;
    for (const std::vector<uint8_t>& resolved : ResolveHost(host))
        if (IsLocalAddress(resolved.data(), resolved.size()))
            return true;
    return false;
}

// A feed's picture is fetched only where the feed itself could send Glimro: a feed on the
// internet never sends it to this computer or its network. An address the user typed as an
// entry is the user's own choice.
bool MayFetch(const Candidate& picture, const std::wstring& target, LogStream& log) {
    if (picture.feed.empty() ||
        MayFollowFeedPicture(IsOnLocalNetwork(SourceFor(picture.feed).DocumentAddress(picture.feed)),
                             IsOnLocalNetwork(target)))
        return true;
    log << "Refused a feed's picture on this computer or its network: " << LogSafe(target) << " (from "
        << LogSafe(picture.feed) << ")";
    log.EndLine();
    return false;
}

class AddressSource final : public EntrySource {
public:
    bool Claims(const std::wstring& target) const override { return IsInternetEntry(target); }

    TryOutcome Show(const Candidate& picture, const Look& look, LogStream& log) const override {
        const std::wstring target = picture.image.Expanded();
        if (!MayFetch(picture, target, log))
            return TryOutcome::EntryFailed;
        WritePassEntryStart(log);
        // "Initalization" is spelled as users' logs have always shown it.
        log << "\tInitalization started.\n";
        std::wstring downloaded;
        const WebOutcome fetched = FetchWebPicture(target, !picture.feed.empty(), log, &downloaded);
        TryOutcome outcome = fetched == WebOutcome::Feed ? TryOutcome::FoundFeed : TryOutcome::EntryFailed;
        // The wallpaper file holds the picture as downloaded, as it always has: a new screen
        // layout stages it again from there.
        const std::wstring local = GetLocalWallpaperPath();
        if (fetched == WebOutcome::Picture &&
            (downloaded == local || SUCCEEDED(CopyWhole(downloaded, local))))
            outcome = StageAndSet(local, picture, look, log);
        log << "\tInitalization Completed.\n";
        WritePassEntryEnd(log);
        return outcome;
    }
    // Downloaded and copied to a file of its own, so that the next download keeps it.
    std::wstring ReadyFile(const Candidate& picture, size_t slot, LogStream& log) const override {
        if (!MayFetch(picture, picture.image.Expanded(), log))
            return {};
        const std::wstring copy = ExecutableFolder() + L"pod-net-" + std::to_wstring(slot + 1) + L".jpg";
        std::wstring downloaded;
        if (FetchWebPicture(picture.image.Expanded(), !picture.feed.empty(), log, &downloaded) !=
                WebOutcome::Picture ||
            FAILED(CopyWhole(downloaded, copy)))
            return {};
        return copy;
    }
    std::wstring FileOf(const std::wstring& picture) const override {
        return CachedFile(picture, kCachedPicture);
    }
    std::wstring ShownFile(const std::wstring&) const override { return GetLocalWallpaperPath(); }
    bool Downloads() const override { return true; }

    size_t MaxChars() const override { return kMaxAddressChars; }
    const wchar_t* Noun() const override { return L"address"; }
    // Its name is the address before its "?" or "#".
    EntryProblem CheckNew(const std::wstring& text) const override {
        return HasImageExtension(text.substr(0, text.find_first_of(L"?#"))) ? EntryProblem::None
                                                                            : EntryProblem::NotAPicture;
    }
};

} // namespace

const EntrySource& AddressSource() {
    static const class AddressSource source;
    return source;
}

} // namespace glimro
