#include "engine/wallpaper_setter.h"
#include "store/album.h"

#include "platform/clock.h"
#include "platform/desktop.h"
#include "scheduler/interval_markers.h"
#include "store/product_key.h"
#include "support/clock_values.h"
#include "support/fake_desktop.h"
#include "support/private_prefix.h"
#include "support/registry_sandbox.h"
#include "support/temp_folder.h"
#include "support/test_images.h"

#include <gtest/gtest.h>

namespace glimro {
namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

SYSTEMTIME NewYearsEve2005() {
    return test::LocalTimeAt(2005, 12, 31, 23, 59, 30, 6);
}

class WallpaperSetterTest : public ::testing::Test {
protected:
    // The older system call as a stand-in: counts calls and answers as the test says.
    BOOL system_call_result = TRUE;
    DWORD system_call_error = 0;
    int system_calls = 0;
    std::wstring system_call_path;
    UINT system_call_flags = 0;

    test::RegistrySandbox sandbox;
    test::TempFolder folder;
    std::wstring image = folder.File(L"beach.bmp");
    std::string log_path = "";
    Seam<SYSTEMTIME()>::Override clock{LocalTime, [] { return NewYearsEve2005(); }};
    Seam<BOOL(const wchar_t*, UINT)>::Override system_call{SetSystemWallpaper,
                                                           [this](const wchar_t* path, UINT flags) {
                                                               ++system_calls;
                                                               system_call_path = path;
                                                               system_call_flags = flags;
                                                               ::SetLastError(system_call_error);
                                                               return system_call_result;
                                                           }};

    std::string RunSwitch() {
        std::wstring log_file = folder.File(L"glimrolog.txt");
        {
            LogStream log(log_file, LogMode::Afresh);
            SetDesktopWallpaper(image, log);
        }
        return test::ReadFileBytes(log_file);
    }

    void ExpectMarkersOfNewYearsEve2005() {
        const struct {
            const wchar_t* name;
            DWORD value;
        } expected[] = {
            {kLastMinute, 59}, {kLastHour, 23}, {kLastDay, 31}, {kLastWeek, 52}, {kLastMonth, 12}};
        for (const auto& marker : expected) {
            auto stored = test::ReadStoredValue(HKEY_CURRENT_USER, kProductKey, marker.name);
            EXPECT_TRUE(stored.exists) << marker.name;
            EXPECT_EQ(stored.type, static_cast<DWORD>(REG_DWORD)) << marker.name;
            EXPECT_EQ(stored.Dword(), marker.value) << marker.name;
        }
    }

    void ExpectNoMarkers() {
        for (const wchar_t* name : {kLastMinute, kLastHour, kLastDay, kLastWeek, kLastMonth})
            EXPECT_FALSE(test::ReadStoredValue(HKEY_CURRENT_USER, kProductKey, name).exists)
                << name;
    }
};

class WithDesktopObject : public WallpaperSetterTest {
protected:
    test::FakeActiveDesktop desktop;
    Seam<HRESULT(ComPtr<IActiveDesktop>*)>::Override factory = desktop.Install();
};

TEST_F(WithDesktopObject, SwitchCentresTheWallpaperAndTurnsComponentsOn) {
    EXPECT_EQ(RunSwitch(), "Switched!\r\n");

    EXPECT_EQ(desktop.wallpaper, image);
    EXPECT_TRUE(desktop.components_set);
    EXPECT_EQ(desktop.components.dwSize, 12u);
    EXPECT_TRUE(desktop.components.fEnableComponents);
    EXPECT_TRUE(desktop.components.fActiveDesktop);
    EXPECT_TRUE(desktop.wallpaper_options_set);
    EXPECT_EQ(desktop.wallpaper_options_size, 8u);
    EXPECT_EQ(desktop.wallpaper_style, static_cast<DWORD>(WPSTYLE_CENTER));
    EXPECT_EQ(desktop.apply_calls, 1);
    EXPECT_EQ(desktop.apply_flags, static_cast<DWORD>(AD_APPLY_ALL));
    EXPECT_EQ(desktop.references, 1) << "the desktop object was not released";
    EXPECT_EQ(system_calls, 0);
    ExpectNoMarkers(); // the pass records the change, not the setter
}

TEST_F(WithDesktopObject, FailedApplyReportsTheLastErrorWritesNoMarkersAndDoesNotFallBack) {
    desktop.apply_result = E_FAIL;
    desktop.last_error_on_apply = 0x2FFFFFFF; // a code the system has no text for

    std::string expected = "Failed to switch wallpaper!\r\n"
                           "ERROR: (805306367) unknown error!\r\n"
                           "SPECIAL REQUEST: Please report error to customer support.\r\n" +
                           test::Narrow(image) + "\r\n";
    EXPECT_EQ(RunSwitch(), expected);
    EXPECT_EQ(system_calls, 0);
    EXPECT_EQ(desktop.references, 1);
    ExpectNoMarkers();
}

TEST_F(WithDesktopObject, ObjectThatCannotSetWallpapersIsReleasedAndTheOldWayTaken) {
    desktop.set_wallpaper_result = E_NOTIMPL;

    EXPECT_EQ(RunSwitch(), "Switched the old way!\r\n");
    EXPECT_EQ(desktop.apply_calls, 0);
    EXPECT_EQ(desktop.references, 1);
    EXPECT_EQ(system_calls, 1);
    EXPECT_EQ(system_call_path, image);
    ExpectNoMarkers(); // the pass records the change, not the setter
}

class WithoutDesktopObject : public WallpaperSetterTest {
protected:
    Seam<HRESULT(ComPtr<IActiveDesktop>*)>::Override factory{
        CreateActiveDesktop, [](ComPtr<IActiveDesktop>*) { return REGDB_E_CLASSNOTREG; }};

    void CreateDesktopKey() {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_WRITE,
                                    nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ::RegCloseKey(key);
    }

    void ExpectDesktopValue(const wchar_t* name, const wchar_t* text) {
        auto stored = test::ReadStoredValue(HKEY_CURRENT_USER, kDesktopKey, name);
        ASSERT_TRUE(stored.exists) << name;
        EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(stored.data.size(), 4u) << "one character and its terminating NUL";
        EXPECT_EQ(stored.Text(), std::wstring(text) + L'\0');
    }
};

TEST_F(WithoutDesktopObject, OldWaySetsTileAndStyleThenSwitches) {
    CreateDesktopKey();

    EXPECT_EQ(RunSwitch(), "Switched the old way!\r\n");
    EXPECT_EQ(system_calls, 1);
    EXPECT_EQ(system_call_path, image);
    EXPECT_EQ(system_call_flags, static_cast<UINT>(SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE));
    ExpectDesktopValue(L"TileWallpaper", L"0");
    ExpectDesktopValue(L"WallpaperStyle", L"1");
    ExpectNoMarkers(); // the pass records the change, not the setter
}

// Each position as the documented desktop values say it, and as the desktop object's style;
// on Windows 7, which has no Span, Fill.
TEST_F(WithoutDesktopObject, EachPositionWritesItsDocumentedValues) {
    CreateDesktopKey();
    bool windows8 = true;
    Seam<bool()>::Override version(RunsOnWindows8OrLater, [&] { return windows8; });
    const struct {
        int position;
        bool windows8;
        const wchar_t *style, *tile;
    } cases[] = {
        {kCenter, true, L"1", L"0"},  {kTile, true, L"0", L"1"},   {kStretch, true, L"2", L"0"},
        {kFit, true, L"6", L"0"},     {kFill, true, L"10", L"0"},  {kSpan, true, L"22", L"0"},
        {kSpan, false, L"10", L"0"},  {9, true, L"1", L"0"},
    };
    for (const auto& c : cases) {
        windows8 = c.windows8;
        LogStream closed;
        EXPECT_TRUE(SetDesktopWallpaper(image, closed, c.position));
        const auto style = test::ReadStoredValue(HKEY_CURRENT_USER, kDesktopKey, L"WallpaperStyle");
        EXPECT_EQ(style.Text(), std::wstring(c.style) + L'\0') << c.position;
        EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, kDesktopKey, L"TileWallpaper").Text(),
                  std::wstring(c.tile) + L'\0')
            << c.position;
    }
    test::FakeActiveDesktop desktop;
    Seam<HRESULT(ComPtr<IActiveDesktop>*)>::Override object = desktop.Install();
    LogStream closed;
    EXPECT_TRUE(SetDesktopWallpaper(image, closed, kFit));
    EXPECT_EQ(desktop.wallpaper_style, static_cast<DWORD>(WPSTYLE_KEEPASPECT));
}

TEST_F(WithoutDesktopObject, FailedOldWayReportsKeepsTileAndStyleAndWritesNoMarkers) {
    CreateDesktopKey();
    system_call_result = FALSE;
    system_call_error = ERROR_FILE_NOT_FOUND;

    std::string log = RunSwitch();
    EXPECT_EQ(log.rfind("Failed to switch wallpaper!\r\nERROR: (2) ", 0), 0u) << log;
    EXPECT_NE(log.find("\r\n" + test::Narrow(image) + "\r\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("unknown error!"), std::string::npos) << "code 2 has a system text";
    ExpectDesktopValue(L"TileWallpaper", L"0");
    ExpectDesktopValue(L"WallpaperStyle", L"1");
    ExpectNoMarkers();
}

TEST_F(WithoutDesktopObject, MissingDesktopKeyIsNotReportedAndTheSwitchGoesOn) {
    EXPECT_EQ(RunSwitch(), "Switched the old way!\r\n");
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kDesktopKey));
    EXPECT_EQ(system_calls, 1);
    ExpectNoMarkers(); // the pass records the change, not the setter
}

// The change is the pass's to record: once it applied, the markers say when.
TEST_F(WithoutDesktopObject, APassThatAppliedWritesTheMarkersOfItsStart) {
    const test::ScopedExecutableFolder exe{folder.Path()};
    BuildLogPath();
    ASSERT_TRUE(test::WriteSolidBitmap(image, 8, 8));
    CAlbum album;
    album.FileList.push_back(image);
    ASSERT_EQ(album.ApplyNextImage(), kPassApplied);
    EXPECT_EQ(system_calls, 1);
    ExpectMarkersOfNewYearsEve2005();
}

TEST_F(WithoutDesktopObject, ClosedLogStreamStillSwitches) {
    LogStream closed;
    SetDesktopWallpaper(image, closed);
    EXPECT_EQ(system_calls, 1);
    ExpectNoMarkers(); // the pass records the change, not the setter
}

// No stand-ins at all: Wine's own desktop object and system call. The system call writes
// "Wallpaper" into the prefix's real profile, which the registry sandbox does not redirect,
// so it is read (and put back) outside the sandbox.
TEST(WallpaperSetterUnderWine, RealBitmapBecomesTheWallpaper) {
    GLIMRO_REQUIRE_PRIVATE_PREFIX();
    test::RealWallpaperGuard wallpaper;
    test::TempFolder folder;
    const std::wstring image = folder.File(L"real.bmp");
    ASSERT_TRUE(test::WriteSolidBitmap(image, 64, 48));
    std::string log;
    {
        test::RegistrySandbox sandbox;
        const std::wstring log_file = folder.File(L"glimrolog.txt");
        {
            LogStream stream(log_file, LogMode::Afresh);
            SetDesktopWallpaper(image, stream);
        }
        log = test::ReadFileBytes(log_file);
    }
    EXPECT_EQ(log, "Switched the old way!\r\n");
    const auto after = wallpaper.Current();
    ASSERT_TRUE(after.exists);
    EXPECT_EQ(std::wstring(after.Text().c_str()), image);
}

} // namespace
} // namespace glimro
