#include "platform/reg_key.h"

#include "core/stored_value.h"

#include <shlwapi.h>

#include <algorithm>
#include <vector>

namespace glimro {

Seam<LSTATUS()> RegistryWriteGate([] { return static_cast<LSTATUS>(ERROR_SUCCESS); });

RegKey& RegKey::operator=(RegKey&& other) noexcept {
    if (this != &other) {
        Close();
        key_ = std::exchange(other.key_, nullptr);
    }
    return *this;
}

LSTATUS RegKey::Create(HKEY parent, const wchar_t* subkey, REGSAM access) {
    Close();
    if (LSTATUS gate = RegistryWriteGate(); gate != ERROR_SUCCESS)
        return gate;
    return ::RegCreateKeyExW(parent, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                             &key_, nullptr);
}

LSTATUS RegKey::CreateNew(HKEY parent, const wchar_t* subkey, REGSAM access) {
    Close();
    if (LSTATUS gate = RegistryWriteGate(); gate != ERROR_SUCCESS)
        return gate;
    DWORD disposition = 0;
    LSTATUS status = ::RegCreateKeyExW(parent, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                       access, nullptr, &key_, &disposition);
    if (status == ERROR_SUCCESS && disposition != REG_CREATED_NEW_KEY) {
        Close();
        return ERROR_ALREADY_EXISTS;
    }
    return status;
}

LSTATUS RegKey::Open(HKEY parent, const wchar_t* subkey, REGSAM access) {
    Close();
    return ::RegOpenKeyExW(parent, subkey, 0, access, &key_);
}

void RegKey::Close() {
    if (key_)
        ::RegCloseKey(std::exchange(key_, nullptr));
}

LSTATUS RegKey::SetText(const wchar_t* name, std::wstring_view text, DWORD type) {
    if (LSTATUS gate = RegistryWriteGate(); gate != ERROR_SUCCESS)
        return gate;
    // The registry appends a NUL of its own when the character after the counted data is a
    // NUL; a non-NUL sentinel behind the copy keeps the data at exactly two bytes a character.
    std::vector<wchar_t> data(text.begin(), text.end());
    data.push_back(L'?');
    return ::RegSetValueExW(key_, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                            static_cast<DWORD>(text.size() * sizeof(wchar_t)));
}

LSTATUS RegKey::SetTextWithNul(const wchar_t* name, std::wstring_view text) {
    if (LSTATUS gate = RegistryWriteGate(); gate != ERROR_SUCCESS)
        return gate;
    std::wstring data(text);
    return ::RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                            static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

LSTATUS RegKey::SetDword(const wchar_t* name, DWORD value) {
    if (LSTATUS gate = RegistryWriteGate(); gate != ERROR_SUCCESS)
        return gate;
    return ::RegSetValueExW(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                            sizeof(value));
}

LSTATUS RegKey::SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
    if (LSTATUS gate = RegistryWriteGate(); gate != ERROR_SUCCESS)
        return gate;
    if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ)
        return ::RegSetValueExW(key_, name, 0, type, static_cast<const BYTE*>(data), bytes);
    // The same sentinel as SetText: string data is stored with exactly these bytes.
    std::vector<BYTE> copy(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + bytes);
    copy.insert(copy.end(), {'?', '?', '?'});
    return ::RegSetValueExW(key_, name, 0, type, copy.data(), bytes);
}

LSTATUS RegKey::SetBinary(const wchar_t* name, const void* data, DWORD bytes) {
    if (LSTATUS gate = RegistryWriteGate(); gate != ERROR_SUCCESS)
        return gate;
    return ::RegSetValueExW(key_, name, 0, REG_BINARY, static_cast<const BYTE*>(data), bytes);
}

LSTATUS RegKey::QueryInfo(const wchar_t* name, DWORD* type, DWORD* bytes) const {
    return ::RegQueryValueExW(key_, name, nullptr, type, nullptr, bytes);
}

LSTATUS RegKey::QueryRaw(const wchar_t* name, void* data, DWORD* bytes, DWORD* type) const {
    return ::RegQueryValueExW(key_, name, nullptr, type, static_cast<BYTE*>(data), bytes);
}

LSTATUS RegKey::QueryDword(const wchar_t* name, DWORD* value) const {
    *value = 0;
    // A number typed as text is at most ten digits and a NUL; anything longer is no number.
    BYTE data[24] = {};
    DWORD bytes = sizeof(data), type = REG_NONE;
    const LSTATUS status = QueryRaw(name, data, &bytes, &type);
    if (status == ERROR_MORE_DATA)
        return ERROR_INVALID_DATA;
    if (status != ERROR_SUCCESS)
        return status;
    const std::optional<uint32_t> number = NumberFromValue(type, Bytes(data, bytes));
    if (!number)
        return ERROR_INVALID_DATA;
    *value = *number;
    return ERROR_SUCCESS;
}

std::vector<std::wstring> RegKey::QueryStrings(const wchar_t* name, DWORD max_bytes) const {
    DWORD type = REG_NONE, bytes = 0;
    if (QueryInfo(name, &type, &bytes) != ERROR_SUCCESS || type != REG_MULTI_SZ ||
        bytes > max_bytes || bytes < sizeof(wchar_t))
        return {};
    std::wstring data(bytes / sizeof(wchar_t), L'\0');
    if (QueryRaw(name, data.data(), &bytes) != ERROR_SUCCESS)
        return {};
    data.resize(bytes / sizeof(wchar_t));
    std::vector<std::wstring> strings;
    for (size_t start = 0; start < data.size();) {
        const size_t end = std::min(data.find(L'\0', start), data.size());
        if (end == start)
            break; // the empty string that ends the list
        strings.push_back(data.substr(start, end - start));
        start = end + 1;
    }
    return strings;
}

LSTATUS RegKey::SetStrings(const wchar_t* name, const std::vector<std::wstring>& strings) {
    std::wstring data;
    for (const std::wstring& text : strings)
        data += text + L'\0';
    data += L'\0';
    return SetRaw(name, REG_MULTI_SZ, data.data(), static_cast<DWORD>(data.size() * sizeof(wchar_t)));
}

LSTATUS RegKey::QueryText(const wchar_t* name, std::wstring* text, DWORD* bytes) const {
    // One call for the usual short text; a longer one is read again at its size (the value
    // may also change between the two calls: the type is checked on what was read).
    std::vector<wchar_t> data(MAX_PATH + 1, L'\0');
    DWORD type = REG_NONE;
    DWORD size = static_cast<DWORD>((data.size() - 1) * sizeof(wchar_t));
    LSTATUS status = QueryRaw(name, data.data(), &size, &type);
    if (status == ERROR_MORE_DATA) {
        data.assign(size / sizeof(wchar_t) + 2, L'\0');
        size = static_cast<DWORD>((data.size() - 1) * sizeof(wchar_t));
        status = QueryRaw(name, data.data(), &size, &type);
    }
    if (status != ERROR_SUCCESS)
        return status;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return ERROR_UNSUPPORTED_TYPE;
    if (bytes)
        *bytes = size;
    std::wstring_view stored(data.data(), size / sizeof(wchar_t));
    text->assign(stored.substr(0, stored.find(L'\0')));
    return ERROR_SUCCESS;
}

LSTATUS RegKey::QueryExactBinary(const wchar_t* name, void* data, DWORD bytes) const {
    std::vector<BYTE> read(bytes);
    DWORD type = REG_NONE;
    DWORD size = bytes;
    LSTATUS status = QueryRaw(name, read.data(), &size, &type);
    if (status != ERROR_SUCCESS)
        return status;
    if (type != REG_BINARY || size != bytes)
        return ERROR_INVALID_DATA;
    std::copy(read.begin(), read.end(), static_cast<BYTE*>(data));
    return ERROR_SUCCESS;
}

LSTATUS RegKey::QueryValueCount(DWORD* count, DWORD* subkeys) const {
    return ::RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, subkeys, nullptr, nullptr, count,
                              nullptr, nullptr, nullptr, nullptr);
}

LSTATUS RegKey::EnumSubkey(DWORD index, std::wstring* name) const {
    wchar_t buffer[256];
    DWORD length = ARRAYSIZE(buffer);
    LSTATUS status =
        ::RegEnumKeyExW(key_, index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_SUCCESS)
        name->assign(buffer, length);
    return status;
}

LSTATUS RegKey::EnumValues(std::vector<Value>* values) const {
    values->clear();
    DWORD count = 0, longest_name = 0, longest_data = 0;
    LSTATUS status =
        ::RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                           &longest_name, &longest_data, nullptr, nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    std::vector<wchar_t> name(longest_name + 1);
    // Never a null buffer: with one, the system reports the size instead of the data.
    std::vector<BYTE> data(longest_data + 2);
    for (DWORD index = 0;; ++index) {
        DWORD name_chars = static_cast<DWORD>(name.size());
        DWORD bytes = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        status = ::RegEnumValueW(key_, index, name.data(), &name_chars, nullptr, &type,
                                 data.data(), &bytes);
        if (status == ERROR_MORE_DATA) {
            // Changed since the key was measured: measure this one again.
            name.resize(32768);
            data.resize(std::max<size_t>(data.size() * 2, bytes));
            --index;
            continue;
        }
        if (status == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (status != ERROR_SUCCESS)
            return status;
        bytes = std::min<DWORD>(bytes, static_cast<DWORD>(data.size()));
        values->push_back({std::wstring(name.data(), name_chars), type,
                           std::vector<BYTE>(data.begin(), data.begin() + bytes)});
    }
}

std::vector<std::wstring> RegKey::SubkeyNames() const {
    std::vector<std::wstring> names;
    std::wstring name;
    for (DWORD index = 0; EnumSubkey(index, &name) == ERROR_SUCCESS; ++index)
        names.push_back(name);
    return names;
}

bool RegKey::HasSubkey(const wchar_t* subkey) const {
    HKEY opened = nullptr;
    const LSTATUS status = ::RegOpenKeyExW(key_, subkey, 0, KEY_READ, &opened);
    if (status == ERROR_SUCCESS)
        ::RegCloseKey(opened);
    // A key this user may not read is there all the same.
    return status != ERROR_FILE_NOT_FOUND;
}

LSTATUS RegKey::DeleteValue(const wchar_t* name) {
    if (LSTATUS gate = RegistryWriteGate(); gate != ERROR_SUCCESS)
        return gate;
    return ::RegDeleteValueW(key_, name);
}

LSTATUS RegKey::RenameSubkey(const wchar_t* subkey, const wchar_t* new_name) {
    if (LSTATUS gate = RegistryWriteGate(); gate != ERROR_SUCCESS)
        return gate;
    return ::RegRenameKey(key_, subkey, new_name);
}

LSTATUS RegKey::CopyTreeFrom(HKEY source, const wchar_t* from, const wchar_t* to) {
    // Value by value rather than RegCopyTreeW, whose string values come out with a NUL more
    // under Wine: a copy must hold exactly the bytes of the original.
    RegKey original;
    LSTATUS status = original.Open(source, from, KEY_READ);
    if (status != ERROR_SUCCESS)
        return status;
    RegKey target;
    status = target.Create(key_, to, KEY_READ | KEY_WRITE);
    if (status != ERROR_SUCCESS)
        return status;
    std::vector<Value> values;
    status = original.EnumValues(&values);
    for (const Value& value : values) {
        if (status != ERROR_SUCCESS)
            break;
        status = target.SetRaw(value.name.c_str(), value.type, value.data.data(),
                               static_cast<DWORD>(value.data.size()));
    }
    std::wstring name;
    for (DWORD index = 0; status == ERROR_SUCCESS; ++index) {
        const LSTATUS listed = original.EnumSubkey(index, &name);
        if (listed == ERROR_NO_MORE_ITEMS)
            break;
        status = listed == ERROR_SUCCESS
                     ? target.CopyTreeFrom(original.Get(), name.c_str(), name.c_str())
                     : listed;
    }
    return status;
}

LSTATUS RegKey::DeleteTree(HKEY parent, const wchar_t* subkey) {
    if (LSTATUS gate = RegistryWriteGate(); gate != ERROR_SUCCESS)
        return gate;
    DWORD status = ::SHDeleteKeyW(parent, subkey);
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : static_cast<LSTATUS>(status);
}

} // namespace glimro
