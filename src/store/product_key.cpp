#include "store/product_key.h"

#include "platform/reg_key.h"

namespace glimro {
namespace {

bool OpenForReading(RegKey& key) {
    return key.Open(HKEY_CURRENT_USER, kProductKey, KEY_READ) == ERROR_SUCCESS;
}

LSTATUS OpenForWriting(RegKey& key) {
    return key.Create(HKEY_CURRENT_USER, kProductKey, kProductKeyAccess);
}

} // namespace

std::optional<DWORD> ReadProductDword(const wchar_t* name) {
    RegKey key;
    DWORD value = 0;
    if (!OpenForReading(key) || key.QueryDword(name, &value) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

std::optional<std::wstring> ReadProductText(const wchar_t* name) {
    RegKey key;
    std::wstring text;
    if (!OpenForReading(key) || key.QueryText(name, &text) != ERROR_SUCCESS)
        return std::nullopt;
    return text;
}

std::vector<std::wstring> ReadProductStrings(const wchar_t* name, DWORD max_bytes) {
    RegKey key;
    return OpenForReading(key) ? key.QueryStrings(name, max_bytes) : std::vector<std::wstring>();
}

DWORD ReadProductNumber(const wchar_t* name, DWORD fallback) {
    return ReadProductDword(name).value_or(fallback);
}

void ReadProductNumbers(const wchar_t* const* names, DWORD* values, size_t count) {
    RegKey key;
    const bool open = OpenForReading(key);
    for (size_t i = 0; i < count; ++i) {
        values[i] = 0;
        if (open)
            key.QueryDword(names[i], &values[i]);
    }
}

bool HasProductValue(const wchar_t* name) {
    RegKey key;
    return OpenForReading(key) && key.QueryInfo(name, nullptr, nullptr) == ERROR_SUCCESS;
}

LSTATUS WriteProductNumber(const wchar_t* name, DWORD value) {
    RegKey key;
    const LSTATUS status = OpenForWriting(key);
    return status == ERROR_SUCCESS ? key.SetDword(name, value) : status;
}

LSTATUS WriteProductText(const wchar_t* name, std::wstring_view text) {
    RegKey key;
    const LSTATUS status = OpenForWriting(key);
    return status == ERROR_SUCCESS ? key.SetText(name, text) : status;
}

LSTATUS WriteProductStrings(const wchar_t* name, const std::vector<std::wstring>& strings) {
    RegKey key;
    const LSTATUS status = OpenForWriting(key);
    return status == ERROR_SUCCESS ? key.SetStrings(name, strings) : status;
}

LSTATUS WriteProductRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
    RegKey key;
    const LSTATUS status = OpenForWriting(key);
    return status == ERROR_SUCCESS ? key.SetRaw(name, type, data, bytes) : status;
}

LSTATUS DeleteProductValue(const wchar_t* name) {
    RegKey key;
    LSTATUS status = key.Open(HKEY_CURRENT_USER, kProductKey, KEY_SET_VALUE);
    if (status == ERROR_SUCCESS)
        status = key.DeleteValue(name);
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

} // namespace glimro
