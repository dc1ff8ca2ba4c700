#pragma once
// The resident instance's mailbox: a hidden top-level window of a fixed class that later
// starts of the program find by class name and post show (2112) or quit (3113) to.
#include <windows.h>

namespace glimro {

class CMainFrame;

inline constexpr wchar_t kMessageWindowClass[] = L"GLIMRO_UpLoadManager_Class";
inline constexpr wchar_t kMessageWindowEvent[] = L"ZIRMessageWindow created event";

class ZIRMessageWindow {
public:
    ZIRMessageWindow() = default;
    virtual ~ZIRMessageWindow();
    ZIRMessageWindow(const ZIRMessageWindow&) = delete;
    ZIRMessageWindow& operator=(const ZIRMessageWindow&) = delete;

    // False for an instance handle of 32 or below, or when the class cannot be registered.
    static bool RegisterWindowClass(HINSTANCE instance);
    // Creates the window, then signals the named event once.
    bool Create(HINSTANCE instance);
    void Destroy();

    HWND Handle() const { return window_; }
    void SetMainFrame(CMainFrame* frame) { main_frame_ = frame; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    void OnCommand(WPARAM wparam);

    HWND window_ = nullptr;
    CMainFrame* main_frame_ = nullptr;
};

} // namespace glimro
