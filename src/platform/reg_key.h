#pragma once
// An open registry key, closed on destruction. Every operation returns the registry's
// own status code; callers decide which failures matter.
#include "platform/seam.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace glimro {

// Every change RegKey makes to the registry asks this first and goes ahead only on
// ERROR_SUCCESS; tests put a stand-in here to make a chosen write fail.
extern Seam<LSTATUS()> RegistryWriteGate;

class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Close(); }
    RegKey(RegKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    RegKey& operator=(RegKey&& other) noexcept;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    LSTATUS Create(HKEY parent, const wchar_t* subkey, REGSAM access);
    // As Create, but ERROR_ALREADY_EXISTS (and nothing opened) when the subkey is there.
    LSTATUS CreateNew(HKEY parent, const wchar_t* subkey, REGSAM access);
    LSTATUS Open(HKEY parent, const wchar_t* subkey, REGSAM access);
    void Close();

    bool IsOpen() const { return key_ != nullptr; }
    HKEY Get() const { return key_; }

    // REG_SZ (or the string type given) holding exactly the text's characters, two bytes
    // each, no terminating NUL.
    LSTATUS SetText(const wchar_t* name, std::wstring_view text, DWORD type = REG_SZ);
    // REG_SZ with its terminating NUL, as the system's own desktop values are stored.
    LSTATUS SetTextWithNul(const wchar_t* name, std::wstring_view text);
    LSTATUS SetDword(const wchar_t* name, DWORD value);
    LSTATUS SetBinary(const wchar_t* name, const void* data, DWORD bytes);
    // Any type, exactly these bytes.
    LSTATUS SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes);

    // Type and byte size of a value without reading it.
    LSTATUS QueryInfo(const wchar_t* name, DWORD* type, DWORD* bytes) const;
    // Reads into a caller's buffer; bytes is its capacity on entry, the data size on return.
    LSTATUS QueryRaw(const wchar_t* name, void* data, DWORD* bytes, DWORD* type = nullptr) const;
    // A number by its value's type (core/stored_value.h): a REG_DWORD, or a string of
    // decimal digits; anything else is ERROR_INVALID_DATA and leaves *value 0.
    LSTATUS QueryDword(const wchar_t* name, DWORD* value) const;
    // The stored characters of a string value (REG_SZ or REG_EXPAND_SZ, not expanded), cut
    // at the first NUL; ERROR_UNSUPPORTED_TYPE for any other type, text left alone. *bytes,
    // when asked for, receives the stored data's size.
    LSTATUS QueryText(const wchar_t* name, std::wstring* text, DWORD* bytes = nullptr) const;
    // The strings of a REG_MULTI_SZ value of at most max_bytes, up to its empty one; none for
    // anything else.
    std::vector<std::wstring> QueryStrings(const wchar_t* name, DWORD max_bytes) const;
    // The strings as REG_MULTI_SZ (none of them may be empty: that would end the list).
    LSTATUS SetStrings(const wchar_t* name, const std::vector<std::wstring>& strings);
    // Exactly `bytes` bytes of REG_BINARY; anything else is ERROR_INVALID_DATA or the read's
    // own failure, with the buffer left alone.
    LSTATUS QueryExactBinary(const wchar_t* name, void* data, DWORD bytes) const;

    // The number of values, and of subkeys when asked for.
    LSTATUS QueryValueCount(DWORD* count, DWORD* subkeys = nullptr) const;
    LSTATUS EnumSubkey(DWORD index, std::wstring* name) const;
    // The names of every subkey, in the registry's order.
    std::vector<std::wstring> SubkeyNames() const;
    // Every value of the key with its type and exact bytes, in the registry's order.
    struct Value {
        std::wstring name;
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
    };
    LSTATUS EnumValues(std::vector<Value>* values) const;
    // Whether the subkey is there, readable or not.
    bool HasSubkey(const wchar_t* subkey) const;
    LSTATUS DeleteValue(const wchar_t* name);
    // Renames a subkey of this key; the new name must not exist yet. One step for the
    // registry: a reader sees the key under one name or the other, never neither.
    LSTATUS RenameSubkey(const wchar_t* subkey, const wchar_t* new_name);
    // Copies the subkey `from` of source with everything under it into this key's subkey
    // `to`, created when missing.
    LSTATUS CopyTreeFrom(HKEY source, const wchar_t* from, const wchar_t* to);

    // Deletes a subkey with everything under it; a missing subkey is no error.
    static LSTATUS DeleteTree(HKEY parent, const wchar_t* subkey);

private:
    HKEY key_ = nullptr;
};

} // namespace glimro
