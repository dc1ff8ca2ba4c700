// The Images page, the Add Image dialog and the drop-path list, driven in the real sheet.
#include "core/path_text.h"
#include "engine/entry_judge.h"
#include "log/activity_log.h"
#include "platform/dpi.h"
#include "platform/open_box.h"
#include "resource.h"
#include "store/product_key.h"
#include "support/entries.h"
#include "support/dialog_driver.h"
#include "support/registry_sandbox.h"
#include "support/temp_folder.h"
#include "ui/add_image_dialog.h"
#include "ui/album_manager_harness.h"
#include "ui/general_page.h"
#include "ui/images_page.h"
#include "ui/skipped_dialog.h"
#include "ui/album_sheet.h"

#include <cderr.h>
#include <shlobj.h>

#include "support/http_server.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace glimro {
namespace {

using test::AlbumManagerHarness;
using test::DialogDriver;
using test::OnWindow;

constexpr wchar_t kEditCaption[] = L"Glimro Album Properties";
constexpr wchar_t kMessageCaption[] = L"Glimro - Album Manager";
constexpr int kCurrentState = 1; // the ticked box, added first
constexpr int kOtherState = 2;

// Answers each "Add Image" dialog in turn: types the next text and presses OK; Cancel once
// the texts are used up.
class AddImageAnswers {
public:
    explicit AddImageAnswers(std::vector<std::wstring> texts) : texts_(std::move(texts)) {
        self_ = this;
        timer_ = ::SetTimer(nullptr, 0, 30, &AddImageAnswers::OnTimer);
    }
    ~AddImageAnswers() {
        ::KillTimer(nullptr, timer_);
        self_ = nullptr;
    }
    int Shown() const { return shown_; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        HWND dialog = ::FindWindowW(L"#32770", L"Add Image");
        if (!self_ || !dialog || !::IsWindowVisible(dialog) || dialog == self_->last_)
            return;
        self_->last_ = dialog;
        ++self_->shown_;
        if (self_->next_ < self_->texts_.size()) {
            ::SetDlgItemTextW(dialog, IDC_ADD_IMAGE_PATH, self_->texts_[self_->next_++].c_str());
            ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        } else {
            ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    }
    static inline AddImageAnswers* self_ = nullptr;
    std::vector<std::wstring> texts_;
    size_t next_ = 0;
    int shown_ = 0;
    HWND last_ = nullptr;
    UINT_PTR timer_ = 0;
};

// A data object serving a real CF_HDROP block, as the shell's drag source does.
class DroppedFiles : public IDataObject {
public:
    explicit DroppedFiles(const std::vector<std::wstring>& paths) {
        std::wstring list;
        for (const std::wstring& path : paths)
            list += path + L'\0';
        list += L'\0';
        block_ = ::GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
        auto* drop = static_cast<DROPFILES*>(::GlobalLock(block_));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        std::memcpy(drop + 1, list.data(), list.size() * sizeof(wchar_t));
        ::GlobalUnlock(block_);
    }
    ~DroppedFiles() { ::GlobalFree(block_); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = iid == IID_IUnknown || iid == IID_IDataObject ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK)
            return DV_E_FORMATETC;
        const SIZE_T bytes = ::GlobalSize(block_);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = ::GlobalAlloc(GHND, bytes);
        std::memcpy(::GlobalLock(medium->hGlobal), ::GlobalLock(block_), bytes);
        ::GlobalUnlock(block_);
        ::GlobalUnlock(medium->hGlobal);
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK
                                                                               : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    HGLOBAL block_;
};

class ImagesPageTest : public ::testing::Test {
protected:
    AlbumManagerHarness h;
    DialogDriver driver{20000};
    std::vector<std::wstring> pictures;
    HWND sheet = nullptr, page = nullptr, list = nullptr;

    void SetUp() override {
        BuildLogPath();
        for (const wchar_t* name : {L"A.bmp", L"B.bmp", L"C.bmp"}) {
            pictures.push_back(h.folder.File(name));
            ASSERT_TRUE(test::WriteSolidBitmap(pictures.back(), 40, 30));
        }
        CAlbum alps = h.Album(L"Alps");
        alps.FileList.assign(pictures.begin(), pictures.end());
        alps.LastIndex = 1;
        h.StoreAlbums({alps});
        ASSERT_TRUE(h.Start());
        for (const wchar_t* caption : {kEditCaption, L"Add Image"})
            driver.Ignore(caption);
    }
    CAlbum& Alps() { return *h.albums.DisplayOrder()[0]; }

    CImagesPropertyPage* images = nullptr;

    // Opens Alps's sheet on the Images page and runs the steps there, then presses a button.
    void OnImagesPage(const std::function<void()>& steps, int close_with) {
        CAlbumSheet sheet_object(kEditCaption, h.Rotator(), h.View().Handle());
        CGeneralPropertyPage general(Alps(), h.albums);
        CImagesPropertyPage page_object(Alps(), h.Rotator());
        images = &page_object;
        sheet_object.AddPage(general);
        sheet_object.AddPage(page_object);
        OnWindow run(kEditCaption, [&](HWND window) {
            sheet = window;
            ::SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
            page = h.CurrentPage(sheet);
            list = ::GetDlgItem(page, IDC_IMAGE_LIST);
            steps();
            ::PostMessageW(sheet, WM_COMMAND, MAKEWPARAM(close_with, BN_CLICKED), 0);
        });
        sheet_object.DoModal();
        EXPECT_TRUE(run.Ran());
        images = nullptr;
    }
    // Files dropped from the shell onto the list.
    void Drop(const std::vector<std::wstring>& paths) {
        DroppedFiles files(paths);
        IDropTarget* target = images->List().DropTarget();
        DWORD effect = DROPEFFECT_COPY;
        target->DragEnter(&files, 0, POINTL{5, 5}, &effect);
        effect = DROPEFFECT_COPY;
        target->Drop(&files, 0, POINTL{5, 5}, &effect);
    }
    void Click(int button) {
        ::SendMessageW(page, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(page, button)));
    }
    void Select(int row) {
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        if (row >= 0)
            ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
    }
    std::vector<std::wstring> Rows() {
        std::vector<std::wstring> rows;
        for (int row = 0; row < ListView_GetItemCount(list); ++row) {
            wchar_t text[MAX_PATH] = {};
            ListView_GetItemText(list, row, 0, text, MAX_PATH);
            std::wstring full = text;
            rows.push_back(full.substr(full.find_last_of(L'\\') + 1));
        }
        return rows;
    }
    int SelectedRow() { return ListView_GetNextItem(list, -1, LVNI_SELECTED); }
    int Ticked() {
        for (int row = 0; row < ListView_GetItemCount(list); ++row)
            if ((ListView_GetItemState(list, row, LVIS_STATEIMAGEMASK) >> 12) == kCurrentState)
                return row;
        return -1;
    }
    std::wstring Label() {
        wchar_t text[100] = {};
        ::GetDlgItemTextW(page, IDC_IMAGE_COUNT, text, 100);
        return text;
    }
    bool Enabled(int id) { return ::IsWindowEnabled(::GetDlgItem(page, id)) != FALSE; }
};

TEST_F(ImagesPageTest, OpensWithTheFirstRowSelectedAndTheCurrentEntryTicked) {
    OnImagesPage(
        [&] {
            EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"A.bmp", L"B.bmp", L"C.bmp"}));
            EXPECT_EQ(SelectedRow(), 0);
            EXPECT_EQ(Ticked(), 1);
            EXPECT_EQ(Label(), L"Image List: (3 items)");
            EXPECT_TRUE(Enabled(IDC_IMAGE_UP) && Enabled(IDC_IMAGE_DOWN) &&
                        Enabled(IDC_IMAGE_DELETE));
            EXPECT_EQ(::SendDlgItemMessageW(page, IDC_IMAGE_MODE, CB_GETCOUNT, 0, 0), 2);
        },
        IDCANCEL);
}

// Paths go in in the order given, after the selected row or at the end; what cannot be an
// entry is refused with its reason and the rest still go in.
TEST_F(ImagesPageTest, AddInsertsThePathsInTheirOrderAndRefusesWhatCannotBeAnEntry) {
    const std::wstring too_long = L"C:\\" + std::wstring(260, L'x') + L".jpg";
    driver.Expect(kMessageCaption, L"does not appear to be a supported image file", IDOK);
    driver.Expect(kMessageCaption, L"too long", IDOK);
    driver.Expect(kMessageCaption, L"must be a full path", IDOK);
    const std::vector<std::wstring> abc = {L"A.bmp", L"B.bmp", L"C.bmp"};
    const auto with = [&](std::vector<std::wstring> added, size_t at = 3) {
        std::vector<std::wstring> rows = abc;
        rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
        return rows;
    };
    const struct {
        int selected;
        std::wstring text;
        std::vector<std::wstring> rows;
        int selected_after;
    } cases[] = {
        {-1, L"C:\\p\\x.jpg;C:\\p\\y.JPG;C:\\p\\z.gif", with({L"x.jpg", L"y.JPG", L"z.gif"}), 5},
        {0, L"C:\\p\\x.bmp;C:\\p\\y.gif", with({L"x.bmp", L"y.gif"}, 1), 2},
        {-1, L"C:\\p\\x.jpg;;C:\\p\\y.jpg;", with({L"x.jpg", L"y.jpg"}), 4},
        {-1, L" \"C:\\p\\a;b.jpg\" ; \\\\nas\\photos\\c.png ", with({L"a;b.jpg", L"c.png"}), 4},
        {-1, L"C:\\p\\p.tif;" + too_long + L";C:\\p\\q.bmp;q.jpg", with({L"q.bmp"}), 3},
        {-1, L"C:\\p\\r.jpeg;C:\\p\\s.JPE;C:\\p\\t.Png", with({L"r.jpeg", L"s.JPE", L"t.Png"}), 5},
    };
    for (const auto& c : cases) {
        OnImagesPage(
            [&] {
                Select(c.selected);
                AddImageAnswers answers({c.text});
                Click(IDC_IMAGE_ADD);
                EXPECT_EQ(Rows(), c.rows) << test::Narrow(c.text);
                EXPECT_EQ(SelectedRow(), c.selected_after) << test::Narrow(c.text);
                EXPECT_EQ(Label(), L"Image List: (" + std::to_wstring(c.rows.size()) + L" items)");
            },
            IDCANCEL);
    }
    EXPECT_TRUE(driver.AllAnswered());
}

TEST_F(ImagesPageTest, AnAddOfNothingAcceptableOpensTheDialogAgainUntilCancelled) {
    driver.Expect(kMessageCaption, L"does not appear to be a supported image file", IDOK);
    int shown = 0;
    OnImagesPage(
        [&] {
            AddImageAnswers answers({L"C:\\p\\photo.tiff", L""});
            Click(IDC_IMAGE_ADD);
            shown = answers.Shown();
            EXPECT_EQ(Rows().size(), 3u);
        },
        IDCANCEL);
    EXPECT_EQ(shown, 3); // the refused picture, the empty text, then Cancel
    EXPECT_TRUE(driver.AllAnswered());
}

TEST_F(ImagesPageTest, DeleteSelectsTheNextRowAndTheLastDeleteDisablesTheButtons) {
    OnImagesPage(
        [&] {
            Select(2);
            Click(IDC_IMAGE_DELETE);
            EXPECT_EQ(SelectedRow(), 1); // the new last row
            Select(0);
            Click(IDC_IMAGE_DELETE);
            EXPECT_EQ(SelectedRow(), 0);
            EXPECT_FALSE(Enabled(IDC_IMAGE_UP));
            EXPECT_TRUE(Enabled(IDC_IMAGE_DELETE));
            Click(IDC_IMAGE_DELETE);
            EXPECT_TRUE(Rows().empty());
            EXPECT_FALSE(Enabled(IDC_IMAGE_DELETE) || Enabled(IDC_IMAGE_UP) ||
                         Enabled(IDC_IMAGE_DOWN));
            EXPECT_EQ(Label(), L"Image List: (0 items)");
        },
        IDOK);
    // OK with every row gone: no FileList subkey.
    EXPECT_FALSE(
        test::KeyExists(HKEY_CURRENT_USER, std::wstring(kAlbumListKey) + L"\\Alps\\FileList"));
}

TEST_F(ImagesPageTest, MovedRowsKeepTheTickAndThePositionFollowsIt) {
    OnImagesPage(
        [&] {
            Select(0);
            Click(IDC_IMAGE_UP); // row 0 stays
            Select(2);
            Click(IDC_IMAGE_DOWN); // the last row stays
            EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"A.bmp", L"B.bmp", L"C.bmp"}));
            Select(1);
            Click(IDC_IMAGE_DOWN); // the ticked B moves down
            EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"A.bmp", L"C.bmp", L"B.bmp"}));
            EXPECT_EQ(Ticked(), 2);
            Select(1);
            Click(IDC_IMAGE_DOWN); // C steps over the ticked B
            EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"A.bmp", L"B.bmp", L"C.bmp"}));
            EXPECT_EQ(Ticked(), 1);
        },
        IDOK);
    EXPECT_EQ(Alps().LastIndex, 1);
    EXPECT_EQ(Alps().FileList, pictures);
}

// Previous goes back to the pictures shown at their rows' new places, and never to one whose
// row was deleted.
TEST_F(ImagesPageTest, PreviousFollowsMovedAndDeletedRows) {
    Alps().LastIndex = -1;
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(Alps().ApplyNextImage(), kPassApplied); // A, B, C
    OnImagesPage(
        [&] {
            Select(1);
            Click(IDC_IMAGE_UP); // B, A, C
            Select(1);
            Click(IDC_IMAGE_DELETE); // B, C
            EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"B.bmp", L"C.bmp"}));
        },
        IDOK);
    ASSERT_EQ(Alps().ApplyPreviousImage(), kPassApplied);
    EXPECT_EQ(h.desktop.wallpaper, pictures[1]);
    EXPECT_EQ(Alps().LastIndex, 0);
    h.desktop.wallpaper.clear();
    EXPECT_EQ(Alps().ApplyPreviousImage(), kPassNothingApplied); // A is gone
    EXPECT_EQ(h.desktop.wallpaper, L"");
    ASSERT_EQ(Alps().ApplyNextImage(), kPassApplied);
    EXPECT_EQ(h.desktop.wallpaper, pictures[2]);
    EXPECT_EQ(Alps().LastIndex, 1);
}

// A folder goes in as one entry, dropped or through Add Folder, and says how many pictures it
// holds; Use Now on it shows the picture the album would show next from it.
TEST_F(ImagesPageTest, AFolderGoesInAsOneEntryAndUseNowShowsItsNextPicture) {
    const std::wstring trip = h.folder.File(L"Trip"), empty = h.folder.File(L"Empty");
    for (const std::wstring& path : {trip, empty, trip + L"\\Day 2"})
        ::CreateDirectoryW(path.c_str(), nullptr);
    for (const wchar_t* name : {L"\\b.bmp", L"\\a.bmp", L"\\Day 2\\c.bmp"})
        ASSERT_TRUE(test::WriteSolidBitmap(trip + name, 8, 8));
    Seam<std::wstring(HWND, const std::wstring&, const std::wstring&)>::Override picker(
        PickFolder, [&](HWND, const std::wstring&, const std::wstring&) { return empty; });
    OnImagesPage(
        [&] {
            Select(-1);
            Drop({trip});
            Click(IDC_IMAGE_ADD_FOLDER);
            EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"A.bmp", L"B.bmp", L"C.bmp",
                                                         L"Trip  (3 pictures)",
                                                         L"Empty  (0 pictures)"}));
            Select(3);
            ::SendMessageW(page, WM_COMMAND, ID_IMAGE_USE_NOW, 0);
            EXPECT_EQ(Ticked(), 3);
        },
        IDOK);
    EXPECT_EQ(Alps().FileList, (std::vector<std::wstring>{pictures[0], pictures[1], pictures[2],
                                                          trip, empty}));
    EXPECT_EQ(Alps().LastIndex, 3);
    EXPECT_EQ(Alps().LastFile, trip + L"\\Day 2\\c.bmp"); // subfolders first
    EXPECT_EQ(h.desktop.wallpaper, trip + L"\\Day 2\\c.bmp");
}

// A feed row says what the feed held at its last fetch; Use Now on it shows its newest picture.
TEST_F(ImagesPageTest, AFeedRowNamesItsFeedAndUseNowShowsItsNewestPicture) {
    test::HttpServer server;
    server.Serve("/feed.xml", {200, "<rss version=\"2.0\"><channel><title>Sky Daily</title>"
                                    "<item><title>New</title><enclosure url=\"/new.bmp\" type=\"image/bmp\"/></item>"
                                    "<item><title>Old</title><enclosure url=\"/old.bmp\" type=\"image/bmp\"/></item>"
                                    "</channel></rss>"});
    for (const char* path : {"/new.bmp", "/old.bmp"})
        server.Serve(path, {200, test::SolidBitmapBytes(40, 30)});
    const std::wstring feed = server.Url("/feed.xml");
    Alps().FileList.push_back(feed);
    driver.Ignore(L"Glimro - Downloading Image");
    OnImagesPage(
        [&] {
            EXPECT_EQ(Rows().back(), feed); // never fetched: an address like any other
            Select(3);
            ::SendMessageW(page, WM_COMMAND, ID_IMAGE_USE_NOW, 0);
            EXPECT_EQ(Ticked(), 3);
            EXPECT_EQ(Rows().back(), feed + L"  (Sky Daily \u2014 2 pictures)");
        },
        IDOK);
    EXPECT_EQ(Alps().LastIndex, 3);
    EXPECT_EQ(Alps().LastFile, server.Url("/new.bmp"));
    EXPECT_EQ(Alps().Credit.Title, L"New");
}

// The album, a folder row and a plain entry say what is skipped; Show Again gives a picture
// back, newest first in the list, and the page applies it.
TEST_F(ImagesPageTest, SkippedPicturesAreCountedAndShownAgain) {
    const std::wstring trip = h.folder.File(L"Trip");
    ::CreateDirectoryW(trip.c_str(), nullptr);
    for (const wchar_t* name : {L"\\a.bmp", L"\\b.bmp"})
        ASSERT_TRUE(test::WriteSolidBitmap(trip + name, 40, 30));
    Alps().FileList.push_back(trip);
    Alps().Skip(pictures[0]);
    Alps().Skip(trip + L"\\B.BMP");
    OnImagesPage(
        [&] {
            EXPECT_EQ(Rows().front(), L"A.bmp  (skipped)");
            EXPECT_EQ(Rows().back(), L"Trip  (2 pictures, 1 skipped)");
            wchar_t label[64] = {};
            ::GetDlgItemTextW(page, IDC_IMAGE_SKIPPED, label, 64);
            EXPECT_STREQ(label, L"2 skipped");
            EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(page, IDC_IMAGE_SKIPPED_LIST)));
        },
        IDOK);

    std::vector<std::wstring> skipped = Alps().Skipped;
    CSkippedDialog dialog(skipped);
    ASSERT_TRUE(dialog.Create(nullptr));
    const HWND list = ::GetDlgItem(dialog.Handle(), IDC_SKIPPED_LIST);
    ASSERT_EQ(ListView_GetItemCount(list), 2);
    ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED); // the newest: the folder's
    ::SendMessageW(dialog.Handle(), WM_COMMAND, IDC_SKIPPED_SHOW_AGAIN, 0);
    EXPECT_EQ(skipped, std::vector<std::wstring>{pictures[0]});
    ::SendMessageW(dialog.Handle(), WM_COMMAND, IDC_SKIPPED_SHOW_ALL, 0);
    EXPECT_TRUE(skipped.empty());
    EXPECT_TRUE(dialog.Changed());
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog.Handle(), IDC_SKIPPED_SHOW_ALL)));
    ::DestroyWindow(dialog.Handle());
}

// Use Now shows the picture and records it as the album's current one, saved at once; Cancel
// then drops every other change of the page.
TEST_F(ImagesPageTest, UseNowRecordsOnlyThePictureAndCancelDiscardsTheRest) {
    int calls_on_current = -1;
    OnImagesPage(
        [&] {
            Select(1); // already the current entry: nothing is applied
            const int before = h.desktop.apply_calls;
            ::SendMessageW(page, WM_COMMAND, ID_IMAGE_USE_NOW, 0);
            calls_on_current = h.desktop.apply_calls - before;
            Select(0);
            Click(IDC_IMAGE_DELETE); // not applied
            ::SendDlgItemMessageW(page, IDC_IMAGE_MODE, CB_SETCURSEL, kRandom, 0);
            Select(1); // C
            ::SendMessageW(page, WM_COMMAND, ID_IMAGE_USE_NOW, 0);
            EXPECT_EQ(Ticked(), 1);
        },
        IDCANCEL);
    EXPECT_EQ(calls_on_current, 0);
    EXPECT_EQ(Alps().FileList, pictures);
    EXPECT_EQ(Alps().Mode, kSequential);
    EXPECT_EQ(Alps().LastIndex, 2);
    EXPECT_EQ(Alps().LastFile, pictures[2]);
    EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, std::wstring(kAlbumListKey) + L"\\Alps",
                                    L"LastIndex")
                  .Dword(),
              2u);
}

// The tick is a mark on its row: it stays with its picture through every change of the rows,
// goes when its row goes, and OK stores the album's position from it. Alps is A, B, C with
// B current.
TEST_F(ImagesPageTest, TheCurrentPictureStaysWithItsRowThroughEveryChange) {
    const std::wstring x = h.folder.File(L"X.bmp");
    const struct {
        const char* name;
        std::function<void()> steps;
        std::vector<std::wstring> rows;
        int position; // stored LastIndex
    } cases[] = {
        {"delete above", [&] { Select(0); Click(IDC_IMAGE_DELETE); }, {L"B.bmp", L"C.bmp"}, 0},
        {"delete below", [&] { Select(2); Click(IDC_IMAGE_DELETE); }, {L"A.bmp", L"B.bmp"}, 1},
        {"delete the current row", [&] { Select(1); Click(IDC_IMAGE_DELETE); },
         {L"A.bmp", L"C.bmp"}, -1},
        {"add before",
         [&] {
             Select(0);
             AddImageAnswers answers({x});
             Click(IDC_IMAGE_ADD);
         },
         {L"A.bmp", L"X.bmp", L"B.bmp", L"C.bmp"}, 2},
        {"drop before", [&] { Select(0); Drop({x}); },
         {L"A.bmp", L"X.bmp", L"B.bmp", L"C.bmp"}, 2},
        {"clear all", [&] { Click(IDC_IMAGE_CLEAR_ALL); }, {}, -1},
        // Reset clears the mark and keeps the rows as they are, unapplied changes and all.
        {"reset", [&] { Select(0); Click(IDC_IMAGE_DELETE); Click(IDC_IMAGE_RESET); },
         {L"B.bmp", L"C.bmp"}, -1},
        // A pass or Next Picture while the sheet is open moves the mark; OK keeps it.
        {"a pass meanwhile, rows untouched",
         [&] {
             Alps().ApplyNextImage(); // to C
             ::SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_IMAGE_MODE, CBN_SELCHANGE), 0);
         },
         {L"A.bmp", L"B.bmp", L"C.bmp"}, 2},
        {"a pass meanwhile",
         [&] {
             Alps().ApplyNextImage(); // to C
             Select(0);
             Click(IDC_IMAGE_DELETE);
         },
         {L"B.bmp", L"C.bmp"}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Alps().FileList.assign(pictures.begin(), pictures.end());
        Alps().LastIndex = 1;
        OnImagesPage(
            [&] {
                c.steps();
                EXPECT_EQ(Rows(), c.rows);
                EXPECT_EQ(Ticked(), c.position);
            },
            IDOK);
        AlbumSet stored;
        stored.LoadAlbumList();
        EXPECT_EQ(stored.Albums().front()->LastIndex, c.position);
        EXPECT_EQ(stored.Albums().front()->FileList.size(), c.rows.size());
    }
}

TEST_F(ImagesPageTest, DroppedPicturesGoInSortedAfterTheSelectionAndTheSourceKeepsItsFiles) {
    CAlbumSheet sheet_object(kEditCaption, h.Rotator(), h.View().Handle());
    CImagesPropertyPage dropped_on(Alps(), h.Rotator());
    sheet_object.AddPage(dropped_on);
    const std::wstring too_long = L"C:\\" + std::wstring(270, L'y') + L".bmp";
    OnWindow run(kEditCaption, [&](HWND window) {
        page = h.CurrentPage(window);
        list = ::GetDlgItem(page, IDC_IMAGE_LIST);
        IDropTarget* target = dropped_on.List().DropTarget();
        Select(1);
        DroppedFiles files({L"C:\\Drop\\b.JPG", L"C:\\Drop\\a.bmp", L"C:\\Drop\\c.txt", too_long,
                            L"C:\\Drop\\d.PNG", L"C:\\Drop\\e.jpeg", L"C:\\Drop\\f.jpe",
                            L"C:\\Drop\\g.tif"});
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(target->DragEnter(&files, 0, POINTL{5, 5}, &effect), S_OK);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY)); // the copy cursor at once
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(target->Drop(&files, 0, POINTL{5, 5}, &effect), S_OK);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE)); // a move deletes nothing
        EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"A.bmp", L"B.bmp", L"a.bmp", L"b.JPG",
                                                     L"d.PNG", L"e.jpeg", L"f.jpe", L"C.bmp"}));
        EXPECT_EQ(SelectedRow(), 6);

        // Apply turns Cancel off; a drop that adds nothing still counts as a change.
        ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_APPLY_NOW, BN_CLICKED), 0);
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(window, IDCANCEL)));
        DroppedFiles nothing({L"C:\\Drop\\notes.txt"});
        effect = DROPEFFECT_COPY;
        target->DragEnter(&nothing, 0, POINTL{5, 5}, &effect);
        target->Drop(&nothing, 0, POINTL{5, 5}, &effect);
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(window, IDCANCEL)));
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    sheet_object.DoModal();
    ASSERT_TRUE(run.Ran());
    EXPECT_EQ(Alps().FileList.size(), 8u); // what Apply committed stays
}

TEST_F(ImagesPageTest, ThumbnailsShowThePictureOrTheDefaultAndLeakNothing) {
    const std::wstring unreadable = h.folder.File(L"broken.bmp");
    test::WriteFileBytes(unreadable, "not a picture");
    Alps().FileList.push_back(unreadable);
    OnImagesPage(
        [&] {
            const auto shown = [&] {
                return reinterpret_cast<HBITMAP>(::SendDlgItemMessageW(
                    page, IDC_IMAGE_THUMBNAIL, STM_GETIMAGE, IMAGE_BITMAP, 0));
            };
            Select(3);
            const HBITMAP default_picture = shown();
            Select(0);
            const HBITMAP picture = shown();
            EXPECT_NE(picture, default_picture);
            BITMAP size = {};
            ASSERT_TRUE(::GetObjectW(picture, sizeof(size), &size));
            EXPECT_EQ(size.bmWidth, ThumbnailSize(kDefaultDpi).cx);
            int leaked = 0;
            for (int i = 0; i < 300; ++i) {
                const HBITMAP before = shown();
                Select(i % 4);
                if (before != default_picture && before != shown() && ::GetObjectType(before))
                    ++leaked;
            }
            EXPECT_EQ(leaked, 0);
        },
        IDCANCEL);
}

TEST_F(ImagesPageTest, At150PercentTheThumbnailsAndMarkersAreDrawnLarger) {
    Seam<UINT(HWND)>::Override dpi(WindowDpi, [](HWND) { return 144u; });
    OnImagesPage(
        [&] {
            const auto shown_width = [&] {
                BITMAP size = {};
                ::GetObjectW(reinterpret_cast<HBITMAP>(::SendDlgItemMessageW(
                                 page, IDC_IMAGE_THUMBNAIL, STM_GETIMAGE, IMAGE_BITMAP, 0)),
                             sizeof(size), &size);
                return size.bmWidth;
            };
            EXPECT_EQ(ThumbnailSize(144).cx, 113);
            EXPECT_EQ(shown_width(), 113); // the default picture
            Select(0);
            EXPECT_EQ(shown_width(), 113);
            int cx = 0, cy = 0;
            ::ImageList_GetIconSize(
                ListView_GetImageList(::GetDlgItem(page, IDC_IMAGE_LIST), LVSIL_STATE), &cx, &cy);
            EXPECT_EQ(cx, 24);
        },
        IDCANCEL);
}

// The Open box answered through its seam, as the user would choose.
class AddImageDialogTest : public ::testing::Test {
protected:
    test::RegistrySandbox sandbox;
    test::TempFolder folder;
    test::ScopedExecutableFolder exe{folder.Path()};
    std::vector<wchar_t> answer;        // the selection buffer the "user" makes
    std::wstring initial_folder, title; // as the box was asked
    std::wstring filter;                // with its NULs, up to the empty string ending it
    DWORD flags = 0;
    Seam<DWORD(OPENFILENAMEW*)>::Override box{ShowOpenBox, [this](OPENFILENAMEW* open) -> DWORD {
                                                  initial_folder = open->lpstrInitialDir;
                                                  title = open->lpstrTitle;
                                                  for (const wchar_t* f = open->lpstrFilter; *f;
                                                       f += wcslen(f) + 1)
                                                      filter += std::wstring(f) + L'|';
                                                  flags = open->Flags;
                                                  if (answer.size() > open->nMaxFile)
                                                      return FNERR_BUFFERTOOSMALL;
                                                  std::copy(answer.begin(), answer.end(),
                                                            open->lpstrFile);
                                                  return 0;
                                              }};

    std::vector<std::wstring> paths; // what OK gave after the last Browse

    // Runs the dialog, presses Browse, and returns what the field then holds.
    std::wstring Browse(const std::wstring& start_text = L"") {
        CAddImageDialog dialog;
        dialog.PathText = start_text;
        std::wstring field;
        OnWindow run(L"Add Image", [&](HWND window) {
            ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_ADD_IMAGE_BROWSE, BN_CLICKED), 0);
            wchar_t text[32768] = {};
            ::GetDlgItemTextW(window, IDC_ADD_IMAGE_PATH, text, 32768);
            field = text;
            ::PostMessageW(window, WM_COMMAND, IDOK, 0);
        });
        EXPECT_EQ(dialog.DoModal(nullptr, false), IDOK);
        EXPECT_EQ(dialog.PathText, field);
        paths = dialog.Paths();
        return field;
    }
    void Choose(const std::wstring& strings) { answer.assign(strings.begin(), strings.end()); }
};

// Picture of the Day lists every built-in source with its line; the one chosen (here by a
// double click) is what Add Image gives, as one entry naming it, which the page takes.
TEST_F(AddImageDialogTest, PictureOfTheDayAddsTheSourceChosen) {
    CAddImageDialog dialog;
    std::vector<std::wstring> titles;
    std::wstring about;
    OnWindow daily(L"Picture of the Day", [&](HWND window) {
        const HWND list = ::GetDlgItem(window, IDC_DAILY_LIST);
        const int count = static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[256] = {};
            ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            titles.push_back(text);
        }
        ::SendMessageW(list, LB_SETCURSEL, 3, 0);
        ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_DAILY_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        wchar_t text[512] = {};
        ::GetDlgItemTextW(window, IDC_DAILY_ABOUT, text, 512);
        about = text;
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_DAILY_LIST, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
    });
    OnWindow add(L"Add Image", [&](HWND window) {
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_ADD_IMAGE_DAILY, BN_CLICKED), 0);
    });
    ASSERT_EQ(dialog.DoModal(nullptr, false), IDOK);
    EXPECT_EQ(titles, (std::vector<std::wstring>{L"Bing", L"Windows Spotlight", L"Wikimedia Commons",
                                                 L"NASA Astronomy Picture of the Day"}));
    EXPECT_NE(about.find(L"video"), std::wstring::npos) << test::Narrow(about);
    EXPECT_EQ(dialog.Paths(), std::vector<std::wstring>{L"daily:apod"});
    for (const wchar_t* entry : {L"daily:apod", L"daily:bing", L"DAILY:Spotlight", L"daily:wikimedia"})
        EXPECT_EQ(CheckNewEntry(entry), EntryProblem::None) << test::Narrow(entry);
    EXPECT_NE(CheckNewEntry(L"daily:elsewhere"), EntryProblem::None);
}

TEST_F(AddImageDialogTest, OneChosenFileGivesItsPathAndRemembersItsFolder) {
    Choose(std::wstring(L"C:\\Pictures\\a.jpg\0\0", 20));
    EXPECT_EQ(Browse(), L"C:\\Pictures\\a.jpg");
    EXPECT_EQ(initial_folder, folder.Path()); // nothing remembered yet
    EXPECT_EQ(title, L"Glimro - Album Manager - Add Image File");
    EXPECT_EQ(filter, L"Image Files (*.bmp;*.jpg;*.jpeg;*.jpe;*.gif;*.png)|"
                      L"*.bmp;*.jpg;*.jpeg;*.jpe;*.gif;*.png|");
    EXPECT_EQ(flags & (OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_ENABLEHOOK),
              static_cast<DWORD>(OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_ENABLEHOOK));
    const auto stored = test::ReadStoredValue(HKEY_CURRENT_USER, kProductKey, kImagePathValue);
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored.data.size(), 520u);
    EXPECT_EQ(ReadImagePath(), L"C:\\Pictures");

    // Next time the box starts in the remembered folder.
    Choose(std::wstring(L"C:\\Pictures\\b.gif\0\0", 20));
    Browse();
    EXPECT_EQ(initial_folder, L"C:\\Pictures");
}

// Chosen files are given as they are, ';' in a name and all; the field shows them in a form
// that means the same when edited.
TEST_F(AddImageDialogTest, ChosenFilesAreGivenWholeEvenWithASemicolonInTheName) {
    Choose(std::wstring(L"C:\\P\0a;b.jpg\0c.jpg\0\0", 20));
    EXPECT_EQ(Browse(), L"\"C:\\P\\a;b.jpg\";C:\\P\\c.jpg");
    EXPECT_EQ(paths, (std::vector<std::wstring>{L"C:\\P\\a;b.jpg", L"C:\\P\\c.jpg"}));
    EXPECT_EQ(SplitPathText(JoinPathText(paths)), paths);
}

TEST_F(AddImageDialogTest, HundredsOfChosenFilesAreAllJoined) {
    std::wstring strings = L"C:\\Holiday Pictures 2026";
    strings += L'\0';
    std::wstring expected;
    for (int i = 0; i < 400; ++i) {
        const std::wstring name =
            L"Beach and dunes at sunset, picture number " + std::to_wstring(i) + L".jpg";
        strings += name + L'\0';
        expected += (i ? L";" : L"") + std::wstring(L"C:\\Holiday Pictures 2026\\") + name;
    }
    strings += L'\0';
    Choose(strings);
    EXPECT_EQ(Browse(), expected);
    EXPECT_EQ(paths.size(), 400u);
    EXPECT_EQ(ReadImagePath(), L"C:\\Holiday Pictures 2026");
}

} // namespace
} // namespace glimro
