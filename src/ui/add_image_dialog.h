#pragma once
// "Add Image": one image path or address typed in, or one or more files chosen in the Open
// box and joined by ';'. The folder of the last choice is remembered as "Image Path".
#include "platform/simple_dialog.h"

#include <string>

namespace glimro {

inline constexpr wchar_t kImagePathValue[] = L"Image Path";
// The Open box's selection buffer, in characters: room for hundreds of long file names.
inline constexpr DWORD kSelectionChars = 65536;

class CAddImageDialog : public CSimpleDialog {
public:
    CAddImageDialog();

    // The text of the last run: what OK took from the field.
    std::wstring PathText;

protected:
    INT_PTR OnInitDialog(HWND window) override;
    INT_PTR OnCommand(WPARAM wparam, LPARAM lparam) override;

private:
    void Browse();
    std::wstring InitialFolder() const;
};

// The remembered folder, or empty.
std::wstring ReadImagePath();
void WriteImagePath(const std::wstring& folder);

} // namespace glimro
