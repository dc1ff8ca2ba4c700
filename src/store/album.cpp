#include "store/album.h"

#include "core/picture_fit.h"
#include "core/stored_value.h"

#include <algorithm>
#include <tuple>
#include <cstring>
#include <iterator>
#include <utility>
#include "platform/window.h"
#include "resource.h"

namespace glimro {
namespace {

constexpr wchar_t kDescription[] = L"Description";
constexpr wchar_t kLastFile[] = L"LastFile";
constexpr wchar_t kLastTime[] = L"LastTime";
constexpr wchar_t kEnabled[] = L"Enabled";
constexpr wchar_t kMode[] = L"Mode";
constexpr wchar_t kLastIndex[] = L"LastIndex";
constexpr wchar_t kFrequency[] = L"Frequency";
constexpr wchar_t kImageCount[] = L"Image Count";
constexpr wchar_t kFileList[] = L"FileList";
constexpr wchar_t kShuffleRound[] = L"Shuffle Round";
constexpr wchar_t kShuffleSet[] = L"Shuffle Set";
constexpr wchar_t kPosition[] = L"Position";
constexpr wchar_t kMonitors[] = L"Monitors";
constexpr wchar_t kEvery[] = L"Every";
constexpr wchar_t kAt[] = L"At";
constexpr wchar_t kLastTitle[] = L"LastTitle";
constexpr wchar_t kLastCredit[] = L"LastCredit";
constexpr wchar_t kLastPage[] = L"LastPage";
constexpr wchar_t kFeedPicturesShown[] = L"Feed Pictures Shown";
constexpr wchar_t kSkippedPictures[] = L"Skipped Pictures";
constexpr wchar_t kSmallestShare[] = L"Smallest Share";
constexpr wchar_t kShape[] = L"Shape";
constexpr wchar_t kCaption[] = L"Caption";
constexpr wchar_t kEntryPrefix[] = L"ImageFile";
// Bounds what a damaged or foreign value can make a load hold: 2,000 feeds' worth.
constexpr DWORD kMaxFeedsShownBytes = 16u << 20;

std::wstring EntryName(size_t position) {
    return kEntryPrefix + std::to_wstring(position);
}

// An entry as found in the registry.
ImageEntry StoredEntry(RegKey::Value&& value) {
    ImageEntry entry;
    entry.Type = value.type;
    if (entry.IsText()) {
        bool plain = false;
        entry.Text = TextFromBytes(value.data, &plain);
        if (plain)
            return entry;
    }
    entry.Stored = std::move(value.data);
    return entry;
}

// A missing, empty, unreadable or non-text value leaves the field as it is.
void LoadText(const RegKey& key, const wchar_t* name, std::wstring* field) {
    std::wstring text;
    DWORD bytes = 0;
    if (key.QueryText(name, &text, &bytes) == ERROR_SUCCESS && bytes != 0)
        *field = std::move(text);
}

// A REG_DWORD, or digits typed as text (`reg add` without a type); anything else loads as
// 0, which is each number's default.
DWORD LoadNumber(const RegKey& key, const wchar_t* name) {
    DWORD value = 0;
    key.QueryDword(name, &value);
    return value;
}

// The bytes of a REG_BINARY value of at most max_bytes; empty for anything else.
std::vector<BYTE> LoadBinary(const RegKey& key, const wchar_t* name, DWORD max_bytes) {
    DWORD type = REG_NONE, bytes = 0;
    if (key.QueryInfo(name, &type, &bytes) != ERROR_SUCCESS || type != REG_BINARY ||
        bytes > max_bytes)
        return {};
    std::vector<BYTE> stored(bytes);
    if (key.QueryRaw(name, stored.data(), &bytes) != ERROR_SUCCESS)
        return {};
    stored.resize(bytes);
    return stored;
}

// Sixteen bytes of REG_BINARY holding a real date and time; anything else reads as never.
SYSTEMTIME LoadTime(const RegKey& key, const wchar_t* name) {
    StoredTime stored = {};
    if (!TimeFromBytes(LoadBinary(key, name, sizeof(SYSTEMTIME)), &stored))
        return SYSTEMTIME{};
    return SYSTEMTIME{stored.year,   stored.month,  stored.day_of_week, stored.day,
                      stored.hour,   stored.minute, stored.second,      stored.milliseconds};
}

// Whole 32-bit positions of REG_BINARY; anything else is no round. The pass checks that
// the positions still fit the list.
void LoadShuffleRound(const RegKey& key, std::vector<int>* round) {
    ShuffleRoundFromBytes(LoadBinary(key, kShuffleRound, kMaxShuffleBytes), round);
}

// "@feed", then its pictures, for each feed; anything before the first "@" is dropped.
std::vector<FeedShown> FeedsShownFromStrings(const std::vector<std::wstring>& strings) {
    std::vector<FeedShown> feeds;
    for (const std::wstring& text : strings) {
        if (!text.empty() && text[0] == L'@')
            feeds.push_back({text.substr(1), {}});
        else if (!feeds.empty() && !text.empty() && feeds.back().Pictures.size() < kMaxFeedShown)
            feeds.back().Pictures.push_back(text);
    }
    return feeds;
}

std::vector<std::wstring> FeedsShownStrings(const std::vector<FeedShown>& feeds) {
    std::vector<std::wstring> strings;
    for (const FeedShown& feed : feeds) {
        strings.push_back(L"@" + feed.Feed);
        strings.insert(strings.end(), feed.Pictures.begin(), feed.Pictures.end());
    }
    return strings;
}

LSTATUS SaveStrings(RegKey& key, const wchar_t* name, const std::vector<std::wstring>& strings) {
    // The key is new: no strings, no value.
    return strings.empty() ? ERROR_SUCCESS : key.SetStrings(name, strings);
}

// A text value, left out when empty.
LSTATUS SaveTextIfAny(RegKey& key, const wchar_t* name, const std::wstring& text) {
    return text.empty() ? ERROR_SUCCESS : key.SetText(name, text);
}

// The first failure of a series of writes.
class FirstFailure {
public:
    void operator+=(LSTATUS status) {
        if (status_ == ERROR_SUCCESS)
            status_ = status;
    }
    LSTATUS Status() const { return status_; }

private:
    LSTATUS status_ = ERROR_SUCCESS;
};

} // namespace

bool SamePicture(const std::wstring& a, const std::wstring& b) {
    return a == b || PictureKey(a) == PictureKey(b);
}

std::wstring PictureKey(const std::wstring& picture) {
    const auto starts = [&](const wchar_t* scheme, int length) {
        return picture.size() >= static_cast<size_t>(length) &&
               ::CompareStringOrdinal(picture.c_str(), length, scheme, length, TRUE) == CSTR_EQUAL;
    };
    if (starts(L"http://", 7) || starts(L"https://", 8) || picture.empty())
        return picture;
    std::wstring key = picture;
    ::CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
    return key;
}

std::wstring FrequencyLabel(int frequency) {
    switch (frequency) {
    case kEveryMinute:
        return LoadResourceString(IDS_LABEL_MINUTE);
    case kEveryHour:
        return LoadResourceString(IDS_LABEL_HOUR);
    case kEveryDay:
        return LoadResourceString(IDS_LABEL_DAY);
    case kEveryWeek:
        return LoadResourceString(IDS_LABEL_WEEK);
    case kEveryMonth:
        return LoadResourceString(IDS_LABEL_MONTH);
    case kSyncToMonth:
        return LoadResourceString(IDS_LABEL_CALENDAR);
    case kSyncToDay:
        return LoadResourceString(IDS_LABEL_TIME_OF_DAY);
    case kSyncToSun:
        return LoadResourceString(IDS_LABEL_SUN);
    default:
        return L"";
    }
}

std::wstring UnitText(int frequency, int count) {
    // One and more of each unit, in the order of the frequencies.
    constexpr UINT kUnits[][2] = {{IDS_UNIT_MINUTE, IDS_UNIT_MINUTES}, {IDS_UNIT_HOUR, IDS_UNIT_HOURS},
                                  {IDS_UNIT_DAY, IDS_UNIT_DAYS},       {IDS_UNIT_WEEK, IDS_UNIT_WEEKS},
                                  {IDS_UNIT_MONTH, IDS_UNIT_MONTHS}};
    if (MaxEvery(frequency) == 0)
        return {};
    return LoadResourceString(kUnits[frequency][count == 1 ? 0 : 1]);
}

LSTATUS CAlbum::LoadFromKey(const RegKey& album_key) {
    LoadText(album_key, kDescription, &Description);
    LoadText(album_key, kLastFile, &LastFile);
    Enabled = LoadNumber(album_key, kEnabled) != 0;
    Mode = static_cast<int>(LoadNumber(album_key, kMode));
    LastIndex = static_cast<int>(LoadNumber(album_key, kLastIndex));
    Frequency = static_cast<int>(LoadNumber(album_key, kFrequency));
    LastTime = LoadTime(album_key, kLastTime);
    LoadShuffleRound(album_key, &ShuffleRound);
    ShuffleSet = LoadNumber(album_key, kShuffleSet);
    // A style this version does not know is kept in the key and shown as Center.
    const DWORD position = LoadNumber(album_key, kPosition);
    Position = position < kPositionCount ? static_cast<int>(position) : kCenter;
    Monitors = LoadNumber(album_key, kMonitors) == kPictureEach ? kPictureEach : kSamePicture;
    // Kept as stored; what is out of range is brought into it where the schedule uses it.
    Every = std::max(1, static_cast<int>(std::min<DWORD>(LoadNumber(album_key, kEvery), 0x7FFFFFFF)));
    At = static_cast<int>(std::min<DWORD>(LoadNumber(album_key, kAt), 0x7FFFFFFF));
    LoadText(album_key, kLastTitle, &Credit.Title);
    LoadText(album_key, kLastCredit, &Credit.Credit);
    LoadText(album_key, kLastPage, &Credit.Page);
    FeedsShown = FeedsShownFromStrings(album_key.QueryStrings(kFeedPicturesShown, kMaxFeedsShownBytes));
    Skipped = album_key.QueryStrings(kSkippedPictures, kMaxFeedsShownBytes);
    if (Skipped.size() > kMaxSkipped)
        Skipped.erase(Skipped.begin(), Skipped.end() - kMaxSkipped);
    // Rules this version does not know are kept in the key and read as none.
    const DWORD share = LoadNumber(album_key, kSmallestShare);
    SmallestShare = share <= 100 ? static_cast<int>(share) : 0;
    const DWORD shape = LoadNumber(album_key, kShape);
    Shape = shape < kShapeCount ? static_cast<int>(shape) : kAnyShape;
    const DWORD caption = LoadNumber(album_key, kCaption);
    Caption = caption <= kCaptionOff ? static_cast<int>(caption) : kCaptionAsOptions;

    // No FileList is an empty album; one that is there but cannot be read is not.
    RegKey file_list;
    const LSTATUS opened = file_list.Open(album_key.Get(), kFileList, KEY_READ);
    if (opened == ERROR_FILE_NOT_FOUND) {
        FileList.clear();
        return ERROR_SUCCESS;
    }
    return opened == ERROR_SUCCESS ? LoadFileList(file_list) : opened;
}

LSTATUS CAlbum::LoadFileList(const RegKey& file_list_key) {
    FileList.clear();
    std::vector<RegKey::Value> values;
    if (const LSTATUS status = file_list_key.EnumValues(&values); status != ERROR_SUCCESS)
        return status;
    std::vector<std::pair<unsigned long, ImageEntry>> entries;
    for (RegKey::Value& value : values) {
        unsigned long position = 0;
        if (EntryPositionFromName(value.name, &position))
            entries.emplace_back(position, StoredEntry(std::move(value)));
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    FileList.reserve(entries.size());
    for (auto& entry : entries)
        FileList.push_back(std::move(entry.second));
    return ERROR_SUCCESS;
}

bool CAlbum::SaveToKey(HKEY parent, int /*ordinal*/) const {
    RegKey key;
    if (key.Create(parent, Name.c_str(), KEY_WRITE) != ERROR_SUCCESS)
        return false;
    return WriteToKey(key) == ERROR_SUCCESS;
}

bool CAlbum::SameStoredForm(const CAlbum& other) const {
    return Description == other.Description && LastFile == other.LastFile &&
           LastIndex == other.LastIndex && Frequency == other.Frequency &&
           std::memcmp(&LastTime, &other.LastTime, sizeof(LastTime)) == 0 &&
           Enabled == other.Enabled && Mode == other.Mode && ShuffleRound == other.ShuffleRound &&
           ShuffleSet == other.ShuffleSet && Position == other.Position &&
           Monitors == other.Monitors && Every == other.Every && At == other.At &&
           Credit == other.Credit && FeedsShown == other.FeedsShown && Skipped == other.Skipped &&
           SmallestShare == other.SmallestShare && Shape == other.Shape && Caption == other.Caption &&
           FileList == other.FileList;
}

namespace {

// One value of the album key that the record owns: whether it differs from the stored
// record, and how it is written.
struct OwnValue {
    const wchar_t* name;
    bool (*changed)(const CAlbum& now, const CAlbum& stored);
    LSTATUS (*write)(const CAlbum& album, RegKey& key);
};

LSTATUS WriteShuffleRound(const CAlbum& album, RegKey& key) {
    if (album.ShuffleRound.empty())
        return ERROR_SUCCESS; // no round: no value
    std::vector<DWORD> round(album.ShuffleRound.begin(), album.ShuffleRound.end());
    return key.SetBinary(kShuffleRound, round.data(),
                         static_cast<DWORD>(round.size() * sizeof(DWORD)));
}

// Written after the entries; an empty list leaves it out.
LSTATUS WriteImageCount(const CAlbum& album, RegKey& key) {
    if (album.FileList.empty())
        return ERROR_SUCCESS;
    return key.SetDword(kImageCount, static_cast<DWORD>(album.FileList.size()));
}

const OwnValue kOwnValues[] = {
    {kDescription, [](const CAlbum& a, const CAlbum& b) { return a.Description != b.Description; },
     [](const CAlbum& a, RegKey& key) { return key.SetText(kDescription, a.Description); }},
    {kLastFile, [](const CAlbum& a, const CAlbum& b) { return a.LastFile != b.LastFile; },
     [](const CAlbum& a, RegKey& key) { return key.SetText(kLastFile, a.LastFile); }},
    {kLastTime,
     [](const CAlbum& a, const CAlbum& b) {
         return std::memcmp(&a.LastTime, &b.LastTime, sizeof(a.LastTime)) != 0;
     },
     [](const CAlbum& a, RegKey& key) {
         return key.SetBinary(kLastTime, &a.LastTime, sizeof(a.LastTime));
     }},
    {kEnabled, [](const CAlbum& a, const CAlbum& b) { return a.Enabled != b.Enabled; },
     [](const CAlbum& a, RegKey& key) { return key.SetDword(kEnabled, a.Enabled ? 1 : 0); }},
    {kMode, [](const CAlbum& a, const CAlbum& b) { return a.Mode != b.Mode; },
     [](const CAlbum& a, RegKey& key) {
         return key.SetDword(kMode, static_cast<DWORD>(a.Mode));
     }},
    {kLastIndex, [](const CAlbum& a, const CAlbum& b) { return a.LastIndex != b.LastIndex; },
     [](const CAlbum& a, RegKey& key) {
         return key.SetDword(kLastIndex, static_cast<DWORD>(a.LastIndex));
     }},
    {kFrequency, [](const CAlbum& a, const CAlbum& b) { return a.Frequency != b.Frequency; },
     [](const CAlbum& a, RegKey& key) {
         return key.SetDword(kFrequency, static_cast<DWORD>(a.Frequency));
     }},
    {kShuffleRound,
     [](const CAlbum& a, const CAlbum& b) { return a.ShuffleRound != b.ShuffleRound; },
     &WriteShuffleRound},
    {kImageCount, [](const CAlbum& a, const CAlbum& b) { return a.FileList != b.FileList; },
     &WriteImageCount},
    {kShuffleSet, [](const CAlbum& a, const CAlbum& b) { return a.ShuffleSet != b.ShuffleSet; },
     [](const CAlbum& a, RegKey& key) {
         // The key is new: leaving the value out removes it.
         return a.ShuffleSet == 0 ? ERROR_SUCCESS : key.SetDword(kShuffleSet, a.ShuffleSet);
     }},
    {kPosition, [](const CAlbum& a, const CAlbum& b) { return a.Position != b.Position; },
     [](const CAlbum& a, RegKey& key) {
         return key.SetDword(kPosition, static_cast<DWORD>(a.Position));
     }},
    {kMonitors, [](const CAlbum& a, const CAlbum& b) { return a.Monitors != b.Monitors; },
     [](const CAlbum& a, RegKey& key) {
         return key.SetDword(kMonitors, static_cast<DWORD>(a.Monitors));
     }},
    // Left out at their defaults: an album that changes at the start of every unit is
    // stored exactly as before.
    {kEvery, [](const CAlbum& a, const CAlbum& b) { return a.Every != b.Every; },
     [](const CAlbum& a, RegKey& key) {
         return a.Every <= 1 ? ERROR_SUCCESS : key.SetDword(kEvery, static_cast<DWORD>(a.Every));
     }},
    {kAt, [](const CAlbum& a, const CAlbum& b) { return a.At != b.At; },
     [](const CAlbum& a, RegKey& key) {
         return a.At <= 0 ? ERROR_SUCCESS : key.SetDword(kAt, static_cast<DWORD>(a.At));
     }},
    {kLastTitle, [](const CAlbum& a, const CAlbum& b) { return a.Credit.Title != b.Credit.Title; },
     [](const CAlbum& a, RegKey& key) { return SaveTextIfAny(key, kLastTitle, a.Credit.Title); }},
    {kLastCredit, [](const CAlbum& a, const CAlbum& b) { return a.Credit.Credit != b.Credit.Credit; },
     [](const CAlbum& a, RegKey& key) { return SaveTextIfAny(key, kLastCredit, a.Credit.Credit); }},
    {kLastPage, [](const CAlbum& a, const CAlbum& b) { return a.Credit.Page != b.Credit.Page; },
     [](const CAlbum& a, RegKey& key) { return SaveTextIfAny(key, kLastPage, a.Credit.Page); }},
    {kFeedPicturesShown, [](const CAlbum& a, const CAlbum& b) { return a.FeedsShown != b.FeedsShown; },
     [](const CAlbum& a, RegKey& key) {
         return SaveStrings(key, kFeedPicturesShown, FeedsShownStrings(a.FeedsShown));
     }},
    {kSkippedPictures, [](const CAlbum& a, const CAlbum& b) { return a.Skipped != b.Skipped; },
     [](const CAlbum& a, RegKey& key) { return SaveStrings(key, kSkippedPictures, a.Skipped); }},
    {kSmallestShare, [](const CAlbum& a, const CAlbum& b) { return a.SmallestShare != b.SmallestShare; },
     [](const CAlbum& a, RegKey& key) {
         return a.SmallestShare <= 0 ? ERROR_SUCCESS
                                     : key.SetDword(kSmallestShare, static_cast<DWORD>(a.SmallestShare));
     }},
    {kShape, [](const CAlbum& a, const CAlbum& b) { return a.Shape != b.Shape; },
     [](const CAlbum& a, RegKey& key) {
         return a.Shape <= 0 ? ERROR_SUCCESS : key.SetDword(kShape, static_cast<DWORD>(a.Shape));
     }},
    {kCaption, [](const CAlbum& a, const CAlbum& b) { return a.Caption != b.Caption; },
     [](const CAlbum& a, RegKey& key) {
         return a.Caption <= 0 ? ERROR_SUCCESS : key.SetDword(kCaption, static_cast<DWORD>(a.Caption));
     }},
};

const OwnValue* FindOwnValue(const std::wstring& name) {
    for (const OwnValue& own : kOwnValues) {
        if (::lstrcmpiW(own.name, name.c_str()) == 0)
            return &own;
    }
    return nullptr;
}

bool IsNamed(const std::wstring& name, const wchar_t* expected) {
    return ::lstrcmpiW(name.c_str(), expected) == 0;
}

// Copies every value of `from` that `keep` accepts, and every subkey but `skip`, into `to`.
template <typename Keep>
LSTATUS CopyOthers(const RegKey& from, RegKey& to, Keep keep, const wchar_t* skip) {
    FirstFailure failure;
    std::vector<RegKey::Value> values;
    failure += from.EnumValues(&values);
    for (const RegKey::Value& value : values) {
        if (keep(value.name))
            failure += to.SetRaw(value.name.c_str(), value.type, value.data.data(),
                                 static_cast<DWORD>(value.data.size()));
    }
    for (const std::wstring& name : from.SubkeyNames()) {
        if (!skip || !IsNamed(name, skip))
            failure += to.CopyTreeFrom(from.Get(), name.c_str(), name.c_str());
    }
    return failure.Status();
}

} // namespace

LSTATUS CAlbum::WriteToKey(RegKey& key, const RegKey* old_key, const CAlbum* stored) const {
    const auto changed = [&](const OwnValue& own) {
        return !old_key || !stored || own.changed(*this, *stored);
    };
    FirstFailure failure;
    if (old_key) {
        failure += CopyOthers(
            *old_key, key,
            [&](const std::wstring& name) {
                const OwnValue* own = FindOwnValue(name);
                return !own || !changed(*own);
            },
            kFileList);
    }
    if (failure.Status() != ERROR_SUCCESS)
        return failure.Status();

    // The entries first: "Image Count" follows them. Other values or subkeys of FileList
    // are carried over; when the old key holds just the entries last loaded or saved, they
    // are written from memory, which keeps their stored form, without reading them again.
    RegKey old_list;
    if (old_key)
        old_list.Open(old_key->Get(), kFileList, KEY_READ);
    bool only_entries = !old_list.IsOpen();
    if (!only_entries && stored) {
        DWORD values = 0, subkeys = 0;
        only_entries = old_list.QueryValueCount(&values, &subkeys) == ERROR_SUCCESS &&
                       subkeys == 0 && values == stored->FileList.size();
    }
    // Entries of an earlier save into the same key (SaveToKey) do not stay behind.
    if (!old_list.IsOpen())
        failure += RegKey::DeleteTree(key.Get(), kFileList);
    {
        RegKey list;
        failure += list.Create(key.Get(), kFileList, KEY_READ | KEY_WRITE);
        if (failure.Status() != ERROR_SUCCESS)
            return failure.Status();
        if (!only_entries) {
            unsigned long position = 0;
            failure += CopyOthers(
                old_list, list,
                [&](const std::wstring& name) { return !EntryPositionFromName(name, &position); },
                nullptr);
        }
        for (size_t i = 0; i < FileList.size(); ++i)
            failure += WriteFileListEntry(list, i, FileList[i]);
        DWORD values = 0, subkeys = 0;
        list.QueryValueCount(&values, &subkeys);
        list.Close();
        // An empty list is stored without FileList, unless another tool keeps something there.
        if (FileList.empty() && values == 0 && subkeys == 0)
            failure += RegKey::DeleteTree(key.Get(), kFileList);
    }
    for (const OwnValue& own : kOwnValues) {
        if (changed(own))
            failure += own.write(*this, key);
    }
    return failure.Status();
}

LSTATUS CAlbum::WriteFileListEntry(RegKey& file_list_key, size_t position,
                                     const ImageEntry& entry) {
    const std::wstring name = EntryName(position);
    if (!entry.Stored.empty())
        return file_list_key.SetRaw(name.c_str(), entry.Type, entry.Stored.data(),
                                    static_cast<DWORD>(entry.Stored.size()));
    return file_list_key.SetText(name.c_str(), entry.Text, entry.Type);
}

bool CAlbum::WasShownFromFeed(const std::wstring& feed, const std::wstring& picture) const {
    for (const FeedShown& shown : FeedsShown) {
        if (shown.Feed == feed)
            return std::find(shown.Pictures.begin(), shown.Pictures.end(), picture) != shown.Pictures.end();
    }
    return false;
}

void CAlbum::RememberFeedPicture(const std::wstring& feed, const std::wstring& picture) {
    // Feeds taken out of the album go with their memory.
    FeedsShown.erase(std::remove_if(FeedsShown.begin(), FeedsShown.end(),
                                    [&](const FeedShown& shown) {
                                        return shown.Feed != feed &&
                                               std::none_of(FileList.begin(), FileList.end(),
                                                            [&](const ImageEntry& entry) {
                                                                return entry.Expanded() == shown.Feed;
                                                            });
                                    }),
                     FeedsShown.end());
    auto it = std::find_if(FeedsShown.begin(), FeedsShown.end(),
                           [&](const FeedShown& shown) { return shown.Feed == feed; });
    if (it == FeedsShown.end())
        it = FeedsShown.insert(FeedsShown.end(), FeedShown{feed, {}});
    std::vector<std::wstring>& pictures = it->Pictures;
    pictures.erase(std::remove(pictures.begin(), pictures.end(), picture), pictures.end());
    pictures.push_back(picture);
    if (pictures.size() > kMaxFeedShown)
        pictures.erase(pictures.begin(), pictures.end() - kMaxFeedShown);
}

bool CAlbum::IsSkipped(const ImageEntry& picture) const {
    const std::wstring expanded = picture.Expanded();
    return std::any_of(Skipped.begin(), Skipped.end(), [&](const std::wstring& skipped) {
        return SamePicture(skipped, expanded) || SamePicture(skipped, picture.Text);
    });
}

const SYSTEMTIME& CAlbum::LastAttempt() const {
    const auto order = [](const SYSTEMTIME& t) {
        return std::make_tuple(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
    };
    return order(TriedTime) > order(LastTime) ? TriedTime : LastTime;
}

void CAlbum::Skip(const ImageEntry& entry) {
    const std::wstring picture = entry.Expanded();
    if (picture.empty())
        return;
    if (!IsSkipped(entry))
        Skipped.push_back(picture);
    if (Skipped.size() > kMaxSkipped)
        Skipped.erase(Skipped.begin(), Skipped.end() - kMaxSkipped);
    // Previous counts back from the picture it stands on: count what is kept after it.
    const size_t standing = History.size() - std::min(HistoryBack, History.size());
    std::vector<ShownPicture> kept;
    size_t back = 0;
    for (size_t i = 0; i < History.size(); ++i) {
        if (SamePicture(History[i].picture.Expanded(), picture))
            continue;
        kept.push_back(History[i]);
        if (i >= standing)
            ++back;
    }
    History = std::move(kept);
    HistoryBack = back;
}

bool CAlbum::Unskip(const std::wstring& picture) {
    const auto kept = std::remove_if(Skipped.begin(), Skipped.end(),
                                     [&](const std::wstring& skipped) { return SamePicture(skipped, picture); });
    const bool found = kept != Skipped.end();
    Skipped.erase(kept, Skipped.end());
    return found;
}

CAlbum::AsidePicture CAlbum::Current() const {
    if (Aside)
        return *Aside;
    return {ShownEntry(), Credit, {}};
}

ImageEntry CAlbum::ShownEntry() const {
    if (LastIndex >= 0 && static_cast<size_t>(LastIndex) < FileList.size() &&
        FileList[static_cast<size_t>(LastIndex)].Text == LastFile)
        return FileList[static_cast<size_t>(LastIndex)];
    return ImageEntry(LastFile);
}

void CAlbum::FollowEntries(const std::vector<int>& moved) {
    const auto follow = [&moved](int position) {
        return position >= 0 && static_cast<size_t>(position) < moved.size()
                   ? moved[static_cast<size_t>(position)]
                   : -1;
    };
    std::vector<int> round;
    for (const int position : ShuffleRound)
        if (const int now = follow(position); now != -1)
            round.push_back(now);
    ShuffleRound = std::move(round);
    // Previous steps back from the picture it stands on: count what is kept after it.
    const size_t standing = History.size() - std::min(HistoryBack, History.size());
    std::vector<ShownPicture> kept;
    size_t back = 0;
    for (size_t i = 0; i < History.size(); ++i) {
        const int now = follow(History[i].entry);
        if (now == -1)
            continue;
        kept.push_back({now, History[i].picture, History[i].credit});
        if (i >= standing)
            ++back;
    }
    History = std::move(kept);
    HistoryBack = back;
}

std::wstring ImageEntry::Expanded() const {
    if (Type != REG_EXPAND_SZ)
        return Text;
    const DWORD needed = ::ExpandEnvironmentStringsW(Text.c_str(), nullptr, 0);
    if (needed == 0)
        return Text;
    std::wstring expanded(needed, L'\0');
    const DWORD written = ::ExpandEnvironmentStringsW(Text.c_str(), expanded.data(), needed);
    if (written == 0 || written > needed)
        return Text;
    expanded.resize(written - 1);
    return expanded;
}

} // namespace glimro
