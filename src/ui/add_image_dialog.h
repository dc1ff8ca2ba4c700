#pragma once
// "Add Image": image paths or addresses typed in (separated by ';', a path in double quotes
// taken whole), or files chosen in the Open box. The folder of the last choice is
// remembered as "Image Path".
#include "platform/simple_dialog.h"

#include <string>
#include <vector>

namespace glimro {

inline constexpr wchar_t kImagePathValue[] = L"Image Path";
// The Open box's selection buffer, in characters: room for hundreds of long file names.
inline constexpr DWORD kSelectionChars = 65536;

class CAddImageDialog : public CSimpleDialog {
public:
    CAddImageDialog();

    // The text of the last run: what OK took from the field.
    std::wstring PathText;
    // What OK gave, in order: the files chosen in the Open box when the field still shows
    // them, else the typed text's paths.
    std::vector<std::wstring> Paths() const;

protected:
    INT_PTR OnInitDialog(HWND window) override;
    INT_PTR OnCommand(WPARAM wparam, LPARAM lparam) override;

private:
    void Browse();
    // The Open box's first folder for the text last shown.
    std::wstring InitialFolder(const std::wstring& shown) const;

    std::vector<std::wstring> chosen_; // the last Browse's files
    std::wstring chosen_text_;          // and the text that showed them
};


// The remembered folder, or empty.
std::wstring ReadImagePath();
void WriteImagePath(const std::wstring& folder);

} // namespace glimro
