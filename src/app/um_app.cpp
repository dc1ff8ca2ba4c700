#include "app/um_app.h"

#include "platform/module.h"
#include "platform/reg_key.h"
#include "platform/window.h"
#include "resource.h"
#include "platform/command_ids.h"
#include "app/splash_dialog.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <cwctype>

namespace glimro {

namespace {

HWND FindRunningInstance() {
    return ::FindWindowW(kMessageWindowClass, nullptr);
}

bool Owned(DWORD wait_result) {
    return wait_result == WAIT_OBJECT_0 || wait_result == WAIT_ABANDONED;
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
                      LoadResourceString(IDS_APP_TITLE).c_str(), MB_OK | MB_ICONERROR);
        return false;
    }
    ole_ready_ = true;

    // The mutex alone decides which process is the instance: one that finds it taken never
    // becomes a second resident instance, even before the first has its window.
    mutex_.Reset(::CreateMutexW(nullptr, TRUE, kInstanceMutex));
    if (!mutex_)
        return false;
    const bool another_instance = ::GetLastError() == ERROR_ALREADY_EXISTS;

    const StartSwitch start = ParseStartSwitch(arguments);
    bool open_new_album = false;
    HWND running = nullptr;
    switch (start) {
    case StartSwitch::Disable:
        if (another_instance &&
            AwaitRunningInstance(kInstanceWindowTimeout, &running) == Wait::Window) {
            DWORD id = 0;
            ::GetWindowThreadProcessId(running, &id);
            UniqueHandle process(id ? ::OpenProcess(SYNCHRONIZE, FALSE, id) : nullptr);
            ::PostMessageW(running, WM_COMMAND, kQuitCommand, 0);
            // Installers replace or delete the executable next: return once it has ended. It
            // gives up the mutex a moment before its process is gone, so both are waited for.
            if (AwaitRunningInstance(kInstanceEndTimeout, nullptr) == Wait::Ended && process)
                ::WaitForSingleObject(process.Get(), kInstanceEndTimeout);
        }
        RemoveAutostart();
        return false;
    case StartSwitch::Enable:
    case StartSwitch::InstallNew:
    case StartSwitch::Restore:
        // Nothing of the old instance's is touched until it has ended.
        if (another_instance && !ReplaceRunningInstance())
            return false;
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
        if (another_instance) {
            const Wait waited = AwaitRunningInstance(kInstanceWindowTimeout, &running);
            if (waited == Wait::Window)
                ::PostMessageW(running, WM_COMMAND, kShowCommand, 0);
            // Only when the other instance ended before it had a window does this one go on.
            if (waited != Wait::Ended)
                return false;
        }
        break;
    }

    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (!ZIRMessageWindow::RegisterWindowClass(instance) || !message_window_.Create(instance))
        return false;

    albums_.PassFinished = [this] {
        // Back through the message loop: the pass's caller is still on the stack.
        if (quit_pending_)
            ::PostMessageW(message_window_.Handle(), WM_COMMAND, kQuitCommand, 0);
    };
    LoadPlacement(Placement);
    frame_ = std::make_unique<CMainFrame>(Placement, albums_);
    frame_->QuitOnDestroy = true;
    frame_->OnAbout = [this] { ShowAbout(); };
    frame_->OnQuitInstance = [this] { QuitInstance(); };
    if (!frame_->Create(open_new_album))
        return false;

    ::SetWindowTextW(frame_->Handle(), LoadResourceString(IDS_APP_TITLE).c_str());
    frame_->ShowInitially(show_command);
    message_window_.SetHost(this);
    return true;
}

CumApp::Wait CumApp::AwaitRunningInstance(DWORD timeout, HWND* window) {
    const ULONGLONG deadline = ::GetTickCount64() + timeout;
    do {
        if (window && (*window = FindRunningInstance()) != nullptr)
            return Wait::Window;
        if (Owned(::WaitForSingleObject(mutex_.Get(), 100)))
            return Wait::Ended;
        PumpMessages();
    } while (::GetTickCount64() < deadline);
    return Wait::TimedOut;
}

bool CumApp::ReplaceRunningInstance() {
    HWND running = nullptr;
    const Wait waited = AwaitRunningInstance(kInstanceWindowTimeout, &running);
    if (waited == Wait::Ended)
        return true;
    if (waited == Wait::TimedOut)
        return false;
    ::PostMessageW(running, WM_COMMAND, kQuitCommand, 0);
    return AwaitRunningInstance(kInstanceEndTimeout, nullptr) == Wait::Ended;
}

void CumApp::ShowAlbumManager() {
    if (!frame_ || !frame_->Handle())
        return;
    ::ShowWindow(frame_->Handle(), SW_SHOWNORMAL);
    ::SetForegroundWindow(frame_->Handle());
}

void CumApp::QuitInstance() {
    if (albums_.PassRunning()) {
        quit_pending_ = true;
        return;
    }
    if (frame_ && frame_->Handle())
        ::DestroyWindow(frame_->Handle());
}

void CumApp::RestoreAlbumSet(const std::wstring& name) {
    {
        AlbumSet albums;
        albums.LoadAlbumList();
        albums.Activate(nullptr);
        albums.SaveAlbumList();
    }

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
    WaitWhilePumping(regedit.Get());
}

void CumApp::ShowAbout() {
    CAboutDlg about;
    about.DoModal(frame_ ? frame_->Handle() : nullptr, false);
}

int CumApp::ExitInstance(int exit_code) {
    // The window goes before the mutex: a process that takes the mutex over must not find
    // this instance's window and post to it.
    message_window_.Destroy();
    if (mutex_) {
        ::ReleaseMutex(mutex_.Get());
        mutex_.Reset();
    }
    frame_.reset();
    if (ole_ready_) {
        ::OleUninitialize();
        ole_ready_ = false;
    }
    return exit_code;
}

} // namespace glimro
