#include "store/album_key_writer.h"

#include <algorithm>

namespace glimro {
namespace {

// A journal value: "<prefix>N" in the album list key, REG_SZ "state\target\retired". Its
// staging keys are "<prefix>N new" (the album's new form) and "<prefix>N old" (its old form
// while the new one is renamed in). Backslashes cannot occur in key names.
constexpr wchar_t kJournalPrefix[] = L"\xE000Glimro change ";
constexpr size_t kJournalPrefixChars = 15;
constexpr int kMaxJournalSlots = 1000;
constexpr size_t kMaxKeyNameChars = 255;

enum State : wchar_t {
    kWriting = L'w', // the new form is being written under the staging key
    kStaged = L'r',  // the new form is complete: it may be renamed in
    kRemoving = L'd',
};

struct Change {
    std::wstring value;
    wchar_t state = kWriting;
    std::wstring target;
    std::wstring retired; // a renamed album's old key, removed once the new form is in place

    std::wstring Staged() const { return value + L" new"; }
    std::wstring Replaced() const { return value + L" old"; }
};

bool Succeeded(LSTATUS status) {
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool ParseChange(const RegKey::Value& value, Change* change) {
    if (value.name.compare(0, kJournalPrefixChars, kJournalPrefix) != 0 || value.type != REG_SZ)
        return false;
    std::wstring text(value.data.size() / sizeof(wchar_t), L'\0');
    std::copy(value.data.begin(), value.data.begin() + text.size() * sizeof(wchar_t),
              reinterpret_cast<BYTE*>(text.data()));
    const size_t first = text.find(L'\\');
    const size_t second = first == std::wstring::npos ? first : text.find(L'\\', first + 1);
    if (first != 1 || second == std::wstring::npos)
        return false;
    change->value = value.name;
    change->state = text[0];
    change->target = text.substr(first + 1, second - first - 1);
    change->retired = text.substr(second + 1);
    return !change->target.empty() &&
           (change->state == kWriting || change->state == kStaged || change->state == kRemoving);
}

std::vector<Change> PendingChanges(const RegKey& list) {
    std::vector<RegKey::Value> values;
    std::vector<Change> changes;
    if (list.EnumValues(&values) != ERROR_SUCCESS)
        return changes;
    for (const RegKey::Value& value : values) {
        Change change;
        if (ParseChange(value, &change))
            changes.push_back(std::move(change));
    }
    return changes;
}

LSTATUS Note(RegKey& list, const Change& change) {
    return list.SetText(change.value.c_str(),
                        std::wstring(1, change.state) + L"\\" + change.target + L"\\" +
                            change.retired);
}

// A journal slot whose value and staging keys are all free, noted with the change.
LSTATUS Begin(RegKey& list, Change* change) {
    for (int slot = 0; slot < kMaxJournalSlots; ++slot) {
        change->value = kJournalPrefix + std::to_wstring(slot);
        if (list.QueryInfo(change->value.c_str(), nullptr, nullptr) != ERROR_FILE_NOT_FOUND ||
            list.HasSubkey(change->Staged().c_str()) || list.HasSubkey(change->Replaced().c_str()))
            continue;
        return Note(list, *change);
    }
    return ERROR_NO_MORE_ITEMS;
}

void Forget(RegKey& list, const Change& change) {
    list.DeleteValue(change.value.c_str());
}

// Undoes a change whose new form never reached the album's name.
void Abandon(RegKey& list, const Change& change) {
    if (Succeeded(RegKey::DeleteTree(list.Get(), change.Staged().c_str())))
        Forget(list, change);
}

bool Finish(RegKey& list, const Change& change) {
    const auto exists = [&](const std::wstring& name) { return list.HasSubkey(name.c_str()); };
    bool done = true;
    if (change.state == kRemoving) {
        done = Succeeded(RegKey::DeleteTree(list.Get(), change.target.c_str()));
    } else {
        if (exists(change.Staged())) {
            // A complete new form whose album's old form was already renamed away goes in;
            // any other is dropped, and the old form stays.
            if (change.state == kStaged && !exists(change.target))
                done = Succeeded(list.RenameSubkey(change.Staged().c_str(), change.target.c_str()));
            else
                done = Succeeded(RegKey::DeleteTree(list.Get(), change.Staged().c_str()));
        }
        if (done && exists(change.Replaced())) {
            if (exists(change.target))
                done = Succeeded(RegKey::DeleteTree(list.Get(), change.Replaced().c_str()));
            else
                done = Succeeded(list.RenameSubkey(change.Replaced().c_str(), change.target.c_str()));
        }
        if (done && change.state == kStaged && !change.retired.empty() && exists(change.target) &&
            KeyNameIdentity(change.retired) != KeyNameIdentity(change.target))
            done = Succeeded(RegKey::DeleteTree(list.Get(), change.retired.c_str()));
    }
    if (done)
        done = Succeeded(list.DeleteValue(change.value.c_str()));
    return done;
}

} // namespace

std::wstring KeyNameIdentity(std::wstring name) {
    if (!name.empty())
        ::CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
    return name;
}

bool FinishInterruptedChanges(RegKey& list) {
    bool all = true;
    for (const Change& change : PendingChanges(list))
        all = Finish(list, change) && all;
    return all;
}

std::vector<std::wstring> KeysOfUnfinishedChanges(const RegKey& list) {
    std::vector<std::wstring> keys;
    for (const Change& change : PendingChanges(list)) {
        if (change.state == kRemoving) {
            keys.push_back(change.target);
        } else {
            keys.push_back(change.Staged());
            keys.push_back(change.Replaced());
        }
    }
    return keys;
}

LSTATUS WriteAlbumKey(RegKey& list, const CAccount& album, const std::wstring& old_name,
                      const CAccount* stored) {
    const std::wstring& name = album.Name;
    // An empty name would write into the list key itself, a backslash into a nested key.
    if (name.empty() || name.find(L'\\') != std::wstring::npos || name.size() > kMaxKeyNameChars)
        return ERROR_INVALID_NAME;
    const bool renamed = !old_name.empty() && KeyNameIdentity(old_name) != KeyNameIdentity(name);
    if ((old_name.empty() || renamed) && list.HasSubkey(name.c_str()))
        return ERROR_ALREADY_EXISTS;

    Change change;
    change.target = name;
    change.retired = renamed ? old_name : L"";
    LSTATUS status = Begin(list, &change);
    if (status != ERROR_SUCCESS)
        return status;
    {
        RegKey old_key;
        if (!old_name.empty())
            old_key.Open(list.Get(), old_name.c_str(), KEY_READ);
        RegKey staged;
        status = staged.CreateNew(list.Get(), change.Staged().c_str(), KEY_READ | KEY_WRITE);
        if (status == ERROR_SUCCESS)
            status = album.WriteToKey(staged, old_key.IsOpen() ? &old_key : nullptr,
                                      old_key.IsOpen() ? stored : nullptr);
    }
    if (status == ERROR_SUCCESS) {
        change.state = kStaged;
        status = Note(list, change);
    }
    if (status != ERROR_SUCCESS) {
        Abandon(list, change);
        return status;
    }

    const bool had_old_form = list.HasSubkey(name.c_str());
    if (had_old_form) {
        status = list.RenameSubkey(name.c_str(), change.Replaced().c_str());
        if (status != ERROR_SUCCESS) {
            Abandon(list, change);
            return status;
        }
    }
    status = list.RenameSubkey(change.Staged().c_str(), name.c_str());
    if (status != ERROR_SUCCESS) {
        if (!had_old_form ||
            list.RenameSubkey(change.Replaced().c_str(), name.c_str()) == ERROR_SUCCESS)
            Abandon(list, change);
        return status;
    }
    // The new form is in place. What is left is tidying; recovery finishes it if it fails.
    bool tidy = true;
    if (had_old_form)
        tidy = Succeeded(RegKey::DeleteTree(list.Get(), change.Replaced().c_str()));
    if (tidy && renamed)
        tidy = Succeeded(RegKey::DeleteTree(list.Get(), old_name.c_str()));
    if (tidy)
        Forget(list, change);
    return ERROR_SUCCESS;
}

LSTATUS RemoveAlbumKey(RegKey& list, const std::wstring& name) {
    if (!list.HasSubkey(name.c_str()))
        return ERROR_SUCCESS;
    Change change;
    change.state = kRemoving;
    change.target = name;
    LSTATUS status = Begin(list, &change);
    if (status != ERROR_SUCCESS)
        return status;
    // Cut off half-way, the journal has the removal finished at the next load or save.
    status = RegKey::DeleteTree(list.Get(), name.c_str());
    if (status == ERROR_SUCCESS)
        Forget(list, change);
    return status;
}

} // namespace glimro
