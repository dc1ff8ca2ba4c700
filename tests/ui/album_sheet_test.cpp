// The album properties sheet and its General page, driven as a user would: typing into the
// controls and pressing OK, Apply and Cancel while the sheet runs modally.
#include "log/activity_log.h"
#include "platform/reg_key.h"
#include "platform/text.h"
#include "platform/window.h"
#include "resource.h"
#include "store/product_key.h"
#include "support/entries.h"
#include "support/dialog_driver.h"
#include "ui/album_manager_harness.h"
#include "ui/general_page.h"
#include "ui/album_sheet.h"

#include "core/picture_fit.h"

#include <gtest/gtest.h>

namespace glimro {
namespace {

using test::AlbumManagerHarness;
using test::DialogDriver;
using test::OnWindow;

const std::wstring kAlbumKeys = std::wstring(kAlbumListKey) + L"\\";
constexpr wchar_t kEditCaption[] = L"Glimro Album Properties";
constexpr wchar_t kNewCaption[] = L"New Glimro Album Properties";
constexpr wchar_t kMessageCaption[] = L"Glimro - Album Manager";

HWND Page(HWND sheet) {
    return AlbumManagerHarness::CurrentPage(sheet);
}
// As typing does: the whole text replaced by the user's (a multi-line edit reports no change
// for a text set from outside).
void Type(HWND sheet, int control, const wchar_t* text) {
    HWND edit = ::GetDlgItem(Page(sheet), control);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    ::SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
}
void Press(HWND sheet, int button) {
    ::SendMessageW(sheet, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}
bool CancelEnabled(HWND sheet) {
    return ::IsWindowEnabled(::GetDlgItem(sheet, IDCANCEL)) != FALSE;
}

class AlbumSheetTest : public ::testing::Test {
protected:
    AlbumManagerHarness h;
    DialogDriver driver{20000};

    void SetUp() override {
        BuildLogPath();
        CAlbum alps = h.Album(L"Alps", kEveryDay, true);
        alps.Description = L"Snow";
        h.StoreAlbums({alps, h.Album(L"Beaches", kEveryWeek)});
        ASSERT_TRUE(h.Start());
        driver.Ignore(kEditCaption);
        driver.Ignore(kNewCaption);
    }
    void EditRow(const wchar_t* first_column) {
        h.Select(h.RowOf(first_column));
        ::SendMessageW(h.List(), WM_COMMAND, ID_ALBUM_PROPERTIES, 0);
    }
};

TEST_F(AlbumSheetTest, PropertiesShowsTheAlbumAndOkSavesARenameUnderTheNewKey) {
    OnWindow sheet(kEditCaption, [&](HWND window) {
        HWND page = Page(window);
        EXPECT_EQ(::GetWindowLongW(window, GWL_STYLE) & WS_SYSMENU, 0);
        EXPECT_NE(::SendMessageW(window, WM_GETICON, ICON_SMALL, 0), 0);
        EXPECT_NE(::SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0);
        wchar_t text[600] = {};
        ::GetDlgItemTextW(page, IDC_ALBUM_NAME, text, 600);
        EXPECT_STREQ(text, L"Alps");
        ::GetDlgItemTextW(page, IDC_ALBUM_DESCRIPTION, text, 600);
        EXPECT_STREQ(text, L"Snow");
        HWND frequency = ::GetDlgItem(page, IDC_ALBUM_FREQUENCY);
        EXPECT_EQ(::SendMessageW(frequency, CB_GETCOUNT, 0, 0), 8);
        EXPECT_EQ(::SendMessageW(frequency, CB_GETCURSEL, 0, 0), kEveryDay);
        EXPECT_EQ(::SendDlgItemMessageW(page, IDC_ALBUM_NAME, EM_GETLIMITTEXT, 0, 0), 128);
        EXPECT_EQ(::SendDlgItemMessageW(page, IDC_ALBUM_DESCRIPTION, EM_GETLIMITTEXT, 0, 0), 512);

        Type(window, IDC_ALBUM_NAME, L"Mountains");
        Type(window, IDC_ALBUM_DESCRIPTION, L"Peaks");
        test::ChooseInCombo(page, IDC_ALBUM_FREQUENCY, kSyncToMonth);
        // Position: the seven, Center for an album that never had one; keeping the subject
        // chosen. The rules of what fits: any picture, any shape, until chosen.
        HWND position = ::GetDlgItem(page, IDC_ALBUM_POSITION);
        EXPECT_EQ(::SendMessageW(position, CB_GETCOUNT, 0, 0), 7);
        EXPECT_EQ(WindowText(position), L"Center");
        test::ChooseInCombo(page, IDC_ALBUM_POSITION, 1);
        EXPECT_EQ(WindowText(::GetDlgItem(page, IDC_ALBUM_SMALLEST)), L"No: pictures of any size");
        EXPECT_EQ(WindowText(::GetDlgItem(page, IDC_ALBUM_SHAPE)), L"Any shape");
        test::ChooseInCombo(page, IDC_ALBUM_SMALLEST, 2);
        test::ChooseInCombo(page, IDC_ALBUM_SHAPE, kMatchMonitor);
        HWND monitors = ::GetDlgItem(page, IDC_ALBUM_MONITORS);
        EXPECT_EQ(WindowText(monitors), L"Same picture on every monitor");
        test::ChooseInCombo(page, IDC_ALBUM_MONITORS, kPictureEach);
        EXPECT_EQ(WindowText(::GetDlgItem(page, IDC_ALBUM_CAPTION)), L"As in Options");
        test::ChooseInCombo(page, IDC_ALBUM_CAPTION, kCaptionOff);
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    EditRow(L"Alps (on the day)");
    ASSERT_TRUE(sheet.Ran());
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kAlbumKeys + L"Alps"));
    AlbumSet stored;
    stored.LoadAlbumList();
    const CAlbum* mountains = stored.DisplayOrder().back();
    EXPECT_EQ(mountains->Name, L"Mountains");
    EXPECT_EQ(mountains->Description, L"Peaks");
    EXPECT_EQ(mountains->Frequency, kSyncToMonth);
    EXPECT_EQ(mountains->Position, kFillSubject);
    EXPECT_EQ(mountains->SmallestShare, 50);
    EXPECT_EQ(mountains->Shape, kMatchMonitor);
    EXPECT_EQ(mountains->Monitors, kPictureEach);
    EXPECT_EQ(mountains->Caption, kCaptionOff);
    EXPECT_TRUE(mountains->Enabled);
    EXPECT_EQ(h.FirstColumn(),
              (std::vector<std::wstring>{L"Beaches (on the week)", L"Mountains (calendar)"}));
}

// As the picker tells its page of a time the user set.
void PickTime(HWND page, int hour, int minute) {
    HWND picker = ::GetDlgItem(page, IDC_ALBUM_AT);
    SYSTEMTIME time = {2001, 1, 1, 1, static_cast<WORD>(hour), static_cast<WORD>(minute), 0, 0};
    ::SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    NMDATETIMECHANGE change = {};
    change.nmhdr = {picker, IDC_ALBUM_AT, DTN_DATETIMECHANGE};
    change.st = time;
    ::SendMessageW(page, WM_NOTIFY, IDC_ALBUM_AT, reinterpret_cast<LPARAM>(&change));
}
SYSTEMTIME PickedTime(HWND page) {
    SYSTEMTIME time = {};
    ::SendDlgItemMessageW(page, IDC_ALBUM_AT, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    return time;
}

// Every N, the day and the time reach the album and its key, and show again when it is
// opened next; a frequency without a unit disables them and keeps what was stored.
TEST_F(AlbumSheetTest, TheRhythmsControlsReachTheAlbumAndShowItAgain) {
    OnWindow first(kEditCaption, [&](HWND window) {
        HWND page = Page(window);
        // A weekly album as it always was: every 1 week, on Monday, at midnight.
        EXPECT_EQ(WindowText(::GetDlgItem(page, IDC_ALBUM_EVERY)), L"1");
        EXPECT_EQ(WindowText(::GetDlgItem(page, IDC_ALBUM_EVERY_UNIT)), L"week");
        EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(page, IDC_ALBUM_DAY)));
        EXPECT_EQ(::SendDlgItemMessageW(page, IDC_ALBUM_DAY, CB_GETCOUNT, 0, 0), 7);
        EXPECT_EQ(::SendDlgItemMessageW(page, IDC_ALBUM_DAY, CB_GETCURSEL, 0, 0), 0);
        EXPECT_EQ(PickedTime(page).wHour * 60 + PickedTime(page).wMinute, 0);
        Type(window, IDC_ALBUM_EVERY, L"2");
        EXPECT_EQ(WindowText(::GetDlgItem(page, IDC_ALBUM_EVERY_UNIT)), L"weeks");
        test::ChooseInCombo(page, IDC_ALBUM_DAY, 6); // Sunday
        PickTime(page, 20, 15);
        EXPECT_NE(WindowText(::GetDlgItem(page, IDC_ALBUM_RHYTHM_NOTE)).find(L"Next change: "),
                  std::wstring::npos);
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    EditRow(L"Beaches (on the week)");
    ASSERT_TRUE(first.Ran());
    const std::wstring key = kAlbumKeys + L"Beaches";
    EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, key, L"Every").Dword(), 2u);
    EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, key, L"At").Dword(), 6u * 1440 + 20 * 60 + 15);
    EXPECT_NE(h.Text(h.RowOf(L"Beaches (every 2 weeks)"), 2).find(L"Next: "), std::wstring::npos);

    OnWindow second(kEditCaption, [&](HWND window) {
        HWND page = Page(window);
        EXPECT_EQ(WindowText(::GetDlgItem(page, IDC_ALBUM_EVERY)), L"2");
        EXPECT_EQ(::SendDlgItemMessageW(page, IDC_ALBUM_DAY, CB_GETCURSEL, 0, 0), 6);
        EXPECT_EQ(PickedTime(page).wHour, 20);
        EXPECT_EQ(PickedTime(page).wMinute, 15);
        // Monthly: the days of the month, the weekday's place kept as a day.
        test::ChooseInCombo(page, IDC_ALBUM_FREQUENCY, kEveryMonth);
        EXPECT_EQ(::SendDlgItemMessageW(page, IDC_ALBUM_DAY, CB_GETCOUNT, 0, 0), 31);
        test::ChooseInCombo(page, IDC_ALBUM_DAY, 30);
        EXPECT_NE(WindowText(::GetDlgItem(page, IDC_ALBUM_RHYTHM_NOTE)).find(L"last day"),
                  std::wstring::npos);
        // Daily: no day to choose.
        test::ChooseInCombo(page, IDC_ALBUM_FREQUENCY, kEveryDay);
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(page, IDC_ALBUM_DAY)));
        test::ChooseInCombo(page, IDC_ALBUM_FREQUENCY, kSyncToSun);
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(page, IDC_ALBUM_EVERY)));
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(page, IDC_ALBUM_AT)));
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    EditRow(L"Beaches (every 2 weeks)");
    ASSERT_TRUE(second.Ran());
    const CAlbum* beaches = h.albums.DisplayOrder()[1];
    EXPECT_EQ(beaches->Frequency, kSyncToSun);
    EXPECT_EQ(beaches->Every, 2);
    EXPECT_EQ(beaches->At, 6 * 1440 + 20 * 60 + 15);
}

// Each name is typed and applied in turn; the refused ones leave the album as it was.
TEST_F(AlbumSheetTest, NamesAreCheckedWithoutRegardToLetterCase) {
    const struct {
        const wchar_t* name;
        const wchar_t* refusal; // null: accepted
    } cases[] = {
        {L"", L"You must enter an album name."},
        {L"enter album name", L"You must enter an album name."},
        {L"Summer\\2026", L"An album name cannot contain a backslash"},
        {L"Beaches", L"The name is already in use."},
        {L"bEACHES", L"The name is already in use."},
        {L"Enter album name", nullptr},
        {L"ALPS", nullptr}, // its own name in other letters
    };
    for (const auto& c : cases) {
        if (c.refusal)
            driver.Expect(kMessageCaption, c.refusal, IDOK);
    }
    std::vector<std::wstring> names_after;
    const CAlbum* alps = h.albums.DisplayOrder()[0];
    OnWindow sheet(kEditCaption, [&](HWND window) {
        for (const auto& c : cases) {
            Type(window, IDC_ALBUM_NAME, c.name);
            Press(window, ID_APPLY_NOW);
            names_after.push_back(alps->Name);
        }
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    EditRow(L"Alps (on the day)");
    ASSERT_TRUE(sheet.Ran());
    EXPECT_TRUE(driver.AllAnswered());
    EXPECT_EQ(names_after, (std::vector<std::wstring>{L"Alps", L"Alps", L"Alps", L"Alps", L"Alps",
                                                      L"Enter album name", L"ALPS"}));
    EXPECT_TRUE(test::KeyExists(HKEY_CURRENT_USER, kAlbumKeys + L"ALPS"));
}

// However Apply is pressed: the button's command, or PSM_PRESSBUTTON as accessibility tools
// and scripts press it.
TEST_F(AlbumSheetTest, ApplySavesAtOnceAndDisablesCancelUntilTheNextEdit) {
    for (const bool by_message : {false, true}) {
        SCOPED_TRACE(by_message ? "PSM_PRESSBUTTON" : "the button");
        bool before = false, after_apply = true, after_edit = false;
        std::wstring stored_at_apply;
        OnWindow sheet(kEditCaption, [&](HWND window) {
            before = CancelEnabled(window);
            Type(window, IDC_ALBUM_DESCRIPTION, L"Applied");
            if (by_message)
                ::SendMessageW(window, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
            else
                Press(window, ID_APPLY_NOW);
            DialogDriver::Pump(50);
            after_apply = CancelEnabled(window);
            AlbumSet stored;
            stored.LoadAlbumList();
            stored_at_apply = stored.DisplayOrder()[0]->Description;
            Type(window, IDC_ALBUM_DESCRIPTION, L"Cancelled");
            after_edit = CancelEnabled(window);
            ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        });
        h.albums.DisplayOrder()[0]->Description = L"Snow";
        EditRow(L"Alps (on the day)");
        ASSERT_TRUE(sheet.Ran());
        EXPECT_TRUE(before);
        EXPECT_FALSE(after_apply);
        EXPECT_TRUE(after_edit);
        EXPECT_EQ(stored_at_apply, L"Applied");
        EXPECT_EQ(h.Text(h.RowOf(L"Alps (on the day)"), 1), L"Applied"); // Cancel keeps it
        EXPECT_EQ(h.albums.DisplayOrder()[0]->Description, L"Applied");
    }
}

// A save that fails is shown with the system's reason, and OK leaves the sheet open so that
// nothing looks saved that is not; OK again, once writing works, saves and closes.
TEST_F(AlbumSheetTest, AFailedSaveIsShownAndOkKeepsTheSheetOpen) {
    driver.Expect(kMessageCaption, L"Alps: " + SystemErrorText(ERROR_ACCESS_DENIED), IDOK);
    bool open_after_failure = false;
    OnWindow sheet(kEditCaption, [&](HWND window) {
        Type(window, IDC_ALBUM_DESCRIPTION, L"Peaks");
        {
            Seam<LSTATUS()>::Override fail(RegistryWriteGate, [] {
                return static_cast<LSTATUS>(ERROR_ACCESS_DENIED);
            });
            Press(window, IDOK);
        }
        DialogDriver::Pump(50);
        open_after_failure = ::IsWindow(window) && ::IsWindowVisible(window);
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    EditRow(L"Alps (on the day)");
    ASSERT_TRUE(sheet.Ran());
    EXPECT_TRUE(driver.AllAnswered());
    EXPECT_TRUE(open_after_failure);
    EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, kAlbumKeys + L"Alps", L"Description")
                  .Text()
                  .c_str(),
              std::wstring(L"Peaks"));
}

TEST_F(AlbumSheetTest, NewWithNoRowSelectedIsActiveAndAppliedNewCancelledLeavesNothing) {
    // OK with nothing typed: the empty name is refused, as any other bad name.
    driver.Expect(kMessageCaption, L"You must enter an album name.", IDOK);
    OnWindow cancelled(kNewCaption, [&](HWND window) {
        Press(window, IDOK);
        Type(window, IDC_ALBUM_NAME, L"Gone");
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    h.Select(-1);
    ::SendMessageW(h.List(), WM_COMMAND, ID_ALBUM_NEW, 0);
    ASSERT_TRUE(cancelled.Ran());
    EXPECT_TRUE(driver.AllAnswered());
    EXPECT_EQ(h.albums.Size(), 2u);
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kAlbumKeys + L"Gone"));

    OnWindow created(kNewCaption, [&](HWND window) {
        Type(window, IDC_ALBUM_NAME, L"Cities");
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    h.Select(-1);
    ::SendMessageW(h.List(), WM_COMMAND, ID_ALBUM_NEW, 0);
    ASSERT_TRUE(created.Ran());
    AlbumSet stored;
    stored.LoadAlbumList();
    ASSERT_EQ(stored.Size(), 3u);
    const CAlbum* cities = stored.DisplayOrder()[2];
    EXPECT_EQ(cities->Name, L"Cities");
    EXPECT_TRUE(cities->Enabled);
    EXPECT_EQ(cities->LastIndex, 0); // a list still empty leaves the position alone
    // The only active album: Alps is no longer.
    EXPECT_FALSE(stored.DisplayOrder()[0]->Enabled);
    EXPECT_EQ(h.albums.FindActiveAlbum()->Name, L"Cities");
    EXPECT_EQ(h.StateImage(h.RowOf(L"Cities (on the day)")), kStateActive);
    EXPECT_EQ(h.StateImage(h.RowOf(L"Alps (on the day)")), kStateInactive);
}

TEST_F(AlbumSheetTest, NewWithARowSelectedIsCreatedInactive) {
    OnWindow created(kNewCaption, [&](HWND window) {
        Type(window, IDC_ALBUM_NAME, L"Dunes");
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    h.Select(h.RowOf(L"Beaches (on the week)"));
    ::SendMessageW(h.List(), WM_COMMAND, ID_ALBUM_NEW, 0);
    ASSERT_TRUE(created.Ran());
    EXPECT_EQ(h.StateImage(h.RowOf(L"Dunes (on the day)")), kStateInactive);
    EXPECT_EQ(h.albums.FindActiveAlbum()->Name, L"Alps");
}

// A due pass while the sheet is open: the pass runs and saves, the user's edit survives, and
// rows and registry agree afterwards.
TEST_F(AlbumSheetTest, ARealTickWhileTheSheetIsOpenKeepsTheEditAndTheRegistryConsistent) {
    const std::wstring picture = h.folder.File(L"small.bmp");
    ASSERT_TRUE(test::WriteSolidBitmap(picture, 32, 24));
    h.albums.DisplayOrder()[0]->FileList = {picture};
    bool passed_while_open = false;
    OnWindow sheet(kEditCaption, [&](HWND window) {
        Type(window, IDC_ALBUM_NAME, L"Glaciers");
        h.Rotator().ArmPassTimer(10); // the active day album is due: no markers yet
        const DWORD start = ::GetTickCount();
        while (!passed_while_open && ::GetTickCount() - start < 10000) {
            DialogDriver::Pump(50);
            passed_while_open =
                h.Log().find(L"Album list processed successfully.") != std::wstring::npos;
        }
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    EditRow(L"Alps (on the day)");
    ASSERT_TRUE(sheet.Ran());
    EXPECT_TRUE(passed_while_open);
    AlbumSet stored;
    stored.LoadAlbumList();
    std::vector<std::wstring> names;
    for (const CAlbum* album : stored.DisplayOrder())
        names.push_back(album->Name);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Beaches", L"Glaciers"}));
    EXPECT_EQ(stored.DisplayOrder()[1]->LastFile, picture);
    EXPECT_EQ(h.Text(h.RowOf(L"Glaciers (on the day)"), 3), picture);
}

// A page counting how often its apply handling runs, beside the General page.
class CountingPage : public CPropertyPage {
public:
    CountingPage() : CPropertyPage(IDD_GENERAL) {}
    bool OnApply() override {
        ++applied;
        return true;
    }
    int applied = 0;
};

TEST_F(AlbumSheetTest, APageNeverShownIsNeitherCheckedNorCommittedButApplyStillSaves) {
    h.Select(h.RowOf(L"Alps (on the day)"));
    CAlbum& alps = *h.albums.DisplayOrder()[0];
    CAlbumSheet sheet(kEditCaption, h.Rotator(), h.View().Handle());
    CGeneralPropertyPage general(alps, h.albums);
    CountingPage later;
    sheet.AddPage(general);
    sheet.AddPage(later);
    h.albums.DisplayOrder()[1]->LastIndex = 5; // Beaches: not saved yet
    OnWindow run(kEditCaption, [&](HWND window) {
        Press(window, ID_APPLY_NOW); // nothing changed on the General page
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    ASSERT_TRUE(run.Ran());
    EXPECT_EQ(later.applied, 0);
    EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, kAlbumKeys + L"Beaches", L"LastIndex")
                  .Dword(),
              5u); // saved
}

// What the General page says of a frequency that follows the day or the sun.
TEST(FrequencyNote, SaysHowThePicturesShareTheDay) {
    const struct {
        int frequency;
        size_t entries;
        const wchar_t* note;
    } cases[] = {
        {kSyncToDay, 24, L"24 pictures: one an hour"},
        {kSyncToDay, 4, L"4 pictures: one every 6 hours"},
        {kSyncToDay, 25, L"25 pictures: one every 57.6 minutes"},
        {kSyncToDay, 1, L"1 picture: all day"},
        {kSyncToSun, 4, L"dawn to dusk: 2 pictures, night: 2 pictures"},
        {kSyncToSun, 3, L"dawn to dusk: 2 pictures, night: 1 picture"},
        {kSyncToSun, 1, L"1 picture: day and night"},
        {kEveryDay, 4, L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FrequencyNote(c.frequency, c.entries), c.note);
}

} // namespace
} // namespace glimro
