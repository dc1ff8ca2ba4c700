#include "support/dialog_driver.h"

#include <algorithm>

namespace glimro::test {

namespace {

DialogDriver* active_driver = nullptr;

std::wstring WindowText(HWND window) {
    wchar_t text[1024] = {};
    ::GetWindowTextW(window, text, 1024);
    return text;
}

bool IsDialog(HWND window) {
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    return std::wstring(name) == L"#32770";
}

std::wstring StaticTexts(HWND dialog) {
    std::wstring joined;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[16] = {};
        ::GetClassNameW(child, name, 16);
        if (_wcsicmp(name, L"Static") != 0)
            continue;
        if (!joined.empty())
            joined += L"\n";
        joined += WindowText(child);
    }
    return joined;
}

BOOL CALLBACK CollectDialogs(HWND window, LPARAM found) {
    if (IsDialog(window) && ::IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

} // namespace

DialogDriver::DialogDriver(DWORD timeout_ms) : deadline_(::GetTickCount() + timeout_ms) {
    active_driver = this;
    timer_ = ::SetTimer(nullptr, 0, 20, &DialogDriver::OnTimer);
}

DialogDriver::~DialogDriver() {
    ::KillTimer(nullptr, timer_);
    active_driver = nullptr;
}

void DialogDriver::Expect(const std::wstring& caption, const std::wstring& text, int button) {
    expected_.push_back({caption, text, button});
}

void CALLBACK DialogDriver::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (active_driver)
        active_driver->Poll();
}

void DialogDriver::Poll() {
    std::vector<HWND> dialogs;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectDialogs,
                        reinterpret_cast<LPARAM>(&dialogs));
    bool late = static_cast<LONG>(::GetTickCount() - deadline_) >= 0;
    for (HWND dialog : dialogs) {
        if (std::find(answered_.begin(), answered_.end(), dialog) != answered_.end()) {
            if (late) { // answered but still open: the answer did not close it
                timed_out_ = true;
                ::EndDialog(dialog, IDCANCEL);
            }
            continue;
        }
        Answer(dialog);
    }
}

void DialogDriver::Answer(HWND dialog) {
    answered_.push_back(dialog);
    if (std::find(ignored_.begin(), ignored_.end(), WindowText(dialog)) != ignored_.end())
        return;
    Seen seen{WindowText(dialog), StaticTexts(dialog), false};
    int button = IDCANCEL;
    if (next_ < expected_.size()) {
        const Expectation& want = expected_[next_];
        if (seen.caption == want.caption && seen.text.find(want.text) != std::wstring::npos) {
            seen.expected = true;
            button = want.button;
            ++next_;
        }
    }
    seen_.push_back(seen);
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

void DialogDriver::Pump(DWORD milliseconds) {
    DWORD end = ::GetTickCount() + milliseconds;
    MSG msg;
    while (static_cast<LONG>(::GetTickCount() - end) < 0) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

namespace {

std::vector<OnWindow*>& WaitingForWindows() {
    static std::vector<OnWindow*> waiting;
    return waiting;
}

} // namespace

OnWindow::OnWindow(std::wstring caption, std::function<void(HWND)> action)
    : caption_(std::move(caption)), action_(std::move(action)) {
    WaitingForWindows().push_back(this);
    timer_ = ::SetTimer(nullptr, 0, 50, &OnWindow::OnTimer);
}

OnWindow::~OnWindow() {
    ::KillTimer(nullptr, timer_);
    auto& waiting = WaitingForWindows();
    waiting.erase(std::remove(waiting.begin(), waiting.end(), this), waiting.end());
}

void CALLBACK OnWindow::OnTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    for (OnWindow* waiting : WaitingForWindows()) {
        if (waiting->timer_ != timer || waiting->ran_)
            continue;
        HWND window = ::FindWindowW(nullptr, waiting->caption_.c_str());
        if (!window || !::IsWindowVisible(window))
            return;
        DWORD process = 0;
        if (::GetWindowThreadProcessId(window, &process) != ::GetCurrentThreadId())
            return;
        waiting->ran_ = true;
        waiting->action_(window);
        return;
    }
}

} // namespace glimro::test
