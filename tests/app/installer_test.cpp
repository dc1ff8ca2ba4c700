// glimro-setup.exe and the uninstaller it writes, run silently as a user would, into the test
// prefix's own local programs folder, and observed from outside: files, the Start-menu
// shortcut, the Uninstall entry, the Run value and the running instance.
#include "app/instance_window.h"
#include "app/glimro_app.h"
#include "platform/com_ptr.h"
#include "platform/handle.h"
#include "platform/module.h"
#include "platform/reg_key.h"
#include "resource.h"
#include "store/product_key.h"
#include "engine/web_cache.h"
#include "support/private_prefix.h"
#include "support/process_windows.h"
#include "support/registry_sandbox.h"
#include "support/temp_folder.h"
#include "ui/main_frame.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>


namespace glimro {
namespace {

constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Glimro";
constexpr DWORD kSetupTimeout = 60000;

std::wstring ShellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))
               ? std::wstring(path)
               : std::wstring();
}

// A text value without its stored terminator; empty when absent.
std::wstring ValueText(HKEY parent, const wchar_t* key, const wchar_t* name) {
    return test::ReadStoredValue(parent, key, name).Text().c_str();
}

// The running instance, found as the other processes of the program find it.
DWORD RunningInstance() {
    HWND window = ::FindWindowW(kMessageWindowClass, nullptr);
    DWORD process = 0;
    if (window)
        ::GetWindowThreadProcessId(window, &process);
    return process;
}

std::wstring ImageOf(DWORD process_id) {
    UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
    wchar_t path[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    if (!process || !::QueryFullProcessImageNameW(process.Get(), 0, path, &length))
        return {};
    return path;
}

std::wstring ShortcutTarget(const std::wstring& link) {
    ComPtr<IShellLinkW> shell_link;
    ComPtr<IPersistFile> file;
    wchar_t target[MAX_PATH] = {};
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(shell_link.Put()))) ||
        FAILED(shell_link->QueryInterface(IID_PPV_ARGS(file.Put()))) ||
        FAILED(file->Load(link.c_str(), STGM_READ)) ||
        FAILED(shell_link->GetPath(target, MAX_PATH, nullptr, 0)))
        return {};
    return target;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return ::lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

class InstallerTest : public ::testing::Test {
protected:
    const std::wstring setup = ExecutableFolder() + L"glimro-setup.exe";
    const std::wstring folder = ShellFolder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Glimro";
    const std::wstring exe = folder + L"\\glimro.exe";
    const std::wstring shortcut = ShellFolder(CSIDL_PROGRAMS) + L"\\Glimro.lnk";

    void SetUp() override {
        GLIMRO_REQUIRE_PRIVATE_PREFIX();
        ASSERT_TRUE(test::FileExists(setup)) << "build the installer first (make installer)";
        ASSERT_EQ(RunningInstance(), 0u) << "an instance is still running";
        RemoveEverything();
    }

    void TearDown() override {
        if (!test::InPrivateTestPrefix())
            return;
        EndRunningInstance();
        RemoveEverything();
    }

    static void EndRunningInstance() {
        const DWORD id = RunningInstance();
        if (!id)
            return;
        UniqueHandle process(::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id));
        ::PostMessageW(::FindWindowW(kMessageWindowClass, nullptr), WM_COMMAND, 3113, 0);
        if (process && ::WaitForSingleObject(process.Get(), 10000) == WAIT_TIMEOUT)
            ::TerminateProcess(process.Get(), 1);
    }

    void RemoveEverything() {
        std::wstring from = folder + L'\0';
        SHFILEOPSTRUCTW remove = {};
        remove.wFunc = FO_DELETE;
        remove.pFrom = from.c_str();
        remove.fFlags = FOF_NO_UI;
        ::SHFileOperationW(&remove);
        ::DeleteFileW(shortcut.c_str());
        RegKey::DeleteTree(HKEY_CURRENT_USER, kUninstallKey);
        RegKey::DeleteTree(HKEY_CURRENT_USER, kProductKey);
        RegKey run;
        if (run.Open(HKEY_CURRENT_USER, kAutostartKey, KEY_SET_VALUE) == ERROR_SUCCESS)
            run.DeleteValue(kAutostartValue);
    }

    // Runs the command line to its end; its exit code, or STILL_ACTIVE if it hangs.
    static DWORD RunToEnd(std::wstring command) {
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION p = {};
        if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &p)) {
            ADD_FAILURE() << "could not start " << test::Narrow(command);
            return STILL_ACTIVE;
        }
        UniqueHandle process(p.hProcess), thread(p.hThread);
        DWORD code = STILL_ACTIVE;
        if (::WaitForSingleObject(p.hProcess, kSetupTimeout) == WAIT_OBJECT_0)
            ::GetExitCodeProcess(p.hProcess, &code);
        return code;
    }

    DWORD InstallSilently() { return RunToEnd(L"\"" + setup + L"\" /S"); }

    // The uninstaller copies itself away and runs from there, so its own process ends at once:
    // the uninstall is over when the folder has gone, or, when the user's files keep it, when
    // the product key has.
    bool UninstallSilently(const std::wstring& options = L"", bool folder_stays = false) {
        if (RunToEnd(L"\"" + folder + L"\\uninstall.exe\" /S" + options) != 0)
            return false;
        return test::WaitUntil(
            [&] {
                return folder_stays ? !test::KeyExists(HKEY_CURRENT_USER, kProductKey)
                                    : ::GetFileAttributesW(folder.c_str()) ==
                                          INVALID_FILE_ATTRIBUTES;
            },
            kSetupTimeout);
    }

    // The instance that the installer started: from the installed copy, resident and hidden.
    DWORD AwaitInstalledInstance(DWORD other_than = 0) {
        DWORD id = 0;
        test::WaitUntil(
            [&] {
                id = RunningInstance();
                return id != 0 && id != other_than &&
                       test::FindWindowOf(id, kMainFrameClass) != nullptr;
            },
            15000);
        return id != other_than ? id : 0;
    }

    static void StoreAnAlbum() {
        RegKey album;
        ASSERT_EQ(album.Create(HKEY_CURRENT_USER,
                               (std::wstring(kProductKey) + L"\\AlbumList\\Holiday").c_str(),
                               KEY_WRITE),
                  ERROR_SUCCESS);
        album.SetTextWithNul(L"Description", L"kept");
    }
};

TEST_F(InstallerTest, SilentInstallOverARunningInstanceAndSilentUninstallKeepingTheAlbums) {
    ASSERT_EQ(InstallSilently(), 0u);

    EXPECT_TRUE(test::FileExists(exe));
    EXPECT_TRUE(test::FileExists(folder + L"\\uninstall.exe"));
    EXPECT_TRUE(SamePath(ShortcutTarget(shortcut), exe)) << test::Narrow(shortcut);

    EXPECT_EQ(ValueText(HKEY_CURRENT_USER, kUninstallKey, L"DisplayName"), L"Glimro");
    EXPECT_EQ(ValueText(HKEY_CURRENT_USER, kUninstallKey, L"DisplayVersion"),
              std::wstring(L"" GLIMRO_VERSION_TEXT));
    EXPECT_EQ(ValueText(HKEY_CURRENT_USER, kUninstallKey, L"Publisher"), L"Fenwaldstone");
    EXPECT_TRUE(SamePath(ValueText(HKEY_CURRENT_USER, kUninstallKey, L"DisplayIcon"),
                         exe + L",0"));
    EXPECT_TRUE(SamePath(ValueText(HKEY_CURRENT_USER, kUninstallKey, L"UninstallString"),
                         L"\"" + folder + L"\\uninstall.exe\""));
    EXPECT_GE(test::ReadStoredValue(HKEY_CURRENT_USER, kUninstallKey, L"EstimatedSize").Dword(),
              100u);

    // The installer does not wait for the program it starts.
    const DWORD first = AwaitInstalledInstance();
    ASSERT_NE(first, 0u);
    EXPECT_TRUE(SamePath(ValueText(HKEY_CURRENT_USER, kAutostartKey, kAutostartValue),
                         L"\"" + exe + L"\" -s"));
    EXPECT_TRUE(SamePath(ImageOf(first), exe));
    HWND frame = test::FindWindowOf(first, kMainFrameClass);
    EXPECT_FALSE(::IsWindowVisible(frame)) << "a silent install leaves Glimro hidden";

    // Again, over the running instance: it is ended, replaced and started again.
    UniqueHandle old_instance(::OpenProcess(SYNCHRONIZE, FALSE, first));
    ASSERT_EQ(InstallSilently(), 0u);
    EXPECT_EQ(::WaitForSingleObject(old_instance.Get(), 0), WAIT_OBJECT_0);
    const DWORD second = AwaitInstalledInstance(first);
    ASSERT_NE(second, 0u);
    EXPECT_TRUE(SamePath(ImageOf(second), exe));

    // An upgrade that cannot replace the program (something holds it) fails, and leaves the
    // copy the user had running again, with its autostart.
    {
        UniqueHandle held(::CreateFileW(exe.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_NE(InstallSilently(), 0u);
        EXPECT_NE(AwaitInstalledInstance(second), 0u);
        EXPECT_TRUE(SamePath(ValueText(HKEY_CURRENT_USER, kAutostartKey, kAutostartValue),
                             L"\"" + exe + L"\" -s"));
    }

    StoreAnAlbum();
    ASSERT_TRUE(UninstallSilently());
    EXPECT_EQ(RunningInstance(), 0u);
    EXPECT_FALSE(test::FileExists(shortcut));
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kUninstallKey));
    EXPECT_TRUE(ValueText(HKEY_CURRENT_USER, kAutostartKey, kAutostartValue).empty());
    EXPECT_EQ(ValueText(HKEY_CURRENT_USER,
                        (std::wstring(kProductKey) + L"\\AlbumList\\Holiday").c_str(),
                        L"Description"),
              L"kept");
}

TEST_F(InstallerTest, UninstallRemovesTheProgramsFilesAndOnRequestTheAlbums) {
    ASSERT_EQ(InstallSilently(), 0u);
    ASSERT_NE(AwaitInstalledInstance(), 0u);
    StoreAnAlbum();
    // What the program leaves beside itself (the wallpaper copy, the log) and a saved album
    // set of the user's.
    test::WriteFileBytes(folder + L"\\pod.jpg", "jpeg");
    test::WriteFileBytes(folder + L"\\glimrolog.txt", "log");
    ASSERT_TRUE(::CreateDirectoryW((folder + L"\\albums").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((folder + L"\\albums\\Set").c_str(), nullptr));
    test::WriteFileBytes(folder + L"\\albums\\Set\\Set.reg", "REGEDIT4");
    // The download cache, in the user's local application data.
    const std::wstring cache = CacheFolder();
    ASSERT_FALSE(cache.empty());
    test::WriteFileBytes(cache + L"0123456789abcdef.pic", "picture");

    // Removing the albums means the registry: the saved sets are the user's files.
    ASSERT_TRUE(UninstallSilently(L" /REMOVEALBUMS", true));
    EXPECT_EQ(RunningInstance(), 0u);
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kUninstallKey));
    for (const wchar_t* gone : {L"glimro.exe", L"uninstall.exe", L"pod.jpg", L"glimrolog.txt"})
        EXPECT_FALSE(test::FileExists(folder + L"\\" + gone)) << test::Narrow(gone);
    EXPECT_EQ(test::ReadFileBytes(folder + L"\\albums\\Set\\Set.reg"), "REGEDIT4");
    EXPECT_FALSE(test::FileExists(cache + L"0123456789abcdef.pic"));
    EXPECT_EQ(::GetFileAttributesW(FolderOf(cache.substr(0, cache.size() - 1)).c_str()),
              INVALID_FILE_ATTRIBUTES); // nor the Glimro folder around it
}

} // namespace
} // namespace glimro
