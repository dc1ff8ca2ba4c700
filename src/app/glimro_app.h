#pragma once
// The application: start-up with its single-instance rule and command-line switches, the
// autostart entry, the album-set restore, and shut-down.
#include "platform/handle.h"
#include "app/instance_window.h"
#include "store/album_set.h"
#include "store/autostart.h"
#include "ui/main_frame.h"

#include <memory>
#include <string>

namespace glimro {

inline constexpr wchar_t kInstanceMutex[] = L"GLIMRO_UploadManager_Mutex";

enum class StartSwitch {
    None,
    Restore,    // -C<name>: replace a running instance, restore the album set <name>
    Disable,    // -D: end a running instance, wait until it has gone, remove autostart
    Enable,     // -E: replace a running instance, start hidden
    InstallNew, // -I: replace a running instance, open the new-album sheet
    Silent,     // -S: the autostart entry's start, hidden, after the splash
};

// The switch of a command line (the arguments after the program's name).
StartSwitch ParseStartSwitch(const std::wstring& arguments);

// How long a start waits for the running instance: for its message window to appear (it has
// none during its splash), and for it to end when a switch replaces it.
inline constexpr DWORD kInstanceWindowTimeout = 15000;
inline constexpr DWORD kInstanceEndTimeout = 60000;

// Exit codes besides 0: -d found an instance that did not end; -C was given no saved set.
inline constexpr int kInstanceStillRunning = 1;
inline constexpr int kNoSuchSet = 2;

// The saved set -C<name> restores: albums\<name>\<name>.reg beside the executable, for a
// plain name (no path, drive or "..") whose file is there; false otherwise.
bool RestorableSetFile(const std::wstring& name, std::wstring* file);

class CGlimroApp : public MessageWindowHost {
public:
    CGlimroApp() = default;
    ~CGlimroApp();
    CGlimroApp(const CGlimroApp&) = delete;
    CGlimroApp& operator=(const CGlimroApp&) = delete;

    // Start-up, the message loop and shut-down; the process's exit code.
    int Run(const std::wstring& arguments, int show_command);

    // True to enter the message loop, false to end the process.
    bool InitInstance(const std::wstring& arguments, int show_command);
    int ExitInstance(int exit_code);

    WindowPlacementRecord Placement;

    // The message window's commands. A quit that comes while a pass runs ends the instance
    // once the pass has finished and saved.
    void ShowAlbumManager() override;
    void QuitInstance() override;

private:
    enum class Wait { Window, Ended, TimedOut };
    // Until the running instance's message window exists (when a window is asked for), or
    // that instance has ended and this process owns the mutex.
    Wait AwaitRunningInstance(DWORD timeout, HWND* window);
    // Asks the running instance to end and waits until it has; false when it did not.
    bool ReplaceRunningInstance();
    // The same for -d, which also waits for the instance's process to be gone.
    bool EndRunningInstance();
    void RestoreAlbumSet(const std::wstring& name);
    void ShowAbout();

    AlbumSet albums_;
    bool quit_pending_ = false;
    int exit_code_ = 0;
    UniqueHandle mutex_;
    CInstanceWindow instance_window_;
    std::unique_ptr<CMainFrame> frame_;
    bool ole_ready_ = false;
};

} // namespace glimro
