#pragma once
// The resident instance's mailbox: a hidden top-level window of a fixed class that later
// starts of the program find by class name and post show (2112) or quit (3113) to.
#include <windows.h>

namespace glimro {

// What the message window asks of the application it belongs to.
class MessageWindowHost {
public:
    virtual ~MessageWindowHost() = default;
    virtual void ShowAlbumManager() = 0;
    // Ends the instance; the application decides when it is safe to.
    virtual void QuitInstance() = 0;
};

inline constexpr wchar_t kMessageWindowClass[] = L"GLIMRO_UpLoadManager_Class";
inline constexpr wchar_t kMessageWindowEvent[] = L"CInstanceWindow created event";

class CInstanceWindow {
public:
    CInstanceWindow() = default;
    virtual ~CInstanceWindow();
    CInstanceWindow(const CInstanceWindow&) = delete;
    CInstanceWindow& operator=(const CInstanceWindow&) = delete;

    // False for an instance handle of 32 or below, or when the class cannot be registered.
    static bool RegisterWindowClass(HINSTANCE instance);
    // Creates the window, then signals the named event once.
    bool Create(HINSTANCE instance);
    void Destroy();

    HWND Handle() const { return window_; }
    void SetHost(MessageWindowHost* host) { host_ = host; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    void OnCommand(WPARAM wparam);

    HWND window_ = nullptr;
    MessageWindowHost* host_ = nullptr;
};

} // namespace glimro
