#include "platform/open_box.h"

#include "platform/com_ptr.h"

#include <shobjidl.h>

namespace glimro {

Seam<DWORD(OPENFILENAMEW*)> ShowOpenBox([](OPENFILENAMEW* open) -> DWORD {
    if (::GetOpenFileNameW(open))
        return 0;
    const DWORD error = ::CommDlgExtendedError();
    return error == 0 ? kOpenBoxCancelled : error;
});

Seam<std::wstring(HWND, const std::wstring&, const std::wstring&)> PickFolder(
    [](HWND owner, const std::wstring& title, const std::wstring& start) -> std::wstring {
        ComPtr<IFileOpenDialog> dialog;
        if (FAILED(::CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_PPV_ARGS(dialog.Put()))))
            return {};
        FILEOPENDIALOGOPTIONS options = 0;
        dialog->GetOptions(&options);
        dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
        dialog->SetTitle(title.c_str());
        ComPtr<IShellItem> folder;
        if (!start.empty() &&
            SUCCEEDED(::SHCreateItemFromParsingName(start.c_str(), nullptr,
                                                    IID_PPV_ARGS(folder.Put()))))
            dialog->SetFolder(folder.Get());
        ComPtr<IShellItem> chosen;
        if (FAILED(dialog->Show(owner)) || FAILED(dialog->GetResult(chosen.Put())))
            return {};
        wchar_t* path = nullptr;
        if (FAILED(chosen->GetDisplayName(SIGDN_FILESYSPATH, &path)) || !path)
            return {};
        std::wstring result = path;
        ::CoTaskMemFree(path);
        return result;
    });

} // namespace glimro
