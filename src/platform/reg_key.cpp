#include "platform/reg_key.h"

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

LSTATUS RegKey::Open(HKEY parent, const wchar_t* subkey, REGSAM access) {
    Close();
    return ::RegOpenKeyExW(parent, subkey, 0, access, &key_);
}

void RegKey::Close() {
    if (key_)
        ::RegCloseKey(std::exchange(key_, nullptr));
}

LSTATUS RegKey::SetText(const wchar_t* name, std::wstring_view text) {
    if (LSTATUS gate = RegistryWriteGate(); gate != ERROR_SUCCESS)
        return gate;
    // The registry appends a NUL of its own when the character after the counted data is a
    // NUL; a non-NUL sentinel behind the copy keeps the data at exactly two bytes a character.
    std::vector<wchar_t> data(text.begin(), text.end());
    data.push_back(L'?');
    return ::RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
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
    return ::RegSetValueExW(key_, name, 0, type, static_cast<const BYTE*>(data), bytes);
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
    DWORD read = 0;
    DWORD bytes = sizeof(read);
    LSTATUS status = QueryRaw(name, &read, &bytes);
    *value = status == ERROR_SUCCESS ? read : 0;
    return status;
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

LSTATUS RegKey::QueryValueCount(DWORD* count) const {
    return ::RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, count,
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
    RegKey target;
    LSTATUS status = target.Create(key_, to, KEY_WRITE);
    if (status != ERROR_SUCCESS)
        return status;
    if (LSTATUS gate = RegistryWriteGate(); gate != ERROR_SUCCESS)
        return gate;
    return ::RegCopyTreeW(source, from, target.Get());
}

LSTATUS RegKey::DeleteTree(HKEY parent, const wchar_t* subkey) {
    if (LSTATUS gate = RegistryWriteGate(); gate != ERROR_SUCCESS)
        return gate;
    DWORD status = ::SHDeleteKeyW(parent, subkey);
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : static_cast<LSTATUS>(status);
}

} // namespace glimro
