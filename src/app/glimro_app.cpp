#include "app/glimro_app.h"

#include "platform/crash_report.h"
#include "ui/language_choice.h"

#include "core/path_text.h"
#include "engine/internet_fetch.h"
#include "engine/download_dialog.h"
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

CGlimroApp::~CGlimroApp() {
    instance_window_.Destroy();
}

int CGlimroApp::Run(const std::wstring& arguments, int show_command) {
    if (!InitInstance(arguments, show_command))
        return ExitInstance(exit_code_);
    return ExitInstance(RunMessageLoop());
}

bool CGlimroApp::InitInstance(const std::wstring& arguments, int show_command) {
    ApplyLanguageChoice(); // before any text is shown
    InstallCrashHandler(L"" GLIMRO_VERSION_TEXT);
    // The test of the handler: an exception nothing catches, as a fault in Glimro would raise.
    if (::GetEnvironmentVariableW(L"GLIMRO_CRASH_FOR_TEST", nullptr, 0) > 0)
        ::RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    if (FAILED(::OleInitialize(nullptr))) {
        ::MessageBoxW(nullptr, LoadResourceString(IDS_NO_OLE).c_str(),
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
        // Installers replace or delete the executable next: they learn from the exit code
        // whether the instance really ended.
        if (another_instance && !EndRunningInstance())
            exit_code_ = kInstanceStillRunning;
        RemoveAutostart();
        return false;
    case StartSwitch::Restore:
        // Nothing is touched, not even the running instance, for a name that is no plain
        // saved set's, or a set that is not there.
        if (!RestorableSetFile(arguments.substr(2), nullptr)) {
            exit_code_ = kNoSuchSet;
            return false;
        }
        [[fallthrough]];
    case StartSwitch::Enable:
    case StartSwitch::InstallNew:
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
        if (splash.LoadPicture())
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
    if (!CInstanceWindow::RegisterWindowClass(instance) || !instance_window_.Create(instance))
        return false;
    // This process is the instance now: no download of an earlier one is under way.
    RemoveDownloadLeftovers();

    albums_.PassFinished = [this] {
        // Back through the message loop: the pass's caller is still on the stack.
        if (quit_pending_)
            ::PostMessageW(instance_window_.Handle(), WM_COMMAND, kQuitCommand, 0);
    };
    LoadPlacement(Placement);
    frame_ = std::make_unique<CMainFrame>(Placement, albums_);
    frame_->QuitOnDestroy = true;
    frame_->OnAbout = [this] { ShowAbout(); };
    frame_->OnQuitInstance = [this] { QuitInstance(); };
    if (!frame_->Create(open_new_album))
        return false;

    frame_->RegisterHotkeys();
    ::SetWindowTextW(frame_->Handle(), LoadResourceString(IDS_APP_TITLE).c_str());
    frame_->ShowInitially(show_command);
    instance_window_.SetHost(this);
    return true;
}

CGlimroApp::Wait CGlimroApp::AwaitRunningInstance(DWORD timeout, HWND* window) {
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

bool CGlimroApp::EndRunningInstance() {
    HWND running = nullptr;
    const Wait waited = AwaitRunningInstance(kInstanceWindowTimeout, &running);
    if (waited != Wait::Window)
        return waited == Wait::Ended;
    DWORD id = 0;
    ::GetWindowThreadProcessId(running, &id);
    UniqueHandle process(id ? ::OpenProcess(SYNCHRONIZE, FALSE, id) : nullptr);
    ::PostMessageW(running, WM_COMMAND, kQuitCommand, 0);
    // It gives up the mutex a moment before its process is gone: both are waited for.
    if (AwaitRunningInstance(kInstanceEndTimeout, nullptr) != Wait::Ended)
        return false;
    return !process || ::WaitForSingleObject(process.Get(), kInstanceEndTimeout) == WAIT_OBJECT_0;
}

bool CGlimroApp::ReplaceRunningInstance() {
    HWND running = nullptr;
    const Wait waited = AwaitRunningInstance(kInstanceWindowTimeout, &running);
    if (waited == Wait::Ended)
        return true;
    if (waited == Wait::TimedOut)
        return false;
    ::PostMessageW(running, WM_COMMAND, kQuitCommand, 0);
    return AwaitRunningInstance(kInstanceEndTimeout, nullptr) == Wait::Ended;
}

void CGlimroApp::ShowAlbumManager() {
    if (!frame_ || !frame_->Handle())
        return;
    ::ShowWindow(frame_->Handle(), SW_SHOWNORMAL);
    ::SetForegroundWindow(frame_->Handle());
}

void CGlimroApp::QuitInstance() {
    if (albums_.PassRunning()) {
        // A download under way is ended now; the pass then finishes, saves, and the
        // instance goes.
        quit_pending_ = true;
        CancelDownload();
        return;
    }
    if (frame_ && frame_->Handle())
        ::DestroyWindow(frame_->Handle());
}

bool RestorableSetFile(const std::wstring& name, std::wstring* file) {
    if (!IsPlainSetName(name))
        return false;
    const std::wstring path = ExecutableFolder() + L"albums\\" + name + L"\\" + name + L".reg";
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    if (file)
        *file = path;
    return true;
}

void CGlimroApp::RestoreAlbumSet(const std::wstring& name) {
    std::wstring file;
    if (!RestorableSetFile(name, &file))
        return;
    {
        AlbumSet albums;
        albums.LoadAlbumList();
        albums.Activate(nullptr);
        albums.SaveAlbumList();
    }

    // The system's regedit by its full path, not whatever "regedit.exe" a search finds.
    wchar_t windows[MAX_PATH] = {};
    const UINT length = ::GetSystemWindowsDirectoryW(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    const std::wstring regedit_path = std::wstring(windows, length) + L"\\regedit.exe";
    std::wstring parameters = L"-s \"" + file + L"\"";
    SHELLEXECUTEINFOW run = {};
    run.cbSize = sizeof(run);
    run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT;
    run.lpFile = regedit_path.c_str();
    run.lpParameters = parameters.c_str();
    run.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExW(&run) || !run.hProcess)
        return;
    UniqueHandle regedit(run.hProcess);
    PumpFor(nullptr, 1000);
    WaitWhilePumping(regedit.Get());
}

void CGlimroApp::ShowAbout() {
    CAboutDlg about;
    about.DoModal(frame_ ? frame_->Handle() : nullptr, false);
}

int CGlimroApp::ExitInstance(int exit_code) {
    // The window goes before the mutex: a process that takes the mutex over must not find
    // this instance's window and post to it.
    instance_window_.Destroy();
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
