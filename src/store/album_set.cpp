#include "store/album_set.h"

#include "log/activity_log.h"
#include "store/album_key_writer.h"
#include "store/product_key.h"

#include <algorithm>
#include <set>
#include <utility>
#include "platform/window.h"
#include "resource.h"

namespace glimro {
namespace {

void Report(const std::wstring& message, LSTATUS status) {
    BuildLogPath();
    LogStream log = OpenLog(LogMode::Append);
    ReportErrorCode(message, static_cast<DWORD>(status), log);
}

} // namespace

std::wstring DisplayText(const CAlbum& album) {
    const Rhythm rhythm = Normalized(album.OwnRhythm());
    if (HasOwnRhythm(rhythm) && rhythm.every > 1)
        return album.Name + ResourceText(IDS_LABEL_EVERY, {std::to_wstring(rhythm.every), UnitText(rhythm.frequency, rhythm.every)});
    return album.Name + FrequencyLabel(album.Frequency);
}

size_t AlbumSet::LoadAlbumList() {
    RegKey list;
    if (list.Open(HKEY_CURRENT_USER, kAlbumListKey, KEY_READ) != ERROR_SUCCESS)
        return records_.size();
    {
        RegKey writable;
        if (writable.Open(HKEY_CURRENT_USER, kAlbumListKey, KEY_READ | KEY_WRITE) ==
            ERROR_SUCCESS)
            FinishInterruptedChanges(writable);
    }
    std::set<std::wstring> pending;
    for (const std::wstring& name : KeysOfUnfinishedChanges(list))
        pending.insert(KeyNameIdentity(name));
    for (const std::wstring& name : list.SubkeyNames()) {
        if (pending.count(KeyNameIdentity(name)))
            continue;
        // An album that cannot be read whole is left as it is: saved from what could be
        // read, it would lose the rest.
        RegKey album_key;
        auto album = std::make_unique<CAlbum>();
        album->Name = name;
        LSTATUS status = album_key.Open(list.Get(), name.c_str(), KEY_READ);
        if (status == ERROR_SUCCESS)
            status = album->LoadFromKey(album_key);
        if (status != ERROR_SUCCESS) {
            unread_.push_back(name);
            Report(L"Could not read the album " + LogSafe(name) + L"; it is kept as it is.\n",
                   status);
            continue;
        }
        stored_[album.get()] = Stored{name, *album};
        records_.push_front(std::move(album));
        // The key is a record's again: a removal still pending for it must not delete it.
        const std::wstring identity = KeyNameIdentity(name);
        removed_.erase(std::remove_if(removed_.begin(), removed_.end(),
                                      [&](const std::wstring& removed) {
                                          return KeyNameIdentity(removed) == identity;
                                      }),
                       removed_.end());
    }
    // A set stored by another tool may mark several albums active: one stays.
    Activate(FindActiveAlbum());
    return records_.size();
}

bool AlbumSet::IsChanged(const CAlbum* album) const {
    const auto stored = stored_.find(album);
    return stored == stored_.end() || stored->second.key_name != album->Name ||
           !stored->second.form.SameStoredForm(*album);
}

int AlbumSet::SaveAlbumList() {
    std::vector<const CAlbum*> all;
    for (const auto& album : records_)
        all.push_back(album.get());
    return Save(all);
}

int AlbumSet::SaveAfterPass(const CAlbum* album) {
    std::vector<const CAlbum*> records = unwritten_;
    if (album && Contains(album) &&
        std::find(records.begin(), records.end(), album) == records.end())
        records.push_back(album);
    return Save(records);
}

int AlbumSet::Save(const std::vector<const CAlbum*>& records) {
    unwritten_.clear();
    problems_.clear();
    RegKey list;
    if (LSTATUS status = list.Create(HKEY_CURRENT_USER, kAlbumListKey, KEY_READ | KEY_WRITE);
        status != ERROR_SUCCESS) {
        Report(L"Could not save the album list!\n", status);
        for (const CAlbum* album : records) {
            if (IsChanged(album)) {
                unwritten_.push_back(album);
                problems_.push_back({album->Name, status, false});
            }
        }
        for (const std::wstring& name : removed_)
            problems_.push_back({name, status, true});
        return 0;
    }
    FinishInterruptedChanges(list);

    // Removals first, so that a new album may take a removed album's name.
    std::vector<std::wstring> still_removed;
    for (const std::wstring& name : removed_) {
        if (LSTATUS status = RemoveAlbumKey(list, name); status != ERROR_SUCCESS) {
            Report(L"Could not remove the deleted album " + LogSafe(name) + L"!\n", status);
            still_removed.push_back(name);
            problems_.push_back({name, status, true});
        }
    }
    removed_ = std::move(still_removed);

    int written = 0;
    for (const CAlbum* album : records) {
        if (!IsChanged(album))
            continue;
        const auto stored = stored_.find(album);
        const bool known = stored != stored_.end();
        const LSTATUS status = WriteAlbumKey(list, *album, known ? stored->second.key_name : L"",
                                             known ? &stored->second.form : nullptr);
        if (status != ERROR_SUCCESS) {
            unwritten_.push_back(album);
            problems_.push_back({album->Name, status, false});
            Report(L"Could not save the album " + LogSafe(album->Name) + L"!\n", status);
            continue;
        }
        stored_[album] = Stored{album->Name, *album};
        ++written;
    }
    return written;
}

CAlbum* AlbumSet::FindActiveAlbum() const {
    // The set keeps one album active, so a pass need not sort a large collection; only a
    // record marked active by hand besides it needs the display order.
    CAlbum* active = nullptr;
    int count = 0;
    for (const auto& album : records_) {
        if (album->Enabled && ++count == 1)
            active = album.get();
    }
    if (count <= 1)
        return active;
    for (CAlbum* album : DisplayOrder()) {
        if (album->Enabled)
            return album;
    }
    return nullptr;
}

std::vector<CAlbum*> AlbumSet::DisplayOrder() const {
    std::vector<std::pair<std::wstring, CAlbum*>> keyed;
    keyed.reserve(records_.size());
    for (const auto& album : records_)
        keyed.emplace_back(DisplayText(*album), album.get());
    // By the first column, as the user's locale orders texts, without regard to case.
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return ::lstrcmpiW(a.first.c_str(), b.first.c_str()) < 0;
    });
    std::vector<CAlbum*> order;
    order.reserve(keyed.size());
    for (const auto& entry : keyed)
        order.push_back(entry.second);
    return order;
}

bool AlbumSet::Contains(const CAlbum* album) const {
    return std::any_of(records_.begin(), records_.end(),
                       [album](const auto& owned) { return owned.get() == album; });
}

bool AlbumSet::NameInUse(const std::wstring& name, const CAlbum* except) const {
    const std::wstring identity = KeyNameIdentity(name);
    for (const auto& album : records_) {
        if (album.get() != except && KeyNameIdentity(album->Name) == identity)
            return true;
    }
    return std::any_of(unread_.begin(), unread_.end(), [&](const std::wstring& unread) {
        return KeyNameIdentity(unread) == identity;
    });
}

CAlbum* AlbumSet::Add(std::unique_ptr<CAlbum> album) {
    records_.push_front(std::move(album));
    CAlbum* added = records_.front().get();
    if (added->Enabled)
        Activate(added);
    return added;
}

bool AlbumSet::Remove(const CAlbum* album) {
    if (!album || album == pass_album_ || !Contains(album))
        return false;
    if (const auto stored = stored_.find(album); stored != stored_.end()) {
        removed_.push_back(stored->second.key_name);
        stored_.erase(stored);
    }
    unwritten_.erase(std::remove(unwritten_.begin(), unwritten_.end(), album), unwritten_.end());
    records_.remove_if([album](const auto& owned) { return owned.get() == album; });
    return true;
}

void AlbumSet::Activate(CAlbum* album) {
    for (const auto& record : records_)
        record->SetEnabled(record.get() == album);
}

AlbumSet::PassHold AlbumSet::HoldForPass(const CAlbum* album) {
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
