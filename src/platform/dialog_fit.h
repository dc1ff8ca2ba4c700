#pragma once
// Dialog templates laid out for the texts they hold: a translated label, button, check box or
// group box longer than its English box grows, the controls after it on its row move along,
// the group boxes around it and the dialog widen to hold them, so no language is clipped.
#include <windows.h>

#include <string>
#include <vector>

namespace glimro {

// One control of a template, as parsed: its box in dialog units, its class (the system's
// atom for the predefined ones: 0x80 button, 0x81 edit, 0x82 static, 0x85 combo box; else 0)
// or class name, and its text.
struct DialogItem {
    DWORD id = 0;
    DWORD style = 0;
    RECT box = {}; // left, top, right, bottom
    WORD atom = 0;
    std::wstring class_name;
    std::wstring text;
    size_t offset = 0; // of its x in the template's bytes
};
struct DialogLayout {
    std::wstring title;
    std::wstring font; // typeface
    WORD point_size = 8;
    SIZE size = {};     // in dialog units
    size_t size_offset = 0;
    std::vector<DialogItem> items;
};
// False for anything but a well-formed extended template of at most bytes bytes.
bool ReadDialogLayout(const BYTE* bytes, size_t size, DialogLayout* layout);

// How wide a control's text is, in dialog units, with the dialog's font: the text alone (its
// "&" taken as a mnemonic unless the control says otherwise); lines: its height in lines.
class TextMeasure {
public:
    TextMeasure(const std::wstring& typeface, WORD point_size);
    ~TextMeasure();
    TextMeasure(const TextMeasure&) = delete;
    TextMeasure& operator=(const TextMeasure&) = delete;
    int Width(const std::wstring& text, bool prefix) const;
    // The height of the text wrapped at width dialog units, in dialog units.
    int WrappedHeight(const std::wstring& text, int width, bool prefix) const;

private:
    HDC dc_ = nullptr;
    HFONT font_ = nullptr;
    HGDIOBJ old_ = nullptr;
    int base_x_ = 1; // the font's average character width, in pixels (4 dialog units)
    int base_y_ = 1; // its height (8 dialog units)
};

// The dialog units a control needs for its text beyond its box's width: 0 when it fits.
int MissingWidth(const DialogItem& item, const TextMeasure& measure);

// The template of that resource in the windows' language, laid out for its texts; empty when
// there is no such dialog.
std::vector<BYTE> FittedDialogTemplate(UINT id);

} // namespace glimro
