#include "platform/window.h"

#include "core/text_fields.h"
#include "platform/ui_language.h"

#include "platform/handle.h"
#include "platform/window_object.h"

#include <commctrl.h>

namespace glimro {

namespace {

// Our subclass among any others a control may have.
constexpr UINT_PTR kSubclassId = 0x474C; // "GL"

} // namespace

CWindow::~CWindow() {
    if (window_ && ::IsWindow(window_))
        ::DestroyWindow(window_);
}

CWindow* CWindow::FromHandle(HWND window) {
    if (!window)
        return nullptr;
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC)) == &CWindow::StaticProc)
        return WindowObject<CWindow>(window, 0);
    // A control is ours only through a subclass, which needs the common controls loaded: a
    // resident that never loaded them does not load them to look.
    DWORD_PTR object = 0;
    if (::GetModuleHandleW(L"comctl32.dll") &&
        ::GetWindowSubclass(window, &CWindow::SubclassProc, kSubclassId, &object))
        return reinterpret_cast<CWindow*>(object);
    return nullptr;
}

bool CWindow::RegisterWindowClass(const wchar_t* name, UINT style, HICON icon, HBRUSH background) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(instance, name, &existing))
        return true;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = &CWindow::StaticProc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return ::RegisterClassExW(&wc) != 0;
}

HWND CWindow::CreateOwnWindow(const CreateArgs& args) {
    return ::CreateWindowExW(args.ex_style, args.class_name, args.title, args.style, args.rect.left,
                             args.rect.top, args.rect.right, args.rect.bottom, args.parent,
                             args.menu, ::GetModuleHandleW(nullptr), this);
}

bool CWindow::Subclass(HWND window) {
    if (!window || window_)
        return false;
    if (!::SetWindowSubclass(window, &CWindow::SubclassProc, kSubclassId,
                             reinterpret_cast<DWORD_PTR>(this)))
        return false;
    window_ = window;
    subclassed_ = true;
    return true;
}

LRESULT CWindow::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
    return Default(message, wparam, lparam);
}

LRESULT CWindow::Default(UINT message, WPARAM wparam, LPARAM lparam) {
    if (subclassed_)
        return ::DefSubclassProc(window_, message, wparam, lparam);
    return ::DefWindowProcW(window_, message, wparam, lparam);
}

bool CWindow::ReflectToChild(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
    HWND child = nullptr;
    if (message == WM_NOTIFY)
        child = reinterpret_cast<NMHDR*>(lparam)->hwndFrom;
    else if (message == WM_DRAWITEM)
        child = reinterpret_cast<DRAWITEMSTRUCT*>(lparam)->hwndItem;
    CWindow* target = FromHandle(child);
    return target && target != this && target->OnReflected(message, wparam, lparam, result);
}

LRESULT CALLBACK CWindow::StaticProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    CWindow* created = nullptr;
    if (message == WM_NCCREATE) {
        created = static_cast<CWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        if (created)
            created->window_ = window;
    }
    CWindow* self = WindowObject<CWindow>(window, message, created);
    if (!self)
        return ::DefWindowProcW(window, message, wparam, lparam);
    return self->Dispatch(window, message, wparam, lparam);
}

LRESULT CALLBACK CWindow::SubclassProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                       UINT_PTR, DWORD_PTR object) {
    return reinterpret_cast<CWindow*>(object)->Dispatch(window, message, wparam, lparam);
}

LRESULT CWindow::Dispatch(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    LRESULT result = WindowProc(message, wparam, lparam);
    if (message == WM_NCDESTROY) {
        if (subclassed_)
            ::RemoveWindowSubclass(window, &CWindow::SubclassProc, kSubclassId);
        window_ = nullptr;
        subclassed_ = false;
        OnFinalMessage();
    }
    return result;
}

int RunMessageLoop() {
    MSG msg;
    for (;;) {
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(msg.wParam);
        if (got == -1)
            return -1;
        bool consumed = false;
        for (HWND window = msg.hwnd; window && !consumed; window = ::GetParent(window)) {
            if (CWindow* object = CWindow::FromHandle(window))
                consumed = object->PreTranslateMessage(msg);
        }
        if (consumed)
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

std::wstring LoadResourceString(UINT id, LANGID language) {
    std::wstring text = LoadResourceStringIn(id, language);
    return text.empty() && language != kEnglishLanguage ? LoadResourceStringIn(id, kEnglishLanguage) : text;
}

std::wstring ResourceText(UINT id, const std::vector<std::wstring>& fields, LANGID language) {
    return FillFields(LoadResourceString(id, language), fields);
}

std::wstring WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

UINT TrackMenuAtCursor(HMENU menu, HWND owner) {
    POINT cursor;
    ::GetCursorPos(&cursor);
    return static_cast<UINT>(::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, cursor.x,
                                              cursor.y, 0, owner, nullptr));
}

bool PumpMessages(HWND dialog) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Leave it for the message loop that owns the thread.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        if (dialog && ::IsDialogMessageW(dialog, &message))
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return true;
}

namespace {

DWORD WINAPI RunWork(void* work) {
    (*static_cast<const std::function<void()>*>(work))();
    return 0;
}

} // namespace

void RunWhilePumping(HWND dialog, const std::function<void()>& work) {
    UniqueHandle thread(::CreateThread(nullptr, 0, &RunWork,
                                       const_cast<std::function<void()>*>(&work), 0, nullptr));
    if (!thread) {
        work(); // no thread to be had: the work still runs, only without the pumping
        return;
    }
    // The work uses the caller's data: it finishes even when a quit comes first.
    if (!WaitWhilePumping(thread.Get(), dialog))
        ::WaitForSingleObject(thread.Get(), INFINITE);
}

bool PumpFor(HWND dialog, DWORD milliseconds) {
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    for (ULONGLONG now = ::GetTickCount64(); now < end; now = ::GetTickCount64()) {
        ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_ALLINPUT,
                                      MWMO_INPUTAVAILABLE);
        if (!PumpMessages(dialog))
            return false;
    }
    return true;
}

bool WaitWhilePumping(HANDLE handle, HWND dialog) {
    while (::MsgWaitForMultipleObjectsEx(1, &handle, INFINITE, QS_ALLINPUT,
                                         MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0 + 1) {
        // A quit is waiting for the thread's own loop; pumping on would only find it again.
        if (!PumpMessages(dialog))
            return false;
    }
    return true;
}

namespace {

BOOL CALLBACK RepaintWindow(HWND window, LPARAM) {
    if (::IsWindowVisible(window))
        ::RedrawWindow(window, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return TRUE;
}

void RepaintAll() {
    ::EnumThreadWindows(::GetCurrentThreadId(), &RepaintWindow, 0);
    if (HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr))
        RepaintWindow(taskbar, 0);
}

void CALLBACK RepaintAgain(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    RepaintAll();
}

} // namespace

void RepaintAfterWallpaperChange() {
    RepaintAll();
    // The desktop may paint the new wallpaper after this: once more a little later.
    ::SetTimer(nullptr, 0, kRepaintAgainDelay, &RepaintAgain);
}

} // namespace glimro
