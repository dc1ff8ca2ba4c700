#include "ui/placement.h"

#include "platform/dpi.h"
#include "store/product_key.h"

#include <algorithm>

namespace glimro {

namespace {

// Each field that is stored; whether the last one was.
bool ReadInto(std::initializer_list<std::pair<const wchar_t*, int*>> fields) {
    bool read = false;
    for (const auto& [name, field] : fields) {
        const std::optional<DWORD> value = ReadProductDword(name);
        if ((read = value.has_value()))
            *field = static_cast<int>(*value);
    }
    return read;
}

bool WriteAll(std::initializer_list<std::pair<const wchar_t*, int>> fields) {
    bool written = true;
    for (const auto& [name, value] : fields)
        written = WriteProductNumber(name, static_cast<DWORD>(value)) == ERROR_SUCCESS && written;
    return written;
}

} // namespace

bool LoadPlacement(WindowPlacementRecord& record) {
    return ReadInto({{L"Show", &record.Show}, {L"Left", &record.Left}, {L"Top", &record.Top},
                     {L"Right", &record.Right}, {L"Bottom", &record.Bottom}});
}

bool SavePlacementRectangle(const WindowPlacementRecord& record) {
    return WriteAll({{L"Left", record.Left}, {L"Top", record.Top}, {L"Right", record.Right},
                     {L"Bottom", record.Bottom}});
}

bool SavePlacementShow(const WindowPlacementRecord& record) {
    return WriteAll({{L"Show", record.Show}});
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
