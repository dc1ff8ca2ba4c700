#include "store/album_set.h"

#include "log/activity_log.h"
#include "store/product_key.h"

#include <algorithm>
#include <set>
#include <utility>

namespace glimro {
namespace {

// While an album is saved its new form is written whole under a staging name beside it,
// then swapped in by two renames; the old form is deleted last. The suffixes use a
// private-use character that no typed name holds.
constexpr wchar_t kStagedSuffix[] = L"\xE000new";
constexpr wchar_t kReplacedSuffix[] = L"\xE000old";
constexpr size_t kSuffixChars = 4;
constexpr size_t kMaxKeyNameChars = 255;

bool EndsWith(const std::wstring& name, const wchar_t* suffix) {
    return name.size() > kSuffixChars &&
           name.compare(name.size() - kSuffixChars, kSuffixChars, suffix) == 0;
}

bool IsStagingName(const std::wstring& name) {
    return EndsWith(name, kStagedSuffix) || EndsWith(name, kReplacedSuffix);
}

std::wstring BaseName(const std::wstring& staging_name) {
    return staging_name.substr(0, staging_name.size() - kSuffixChars);
}

// Registry key names ignore letter case.
std::wstring KeyNameIdentity(std::wstring name) {
    if (!name.empty())
        ::CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
    return name;
}

std::vector<std::wstring> SubkeyNames(const RegKey& key) {
    std::vector<std::wstring> names;
    std::wstring name;
    for (DWORD index = 0; key.EnumSubkey(index, &name) == ERROR_SUCCESS; ++index)
        names.push_back(name);
    return names;
}

void Report(const std::wstring& message, LSTATUS status) {
    BuildLogPath();
    LogStream log = OpenLog(LogMode::Append);
    ReportErrorCode(message, static_cast<DWORD>(status), log);
}

// Puts right what a save cut off by a crash or a power cut left behind: the staging form of
// an album whose old form is still in place is dropped; one whose old form was already
// renamed away is the complete new form and takes the album's name.
void FinishInterruptedSave(RegKey& list) {
    const std::vector<std::wstring> names = SubkeyNames(list);
    if (std::none_of(names.begin(), names.end(), IsStagingName))
        return;
    std::set<std::wstring> albums;
    for (const std::wstring& name : names) {
        if (!IsStagingName(name))
            albums.insert(KeyNameIdentity(name));
    }
    const auto present = [&](const std::wstring& base) {
        return albums.count(KeyNameIdentity(base)) != 0;
    };
    const auto listed = [&](const std::wstring& name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    for (const std::wstring& name : names) {
        if (!EndsWith(name, kStagedSuffix))
            continue;
        const std::wstring base = BaseName(name);
        if (!present(base) && listed(base + kReplacedSuffix) &&
            list.RenameSubkey(name.c_str(), base.c_str()) == ERROR_SUCCESS)
            albums.insert(KeyNameIdentity(base));
        else
            RegKey::DeleteTree(list.Get(), name.c_str());
    }
    for (const std::wstring& name : names) {
        if (!EndsWith(name, kReplacedSuffix))
            continue;
        const std::wstring base = BaseName(name);
        if (present(base))
            RegKey::DeleteTree(list.Get(), name.c_str());
        else if (list.RenameSubkey(name.c_str(), base.c_str()) == ERROR_SUCCESS)
            albums.insert(KeyNameIdentity(base));
    }
}

// Writes one album so that its key holds the old or the new form at every instant.
LSTATUS StoreAlbum(RegKey& list, const CAccount& album) {
    const std::wstring& name = album.Name;
    // An empty name would write into the list key itself, a backslash into a nested key.
    if (name.empty() || name.find(L'\\') != std::wstring::npos || name.size() > kMaxKeyNameChars)
        return ERROR_INVALID_NAME;
    if (name.size() + kSuffixChars > kMaxKeyNameChars) {
        // No room for a staging name beside it: written in place.
        RegKey key;
        LSTATUS status = key.Create(list.Get(), name.c_str(), KEY_WRITE);
        return status == ERROR_SUCCESS ? album.WriteToKey(key) : status;
    }
    const std::wstring staged = name + kStagedSuffix;
    const std::wstring replaced = name + kReplacedSuffix;
    LSTATUS status = ERROR_SUCCESS;
    {
        RegKey key;
        status = key.Create(list.Get(), staged.c_str(), KEY_WRITE);
        if (status == ERROR_SUCCESS)
            status = album.WriteToKey(key);
    }
    if (status != ERROR_SUCCESS) {
        RegKey::DeleteTree(list.Get(), staged.c_str());
        return status;
    }
    status = list.RenameSubkey(name.c_str(), replaced.c_str());
    const bool had_old_form = status == ERROR_SUCCESS;
    if (!had_old_form && status != ERROR_FILE_NOT_FOUND) {
        RegKey::DeleteTree(list.Get(), staged.c_str());
        return status;
    }
    status = list.RenameSubkey(staged.c_str(), name.c_str());
    if (status != ERROR_SUCCESS) {
        if (had_old_form)
            list.RenameSubkey(replaced.c_str(), name.c_str());
        RegKey::DeleteTree(list.Get(), staged.c_str());
        return status;
    }
    // The new form is in place; an old form left behind goes at the next load or save.
    if (had_old_form)
        RegKey::DeleteTree(list.Get(), replaced.c_str());
    return ERROR_SUCCESS;
}

} // namespace

std::wstring DisplayText(const CAccount& album) {
    return album.Name + FrequencyLabel(album.Frequency);
}

size_t AlbumSet::LoadAlbumList() {
    RegKey list;
    if (list.Open(HKEY_CURRENT_USER, kAlbumListKey, KEY_READ) != ERROR_SUCCESS)
        return records_.size();
    std::vector<std::wstring> names = SubkeyNames(list);
    if (std::any_of(names.begin(), names.end(), IsStagingName)) {
        RegKey writable;
        if (writable.Open(HKEY_CURRENT_USER, kAlbumListKey, KEY_READ | KEY_WRITE) ==
            ERROR_SUCCESS) {
            FinishInterruptedSave(writable);
            names = SubkeyNames(list);
        }
    }
    for (const std::wstring& name : names) {
        if (IsStagingName(name))
            continue;
        RegKey album_key;
        if (LSTATUS status = album_key.Open(list.Get(), name.c_str(), KEY_READ);
            status != ERROR_SUCCESS) {
            unread_.push_back(name);
            Report(L"Could not read the album " + name + L"; it is kept as it is.\n", status);
            continue;
        }
        auto album = std::make_unique<CAccount>();
        album->Name = name;
        if (album->LoadFromKey(album_key))
            records_.push_front(std::move(album));
    }
    return records_.size();
}

int AlbumSet::SaveAlbumList() {
    RegKey list;
    if (LSTATUS status = list.Create(HKEY_CURRENT_USER, kAlbumListKey, KEY_READ | KEY_WRITE);
        status != ERROR_SUCCESS) {
        Report(L"Could not save the album list!\n", status);
        return 0;
    }
    FinishInterruptedSave(list);

    std::set<std::wstring> kept;
    for (const std::wstring& name : unread_)
        kept.insert(KeyNameIdentity(name));
    const std::vector<CAccount*> order = DisplayOrder();
    int written = 0;
    bool all_written = true;
    for (auto album = order.rbegin(); album != order.rend(); ++album) {
        kept.insert(KeyNameIdentity((*album)->Name));
        if (LSTATUS status = StoreAlbum(list, **album); status != ERROR_SUCCESS) {
            all_written = false;
            Report(L"Could not save the album " + (*album)->Name + L"!\n", status);
            continue;
        }
        ++written;
    }
    // An album that failed may have been renamed from one that is no longer in the set:
    // nothing is removed unless every album is safely stored.
    if (!all_written)
        return written;
    for (const std::wstring& name : SubkeyNames(list)) {
        if (IsStagingName(name) || kept.count(KeyNameIdentity(name)))
            continue;
        if (LSTATUS status = RegKey::DeleteTree(list.Get(), name.c_str()); status != ERROR_SUCCESS)
            Report(L"Could not remove the deleted album " + name + L"!\n", status);
    }
    return written;
}

CAccount* AlbumSet::FindActiveAlbum() const {
    for (CAccount* album : DisplayOrder()) {
        if (album->Enabled)
            return album;
    }
    return nullptr;
}

std::vector<CAccount*> AlbumSet::DisplayOrder() const {
    std::vector<std::pair<std::wstring, CAccount*>> keyed;
    keyed.reserve(records_.size());
    for (const auto& album : records_)
        keyed.emplace_back(DisplayText(*album), album.get());
    // By the first column, as the user's locale orders texts, without regard to case.
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return ::lstrcmpiW(a.first.c_str(), b.first.c_str()) < 0;
    });
    std::vector<CAccount*> order;
    order.reserve(keyed.size());
    for (const auto& entry : keyed)
        order.push_back(entry.second);
    return order;
}

bool AlbumSet::Contains(const CAccount* album) const {
    return std::any_of(records_.begin(), records_.end(),
                       [album](const auto& owned) { return owned.get() == album; });
}

bool AlbumSet::NameInUse(const std::wstring& name, const CAccount* except) const {
    const std::wstring identity = KeyNameIdentity(name);
    for (const auto& album : records_) {
        if (album.get() != except && KeyNameIdentity(album->Name) == identity)
            return true;
    }
    return std::any_of(unread_.begin(), unread_.end(), [&](const std::wstring& unread) {
        return KeyNameIdentity(unread) == identity;
    });
}

CAccount* AlbumSet::Add(std::unique_ptr<CAccount> album) {
    records_.push_front(std::move(album));
    return records_.front().get();
}

bool AlbumSet::Remove(const CAccount* album) {
    if (!album || album == pass_album_ || !Contains(album))
        return false;
    records_.remove_if([album](const auto& owned) { return owned.get() == album; });
    return true;
}

void AlbumSet::Activate(CAccount* album) {
    for (const auto& record : records_)
        record->SetEnabled(record.get() == album);
}

AlbumSet::PassHold AlbumSet::HoldForPass(const CAccount* album) {
    if (pass_running_)
        return PassHold();
    pass_running_ = true;
    pass_album_ = album;
    return PassHold(this);
}

AlbumSet::PassHold::PassHold(PassHold&& other) noexcept
    : set_(std::exchange(other.set_, nullptr)) {}

AlbumSet::PassHold& AlbumSet::PassHold::operator=(PassHold&& other) noexcept {
    if (this != &other) {
        Release();
        set_ = std::exchange(other.set_, nullptr);
    }
    return *this;
}

void AlbumSet::PassHold::Release() {
    AlbumSet* set = std::exchange(set_, nullptr);
    if (!set)
        return;
    set->pass_running_ = false;
    set->pass_album_ = nullptr;
    if (set->PassFinished)
        set->PassFinished();
}

} // namespace glimro
