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
constexpr size_t kMaxEntryChars = MAX_PATH - 1;

std::wstring EntryName(size_t position) {
    return L"ImageFile" + std::to_wstring(position);
}

// A missing, empty or unreadable text leaves the field as it is.
void LoadText(const RegKey& key, const wchar_t* name, std::wstring* field) {
    DWORD bytes = 0;
    if (key.QueryInfo(name, nullptr, &bytes) != ERROR_SUCCESS || bytes == 0)
        return;
    std::wstring text;
    if (key.QueryText(name, &text) == ERROR_SUCCESS)
        *field = text;
}

// Read into a zeroed buffer that the field takes whatever the read did: a missing value
// loads as 0.
DWORD LoadNumber(const RegKey& key, const wchar_t* name) {
    DWORD value = 0;
    DWORD bytes = sizeof(value);
    if (key.QueryRaw(name, &value, &bytes) != ERROR_SUCCESS && bytes > sizeof(value))
        value = 0;
    return value;
}

} // namespace

bool CAccount::LoadFromKey(const RegKey& album_key) {
    LoadText(album_key, kDescription, &Description);
    LoadText(album_key, kLastFile, &LastFile);
    Enabled = LoadNumber(album_key, kEnabled) != 0;
    Mode = static_cast<int>(LoadNumber(album_key, kMode));
    LastIndex = static_cast<int>(LoadNumber(album_key, kLastIndex));
    Frequency = static_cast<int>(LoadNumber(album_key, kFrequency));

    DWORD bytes = sizeof(LastTime);
    album_key.QueryRaw(kLastTime, &LastTime, &bytes);

    RegKey file_list;
    if (file_list.Open(album_key.Get(), kFileList, KEY_ALL_ACCESS) == ERROR_SUCCESS)
        LoadFileList(file_list);
    return true;
}

void CAccount::LoadFileList(const RegKey& file_list_key) {
    FileList.clear();
    DWORD count = 0;
    if (file_list_key.QueryValueCount(&count) != ERROR_SUCCESS)
        return;
    for (DWORD i = 0; i < count; ++i) {
        wchar_t buffer[MAX_PATH] = {};
        DWORD bytes = sizeof(buffer);
        if (file_list_key.QueryRaw(EntryName(i).c_str(), buffer, &bytes) != ERROR_SUCCESS)
            continue;
        std::wstring_view stored(buffer, bytes / sizeof(wchar_t));
        stored = stored.substr(0, stored.find(L'\0'));
        if (stored.size() <= kMaxEntryChars)
            FileList.emplace_back(stored);
    }
}

bool CAccount::SaveToKey(HKEY parent, int /*ordinal*/) const {
    RegKey key;
    if (key.Create(parent, Name.c_str(), KEY_WRITE) != ERROR_SUCCESS)
        return false;
    key.SetText(kDescription, Description);
    key.SetText(kLastFile, LastFile);
    key.SetBinary(kLastTime, &LastTime, sizeof(LastTime));
    key.SetDword(kEnabled, Enabled ? 1 : 0);
    key.SetDword(kMode, static_cast<DWORD>(Mode));
    key.SetDword(kLastIndex, static_cast<DWORD>(LastIndex));
    key.SetDword(kFrequency, static_cast<DWORD>(Frequency));
    SaveFileList(key);
    return true;
}

HRESULT CAccount::SaveFileList(RegKey& album_key) const {
    RegKey::DeleteTree(album_key.Get(), kFileList);
    if (FileList.empty())
        return S_OK;
    RegKey file_list;
    if (file_list.Create(album_key.Get(), kFileList, KEY_WRITE) != ERROR_SUCCESS)
        return E_FAIL;
    for (size_t i = 0; i < FileList.size(); ++i) {
        if (WriteFileListEntry(file_list, i, FileList[i]) == E_INVALIDARG)
            return E_INVALIDARG;
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
