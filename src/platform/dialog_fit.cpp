#include "platform/dialog_fit.h"

#include "platform/ui_language.h"

#include <algorithm>
#include <cstring>

namespace glimro {
namespace {

// Reads the template's fields in order, never past its end.
class TemplateReader {
public:
    TemplateReader(const BYTE* bytes, size_t size) : bytes_(bytes), size_(size) {}
    bool Ok() const { return ok_; }
    size_t At() const { return at_; }
    template <typename T> T Read() {
        T value{};
        if (at_ + sizeof(T) > size_) {
            ok_ = false;
            return value;
        }
        std::memcpy(&value, bytes_ + at_, sizeof(T));
        at_ += sizeof(T);
        return value;
    }
    std::wstring String() {
        std::wstring text;
        for (wchar_t c = Read<wchar_t>(); ok_ && c != L'\0'; c = Read<wchar_t>())
            text += c;
        return text;
    }
    // A name or an ordinal (0xFFFF then the number): the ordinal in *atom.
    std::wstring NameOrOrdinal(WORD* atom) {
        *atom = 0;
        if (at_ + 2 <= size_ && bytes_[at_] == 0xFF && bytes_[at_ + 1] == 0xFF) {
            Read<WORD>();
            *atom = Read<WORD>();
            return {};
        }
        return String();
    }
    void Align() { at_ = (at_ + 3) & ~size_t{3}; }
    void Skip(size_t count) {
        if (at_ + count > size_)
            ok_ = false;
        at_ = std::min(at_ + count, size_);
    }

private:
    const BYTE* bytes_;
    size_t size_;
    size_t at_ = 0;
    bool ok_ = true;
};

constexpr WORD kButton = 0x80, kStatic = 0x82;

bool Overlaps(LONG top, LONG bottom, const RECT& box) {
    return top < box.bottom && box.top < bottom;
}

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

bool IsGroupBox(const DialogItem& item) {
    return item.atom == kButton && (item.style & BS_TYPEMASK) == BS_GROUPBOX;
}

void Store(std::vector<BYTE>& bytes, size_t offset, short value) {
    std::memcpy(bytes.data() + offset, &value, sizeof(value));
}

} // namespace

bool ReadDialogLayout(const BYTE* bytes, size_t size, DialogLayout* layout) {
    TemplateReader reader(bytes, size);
    const WORD version = reader.Read<WORD>(), signature = reader.Read<WORD>();
    if (version != 1 || signature != 0xFFFF)
        return false;
    reader.Read<DWORD>(); // help id
    reader.Read<DWORD>(); // extended style
    const DWORD style = reader.Read<DWORD>();
    const WORD count = reader.Read<WORD>();
    reader.Read<short>();
    reader.Read<short>();
    layout->size_offset = reader.At();
    layout->size.cx = reader.Read<short>();
    layout->size.cy = reader.Read<short>();
    WORD atom = 0;
    reader.NameOrOrdinal(&atom); // menu
    reader.NameOrOrdinal(&atom); // class
    layout->title = reader.String();
    if (style & (DS_SETFONT | DS_SHELLFONT)) {
        layout->point_size = reader.Read<WORD>();
        reader.Read<WORD>(); // weight
        reader.Read<BYTE>(); // italic
        reader.Read<BYTE>(); // character set
        layout->font = reader.String();
    }
    layout->items.clear();
    for (WORD i = 0; i < count && reader.Ok(); ++i) {
        reader.Align();
        DialogItem item;
        reader.Read<DWORD>(); // help id
        reader.Read<DWORD>(); // extended style
        item.style = reader.Read<DWORD>();
        item.offset = reader.At();
        const short x = reader.Read<short>(), y = reader.Read<short>();
        const short cx = reader.Read<short>(), cy = reader.Read<short>();
        item.box = {x, y, x + cx, y + cy};
        item.id = reader.Read<DWORD>();
        item.class_name = reader.NameOrOrdinal(&item.atom);
        WORD text_atom = 0;
        item.text = reader.NameOrOrdinal(&text_atom);
        reader.Skip(reader.Read<WORD>());
        layout->items.push_back(std::move(item));
    }
    return reader.Ok() && layout->items.size() == count;
}

TextMeasure::TextMeasure(const std::wstring& typeface, WORD point_size) {
    dc_ = ::CreateCompatibleDC(nullptr);
    LOGFONTW font = {};
    font.lfHeight = -::MulDiv(point_size, ::GetDeviceCaps(dc_, LOGPIXELSY), 72);
    font.lfCharSet = DEFAULT_CHARSET;
    // "MS Shell Dlg" is what the dialog manager maps to the shell's font; so does GDI.
    typeface.copy(font.lfFaceName, LF_FACESIZE - 1);
    font_ = ::CreateFontIndirectW(&font);
    old_ = ::SelectObject(dc_, font_);
    // The dialog manager's base units: the mean width of the Latin letters and the height.
    SIZE letters = {};
    ::GetTextExtentPoint32W(dc_, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(dc_, &metrics);
    base_x_ = std::max<int>((letters.cx / 26 + 1) / 2, 1);
    base_y_ = std::max<int>(metrics.tmHeight, 1);
}

TextMeasure::~TextMeasure() {
    ::SelectObject(dc_, old_);
    ::DeleteObject(font_);
    ::DeleteDC(dc_);
}

int TextMeasure::Width(const std::wstring& text, bool prefix) const {
    RECT box = {0, 0, 0, 0};
    ::DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &box,
                DT_CALCRECT | DT_SINGLELINE | (prefix ? 0 : DT_NOPREFIX));
    return (static_cast<int>(box.right) * 4 + base_x_ - 1) / base_x_;
}

int TextMeasure::WrappedHeight(const std::wstring& text, int width, bool prefix) const {
    RECT box = {0, 0, ::MulDiv(width, base_x_, 4), 0};
    ::DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &box,
                DT_CALCRECT | DT_WORDBREAK | (prefix ? 0 : DT_NOPREFIX));
    return (static_cast<int>(box.bottom) * 8 + base_y_ - 1) / base_y_;
}

int MissingWidth(const DialogItem& item, const TextMeasure& measure) {
    if (item.text.empty() || !item.class_name.empty())
        return 0;
    const int width = item.box.right - item.box.left, height = item.box.bottom - item.box.top;
    int extra = 0; // what the control draws beside its text
    bool wraps = false;
    bool prefix = true;
    if (item.atom == kStatic) {
        const DWORD kind = item.style & SS_TYPEMASK;
        if (kind != SS_LEFT && kind != SS_RIGHT && kind != SS_CENTER && kind != SS_LEFTNOWORDWRAP)
            return 0;
        prefix = !(item.style & SS_NOPREFIX);
        wraps = kind != SS_LEFTNOWORDWRAP && height >= 16;
    } else if (item.atom == kButton) {
        switch (item.style & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
        case BS_3STATE:
        case BS_AUTO3STATE:
            extra = 14; // the box and its gap
            break;
        case BS_GROUPBOX:
            extra = 10; // the frame's inset on both sides of its title
            break;
        default:
            extra = 8;
        }
        wraps = (item.style & BS_MULTILINE) && height >= 16;
    } else {
        return 0;
    }
    if (!wraps)
        return std::max(measure.Width(item.text, prefix) + extra - width, 0);
    // Wrapped: the least width at which its lines fit its height, a step at a time.
    int wanted = width;
    while (measure.WrappedHeight(item.text, wanted - extra, prefix) > height && wanted < width * 3)
        wanted += 4;
    return wanted - width;
}

std::vector<BYTE> FittedDialogTemplate(UINT id) {
    DWORD size = 0;
    const auto* found = reinterpret_cast<const BYTE*>(FindDialogTemplate(id, &size));
    if (!found)
        return {};
    std::vector<BYTE> bytes(found, found + size);
    DialogLayout layout;
    if (!ReadDialogLayout(bytes.data(), bytes.size(), &layout))
        return bytes; // an older template: as it is
    const TextMeasure measure(layout.font.empty() ? L"MS Shell Dlg" : layout.font, layout.point_size);
    std::vector<DialogItem>& items = layout.items;
    // The groups each control lies in, from the English layout.
    std::vector<std::vector<size_t>> groups_of(items.size());
    for (size_t g = 0; g < items.size(); ++g)
        for (size_t i = 0; IsGroupBox(items[g]) && i < items.size(); ++i)
            if (i != g && Contains(items[g].box, items[i].box))
                groups_of[i].push_back(g);
    // From left to right: a control that grows pushes the rest of its row along.
    std::vector<size_t> order(items.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return items[a].box.left < items[b].box.left; });
    for (const size_t i : order) {
        const int missing = MissingWidth(items[i], measure);
        if (missing <= 0)
            continue;
        const LONG old_right = items[i].box.right;
        items[i].box.right += missing;
        for (size_t j = 0; j < items.size(); ++j) {
            if (j == i || IsGroupBox(items[j]) || items[j].box.left < old_right - 1 ||
                !Overlaps(items[i].box.top, items[i].box.bottom, items[j].box))
                continue;
            items[j].box.left += missing;
            items[j].box.right += missing;
        }
    }
    // Each group holds what it held, with the room it left at its right; the dialog holds all.
    for (size_t i = 0; i < items.size(); ++i)
        for (const size_t g : groups_of[i])
            items[g].box.right = std::max<LONG>(items[g].box.right, items[i].box.right + 4);
    LONG right = 0, left_margin = 7;
    for (const DialogItem& item : items) {
        right = std::max(right, item.box.right);
        left_margin = std::min<LONG>(left_margin, std::max<LONG>(item.box.left, 0));
    }
    if (right + left_margin > layout.size.cx)
        Store(bytes, layout.size_offset, static_cast<short>(right + left_margin));
    for (const DialogItem& item : items) {
        Store(bytes, item.offset, static_cast<short>(item.box.left));
        Store(bytes, item.offset + 4, static_cast<short>(item.box.right - item.box.left));
    }
    return bytes;
}

} // namespace glimro
