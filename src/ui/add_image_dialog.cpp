#include "ui/add_image_dialog.h"

#include "core/path_text.h"
#include "platform/module.h"
#include "platform/open_box.h"
#include "platform/reg_key.h"
#include "platform/window.h"
#include "resource.h"
#include "store/product_key.h"
#include "ui/daily_dialog.h"
#include "ui/drop_path_list_ctrl.h"

#include <vector>

namespace glimro {
namespace {

// "Image Files (*.bmp;*.jpg;...)" and its patterns, from the extensions an album takes.
std::wstring ImageFilter() {
    std::wstring patterns;
    for (const wchar_t* extension : kImageExtensions)
        patterns += (patterns.empty() ? L"*" : L";*") + std::wstring(extension);
    std::wstring filter = ResourceText(IDS_IMAGE_FILES, {patterns});
    filter += L'\0';
    filter += patterns;
    filter += L'\0'; // the string's own terminator ends the list
    return filter;
}

// The confirm button of the Open box reads "OK": the files are added, not opened.
UINT_PTR CALLBACK OpenBoxHook(HWND child, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG)
        return 0;
    ::SendMessageW(::GetParent(child), CDM_SETCONTROLTEXT, IDOK, reinterpret_cast<LPARAM>(L"OK"));
    return 1;
}

std::wstring BeforeLastBackslash(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L'\\'));
}

} // namespace

std::vector<std::wstring> CAddImageDialog::Paths() const {
    if (!chosen_.empty() && PathText == chosen_text_)
        return chosen_;
    return SplitPathText(PathText);
}

std::wstring ReadImagePath() {
    return ReadProductText(kImagePathValue).value_or(L"");
}

void WriteImagePath(const std::wstring& folder) {
    // As it has always been stored: the whole 260-character buffer, zero-filled. Only a
    // convenience: a failed write leaves the folder of the last time.
    wchar_t buffer[MAX_PATH] = {};
    folder.copy(buffer, MAX_PATH - 1);
    WriteProductRaw(kImagePathValue, REG_SZ, buffer, sizeof(buffer));
}

CAddImageDialog::CAddImageDialog() : CSimpleDialog(::GetModuleHandleW(nullptr), IDD_ADD_IMAGE) {}

INT_PTR CAddImageDialog::OnInitDialog(HWND window) {
    CSimpleDialog::OnInitDialog(window);
    ::SetDlgItemTextW(window, IDC_ADD_IMAGE_PATH, PathText.c_str());
    return 1;
}

INT_PTR CAddImageDialog::OnCommand(WPARAM wparam, LPARAM lparam) {
    switch (LOWORD(wparam)) {
    case IDOK:
        PathText = WindowText(::GetDlgItem(Handle(), IDC_ADD_IMAGE_PATH));
        break;
    case IDC_ADD_IMAGE_BROWSE:
        Browse();
        return 1;
    case IDC_ADD_IMAGE_DAILY: {
        // One choice adds the source's entry: the dialog ends as if OK took it.
        CDailyDialog daily;
        if (daily.DoModal(Handle(), true) != IDOK || daily.Chosen.empty())
            return 1;
        chosen_ = {daily.Chosen};
        PathText = chosen_text_ = daily.Chosen;
        ::SetDlgItemTextW(Handle(), IDC_ADD_IMAGE_PATH, PathText.c_str());
        End(IDOK);
        return 1;
    }
    default:
        break;
    }
    return CSimpleDialog::OnCommand(wparam, lparam);
}

std::wstring CAddImageDialog::InitialFolder(const std::wstring& shown) const {
    if (shown.empty()) {
        const std::wstring remembered = ReadImagePath();
        return remembered.empty() ? ExecutableFolder() : remembered;
    }
    if (shown.find(L'\\') == std::wstring::npos)
        return ExecutableFolder();
    return BeforeLastBackslash(shown);
}

void CAddImageDialog::Browse() {
    std::vector<wchar_t> selection(kSelectionChars, L'\0');
    // The text last shown (not what was typed since) proposes the folder and the file name:
    // its last path, when it held several.
    const std::vector<std::wstring> shown_paths = SplitPathText(PathText);
    const std::wstring shown = shown_paths.empty() ? std::wstring() : shown_paths.back();
    const size_t slash = shown.find_last_of(L'\\');
    if (slash != std::wstring::npos)
        shown.copy(selection.data(), selection.size() - 1, slash + 1);
    const std::wstring folder = InitialFolder(shown);
    const std::wstring title = ResourceText(IDS_ADD_IMAGE_FILE_TITLE, {LoadResourceString(IDS_APP_TITLE)});

    OPENFILENAMEW open = {};
    open.lStructSize = sizeof(open);
    open.hwndOwner = Handle();
    open.hInstance = ::GetModuleHandleW(nullptr);
    const std::wstring filter = ImageFilter();
    open.lpstrFilter = filter.c_str();
    open.nFilterIndex = 1;
    open.lpstrFile = selection.data();
    open.nMaxFile = static_cast<DWORD>(selection.size());
    open.lpstrInitialDir = folder.c_str();
    open.lpstrTitle = title.c_str();
    open.Flags =
        OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_LONGNAMES | OFN_HIDEREADONLY | OFN_ENABLEHOOK;
    open.lpfnHook = &OpenBoxHook;
    if (ShowOpenBox(&open) != 0)
        return;

    // One full path; or a folder followed by the chosen names, each ended by a NUL.
    const std::wstring first = selection.data();
    const wchar_t* next = selection.data() + first.size() + 1;
    chosen_.clear();
    if (*next) {
        WriteImagePath(first);
        for (; *next; next += wcslen(next) + 1)
            chosen_.push_back(first + L"\\" + next);
    } else {
        chosen_.push_back(first);
        if (first.find(L'\\') != std::wstring::npos)
            WriteImagePath(BeforeLastBackslash(first));
    }
    // The files themselves are what OK gives; the field shows them in a form that, typed or
    // edited, means the same files.
    PathText = chosen_text_ = JoinPathText(chosen_);
    ::SetDlgItemTextW(Handle(), IDC_ADD_IMAGE_PATH, PathText.c_str());
}

} // namespace glimro
