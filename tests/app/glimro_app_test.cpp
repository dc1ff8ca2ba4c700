#include "app/glimro_app.h"

#include "resource.h"
#include "app/splash_dialog.h"
#include "store/product_key.h"
#include "support/dialog_driver.h"
#include "support/registry_sandbox.h"
#include "support/temp_folder.h"
#include "ui/album_manager_harness.h"

#include <gtest/gtest.h>

namespace glimro {
namespace {

TEST(StartSwitch, FirstCharacterDashThenTheLetterInEitherCase) {
    const struct {
        const wchar_t* arguments;
        StartSwitch expected;
    } cases[] = {
        {L"", StartSwitch::None},
        {L"-", StartSwitch::None},
        {L"-s", StartSwitch::Silent},
        {L"-S", StartSwitch::Silent},
        {L"-silent", StartSwitch::Silent},
        {L"-d", StartSwitch::Disable},
        {L"-E", StartSwitch::Enable},
        {L"-i", StartSwitch::InstallNew},
        {L"-CHoliday", StartSwitch::Restore},
        {L"-c", StartSwitch::Restore},
        {L"-x", StartSwitch::None},
        {L"s", StartSwitch::None},
        {L" -s", StartSwitch::None},
        {L"/s", StartSwitch::None},
        {L"Files\\Glimro\\glimro.exe -s", StartSwitch::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseStartSwitch(c.arguments), c.expected) << test::Narrow(c.arguments);
}

TEST(Autostart, CommandQuotesThePathSoBlanksSurvive) {
    EXPECT_EQ(AutostartCommand(L"C:\\Program Files\\Glimro\\glimro.exe"),
              L"\"C:\\Program Files\\Glimro\\glimro.exe\" -s");
    EXPECT_EQ(AutostartCommand(L""), L"");
}

TEST(Autostart, AddWritesTheRunValueAndRemoveDeletesIt) {
    test::RegistrySandbox sandbox;
    Seam<std::wstring()>::Override module{ModulePath,
                                          [] { return std::wstring(L"C:\\A B\\g.exe"); }};
    // Without the Run key, adding makes it; a write that fails says so.
    EXPECT_TRUE(RemoveAutostart());
    {
        Seam<LSTATUS()>::Override fail(RegistryWriteGate, [] {
            return static_cast<LSTATUS>(ERROR_WRITE_FAULT);
        });
        EXPECT_FALSE(AddAutostart());
    }
    EXPECT_TRUE(AddAutostart());
    auto stored = test::ReadStoredValue(HKEY_CURRENT_USER, kAutostartKey, kAutostartValue);
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::wstring(stored.Text().c_str()), L"\"C:\\A B\\g.exe\" -s");
    EXPECT_TRUE(RemoveAutostart());
    EXPECT_FALSE(test::ReadStoredValue(HKEY_CURRENT_USER, kAutostartKey, kAutostartValue).exists);
    EXPECT_TRUE(RemoveAutostart());

    Seam<std::wstring()>::Override no_module{ModulePath, [] { return std::wstring(); }};
    EXPECT_FALSE(AddAutostart());
    EXPECT_FALSE(test::ReadStoredValue(HKEY_CURRENT_USER, kAutostartKey, kAutostartValue).exists);
}

TEST(WaitWhilePumping, EndsWhenTheHandleIsSignalledOrAQuitArrivesDispatchingMeanwhile) {
    UniqueHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    // A thread timer fires inside the wait: messages are dispatched while it waits.
    static HANDLE to_signal;
    static int ticks;
    to_signal = event.Get();
    ticks = 0;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        if (++ticks == 3)
            ::SetEvent(to_signal);
    });
    EXPECT_TRUE(WaitWhilePumping(event.Get()));
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(ticks, 3);

    ::ResetEvent(event.Get());
    ::PostQuitMessage(7);
    EXPECT_FALSE(WaitWhilePumping(event.Get()));
    MSG msg;
    // Left for the thread's own message loop, as every pump here leaves it.
    EXPECT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);

    // A pause that pumps: the timer goes on ticking through it, and a quit ends it early.
    ticks = 0;
    timer = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
    EXPECT_TRUE(PumpFor(nullptr, 400));
    EXPECT_GE(ticks, 3);
    ::PostQuitMessage(8);
    const ULONGLONG before = ::GetTickCount64();
    EXPECT_FALSE(PumpFor(nullptr, 5000));
    EXPECT_LT(::GetTickCount64() - before, 2000u);
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// Shows and ends the harness's frame, as the application does.
class FrameHost : public MessageWindowHost {
public:
    explicit FrameHost(HWND frame) : frame_(frame) {}
    void ShowAlbumManager() override { ::ShowWindow(frame_, SW_SHOWNORMAL); }
    void QuitInstance() override { ::DestroyWindow(frame_); }

private:
    HWND frame_;
};

TEST(MessageWindow, ShowAndQuitCommandsReachTheHostOnlyAsWholeWParams) {
    test::AlbumManagerHarness h;
    ASSERT_TRUE(h.Start());
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    EXPECT_FALSE(CInstanceWindow::RegisterWindowClass(reinterpret_cast<HINSTANCE>(32)));
    ASSERT_TRUE(CInstanceWindow::RegisterWindowClass(instance));

    UniqueHandle event(::CreateEventW(nullptr, FALSE, FALSE, kMessageWindowEvent));
    CInstanceWindow messages;
    ASSERT_TRUE(messages.Create(instance));
    EXPECT_EQ(::WaitForSingleObject(event.Get(), 0), WAIT_OBJECT_0);
    EXPECT_EQ(::FindWindowW(kMessageWindowClass, nullptr), messages.Handle());
    EXPECT_FALSE(::IsWindowVisible(messages.Handle()));
    EXPECT_EQ(::GetParent(messages.Handle()), nullptr);

    HWND frame = h.frame->Handle();
    // Before the frame is known the commands do nothing.
    ::SendMessageW(messages.Handle(), WM_COMMAND, 2112, 0);
    EXPECT_FALSE(::IsWindowVisible(frame));
    FrameHost host(frame);
    messages.SetHost(&host);
    ::SendMessageW(messages.Handle(), WM_COMMAND, MAKEWPARAM(2112, 1), 0);
    EXPECT_FALSE(::IsWindowVisible(frame));
    ::ShowWindow(frame, SW_MINIMIZE);
    ::SendMessageW(messages.Handle(), WM_COMMAND, 2112, 0);
    EXPECT_TRUE(::IsWindowVisible(frame));
    EXPECT_FALSE(::IsIconic(frame));

    ::SendMessageW(messages.Handle(), WM_COMMAND, MAKEWPARAM(3113, 1), 0);
    EXPECT_TRUE(::IsWindow(frame));
    ::SendMessageW(messages.Handle(), WM_COMMAND, 3113, 0);
    EXPECT_FALSE(::IsWindow(frame));
    messages.Destroy();
    EXPECT_EQ(::FindWindowW(kMessageWindowClass, nullptr), nullptr);
}

TEST(MainFrame, OpenNewAlbumRequestPostsTheNewCommand) {
    test::AlbumManagerHarness h;
    h.frame = std::make_unique<CMainFrame>(h.placement, h.albums);
    ASSERT_TRUE(h.frame->Create(true));
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, h.frame->Handle(), kStartMessage, kStartMessage, PM_REMOVE));
    ::DispatchMessageW(&msg); // the albums load first
    ASSERT_TRUE(::PeekMessageW(&msg, h.frame->Handle(), WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(ID_ALBUM_NEW));
}

TEST(AboutBox, ShowsTheNameAndVersionAndClosesWithOk) {
    test::DialogDriver driver;
    driver.Expect(L"About Glimro", L"Glimro\nVersion 2.1", IDOK);
    CAboutDlg about;
    EXPECT_EQ(about.DoModal(nullptr, false), IDOK);
    EXPECT_TRUE(driver.AllAnswered());
}

TEST(AboutBox, TheFramesAboutCommandOpensIt) {
    test::AlbumManagerHarness h;
    ASSERT_TRUE(h.Start());
    test::DialogDriver driver;
    driver.Expect(L"About Glimro", L"Version 2.1", IDOK);
    h.frame->OnAbout = [&h] { CAboutDlg().DoModal(h.frame->Handle(), false); };
    ::SendMessageW(h.frame->Handle(), WM_COMMAND, ID_APP_ABOUT, 0);
    EXPECT_TRUE(driver.AllAnswered());
}

TEST(Splash, WithoutTheBitmapFileItEndsBeforeItIsSeen) {
    test::TempFolder folder;
    test::ScopedExecutableFolder exe{folder.Path()};
    test::DialogDriver driver;
    CSplashDialog splash;
    const DWORD start = ::GetTickCount();
    EXPECT_EQ(splash.DoModal(::GetDesktopWindow(), false), IDCANCEL);
    EXPECT_LT(::GetTickCount() - start, 1000u);
    EXPECT_TRUE(driver.Dialogs().empty());
}

} // namespace
} // namespace glimro
