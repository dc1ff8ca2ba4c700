// glimro.exe as real processes, observed from outside: the message window by class, the
// frame's visibility, the registry, exit codes and how long things take. The children see
// the test prefix's real HKEY_CURRENT_USER, so every test starts and ends with the
// program's keys and the Run value removed; each copy of glimro.exe lives in a temporary
// folder, which is where its log goes.
#include "platform/module.h"
#include "platform/command_ids.h"
#include "platform/crash_report.h"
#include "resource.h"
#include "platform/reg_key.h"
#include "app/instance_window.h"
#include "app/glimro_app.h"
#include "store/product_key.h"
#include "support/entries.h"
#include "support/http_server.h"
#include "support/private_prefix.h"
#include "support/process_windows.h"
#include "support/registry_sandbox.h"
#include "support/stored_albums.h"
#include "support/temp_folder.h"
#include "support/test_images.h"
#include "ui/main_frame.h"

#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace glimro {
namespace {

constexpr DWORD kStartTimeout = 15000;

void RemoveProgramKeys() {
    RegKey::DeleteTree(HKEY_CURRENT_USER, kProductKey);
    RegKey run;
    if (run.Open(HKEY_CURRENT_USER, kAutostartKey, KEY_SET_VALUE) == ERROR_SUCCESS)
        run.DeleteValue(kAutostartValue);
}

test::StoredValue RunValue() {
    return test::ReadStoredValue(HKEY_CURRENT_USER, kAutostartKey, kAutostartValue);
}

using test::WaitUntil;

class AppProcessTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    std::wstring exe = folder.File(L"glimro.exe");
    std::vector<PROCESS_INFORMATION> started;

    void SetUp() override {
        GLIMRO_REQUIRE_PRIVATE_PREFIX();
        RemoveProgramKeys();
        RegKey run;
        run.Create(HKEY_CURRENT_USER, kAutostartKey, KEY_WRITE);
        ASSERT_EQ(::FindWindowW(kMessageWindowClass, nullptr), nullptr)
            << "an instance is still running";
        ASSERT_TRUE(::CopyFileW((ExecutableFolder() + L"glimro.exe").c_str(), exe.c_str(), FALSE));
    }

    void TearDown() override {
        if (!test::InPrivateTestPrefix())
            return;
        for (auto& p : started) {
            if (::WaitForSingleObject(p.hProcess, 0) == WAIT_TIMEOUT) {
                if (HWND messages = MessageWindowOf(p.dwProcessId))
                    ::PostMessageW(messages, WM_COMMAND, 3113, 0);
                if (::WaitForSingleObject(p.hProcess, 5000) == WAIT_TIMEOUT) {
                    ::TerminateProcess(p.hProcess, 1);
                    ::WaitForSingleObject(p.hProcess, 5000);
                }
            }
            ::CloseHandle(p.hProcess);
            ::CloseHandle(p.hThread);
        }
        RemoveProgramKeys();
    }

    // Starts the command line as given; the current folder is the copy's folder unless said.
    PROCESS_INFORMATION StartCommand(std::wstring command, const std::wstring& current = L"") {
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        const std::wstring folder_path = current.empty() ? folder.Path() : current;
        EXPECT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                     folder_path.c_str(), &startup, &process))
            << test::Narrow(command);
        if (process.hProcess)
            started.push_back(process);
        return process;
    }
    PROCESS_INFORMATION Start(const std::wstring& arguments, const std::wstring& current = L"") {
        return StartCommand(L"\"" + exe + L"\" " + arguments, current);
    }

    static HWND FindWindowOf(DWORD process, const wchar_t* class_name, bool visible_only = false) {
        return test::FindWindowOf(process, class_name, visible_only);
    }
    static HWND MessageWindowOf(DWORD process) {
        return FindWindowOf(process, kMessageWindowClass);
    }
    static HWND FrameOf(DWORD process) { return FindWindowOf(process, kMainFrameClass); }

    // Waits until the process is the resident instance: its message window and frame exist.
    static bool BecomesResident(const PROCESS_INFORMATION& p) {
        return WaitUntil([&] { return MessageWindowOf(p.dwProcessId) && FrameOf(p.dwProcessId); },
                         kStartTimeout);
    }
    static DWORD ExitCode(const PROCESS_INFORMATION& p, DWORD timeout = kStartTimeout) {
        if (::WaitForSingleObject(p.hProcess, timeout) != WAIT_OBJECT_0)
            return STILL_ACTIVE;
        DWORD code = STILL_ACTIVE;
        ::GetExitCodeProcess(p.hProcess, &code);
        return code;
    }
    static bool FrameShown(const PROCESS_INFORMATION& p) {
        HWND frame = FrameOf(p.dwProcessId);
        return frame && ::IsWindowVisible(frame);
    }
    static bool StaysHidden(const PROCESS_INFORMATION& p) {
        return !WaitUntil([&] { return FrameShown(p); }, 700);
    }
};

TEST_F(AppProcessTest, SecondStartShowsTheHiddenManagerOfTheFirstAndExits) {
    auto first = Start(L"-e");
    ASSERT_TRUE(BecomesResident(first));
    EXPECT_TRUE(StaysHidden(first));
    EXPECT_EQ(::FindWindowW(nullptr, L"Glimro - Album Manager"), FrameOf(first.dwProcessId));
    auto second = Start(L"");
    EXPECT_EQ(ExitCode(second), 0u);
    EXPECT_EQ(FrameOf(second.dwProcessId), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return FrameShown(first); }, 5000));
    EXPECT_EQ(::WaitForSingleObject(first.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

// A fault nothing catches leaves a minidump and a report in the crash folder, the oldest beyond
// the last five go, and the next start takes note of it.
TEST_F(AppProcessTest, AnUnexpectedEndLeavesADumpAndAReportAndIsToldOnce) {
    const std::wstring crashes = CrashFolder();
    ASSERT_FALSE(crashes.empty());
    ::SHCreateDirectoryExW(nullptr, crashes.substr(0, crashes.size() - 1).c_str(), nullptr);
    const auto files = [&](const wchar_t* pattern) {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        const HANDLE search = ::FindFirstFileW((crashes + pattern).c_str(), &found);
        for (bool more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &found))
            names.push_back(found.cFileName);
        if (search != INVALID_HANDLE_VALUE)
            ::FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    };
    for (const std::wstring& name : files(L"glimro-*"))
        ::DeleteFileW((crashes + name).c_str());
    for (int i = 1; i <= 6; ++i) // six of before
        for (const wchar_t* ending : {L".txt", L".dmp"})
            test::WriteFileBytes(crashes + L"glimro-2020010" + std::to_wstring(i) + L"-000000" + ending, "x");

    ::SetEnvironmentVariableW(L"GLIMRO_CRASH_FOR_TEST", L"1");
    const PROCESS_INFORMATION crashed = Start(L"");
    ::SetEnvironmentVariableW(L"GLIMRO_CRASH_FOR_TEST", nullptr);
    EXPECT_EQ(ExitCode(crashed), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    const std::vector<std::wstring> reports = files(L"glimro-*.txt");
    ASSERT_EQ(reports.size(), kCrashReportsKept);
    EXPECT_EQ(reports.front(), L"glimro-20200103-000000.txt"); // the two oldest gone
    const std::wstring newest = reports.back();
    const std::string report = test::ReadFileBytes(crashes + newest);
    EXPECT_NE(report.find("Glimro " GLIMRO_VERSION_TEXT " ended unexpectedly."), std::string::npos) << report;
    EXPECT_NE(report.find("Exception: 0xC0000005 at "), std::string::npos) << report;
    EXPECT_NE(report.find("Module: "), std::string::npos) << report;
    const std::string dump = test::ReadFileBytes(crashes + newest.substr(0, newest.size() - 4) + L".dmp");
    EXPECT_EQ(dump.substr(0, 4), "MDMP");

    // The next start takes note of it, once (what it says is the frame's test).
    const PROCESS_INFORMATION told = Start(L"-e");
    ASSERT_TRUE(BecomesResident(told));
    EXPECT_TRUE(WaitUntil([&] { return ReadProductText(kCrashSeenValue).value_or(L"") == newest; }, kStartTimeout));
}

TEST_F(AppProcessTest, UnknownSwitchIsHandledLikeNoSwitch) {
    auto first = Start(L"-e");
    ASSERT_TRUE(BecomesResident(first));
    auto second = Start(L"-x");
    EXPECT_EQ(ExitCode(second), 0u);
    EXPECT_TRUE(WaitUntil([&] { return FrameShown(first); }, 5000));
}

TEST_F(AppProcessTest, SilentStartWithAnInstanceRunningExitsAndShowsNothing) {
    auto first = Start(L"-e");
    ASSERT_TRUE(BecomesResident(first));
    auto second = Start(L"-s");
    EXPECT_EQ(ExitCode(second), 0u);
    EXPECT_TRUE(StaysHidden(first));
}

TEST_F(AppProcessTest, SilentStartShowsTheSplashForFourAndAHalfSecondsThenRunsHidden) {
    ASSERT_TRUE(test::WriteSolidBitmap(folder.File(L"fenwaldstone.bmp"), 300, 200));
    test::TempFolder current; // the bitmap is the executable's, wherever the start is from
    auto p = Start(L"-s", current.Path());
    HWND splash = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (splash = FindWindowOf(p.dwProcessId, L"#32770", true)) != nullptr; },
        kStartTimeout));
    const DWORD shown_at = ::GetTickCount();
    RECT r = {};
    ::GetWindowRect(splash, &r);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 200);
    RECT area = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_EQ(r.left, (area.left + area.right) / 2 - 150);
    EXPECT_EQ(r.top, (area.top + area.bottom) / 2 - 100);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    // Clipped to the inscribed ellipse: the centre is inside, the corners are not.
    EXPECT_EQ(::GetWindowRgn(splash, region), COMPLEXREGION);
    EXPECT_TRUE(::PtInRegion(region, 150, 100));
    EXPECT_FALSE(::PtInRegion(region, 3, 3));
    EXPECT_FALSE(::PtInRegion(region, 296, 196));
    ::DeleteObject(region);
    EXPECT_EQ(MessageWindowOf(p.dwProcessId), nullptr);

    ASSERT_TRUE(BecomesResident(p));
    const DWORD waited = ::GetTickCount() - shown_at;
    EXPECT_GE(waited, 4000u);
    EXPECT_LT(waited, 8000u);
    EXPECT_FALSE(::IsWindow(splash));
    EXPECT_TRUE(StaysHidden(p));
    EXPECT_FALSE(RunValue().exists); // -s leaves autostart as it is
}

// A bitmap of that name in the current folder is not the program's.
TEST_F(AppProcessTest, SilentStartWithoutTheBitmapStartsAtOnce) {
    test::TempFolder current;
    ASSERT_TRUE(test::WriteSolidBitmap(current.File(L"fenwaldstone.bmp"), 300, 200));
    const DWORD start = ::GetTickCount();
    auto p = Start(L"-S", current.Path());
    ASSERT_TRUE(BecomesResident(p));
    EXPECT_LT(::GetTickCount() - start, 4000u);
    EXPECT_TRUE(StaysHidden(p));
}

TEST_F(AppProcessTest, DisableEndsTheRunningInstanceAndRemovesAutostart) {
    auto first = Start(L"-e");
    ASSERT_TRUE(BecomesResident(first));
    ASSERT_TRUE(RunValue().exists);
    auto second = Start(L"-d");
    EXPECT_EQ(ExitCode(second), 0u);
    // An installer replaces the executable as soon as -d returns: the instance is gone.
    EXPECT_EQ(::WaitForSingleObject(first.hProcess, 0), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCode(first), 0u);
    EXPECT_FALSE(RunValue().exists);
    EXPECT_EQ(FrameOf(second.dwProcessId), nullptr);
}

TEST_F(AppProcessTest, DisableAloneRemovesTheRunValueAndExits) {
    RegKey run;
    ASSERT_EQ(run.Open(HKEY_CURRENT_USER, kAutostartKey, KEY_SET_VALUE), ERROR_SUCCESS);
    run.SetTextWithNul(kAutostartValue, L"\"C:\\old\\glimro.exe\" -s");
    auto p = Start(L"-D");
    EXPECT_EQ(ExitCode(p), 0u);
    EXPECT_FALSE(RunValue().exists);
    EXPECT_EQ(::FindWindowW(kMessageWindowClass, nullptr), nullptr);
}

TEST_F(AppProcessTest, EnableReplacesARunningInstanceAndStartsHiddenWithAutostart) {
    auto first = Start(L"");
    ASSERT_TRUE(BecomesResident(first));
    EXPECT_TRUE(WaitUntil([&] { return FrameShown(first); }, 5000));
    auto second = Start(L"-E");
    EXPECT_EQ(ExitCode(first), 0u);
    ASSERT_TRUE(BecomesResident(second));
    EXPECT_TRUE(StaysHidden(second));
    EXPECT_EQ(std::wstring(RunValue().Text().c_str()), L"\"" + exe + L"\" -s");
}

TEST_F(AppProcessTest, InstallReplacesARunningInstanceAndOpensTheManager) {
    auto first = Start(L"-e");
    ASSERT_TRUE(BecomesResident(first));
    auto second = Start(L"-i");
    EXPECT_EQ(ExitCode(first), 0u);
    ASSERT_TRUE(BecomesResident(second));
    EXPECT_TRUE(WaitUntil([&] { return FrameShown(second); }, 5000));
    EXPECT_TRUE(RunValue().exists);
    // The new-album request: the sheet opens over the shown Album Manager.
    HWND sheet = nullptr;
    EXPECT_TRUE(WaitUntil(
        [&] {
            sheet = ::FindWindowW(L"#32770", L"New Glimro Album Properties");
            DWORD owner = 0;
            ::GetWindowThreadProcessId(sheet, &owner);
            return sheet && owner == second.dwProcessId && ::IsWindowVisible(sheet);
        },
        5000));
    EXPECT_EQ(::GetWindow(sheet, GW_OWNER), FrameOf(second.dwProcessId));
    // A quit while the sheet is open still ends the instance.
    ::PostMessageW(MessageWindowOf(second.dwProcessId), WM_COMMAND, 3113, 0);
    EXPECT_EQ(ExitCode(second, 5000), 0u);
}

TEST_F(AppProcessTest, ShowCommandNeedsTheWholeWParamAndQuitEndsAShownInstance) {
    UniqueHandle event(::CreateEventW(nullptr, FALSE, FALSE, kMessageWindowEvent));
    auto p = Start(L"-e");
    // A process that opened the event first sees it signalled once the window exists.
    EXPECT_EQ(::WaitForSingleObject(event.Get(), kStartTimeout), WAIT_OBJECT_0);
    ASSERT_TRUE(BecomesResident(p));
    HWND messages = MessageWindowOf(p.dwProcessId);
    EXPECT_EQ(::FindWindowW(kMessageWindowClass, nullptr), messages);

    ::PostMessageW(messages, WM_COMMAND, MAKEWPARAM(2112, 1), 0);
    EXPECT_TRUE(StaysHidden(p));
    ::PostMessageW(messages, WM_COMMAND, 2112, 0);
    EXPECT_TRUE(WaitUntil([&] { return FrameShown(p); }, 5000));

    const DWORD start = ::GetTickCount();
    ::PostMessageW(messages, WM_COMMAND, 3113, 0);
    EXPECT_EQ(ExitCode(p, 5000), 0u);
    EXPECT_LT(::GetTickCount() - start, 5000u);
    EXPECT_EQ(::FindWindowW(kMessageWindowClass, nullptr), nullptr);
}

// The Run value as written, started as Windows starts it, from a folder with a blank in its
// name: it must reach the -S handling (here: an instance runs, so it exits showing nothing).
TEST_F(AppProcessTest, QuotedRunValueFromAPathWithBlanksTakesTheSilentHandling) {
    const std::wstring program_files = folder.File(L"Program Files");
    ASSERT_TRUE(::CreateDirectoryW(program_files.c_str(), nullptr));
    exe = program_files + L"\\glimro.exe";
    ASSERT_TRUE(::CopyFileW(folder.File(L"glimro.exe").c_str(), exe.c_str(), FALSE));

    auto first = Start(L"-e");
    ASSERT_TRUE(BecomesResident(first));
    const std::wstring command = RunValue().Text().c_str();
    ASSERT_EQ(command, L"\"" + exe + L"\" -s");
    auto autostart = StartCommand(command);
    EXPECT_EQ(ExitCode(autostart), 0u);
    EXPECT_TRUE(StaysHidden(first));
}

TEST_F(AppProcessTest, RestoreClearsActiveFlagsThenImportsTheSavedSetThroughRegedit) {
    {
        CAlbum old;
        old.Name = L"Old";
        old.Enabled = true;
        ASSERT_EQ(test::StoreAlbums({old}), 1);
    }
    const std::wstring set_folder = folder.File(L"albums\\Holiday");
    ASSERT_EQ(::SHCreateDirectoryExW(nullptr, set_folder.c_str(), nullptr), ERROR_SUCCESS);
    test::WriteFileBytes(
        set_folder + L"\\Holiday.reg",
        "REGEDIT4\r\n\r\n"
        "[HKEY_CURRENT_USER\\SOFTWARE\\Fenwaldstone\\Glimro\\AlbumList\\Holiday]\r\n"
        "\"Description\"=\"Restored\"\r\n"
        "\"Frequency\"=dword:00000003\r\n"
        "\"Enabled\"=dword:00000001\r\n\r\n");

    const DWORD start = ::GetTickCount();
    auto p = Start(L"-CHoliday");
    ASSERT_TRUE(BecomesResident(p));
    EXPECT_GE(::GetTickCount() - start, 1000u); // the pause before waiting for regedit
    const std::wstring albums = std::wstring(kAlbumListKey) + L"\\";
    EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, albums + L"Old", L"Enabled").Dword(), 0u);
    EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, albums + L"Holiday", L"Frequency").Dword(),
              3u);
    EXPECT_TRUE(RunValue().exists);
    EXPECT_TRUE(StaysHidden(p));
    // The new instance lists both albums once its Album Manager shows, as a second start asks.
    ::PostMessageW(FindWindowOf(p.dwProcessId, kMessageWindowClass), WM_COMMAND, kShowCommand, 0);
    HWND list = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            return (list = ::FindWindowExW(FrameOf(p.dwProcessId), nullptr, WC_LISTVIEWW,
                                           nullptr)) != nullptr;
        },
        kStartTimeout));
    EXPECT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 2);
}

} // namespace
} // namespace glimro

namespace glimro {
namespace {

// A quit posted while the resident instance downloads from a server that would take a
// minute: the download is ended at once, the pass saves, the instance goes, and every album
// is still stored. Other processes cannot close its message window, and what an earlier
// run's download left behind is cleared at start, nothing else.
TEST_F(AppProcessTest, QuitDuringADownloadEndsItAtOnceAndKeepsEveryAlbum) {
    test::HttpServer server;
    test::HttpResponse slow{200, std::string(12 * 16384, 'B')};
    slow.chunk_size = 16384;
    slow.chunk_delay_ms = 5000;
    server.Serve("/slow.bmp", slow);
    CAlbum active;
    active.Name = L"Downloads";
    active.Enabled = true;
    active.FileList = {server.Url("/slow.bmp")};
    CAlbum alps, beaches;
    alps.Name = L"Alps";
    beaches.Name = L"Beaches";
    ASSERT_EQ(test::StoreAlbums({active, alps, beaches}), 3);
    for (const wchar_t* name : {L"pod.jpg.part", L"pod1A2B.tmp", L"pod-notes.tmp"})
        test::WriteFileBytes(folder.File(name), "left");

    auto p = Start(L"-e"); // a day album with no markers is due at the first check
    ASSERT_TRUE(BecomesResident(p));
    EXPECT_FALSE(test::FileExists(folder.File(L"pod1A2B.tmp")));
    EXPECT_TRUE(test::FileExists(folder.File(L"pod-notes.tmp"))); // not a name of Glimro's
    ASSERT_TRUE(WaitUntil([&] { return server.Requests("/slow.bmp") > 0; }, kStartTimeout));
    HWND messages = MessageWindowOf(p.dwProcessId);
    ::PostMessageW(messages, WM_CLOSE, 0, 0);
    ::PostMessageW(messages, WM_SYSCOMMAND, SC_CLOSE, 0);
    ::Sleep(300);
    ASSERT_TRUE(::IsWindow(messages));
    const DWORD asked = ::GetTickCount();
    ::PostMessageW(messages, WM_COMMAND, 3113, 0);
    EXPECT_EQ(ExitCode(p, 30000), 0u);
    EXPECT_LT(::GetTickCount() - asked, 5000u);

    AlbumSet stored;
    ASSERT_EQ(stored.LoadAlbumList(), 3u);
    const std::string log = test::ReadFileBytes(folder.File(L"glimrolog.txt"));
    EXPECT_NE(log.find("Could not get " + test::Narrow(server.Url("/slow.bmp"))),
              std::string::npos)
        << log;
}

// -C takes the plain name of a set in albums\ only: a path, or a set that is not there,
// ends the start before any album or the running instance is touched.
TEST_F(AppProcessTest, RestoreRefusesAPathOrAMissingSetAndTouchesNothing) {
    CAlbum old;
    old.Name = L"Old";
    old.Enabled = true;
    ASSERT_EQ(test::StoreAlbums({old}), 1);
    test::WriteFileBytes(folder.File(L"x.reg"), "REGEDIT4\r\n");
    for (const wchar_t* name : {L"..\\x", L"Missing"}) {
        auto p = Start(std::wstring(L"-C") + name);
        EXPECT_EQ(ExitCode(p), 2u) << test::Narrow(name);
    }
    EXPECT_EQ(
        test::ReadStoredValue(HKEY_CURRENT_USER, std::wstring(kAlbumListKey) + L"\\Old", L"Enabled")
            .Dword(),
        1u);
    EXPECT_FALSE(RunValue().exists);
}

// A 58-byte file whose header claims a giant picture is skipped, the next picture shown, and
// the instance runs on, and starts again as cleanly.
TEST_F(AppProcessTest, AFileClaimingAGiantPictureIsSkippedAndTheInstanceRunsOn) {
    test::WriteFileBytes(folder.File(L"holiday.jpg"), test::GiantBitmapClaim());
    ASSERT_TRUE(test::WriteSolidBitmap(folder.File(L"small.bmp"), 16, 16));
    CAlbum album;
    album.Name = L"Holiday";
    album.Enabled = true;
    album.FileList = {folder.File(L"holiday.jpg"), folder.File(L"small.bmp")};
    ASSERT_EQ(test::StoreAlbums({album}), 1);
    for (int start = 0; start < 2; ++start) {
        auto p = Start(L"-e");
        ASSERT_TRUE(BecomesResident(p));
        EXPECT_TRUE(WaitUntil(
            [&] {
                AlbumSet stored;
                stored.LoadAlbumList();
                return stored.FindActiveAlbum() &&
                       stored.FindActiveAlbum()->LastFile == folder.File(L"small.bmp");
            },
            kStartTimeout));
        ::Sleep(500);
        EXPECT_EQ(::WaitForSingleObject(p.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    }
}

// Two plain starts at the same moment, and a start during another's splash: one resident
// instance, whoever wins; the other shows it and exits.
TEST_F(AppProcessTest, StartsAtTheSameMomentLeaveOneResidentInstance) {
    for (const wchar_t* arguments : {L"", L"-s"}) {
        SCOPED_TRACE(test::Narrow(arguments));
        auto a = Start(arguments);
        auto b = Start(arguments);
        const auto resident = [&] {
            return (MessageWindowOf(a.dwProcessId) ? 1 : 0) +
                   (MessageWindowOf(b.dwProcessId) ? 1 : 0);
        };
        ASSERT_TRUE(WaitUntil([&] { return resident() == 1; }, kStartTimeout));
        const bool a_won = MessageWindowOf(a.dwProcessId) != nullptr;
        const PROCESS_INFORMATION& loser = a_won ? b : a;
        EXPECT_EQ(ExitCode(loser), 0u);
        ::Sleep(1000);
        EXPECT_EQ(resident(), 1);
        ::PostMessageW(MessageWindowOf((a_won ? a : b).dwProcessId), WM_COMMAND, 3113, 0);
        EXPECT_EQ(ExitCode(a_won ? a : b), 0u);
    }
}

// An autostart-like first instance, still showing its splash: no message window yet.
class DuringTheSplashTest : public AppProcessTest {
protected:
    test::TempFolder current;
    PROCESS_INFORMATION first = {};

    void SetUp() override {
        AppProcessTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(test::WriteSolidBitmap(folder.File(L"fenwaldstone.bmp"), 120, 80));
        first = Start(L"-s", current.Path());
        ASSERT_TRUE(WaitUntil([&] { return FindWindowOf(first.dwProcessId, L"#32770", true); },
                              kStartTimeout));
    }
};

TEST_F(DuringTheSplashTest, AStartShowsTheInstanceOnceItHasAWindow) {
    auto second = Start(L"");
    EXPECT_EQ(ExitCode(second), 0u);
    EXPECT_EQ(FrameOf(second.dwProcessId), nullptr);
    ASSERT_TRUE(BecomesResident(first));
    EXPECT_TRUE(WaitUntil([&] { return FrameShown(first); }, 5000));
}

TEST_F(DuringTheSplashTest, EnableWaitsForTheOldInstanceToEnd) {
    auto second = Start(L"-e");
    EXPECT_EQ(ExitCode(first), 0u);
    ASSERT_TRUE(BecomesResident(second));
    EXPECT_TRUE(RunValue().exists);
    EXPECT_EQ(MessageWindowOf(first.dwProcessId), nullptr);
}

} // namespace
} // namespace glimro
