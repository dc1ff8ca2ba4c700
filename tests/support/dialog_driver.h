#pragma once
// Answers the dialogs and message boxes that code under test runs modally on this thread.
// A thread timer (which modal loops keep dispatching) looks for new dialog windows, checks
// each against the next expected caption and text, and presses the expected button. A dialog
// nobody expected, or one still open at the time-out, is cancelled and recorded, so a test
// fails instead of hanging.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace glimro::test {

// As the user picks entry index of a page's combo box: selected, and the page told.
inline void ChooseInCombo(HWND page, int control, int index) {
    HWND box = ::GetDlgItem(page, control);
    ::SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(page, WM_COMMAND, MAKEWPARAM(control, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(box));
}

class DialogDriver {
public:
    explicit DialogDriver(DWORD timeout_ms = 10000);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // The next dialog must have this caption and its texts must contain text; it is answered
    // by posting the button's command.
    void Expect(const std::wstring& caption, const std::wstring& text, int button);
    // Dialogs with this caption are left alone (a test drives them itself).
    void Ignore(const std::wstring& caption) { ignored_.push_back(caption); }

    struct Seen {
        std::wstring caption;
        std::wstring text; // the dialog's static texts, joined by "\n"
        bool expected = false;
    };
    const std::vector<Seen>& Dialogs() const { return seen_; }
    bool AllAnswered() const { return next_ == expected_.size(); }
    bool TimedOut() const { return timed_out_; }

    // Runs this thread's messages for a while (dialogs opened by posted commands appear).
    static void Pump(DWORD milliseconds);

private:
    struct Expectation {
        std::wstring caption;
        std::wstring text;
        int button;
    };
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Poll();
    void Answer(HWND dialog);

    std::vector<Expectation> expected_;
    std::vector<std::wstring> ignored_;
    size_t next_ = 0;
    std::vector<Seen> seen_;
    std::vector<HWND> answered_;
    UINT_PTR timer_ = 0;
    DWORD deadline_;
    bool timed_out_ = false;
};

// Runs an action once, from a thread timer (which modal loops keep dispatching), as soon as
// a visible top-level window of this thread has the caption; the action gets the window.
class OnWindow {
public:
    OnWindow(std::wstring caption, std::function<void(HWND)> action);
    ~OnWindow();
    OnWindow(const OnWindow&) = delete;
    OnWindow& operator=(const OnWindow&) = delete;

    bool Ran() const { return ran_; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    std::wstring caption_;
    std::function<void(HWND)> action_;
    bool ran_ = false;
    UINT_PTR timer_ = 0;
};

} // namespace glimro::test
