#pragma once
// The application: start-up with its single-instance rule and command-line switches, the
// autostart entry, the album-set restore, and shut-down.
#include "platform/handle.h"
#include "shell/message_window.h"
#include "store/album_list.h"
#include "ui/main_frame.h"

#include <memory>
#include <string>

namespace glimro {

inline constexpr wchar_t kInstanceMutex[] = L"GLIMRO_UploadManager_Mutex";
inline constexpr wchar_t kAutostartKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kAutostartValue[] = L"Glimro";

enum class StartSwitch {
    None,
    Restore,    // -C<name>: replace a running instance, restore the album set <name>
    Disable,    // -D: end a running instance and remove autostart
    Enable,     // -E: replace a running instance, start hidden
    InstallNew, // -I: replace a running instance, open the new-album sheet
    Silent,     // -S: the autostart entry's start, hidden, after the splash
};

// The switch of a command line (the arguments after the program's name).
StartSwitch ParseStartSwitch(const std::wstring& arguments);

// What the Run value holds: the quoted module path and " -s"; empty without a module path.
std::wstring AutostartCommand(const std::wstring& module_path);
// Writes the Run value; false (nothing written) only when the module path cannot be had.
bool AddAutostart();
bool RemoveAutostart();

// Dispatches this thread's messages until one of the handles is signalled (0) or a WM_QUIT
// arrives (1, the quit consumed).
int WaitWithMessages(const HANDLE* handles, DWORD count);

class CumApp {
public:
    CumApp() = default;
    ~CumApp();
    CumApp(const CumApp&) = delete;
    CumApp& operator=(const CumApp&) = delete;

    // Start-up, the message loop and shut-down; the process's exit code.
    int Run(const std::wstring& arguments, int show_command);

    // True to enter the message loop, false to end the process.
    bool InitInstance(const std::wstring& arguments, int show_command);
    int ExitInstance(int exit_code);

    WindowPlacementRecord Placement;

private:
    void RestoreAlbumSet(const std::wstring& name);
    void ShowAbout();

    UniqueHandle mutex_;
    ZIRMessageWindow message_window_;
    std::unique_ptr<CMainFrame> frame_;
    bool ole_ready_ = false;
};

} // namespace glimro
