#pragma once
// An open registry key, closed on destruction. Every operation returns the registry's
// own status code; callers decide which failures matter.
#include <windows.h>

#include <string>
#include <string_view>
#include <utility>

namespace glimro {

class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Close(); }
    RegKey(RegKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    RegKey& operator=(RegKey&& other) noexcept;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    LSTATUS Create(HKEY parent, const wchar_t* subkey, REGSAM access);
    LSTATUS Open(HKEY parent, const wchar_t* subkey, REGSAM access);
    void Close();

    bool IsOpen() const { return key_ != nullptr; }
    HKEY Get() const { return key_; }

    // REG_SZ holding exactly the text's characters, two bytes each, no terminating NUL.
    LSTATUS SetText(const wchar_t* name, std::wstring_view text);
    // REG_SZ with its terminating NUL, as the system's own desktop values are stored.
    LSTATUS SetTextWithNul(const wchar_t* name, std::wstring_view text);
    LSTATUS SetDword(const wchar_t* name, DWORD value);
    LSTATUS SetBinary(const wchar_t* name, const void* data, DWORD bytes);

    // Type and byte size of a value without reading it.
    LSTATUS QueryInfo(const wchar_t* name, DWORD* type, DWORD* bytes) const;
    // Reads into a caller's buffer; bytes is its capacity on entry, the data size on return.
    LSTATUS QueryRaw(const wchar_t* name, void* data, DWORD* bytes, DWORD* type = nullptr) const;
    LSTATUS QueryDword(const wchar_t* name, DWORD* value) const;
    // The stored characters, cut at the first NUL when the data holds one.
    LSTATUS QueryText(const wchar_t* name, std::wstring* text) const;

    LSTATUS QueryValueCount(DWORD* count) const;
    LSTATUS EnumSubkey(DWORD index, std::wstring* name) const;
    LSTATUS DeleteValue(const wchar_t* name);

    // Deletes a subkey with everything under it; a missing subkey is no error.
    static LSTATUS DeleteTree(HKEY parent, const wchar_t* subkey);

private:
    HKEY key_ = nullptr;
};

} // namespace glimro
