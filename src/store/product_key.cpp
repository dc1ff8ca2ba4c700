#include "store/product_key.h"

#include "platform/reg_key.h"

namespace glimro {

DWORD ReadProductNumber(const wchar_t* name, DWORD fallback) {
    RegKey key;
    DWORD value = 0;
    if (key.Open(HKEY_CURRENT_USER, kProductKey, KEY_READ) != ERROR_SUCCESS ||
        key.QueryDword(name, &value) != ERROR_SUCCESS)
        return fallback;
    return value;
}

LSTATUS WriteProductNumber(const wchar_t* name, DWORD value) {
    RegKey key;
    LSTATUS status = key.Create(HKEY_CURRENT_USER, kProductKey, kProductKeyAccess);
    return status == ERROR_SUCCESS ? key.SetDword(name, value) : status;
}

} // namespace glimro
