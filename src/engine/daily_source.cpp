// The built-in pictures of the day as entries: the sources' rows, and two kinds of entry
// over them. A source on the web is read as a feed is (conditionally, its last good copy
// serving offline, its pictures fetched once into the cache); Windows Spotlight's pictures
// are files this PC already holds, read afresh at every pass as a folder's are.
#include "engine/daily_sources.h"

#include "core/daily_pictures.h"
#include "engine/entry_source.h"
#include "engine/folder_pictures.h"
#include "engine/image_header.h"
#include "engine/web_cache.h"
#include "engine/web_entry.h"
#include "platform/monitors.h"
#include "platform/text.h"
#include "platform/window.h"

#include "resource.h"

#include <algorithm>

namespace glimro {
namespace {

// The sources; a source that moves is its one row changed.
constexpr DailySourceRow kSources[] = {
    {L"bing", IDS_DAILY_BING, IDS_DAILY_BING_ABOUT,
     L"https://www.bing.com/HPImageArchive.aspx?format=xml&idx=0&n=8&mkt={market}", DailyFinder::Archive},
    {L"spotlight", IDS_DAILY_SPOTLIGHT, IDS_DAILY_SPOTLIGHT_ABOUT,
     L"%LOCALAPPDATA%\\Packages\\Microsoft.Windows.ContentDeliveryManager_cw5n1h2txyewy\\LocalState\\Assets;"
     L"%LOCALAPPDATA%\\Packages\\MicrosoftWindows.Client.CBS_cw5n1h2txyewy\\LocalCache\\Microsoft\\IrisService",
     DailyFinder::OnThisPc},
    {L"wikimedia", IDS_DAILY_WIKIMEDIA, IDS_DAILY_WIKIMEDIA_ABOUT,
     L"https://commons.wikimedia.org/w/api.php?action=featuredfeed&feed=potd&feedformat=rss&language={language}",
     DailyFinder::Feed},
    {L"apod", IDS_DAILY_APOD, IDS_DAILY_APOD_ABOUT, L"https://apod.nasa.gov/apod.rss", DailyFinder::DayPages},
};

// Of a feed of day pages, the newest this many days are looked at: each page is one request,
// once.
constexpr size_t kMaxDayPages = 10;
// Spotlight's tile pictures and icons are smaller: its pictures for the screen are at least
// this long on their long side.
constexpr uint64_t kMinSpotlightSide = 1600;
constexpr size_t kMaxSpotlightFiles = 2000;

std::wstring LocaleName() {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    return ::GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH) > 0 ? name : L"";
}

std::wstring Expanded(const std::wstring& text) {
    wchar_t buffer[4096] = {};
    const DWORD length = ::ExpandEnvironmentStringsW(text.c_str(), buffer, 4096);
    return length > 0 && length <= 4096 ? buffer : text;
}

const DailySourceRow* RowOf(const std::wstring& target, bool on_this_pc) {
    const DailySourceRow* row = DailySourceOf(target);
    return row && (row->finder == DailyFinder::OnThisPc) == on_this_pc ? row : nullptr;
}

// The folders of a source on this PC, as they are now.
std::vector<std::wstring> FoldersOf(const DailySourceRow& row) {
    std::vector<std::wstring> folders;
    const std::wstring all = DailyAddress(row);
    for (size_t at = 0; at <= all.size();) {
        const size_t end = std::min(all.find(L';', at), all.size());
        if (end > at)
            folders.push_back(all.substr(at, end - at));
        at = end + 1;
    }
    return folders;
}

std::wstring Title(const DailySourceRow& row) {
    return LoadResourceString(row.title);
}

EntryDescription Described(const DailySourceRow& row, size_t count, const std::wstring& skipped,
                           const std::wstring& preview, bool by_shell) {
    EntryDescription description;
    description.note = PicturesNote(Title(row), count, skipped);
    description.preview = preview;
    description.preview_by_shell = by_shell;
    return description;
}

bool HoldsSkipped(const std::vector<std::wstring>& pictures, const std::wstring& skipped) {
    return std::any_of(pictures.begin(), pictures.end(),
                       [&](const std::wstring& p) { return SamePicture(p, skipped); });
}

// A source on the web: the day's pictures, newest first, with their credits.
class DailyWebSource final : public EntrySource {
public:
    bool Claims(const std::wstring& target) const override { return RowOf(target, false) != nullptr; }

    void Expand(int entry, const ImageEntry&, const std::wstring& target, const std::wstring&,
                LogStream& log, std::vector<Candidate>& out) const override {
        const DailySourceRow* row = RowOf(target, false);
        for (FeedPicture& picture : Pictures(*row, &log))
            out.push_back({entry, ImageEntry(picture.address), &AddressSource(), target,
                           {std::move(picture.title), std::move(picture.credit), std::move(picture.page)}});
    }
    bool HoldsMany() const override { return true; }
    size_t Start(const CAlbum& album, const Candidate* first, size_t count) const override {
        return FeedSource().Start(album, first, count);
    }
    size_t After(const CAlbum& album, const Candidate* first, size_t count,
                 const std::wstring& shown) const override {
        return FeedSource().After(album, first, count, shown);
    }

    TryOutcome Show(const Candidate& picture, const Look& look, LogStream& log) const override {
        return AddressSource().Show(picture, look, log);
    }
    std::wstring ReadyFile(const Candidate& picture, size_t slot, LogStream& log) const override {
        return AddressSource().ReadyFile(picture, slot, log);
    }
    // Its newest picture, as the cache holds it.
    std::wstring FileOf(const std::wstring& target) const override {
        const std::vector<FeedPicture> pictures = Pictures(*RowOf(target, false), nullptr);
        return pictures.empty() ? std::wstring() : CachedFile(pictures.front().address, kCachedPicture);
    }
    bool Downloads() const override { return true; }
    std::wstring DocumentAddress(const std::wstring& target) const override {
        return DailyAddress(*RowOf(target, false));
    }

    EntryProblem CheckNew(const std::wstring&) const override { return EntryProblem::None; }

    EntryDescription Describe(const std::wstring& target,
                              const std::vector<std::wstring>& skipped) const override {
        const DailySourceRow& row = *RowOf(target, false);
        std::vector<std::wstring> addresses;
        for (const FeedPicture& picture : Pictures(row, nullptr))
            addresses.push_back(picture.address);
        const std::wstring preview =
            addresses.empty() ? std::wstring() : CachedFile(addresses.front(), kCachedPicture);
        // Cached under a name the shell cannot tell a picture by: decoded here.
        return Described(row, addresses.size(),
                         SkippedNote(skipped, [&](const std::wstring& s) { return HoldsSkipped(addresses, s); }),
                         preview, false);
    }

private:
    // The source's pictures: with a log, its server asked for a newer copy first (and each new
    // day's page fetched once); without, what the cache holds, for windows.
    static std::vector<FeedPicture> Pictures(const DailySourceRow& row, LogStream* log) {
        const std::wstring address = DailyAddress(row);
        const FeedReading reading{WantsLargestPictures(), row.finder == DailyFinder::DayPages};
        std::optional<Feed> feed = log ? LoadFeed(address, *log, true, reading) : CachedFeed(address, reading);
        if (!feed)
            return {};
        LogStream silent;
        LogStream& out = log ? *log : silent;
        if (feed->refused > 0) {
            out << "Passed over pictures of another site or scheme (" << static_cast<unsigned long>(feed->refused)
                << "): " << LogSafe(address);
            out.EndLine();
        }
        if (row.finder == DailyFinder::DayPages)
            feed->pictures = DayPictures(*feed, address, log != nullptr, out);
        std::vector<FeedPicture> pictures;
        for (FeedPicture& picture : feed->pictures) {
            if (OnSameSite(address, picture.address)) {
                pictures.push_back(std::move(picture));
                continue;
            }
            out << "Passed over a picture of another site: " << LogSafe(picture.address) << " (from "
                << LogSafe(address) << ")";
            out.EndLine();
        }
        if (pictures.empty()) {
            out << "Skipped a picture of the day that holds no picture now: " << LogSafe(address);
            out.EndLine();
        }
        return pictures;
    }

    // Each day's page (of the source's own site) read for the picture it links around its
    // image; a day that shows a video has none. fetch: a page the cache lacks is fetched.
    static std::vector<FeedPicture> DayPictures(const Feed& feed, const std::wstring& address, bool fetch,
                                                LogStream& out) {
        std::vector<FeedPicture> pictures;
        for (size_t i = 0; i < feed.pages.size() && i < kMaxDayPages; ++i) {
            FeedPicture day = feed.pages[i];
            if (day.page.empty() || !OnSameSite(address, day.page))
                continue;
            const std::string body = PageOnce(day.page, out, fetch);
            if (body.empty())
                continue;
            day.address = PictureLinkedAroundImage(FromUtf8(body), day.page);
            if (day.address.empty()) {
                out << "Passed over a day whose page shows no picture: " << LogSafe(day.page);
                out.EndLine();
                continue;
            }
            pictures.push_back(std::move(day));
        }
        return pictures;
    }
};

// Windows Spotlight's pictures on this PC: JPEGs large enough for a screen, newest first,
// each judged by its header (the files have no extension).
class SpotlightSource final : public EntrySource {
public:
    bool Claims(const std::wstring& target) const override { return RowOf(target, true) != nullptr; }

    void Expand(int entry, const ImageEntry&, const std::wstring& target, const std::wstring&,
                LogStream& log, std::vector<Candidate>& out) const override {
        const std::vector<std::wstring> pictures = Pictures(*RowOf(target, true));
        if (pictures.empty()) {
            log << "Skipped Windows Spotlight: this PC holds none of its pictures: "
                << LogSafe(DailyAddress(*RowOf(target, true)));
            log.EndLine();
        }
        for (const std::wstring& picture : pictures)
            out.push_back({entry, ImageEntry(picture), &PictureFileSource()});
    }
    bool HoldsMany() const override { return true; }

    TryOutcome Show(const Candidate& picture, const Look& look, LogStream& log) const override {
        return PictureFileSource().Show(picture, look, log);
    }
    std::wstring ReadyFile(const Candidate& picture, size_t slot, LogStream& log) const override {
        return PictureFileSource().ReadyFile(picture, slot, log);
    }
    std::wstring FileOf(const std::wstring& target) const override {
        const std::vector<std::wstring> pictures = Pictures(*RowOf(target, true));
        return pictures.empty() ? std::wstring() : pictures.front();
    }

    EntryProblem CheckNew(const std::wstring&) const override { return EntryProblem::None; }

    EntryDescription Describe(const std::wstring& target,
                              const std::vector<std::wstring>& skipped) const override {
        const DailySourceRow& row = *RowOf(target, true);
        const std::vector<std::wstring> pictures = Pictures(row);
        // Named without an extension: the shell cannot tell what they are.
        return Described(row, pictures.size(),
                         SkippedNote(skipped, [&](const std::wstring& s) { return HoldsSkipped(pictures, s); }),
                         pictures.empty() ? std::wstring() : pictures.front(), false);
    }

private:
    static std::vector<std::wstring> Pictures(const DailySourceRow& row) {
        struct Found {
            std::wstring path;
            ULONGLONG written;
        };
        std::vector<Found> found;
        for (const std::wstring& folder : FoldersOf(row)) {
            if (!IsFolderEntry(folder))
                continue;
            for (const std::wstring& file : FilesUnder(folder)) {
                if (found.size() >= kMaxSpotlightFiles)
                    break;
                WIN32_FILE_ATTRIBUTE_DATA data = {};
                PictureSize size;
                if (!::GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data) ||
                    (data.nFileSizeHigh == 0 && data.nFileSizeLow == 0) || !ReadImageHeaderSize(file, &size) ||
                    size.format != PictureFormat::Jpeg || std::max(size.width, size.height) < kMinSpotlightSide)
                    continue;
                found.push_back({file, (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                           data.ftLastWriteTime.dwLowDateTime});
            }
        }
        // Newest first; the folders' order among pictures of the same moment.
        std::stable_sort(found.begin(), found.end(),
                         [](const Found& a, const Found& b) { return a.written > b.written; });
        std::vector<std::wstring> pictures;
        for (Found& f : found)
            pictures.push_back(std::move(f.path));
        return pictures;
    }
};

} // namespace

Seam<std::wstring(const DailySourceRow& row)> DailyAddress([](const DailySourceRow& row) {
    const std::wstring locale = LocaleName();
    return Expanded(FillAddressForm(row.address, ArchiveMarket(locale), WikiLanguage(locale)));
});

const DailySourceRow* DailySources(size_t* count) {
    *count = sizeof(kSources) / sizeof(kSources[0]);
    return kSources;
}

const DailySourceRow* DailySourceOf(const std::wstring& entry) {
    const size_t prefix = wcslen(kDailyPrefix);
    if (entry.size() <= prefix || ::CompareStringOrdinal(entry.c_str(), static_cast<int>(prefix), kDailyPrefix,
                                                         static_cast<int>(prefix), TRUE) != CSTR_EQUAL)
        return nullptr;
    const std::wstring name = entry.substr(prefix);
    for (const DailySourceRow& row : kSources)
        if (::CompareStringOrdinal(name.c_str(), -1, row.name, -1, TRUE) == CSTR_EQUAL)
            return &row;
    return nullptr;
}

std::wstring DailyEntry(const DailySourceRow& row) {
    return std::wstring(kDailyPrefix) + row.name;
}

bool IsSpotlightPicture(const std::wstring& path) {
    for (const DailySourceRow& row : kSources)
        if (row.finder == DailyFinder::OnThisPc)
            for (const std::wstring& folder : FoldersOf(row))
                if (IsInFolder(path, folder))
                    return true;
    return false;
}

bool WantsLargestPictures() {
    for (const MonitorInfo& monitor : Monitors())
        if (monitor.rect.right - monitor.rect.left > 1920 || monitor.rect.bottom - monitor.rect.top > 1080)
            return true;
    return false;
}

const EntrySource& DailyWebSource() {
    static const class DailyWebSource source;
    return source;
}

const EntrySource& SpotlightSource() {
    static const class SpotlightSource source;
    return source;
}

} // namespace glimro
