#include "ui/placement.h"

#include "platform/dpi.h"
#include "platform/reg_key.h"
#include "store/product_key.h"

#include <algorithm>

namespace glimro {

namespace {

bool OpenForWriting(RegKey& key) {
    return key.Create(HKEY_CURRENT_USER, kProductKey,
                      KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY) == ERROR_SUCCESS;
}

void QueryInto(const RegKey& key, const wchar_t* name, int& field, bool* read = nullptr) {
    DWORD value = 0;
    DWORD bytes = sizeof(value);
    bool ok = key.QueryRaw(name, &value, &bytes) == ERROR_SUCCESS;
    if (ok)
        field = static_cast<int>(value);
    if (read)
        *read = ok;
}

} // namespace

bool LoadPlacement(WindowPlacementRecord& record) {
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, kProductKey, KEY_ALL_ACCESS) != ERROR_SUCCESS)
        return false;
    bool bottom_read = false;
    QueryInto(key, L"Show", record.Show);
    QueryInto(key, L"Left", record.Left);
    QueryInto(key, L"Top", record.Top);
    QueryInto(key, L"Right", record.Right);
    QueryInto(key, L"Bottom", record.Bottom, &bottom_read);
    return bottom_read;
}

bool SavePlacementRectangle(const WindowPlacementRecord& record) {
    RegKey key;
    if (!OpenForWriting(key))
        return false;
    key.SetDword(L"Left", static_cast<DWORD>(record.Left));
    key.SetDword(L"Top", static_cast<DWORD>(record.Top));
    key.SetDword(L"Right", static_cast<DWORD>(record.Right));
    key.SetDword(L"Bottom", static_cast<DWORD>(record.Bottom));
    return true;
}

bool SavePlacementShow(const WindowPlacementRecord& record) {
    RegKey key;
    if (!OpenForWriting(key))
        return false;
    key.SetDword(L"Show", static_cast<DWORD>(record.Show));
    return true;
}

RECT FrameRectangle(const WindowPlacementRecord& record, SIZE full_screen, UINT dpi) {
    if (record.Right != 0)
        return {record.Left, record.Top, record.Right, record.Bottom};
    // Never larger than the screen, however large the scale.
    const int width = std::min(ScaleForDpi(640, dpi), static_cast<int>(full_screen.cx));
    const int height = std::min(ScaleForDpi(480, dpi), static_cast<int>(full_screen.cy));
    RECT r;
    r.left = full_screen.cx / 2 - width / 2;
    r.top = full_screen.cy / 2 - height / 2;
    r.right = r.left + width;
    r.bottom = r.top + height;
    return r;
}

} // namespace glimro
