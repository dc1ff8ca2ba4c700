#include "store/account.h"

#include "platform/hresult.h"

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
constexpr DWORD kMaxShuffleBytes = 64 * 1024;
constexpr size_t kMaxEntryChars = MAX_PATH - 1;

// Data longer than a path and its terminator is no entry.
constexpr DWORD kMaxEntryBytes = MAX_PATH * sizeof(wchar_t);

std::wstring EntryName(size_t position) {
    return L"ImageFile" + std::to_wstring(position);
}

// A missing, empty, unreadable or non-text value leaves the field as it is.
void LoadText(const RegKey& key, const wchar_t* name, std::wstring* field) {
    std::wstring text;
    DWORD bytes = 0;
    if (key.QueryText(name, &text, &bytes) == ERROR_SUCCESS && bytes != 0)
        *field = std::move(text);
}

// Up to four bytes of any type, as stored sets have always been read; anything else loads
// as 0.
DWORD LoadNumber(const RegKey& key, const wchar_t* name) {
    DWORD value = 0;
    key.QueryDword(name, &value);
    return value;
}

// Sixteen bytes of REG_BINARY holding a real date and time; anything else reads as never.
SYSTEMTIME LoadTime(const RegKey& key, const wchar_t* name) {
    SYSTEMTIME time = {};
    FILETIME checked;
    if (key.QueryExactBinary(name, &time, sizeof(time)) != ERROR_SUCCESS ||
        !::SystemTimeToFileTime(&time, &checked))
        return SYSTEMTIME{};
    return time;
}

// Whole 32-bit positions of REG_BINARY; anything else is no round. The pass checks that
// the positions still fit the list.
void LoadShuffleRound(const RegKey& key, std::vector<int>* round) {
    round->clear();
    DWORD type = REG_NONE, bytes = 0;
    if (key.QueryInfo(kShuffleRound, &type, &bytes) != ERROR_SUCCESS || type != REG_BINARY ||
        bytes % sizeof(DWORD) != 0 || bytes > kMaxShuffleBytes)
        return;
    std::vector<DWORD> stored(bytes / sizeof(DWORD));
    if (key.QueryRaw(kShuffleRound, stored.data(), &bytes) == ERROR_SUCCESS)
        round->assign(stored.begin(), stored.begin() + bytes / sizeof(DWORD));
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

const wchar_t* FrequencyLabel(int frequency) {
    switch (frequency) {
    case kEveryMinute:
        return L" (on the minute)";
    case kEveryHour:
        return L" (on the hour)";
    case kEveryDay:
        return L" (on the day)";
    case kEveryWeek:
        return L" (on the week)";
    case kEveryMonth:
        return L" (on the month)";
    case kSyncToMonth:
        return L" (calendar)";
    default:
        return L"";
    }
}

bool CAccount::LoadFromKey(const RegKey& album_key) {
    LoadText(album_key, kDescription, &Description);
    LoadText(album_key, kLastFile, &LastFile);
    Enabled = LoadNumber(album_key, kEnabled) != 0;
    Mode = static_cast<int>(LoadNumber(album_key, kMode));
    LastIndex = static_cast<int>(LoadNumber(album_key, kLastIndex));
    Frequency = static_cast<int>(LoadNumber(album_key, kFrequency));
    LastTime = LoadTime(album_key, kLastTime);
    LoadShuffleRound(album_key, &ShuffleRound);

    RegKey file_list;
    if (file_list.Open(album_key.Get(), kFileList, KEY_READ) == ERROR_SUCCESS)
        LoadFileList(file_list);
    return true;
}

void CAccount::LoadFileList(const RegKey& file_list_key) {
    FileList.clear();
    DWORD count = 0;
    if (file_list_key.QueryValueCount(&count) != ERROR_SUCCESS)
        return;
    for (DWORD i = 0; i < count; ++i) {
        std::wstring entry;
        DWORD bytes = 0;
        if (file_list_key.QueryText(EntryName(i).c_str(), &entry, &bytes) != ERROR_SUCCESS ||
            bytes > kMaxEntryBytes || entry.size() > kMaxEntryChars)
            continue;
        FileList.push_back(std::move(entry));
    }
}

bool CAccount::SaveToKey(HKEY parent, int /*ordinal*/) const {
    RegKey key;
    if (key.Create(parent, Name.c_str(), KEY_WRITE) != ERROR_SUCCESS)
        return false;
    return WriteToKey(key) == ERROR_SUCCESS;
}

LSTATUS CAccount::WriteToKey(RegKey& key) const {
    FirstFailure failure;
    failure += key.SetText(kDescription, Description);
    failure += key.SetText(kLastFile, LastFile);
    failure += key.SetBinary(kLastTime, &LastTime, sizeof(LastTime));
    failure += key.SetDword(kEnabled, Enabled ? 1 : 0);
    failure += key.SetDword(kMode, static_cast<DWORD>(Mode));
    failure += key.SetDword(kLastIndex, static_cast<DWORD>(LastIndex));
    failure += key.SetDword(kFrequency, static_cast<DWORD>(Frequency));
    if (!ShuffleRound.empty()) {
        std::vector<DWORD> round(ShuffleRound.begin(), ShuffleRound.end());
        failure += key.SetBinary(kShuffleRound, round.data(),
                                 static_cast<DWORD>(round.size() * sizeof(DWORD)));
    } else if (key.QueryInfo(kShuffleRound, nullptr, nullptr) == ERROR_SUCCESS) {
        failure += key.DeleteValue(kShuffleRound);
    }
    if (failure.Status() != ERROR_SUCCESS)
        return failure.Status();
    // An empty entry ends the stored list (E_INVALIDARG); that is the list's rule, not a
    // failure of the registry.
    const HRESULT list = SaveFileList(key);
    if (FAILED(list) && list != E_INVALIDARG)
        return HRESULT_FACILITY(list) == FACILITY_WIN32 ? HRESULT_CODE(list) : ERROR_WRITE_FAULT;
    return ERROR_SUCCESS;
}

HRESULT CAccount::SaveFileList(RegKey& album_key) const {
    if (LSTATUS removed = RegKey::DeleteTree(album_key.Get(), kFileList); removed != ERROR_SUCCESS)
        return HresultFromWin32(removed);
    if (FileList.empty())
        return S_OK;
    RegKey file_list;
    if (LSTATUS created = file_list.Create(album_key.Get(), kFileList, KEY_WRITE);
        created != ERROR_SUCCESS)
        return HresultFromWin32(created);
    for (size_t i = 0; i < FileList.size(); ++i) {
        const HRESULT written = WriteFileListEntry(file_list, i, FileList[i]);
        if (FAILED(written))
            return written;
    }
    file_list.Close();
    return HresultFromWin32(album_key.SetDword(kImageCount, static_cast<DWORD>(FileList.size())));
}

HRESULT CAccount::WriteFileListEntry(RegKey& file_list_key, size_t position,
                                     const std::wstring& entry) {
    if (entry.empty())
        return E_INVALIDARG;
    return HresultFromWin32(file_list_key.SetText(EntryName(position).c_str(), entry));
}

} // namespace glimro
