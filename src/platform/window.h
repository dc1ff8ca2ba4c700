#pragma once
// A small window wrapper: windows of our own classes reach their object through their user
// data (window_object.h), controls of the system's classes through their subclass
// (SetWindowSubclass); one dispatch to virtual handlers for both; notifications reflected
// from the parent back to the control that sent them.
#include "platform/ui_language.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace glimro {

class CWindow {
public:
    CWindow() = default;
    virtual ~CWindow();
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    HWND Handle() const { return window_; }
    // The object behind a window of ours; null for any other window.
    static CWindow* FromHandle(HWND window);

    // Called by the message loop for a message meant for this window or one of its
    // children, before it is translated and dispatched; true when it was consumed.
    virtual bool PreTranslateMessage(MSG&) { return false; }

    // What a window of our own class is created with.
    struct CreateArgs {
        const wchar_t* class_name = nullptr;
        const wchar_t* title = L"";
        DWORD style = 0;
        DWORD ex_style = 0;
        RECT rect = {CW_USEDEFAULT, CW_USEDEFAULT, 0, 0}; // left, top, and width, height
        HWND parent = nullptr;
        HMENU menu = nullptr; // or a child's identifier
    };

protected:
    // Registers (once per process) a class whose windows are handled by this wrapper.
    static bool RegisterWindowClass(const wchar_t* name, UINT style, HICON icon, HBRUSH background);
    // Creates a window of such a class, bound to this object from its first message.
    HWND CreateOwnWindow(const CreateArgs& args);
    // Binds an existing window (a control) to this object by subclassing it.
    bool Subclass(HWND window);

    virtual LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam);
    // The handling the window would get without this object.
    LRESULT Default(UINT message, WPARAM wparam, LPARAM lparam);
    // WM_NOTIFY and WM_DRAWITEM arriving at the parent are offered to the child that sent
    // them; true with *result set when the child handled it.
    virtual bool OnReflected(UINT, WPARAM, LPARAM, LRESULT*) { return false; }
    bool ReflectToChild(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);
    // After WM_NCDESTROY, when the window has gone.
    virtual void OnFinalMessage() {}

private:
    static LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                         UINT_PTR id, DWORD_PTR object);
    LRESULT Dispatch(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    HWND window_ = nullptr;
    bool subclassed_ = false;
};

// GetMessage until WM_QUIT, giving our windows their PreTranslateMessage on the way;
// returns WM_QUIT's exit code.
int RunMessageLoop();

// Dispatches every queued message of the thread without waiting; messages for the dialog,
// if one is given, go through its keyboard handling. A WM_QUIT is left for the loop that
// owns the thread, and stops the pumping: false then.
bool PumpMessages(HWND dialog = nullptr);

// Dispatches this thread's messages as PumpMessages does for this long, instead of a sleep
// that would stop every window of the thread; false when a WM_QUIT came (it is left for the
// thread's own loop).
bool PumpFor(HWND dialog, DWORD milliseconds);

// Waits for the handle while dispatching this thread's messages as PumpMessages does; false
// when a WM_QUIT came first (it is left for the thread's own loop).
bool WaitWhilePumping(HANDLE handle, HWND dialog = nullptr);

// Runs the work on a thread of its own and pumps this thread's messages, as PumpMessages
// does, until it has finished: a blocking call in the work leaves the windows responsive.
// The work must not touch this thread's windows.
void RunWhilePumping(HWND dialog, const std::function<void()>& work);

// After a wallpaper change, which Wine paints over visible windows: invalidates and repaints,
// frames and children included, every visible top-level window of this thread and the
// taskbar, at once and again after a short while. Harmless where nothing was painted over.
void RepaintAfterWallpaperChange();
inline constexpr UINT kRepaintAgainDelay = 700;

// Shows the hourglass while it lives.
class CWaitCursor {
public:
    CWaitCursor() : previous_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { ::SetCursor(previous_); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR previous_;
};

// A string resource of this module in the windows' language, else in English; empty when
// missing.
std::wstring LoadResourceString(UINT id, LANGID language = UiLanguage());
// That string with its fields ("%1" ...) filled in.
std::wstring ResourceText(UINT id, const std::vector<std::wstring>& fields, LANGID language = UiLanguage());

// The whole text of a window or control.
std::wstring WindowText(HWND window);

// Shows a pop-up menu at the cursor, owned by the window; the command chosen, or 0.
UINT TrackMenuAtCursor(HMENU menu, HWND owner);

} // namespace glimro
