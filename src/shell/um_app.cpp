#include "shell/um_app.h"

#include "platform/module.h"
#include "platform/reg_key.h"
#include "platform/window.h"
#include "resource.h"
#include "shell/command_ids.h"
#include "shell/splash_dialog.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <cwctype>

namespace glimro {

namespace {

constexpr wchar_t kCaption[] = L"Glimro - Album Manager";

HWND FindRunningInstance() {
    return ::FindWindowW(kMessageWindowClass, nullptr);
}

void PostToRunningInstance(unsigned command) {
    if (HWND running = FindRunningInstance())
        ::PostMessageW(running, WM_COMMAND, command, 0);
}

} // namespace

StartSwitch ParseStartSwitch(const std::wstring& arguments) {
    if (arguments.size() < 2 || arguments[0] != L'-')
        return StartSwitch::None;
    switch (std::towupper(arguments[1])) {
    case L'C':
        return StartSwitch::Restore;
    case L'D':
        return StartSwitch::Disable;
    case L'E':
        return StartSwitch::Enable;
    case L'I':
        return StartSwitch::InstallNew;
    case L'S':
        return StartSwitch::Silent;
    default:
        return StartSwitch::None;
    }
}

// Quoted, so that a path with blanks ("C:\Program Files\...") is neither taken for
// "C:\Program.exe" by the shell nor split before the switch.
std::wstring AutostartCommand(const std::wstring& module_path) {
    if (module_path.empty())
        return {};
    return L"\"" + module_path + L"\" -s";
}

bool AddAutostart() {
    std::wstring command = AutostartCommand(ModulePath());
    if (command.empty())
        return false;
    RegKey run;
    if (run.Open(HKEY_CURRENT_USER, kAutostartKey, KEY_SET_VALUE) == ERROR_SUCCESS)
        run.SetTextWithNul(kAutostartValue, command);
    return true;
}

bool RemoveAutostart() {
    RegKey run;
    if (run.Open(HKEY_CURRENT_USER, kAutostartKey, KEY_SET_VALUE) == ERROR_SUCCESS)
        run.DeleteValue(kAutostartValue);
    return true;
}

int WaitWithMessages(const HANDLE* handles, DWORD count) {
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                return 1;
            ::DispatchMessageW(&msg);
        }
        DWORD woke = ::MsgWaitForMultipleObjects(count, handles, FALSE, INFINITE, QS_ALLINPUT);
        if (woke != WAIT_OBJECT_0 + count)
            return 0;
    }
}

CumApp::~CumApp() {
    message_window_.Destroy();
}

int CumApp::Run(const std::wstring& arguments, int show_command) {
    if (!InitInstance(arguments, show_command))
        return ExitInstance(0);
    return ExitInstance(RunMessageLoop());
}

bool CumApp::InitInstance(const std::wstring& arguments, int show_command) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), 0xFF};
    ::InitCommonControlsEx(&controls);

    if (FAILED(::OleInitialize(nullptr))) {
        ::MessageBoxW(nullptr,
                      L"Glimro could not start because the system's OLE services could not be "
                      L"initialised.",
                      kCaption, MB_OK | MB_ICONERROR);
        return false;
    }
    ole_ready_ = true;

    mutex_.Reset(::CreateMutexW(nullptr, TRUE, kInstanceMutex));
    if (!mutex_)
        return false;
    bool another_instance = ::GetLastError() == ERROR_ALREADY_EXISTS;

    const StartSwitch start = ParseStartSwitch(arguments);
    bool open_new_album = false;
    switch (start) {
    case StartSwitch::Disable:
        if (another_instance)
            PostToRunningInstance(kQuitCommand);
        RemoveAutostart();
        return false;
    case StartSwitch::Enable:
    case StartSwitch::InstallNew:
    case StartSwitch::Restore:
        if (another_instance)
            PostToRunningInstance(kQuitCommand);
        another_instance = false;
        AddAutostart();
        show_command = start == StartSwitch::InstallNew ? SW_SHOWNORMAL : SW_HIDE;
        open_new_album = start == StartSwitch::InstallNew;
        if (start == StartSwitch::Restore)
            RestoreAlbumSet(arguments.substr(2));
        break;
    case StartSwitch::Silent: {
        if (another_instance)
            return false;
        CSplashDialog splash;
        splash.DoModal(::GetDesktopWindow(), false);
        show_command = SW_HIDE;
        break;
    }
    case StartSwitch::None:
        break;
    }

    if (another_instance && FindRunningInstance()) {
        PostToRunningInstance(kShowCommand);
        return false;
    }

    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (!ZIRMessageWindow::RegisterWindowClass(instance) || !message_window_.Create(instance))
        return false;

    LoadPlacement(Placement);
    frame_ = std::make_unique<CMainFrame>(Placement);
    frame_->QuitOnDestroy = true;
    frame_->OnAbout = [this] { ShowAbout(); };
    if (!frame_->Create(open_new_album))
        return false;

    ::SetWindowTextW(frame_->Handle(), LoadResourceString(IDS_APP_TITLE).c_str());
    frame_->ShowInitially(show_command);
    message_window_.SetMainFrame(frame_.get());
    return true;
}

void CumApp::RestoreAlbumSet(const std::wstring& name) {
    AlbumCollection albums;
    LoadAlbumList(albums);
    for (auto& album : albums)
        album->SetEnabled(false);
    RewriteAlbumList(albums);
    FreeAlbumList(albums);

    std::wstring parameters =
        L"-s \"" + ExecutableFolder() + L"albums\\" + name + L"\\" + name + L".reg\"";
    SHELLEXECUTEINFOW run = {};
    run.cbSize = sizeof(run);
    run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT;
    run.lpFile = L"regedit.exe";
    run.lpParameters = parameters.c_str();
    run.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExW(&run) || !run.hProcess)
        return;
    UniqueHandle regedit(run.hProcess);
    ::Sleep(1000);
    HANDLE handles[] = {regedit.Get()};
    WaitWithMessages(handles, 1);
}

void CumApp::ShowAbout() {
    CAboutDlg about;
    about.DoModal(frame_ ? frame_->Handle() : nullptr, false);
}

int CumApp::ExitInstance(int exit_code) {
    if (mutex_) {
        ::ReleaseMutex(mutex_.Get());
        mutex_.Reset();
    }
    message_window_.Destroy();
    frame_.reset();
    if (ole_ready_) {
        ::OleUninitialize();
        ole_ready_ = false;
    }
    return exit_code;
}

} // namespace glimro
