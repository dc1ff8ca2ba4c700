#include "store/album_key_writer.h"

#include <algorithm>

namespace glimro {
namespace {

// A journal value: "<prefix>N" in the album list key, REG_SZ "state\target\retired". Its
// staging keys are "<prefix>N new" (the album's new form) and "<prefix>N old" (the key the
// album had, under its name or its retired one, or an album being removed), which steps
// aside there before it is removed. Backslashes cannot occur in key names.
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
    std::wstring retired; // a renamed album's old name, where its old form goes back to

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

// Finishes a change from what its own keys show. Only the change's keys are ever removed,
// and an album's name is only ever given to a key, never taken: so a journal value left
// behind after its change was done (its removal failed) can never touch an album that
// later takes the same name.
bool Finish(RegKey& list, const Change& change) {
    const auto exists = [&](const std::wstring& name) { return list.HasSubkey(name.c_str()); };
    if (change.state == kRemoving)
        return Succeeded(RegKey::DeleteTree(list.Get(), change.Replaced().c_str())) &&
               Succeeded(list.DeleteValue(change.value.c_str()));
    bool done = true;
    const bool stepped_aside = exists(change.Replaced());
    if (exists(change.Staged())) {
        // A complete new form goes in where the old one stepped aside, or where there was
        // none (a new album); otherwise the old form is still in place and stays.
        const bool takes_place = stepped_aside || change.retired.empty();
        if (change.state == kStaged && takes_place && !exists(change.target))
            done = Succeeded(list.RenameSubkey(change.Staged().c_str(), change.target.c_str()));
        else
            done = Succeeded(RegKey::DeleteTree(list.Get(), change.Staged().c_str()));
    }
    if (done && stepped_aside) {
        // The new form is in place: the old one goes. Else the old one goes back.
        const std::wstring& home = change.retired.empty() ? change.target : change.retired;
        if (exists(change.target))
            done = Succeeded(RegKey::DeleteTree(list.Get(), change.Replaced().c_str()));
        else
            done = !exists(home) &&
                   Succeeded(list.RenameSubkey(change.Replaced().c_str(), home.c_str()));
    }
    return done && Succeeded(list.DeleteValue(change.value.c_str()));
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
        keys.push_back(change.Staged());
        keys.push_back(change.Replaced());
    }
    return keys;
}

LSTATUS WriteAlbumKey(RegKey& list, const CAlbum& album, const std::wstring& old_name,
                      const CAlbum* stored) {
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

    // The key holding the album now (under its name, or its old name when renamed) steps
    // aside under the change's own name before the new form takes the name, and only then
    // is removed: a cut-off removal never leaves part of an album under an album's name.
    const std::wstring& current = renamed ? old_name : name;
    const bool had_old_form = list.HasSubkey(current.c_str());
    if (had_old_form) {
        status = list.RenameSubkey(current.c_str(), change.Replaced().c_str());
        if (status != ERROR_SUCCESS) {
            Abandon(list, change);
            return status;
        }
    }
    status = list.RenameSubkey(change.Staged().c_str(), name.c_str());
    if (status != ERROR_SUCCESS) {
        if (!had_old_form ||
            list.RenameSubkey(change.Replaced().c_str(), current.c_str()) == ERROR_SUCCESS)
            Abandon(list, change);
        return status;
    }
    // The new form is in place. What is left is tidying; recovery finishes it if it fails.
    if (!had_old_form || Succeeded(RegKey::DeleteTree(list.Get(), change.Replaced().c_str())))
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
    // Out of the way under the change's own name first: from then on the album is gone, and
    // a deletion cut off half-way is finished at the next load or save.
    status = list.RenameSubkey(name.c_str(), change.Replaced().c_str());
    if (status != ERROR_SUCCESS) {
        Forget(list, change);
        return status;
    }
    if (Succeeded(RegKey::DeleteTree(list.Get(), change.Replaced().c_str())))
        Forget(list, change);
    return ERROR_SUCCESS;
}

} // namespace glimro
