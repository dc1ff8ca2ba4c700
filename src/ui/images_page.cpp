#include "ui/images_page.h"

#include "engine/entry_source.h"
#include "engine/image_staging.h"
#include "platform/open_box.h"
#include "platform/com_ptr.h"
#include "platform/window.h"
#include "resource.h"
#include "ui/add_image_dialog.h"
#include "ui/rotator.h"
#include "ui/skipped_dialog.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>

namespace glimro {
namespace {

constexpr int kColumnWidth = 260;
constexpr UINT kRowStates = LVIS_SELECTED | LVIS_FOCUSED;

void EnableItem(HWND page, int id, bool enabled) {
    ::EnableWindow(::GetDlgItem(page, id), enabled ? TRUE : FALSE);
}

} // namespace

SIZE ThumbnailSize(UINT dpi) {
    const int side = ScaleForDpi(75, dpi);
    return {side, side};
}

CImagesPropertyPage::CImagesPropertyPage(CAlbum& album, CRotator& rotator)
    : CPropertyPage(IDD_IMAGES), album_(album), rotator_(rotator), mode_(album.Mode) {}

CImagesPropertyPage::~CImagesPropertyPage() = default;

int CImagesPropertyPage::Rows() const {
    return ListView_GetItemCount(Item(IDC_IMAGE_LIST));
}

int CImagesPropertyPage::Selected() const {
    return ListView_GetNextItem(Item(IDC_IMAGE_LIST), -1, LVNI_SELECTED);
}

CImagesPropertyPage::RowId CImagesPropertyPage::IdAt(int row) const {
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    return ListView_GetItem(Item(IDC_IMAGE_LIST), &item) ? item.lParam : 0;
}

int CImagesPropertyPage::RowOf(RowId id) const {
    if (id == 0)
        return -1;
    LVFINDINFOW find = {};
    find.flags = LVFI_PARAM;
    find.lParam = id;
    return ListView_FindItem(Item(IDC_IMAGE_LIST), -1, &find);
}

const ImageEntry& CImagesPropertyPage::RowEntry(int row) const {
    return entries_.at(static_cast<size_t>(IdAt(row) - 1));
}

// What a row shows: the entry, and for a folder or a feed what it stands for.
std::vector<std::wstring> CImagesPropertyPage::Skipped() const {
    std::vector<std::wstring> skipped;
    for (const std::wstring& picture : album_.Skipped) {
        if (std::none_of(shown_again_.begin(), shown_again_.end(),
                         [&](const std::wstring& back) { return PictureKey(back) == PictureKey(picture); }))
            skipped.push_back(picture);
    }
    return skipped;
}

std::wstring CImagesPropertyPage::RowText(const ImageEntry& entry) const {
    // A folder row says how many pictures it stands for now, a feed's what its last fetch
    // held, each with how many of them the album skips; a picture's whether it is skipped.
    const std::wstring target = entry.IsText() ? entry.Expanded() : L"";
    return entry.Text + SourceFor(target).Describe(target, Skipped()).note;
}

void CImagesPropertyPage::ShowSkipped() {
    std::vector<std::wstring> skipped = Skipped();
    const std::vector<std::wstring> before = skipped;
    CSkippedDialog dialog(skipped);
    dialog.DoModal(Handle(), true);
    if (!dialog.Changed())
        return;
    for (const std::wstring& picture : before) {
        if (std::find(skipped.begin(), skipped.end(), picture) == skipped.end())
            shown_again_.push_back(picture);
    }
    for (int row = 0; row < Rows(); ++row) {
        std::wstring text = RowText(RowEntry(row));
        ListView_SetItemText(Item(IDC_IMAGE_LIST), row, 0, text.data());
    }
    UpdateCountLabel();
    MarkChanged();
}

int CImagesPropertyPage::InsertRow(int at, RowId id, UINT states) {
    const ImageEntry& entry = entries_[static_cast<size_t>(id - 1)];
    return list_.InsertEntry(at, RowText(entry), id == current_ ? kCurrentMarker : kOtherMarker,
                             states, id);
}

void CImagesPropertyPage::OnInitDialog() {
    HWND mode = Item(IDC_IMAGE_MODE);
    for (const UINT entry : {IDS_MODE_SEQUENTIAL, IDS_MODE_RANDOM})
        ::SendMessageW(mode, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadResourceString(entry).c_str()));
    ::SendMessageW(mode, CB_SETCURSEL, static_cast<WPARAM>(mode_), 0);

    HWND list = Item(IDC_IMAGE_LIST);
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP,
                                        LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    dpi_ = WindowDpi(Handle());
    const SIZE thumbnail = ThumbnailSize(dpi_);
    no_picture_.Reset(static_cast<HBITMAP>(::LoadImageW(
        instance, MAKEINTRESOURCEW(IDB_NO_PICTURE), IMAGE_BITMAP, thumbnail.cx, thumbnail.cy, 0)));
    // The control's own copy from the template gives way to the page's.
    ShowPicture(no_picture_.Get(), {});

    markers_ = LoadIconList({IDI_BOX_TICKED, IDI_BOX_EMPTY}, SmallIconSize(dpi_));
    ListView_SetImageList(list, markers_.Get(), LVSIL_STATE);

    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
    column.fmt = LVCFMT_LEFT;
    column.cx = ScaleForDpi(kColumnWidth, dpi_);
    std::wstring title = LoadResourceString(IDS_COLUMN_PATHNAME);
    column.pszText = title.data();
    ListView_InsertColumn(list, 0, &column);

    list_.Attach(list, *this);
    FillList();
    EnableButtons(Rows());
}

void CImagesPropertyPage::OnDestroy() {
    list_.Detach();
    ShowPicture(nullptr, {});
}

void CImagesPropertyPage::ShowPicture(HBITMAP shown, GdiObject<HBITMAP> thumbnail) {
    GdiObject<HBITMAP> previous(reinterpret_cast<HBITMAP>(
        ::SendDlgItemMessageW(Handle(), IDC_IMAGE_THUMBNAIL, STM_SETIMAGE, IMAGE_BITMAP,
                              reinterpret_cast<LPARAM>(shown))));
    // What the control gave back is a copy of its own (the template's picture, or version 6's
    // copy of a 32-bit bitmap), deleted here, unless it is one of the page's bitmaps.
    if (previous.Get() == no_picture_.Get() || previous.Get() == thumbnail_.Get())
        previous.Release();
    thumbnail_ = std::move(thumbnail);
}

void CImagesPropertyPage::FillList() {
    HWND list = Item(IDC_IMAGE_LIST);
    ListView_DeleteAllItems(list);
    entries_ = album_.FileList;
    album_ids_.clear();
    for (size_t i = 0; i < entries_.size(); ++i)
        album_ids_.push_back(static_cast<RowId>(i + 1));
    FollowAlbum();
    for (size_t i = 0; i < entries_.size(); ++i)
        InsertRow(static_cast<int>(i), album_ids_[i], i == 0 ? kRowStates : 0);
    UpdateCountLabel();
    ListView_SetColumnWidth(list, 0, LVSCW_AUTOSIZE_USEHEADER);
}

void CImagesPropertyPage::UpdateCountLabel() {
    const std::wstring label = ResourceText(IDS_IMAGE_LIST_COUNT, {std::to_wstring(Rows())});
    ::SetDlgItemTextW(Handle(), IDC_IMAGE_COUNT, label.c_str());
    const size_t skipped = Skipped().size();
    const std::wstring skipped_text = skipped == 0 ? L"" : ResourceText(IDS_SKIPPED_COUNT, {std::to_wstring(skipped)});
    ::SetDlgItemTextW(Handle(), IDC_IMAGE_SKIPPED, skipped_text.c_str());
    ::EnableWindow(Item(IDC_IMAGE_SKIPPED_LIST), skipped != 0);
}

void CImagesPropertyPage::EnableButtons(int rows) {
    EnableItem(Handle(), IDC_IMAGE_UP, rows > 1);
    EnableItem(Handle(), IDC_IMAGE_DOWN, rows > 1);
    EnableItem(Handle(), IDC_IMAGE_DELETE, rows >= 1);
}

void CImagesPropertyPage::MarkChanged() {
    Sheet()->SetChanged(true);
    modified_ = true;
    SetModified(true);
    SetMarkers();
}

void CImagesPropertyPage::FollowAlbum() {
    if (mark_set_)
        return;
    const int position = album_.LastIndex;
    current_ = position >= 0 && static_cast<size_t>(position) < album_ids_.size()
                   ? album_ids_[static_cast<size_t>(position)]
                   : 0;
}

void CImagesPropertyPage::SetMarkers() {
    FollowAlbum();
    HWND list = Item(IDC_IMAGE_LIST);
    for (int row = 0; row < Rows(); ++row) {
        const int marker = IdAt(row) == current_ ? kCurrentMarker : kOtherMarker;
        ListView_SetItemState(list, row, INDEXTOSTATEIMAGEMASK(marker + 1), LVIS_STATEIMAGEMASK);
    }
}

void CImagesPropertyPage::Forget(int row) {
    FollowAlbum();
    if (current_ != 0 && IdAt(row) == current_) {
        current_ = 0;
        mark_set_ = true;
    }
}

bool CImagesPropertyPage::OnApply() {
    const LRESULT selected = ::SendDlgItemMessageW(Handle(), IDC_IMAGE_MODE, CB_GETCURSEL, 0, 0);
    if (selected != CB_ERR)
        mode_ = static_cast<int>(selected);
    if (!modified_)
        return true;
    FollowAlbum();
    std::vector<RowId> ids;
    for (int row = 0; row < Rows(); ++row)
        ids.push_back(IdAt(row));
    // The shuffle round and the pictures Previous goes back to follow their rows.
    std::vector<int> moved;
    for (const RowId id : album_ids_)
        moved.push_back(RowOf(id));
    album_.FollowEntries(moved);
    album_.FileList.clear();
    for (const RowId id : ids)
        album_.FileList.push_back(entries_[static_cast<size_t>(id - 1)]);
    album_.Mode = mode_;
    album_.LastIndex = RowOf(current_);
    for (const std::wstring& picture : shown_again_)
        album_.Unskip(picture);
    shown_again_.clear();
    album_ids_ = std::move(ids);
    mark_set_ = false;
    modified_ = false;
    SetModified(false);
    return true;
}

void CImagesPropertyPage::UseNow() {
    // The album may be the one a pass is writing right now.
    if (rotator_.Busy()) {
        ::MessageBeep(MB_ICONWARNING);
        return;
    }
    const int selected = Selected();
    FollowAlbum();
    if (selected == -1 || IdAt(selected) == current_) {
        SetMarkers();
        return;
    }
    // The picture, and nothing else of the page, goes to the album: its position when the
    // album holds it already, else only its name until the page is applied.
    const RowId id = IdAt(selected);
    const auto held = std::find(album_ids_.begin(), album_ids_.end(), id);
    const int position = held == album_ids_.end() ? -1 : static_cast<int>(held - album_ids_.begin());
    const ImageEntry entry = RowEntry(selected);
    if (rotator_.Change(album_, {WallpaperChange::Entry, position, &entry},
                        MessageBoxReport(Handle())) == kPassApplied) {
        current_ = id;
        mark_set_ = position == -1;
        // An address may have turned out to be a feed's, now fetched.
        std::wstring text = RowText(entry);
        ListView_SetItemText(Item(IDC_IMAGE_LIST), selected, 0, text.data());
    }
    SetMarkers();
}

bool CImagesPropertyPage::AcceptPath(const std::wstring& path) {
    std::wstring problem;
    switch (CheckNewEntry(path)) {
    case EntryProblem::None:
        return true;
    case EntryProblem::TooLong:
        // Longer, the pass could not use it.
        problem = ResourceText(std::wstring(PictureSourceFor(path).Noun()) == L"address" ? IDS_ADDRESS_TOO_LONG : IDS_PATH_TOO_LONG,
                               {std::to_wstring(MaxEntryChars(path)), path});
        break;
    case EntryProblem::NotFullPath:
        problem = ResourceText(IDS_PATH_NOT_FULL, {path});
        break;
    default:
        problem = LoadResourceString(IDS_NOT_AN_IMAGE);
        break;
    }
    ::MessageBoxW(Handle(), problem.c_str(), LoadResourceString(IDS_APP_TITLE).c_str(), MB_OK);
    return false;
}

void CImagesPropertyPage::InsertNewRows(const std::vector<std::wstring>& paths) {
    HWND list = Item(IDC_IMAGE_LIST);
    // After the selected row, or at the end; in the order given.
    const int selected = Selected();
    int at = selected == -1 ? Rows() : selected + 1;
    if (selected != -1)
        ListView_SetItemState(list, -1, 0, kRowStates);
    for (const std::wstring& path : paths) {
        entries_.emplace_back(path);
        const int row = InsertRow(at, static_cast<RowId>(entries_.size()), kRowStates);
        if (row < 0)
            break;
        ListView_EnsureVisible(list, row, FALSE);
        at = row + 1;
    }
    const int rows = Rows();
    ListView_SetColumnWidth(list, 0, rows > 0 ? LVSCW_AUTOSIZE : LVSCW_AUTOSIZE_USEHEADER);
    if (!paths.empty())
        MarkChanged();
    EnableButtons(rows);
    UpdateCountLabel();
}

void CImagesPropertyPage::AddFolder() {
    const std::wstring folder =
        PickFolder(Handle(), ResourceText(IDS_ADD_FOLDER_TITLE, {LoadResourceString(IDS_APP_TITLE)}), ReadImagePath());
    if (folder.empty())
        return;
    WriteImagePath(folder);
    InsertNewRows({folder});
}

void CImagesPropertyPage::AddImages() {
    CAddImageDialog dialog;
    // Until something is taken or the user cancels; a refused text is shown again to mend.
    while (dialog.DoModal(Handle(), false) == IDOK) {
        std::vector<std::wstring> accepted;
        for (const std::wstring& path : dialog.Paths()) {
            if (AcceptPath(path))
                accepted.push_back(path);
        }
        if (!accepted.empty()) {
            InsertNewRows(accepted);
            return;
        }
    }
    UpdateCountLabel();
    EnableButtons(Rows());
}

void CImagesPropertyPage::DeleteSelected() {
    HWND list = Item(IDC_IMAGE_LIST);
    int rows = Rows();
    if (Selected() != -1) {
        int last_deleted = -1;
        bool first_deleted = false, end_deleted = false;
        for (int s = Selected(); s != -1 && s < rows; s = Selected()) {
            Forget(s);
            ListView_DeleteItem(list, s);
            last_deleted = s;
            first_deleted = first_deleted || s == 0;
            end_deleted = end_deleted || s == rows - 1;
            rows = Rows();
        }
        const int next = first_deleted ? 0 : end_deleted ? last_deleted - 1 : last_deleted;
        if (rows > 0) {
            ListView_SetItemState(list, next, kRowStates, kRowStates);
        } else {
            // The Delete button goes grey under the focus: OK becomes the default button and
            // the keyboard stays in the list.
            ::SendMessageW(::GetParent(Handle()), DM_SETDEFID, IDOK, 0);
            HWND focus = ::GetFocus();
            if (focus && ::GetParent(focus) == Handle())
                ::SendMessageW(focus, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
            ::SetFocus(list);
        }
        MarkChanged();
    }
    UpdateCountLabel();
    EnableButtons(Rows());
}

void CImagesPropertyPage::MoveSelected(int step) {
    HWND list = Item(IDC_IMAGE_LIST);
    const int rows = Rows();
    const int from = Selected();
    const int to = from + step;
    if (rows < 2 || from == -1 || to < 0 || to >= rows)
        return;
    FollowAlbum();
    const RowId id = IdAt(from);
    const UINT state = ListView_GetItemState(list, from, kRowStates);
    ListView_DeleteItem(list, from);
    InsertRow(to, id, state);
    ListView_EnsureVisible(list, to, FALSE);
    MarkChanged();
}

void CImagesPropertyPage::ClearAll() {
    for (int row = 0; row < Rows(); ++row)
        Forget(row);
    ListView_DeleteAllItems(Item(IDC_IMAGE_LIST));
    EnableButtons(0);
    MarkChanged();
    UpdateCountLabel();
}

// Clears the mark only: the rows and their unapplied changes stay.
void CImagesPropertyPage::Reset() {
    current_ = 0;
    mark_set_ = true;
    MarkChanged();
}

void CImagesPropertyPage::ShowRowMenu() {
    if (ListView_GetSelectedCount(Item(IDC_IMAGE_LIST)) != 1)
        return;
    const UniqueMenu menu(::CreatePopupMenu());
    if (!menu)
        return;
    ::AppendMenuW(menu.Get(), MF_STRING, ID_IMAGE_USE_NOW, LoadResourceString(IDS_MENU_USE_NOW).c_str());
    ::AppendMenuW(menu.Get(), MF_STRING, IDC_IMAGE_DELETE, LoadResourceString(IDS_MENU_DELETE_ENTRY).c_str());
    ::SetMenuDefaultItem(menu.Get(), 0, TRUE);
    const UINT chosen = TrackMenuAtCursor(menu.Get(), Handle());
    if (chosen != 0)
        ::PostMessageW(Handle(), WM_COMMAND, chosen, 0);
}

void CImagesPropertyPage::ShowDecodedThumbnail(const std::wstring& file) {
    GdiObject<HBITMAP> bitmap(FittedPicture(file, ThumbnailSize(dpi_)));
    const HBITMAP shown = bitmap ? bitmap.Get() : no_picture_.Get();
    if (shown)
        ShowPicture(shown, std::move(bitmap));
}

void CImagesPropertyPage::ShowThumbnail(const std::wstring& path) {
    ComPtr<IShellFolder> desktop;
    if (FAILED(::SHGetDesktopFolder(desktop.Put())))
        return;
    UniqueCoTaskMem<ITEMIDLIST_RELATIVE> item;
    std::wstring name = path;
    if (FAILED(desktop->ParseDisplayName(Handle(), nullptr, name.data(), nullptr, item.Put(),
                                         nullptr)))
        return; // the picture keeps what it shows
    ComPtr<IShellFolder> parent;
    PCUITEMID_CHILD child = nullptr;
    if (SUCCEEDED(::SHBindToParent(reinterpret_cast<PCIDLIST_ABSOLUTE>(item.Get()), IID_IShellFolder,
                                   reinterpret_cast<void**>(parent.Put()), &child))) {
        GdiObject<HBITMAP> bitmap(ExtractItemImage(parent.Get(), child, ThumbnailSize(dpi_), 8));
        if (bitmap || no_picture_) {
            const HBITMAP shown = bitmap ? bitmap.Get() : no_picture_.Get();
            ShowPicture(shown, std::move(bitmap));
        }
    }
}

bool CImagesPropertyPage::OnCommand(WORD id, WORD code) {
    if (id == IDC_IMAGE_MODE) {
        if (code == CBN_SELCHANGE)
            MarkChanged();
        return code == CBN_SELCHANGE;
    }
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case IDC_IMAGE_UP:
        MoveSelected(-1);
        return true;
    case IDC_IMAGE_DOWN:
        MoveSelected(+1);
        return true;
    case IDC_IMAGE_ADD:
        AddImages();
        return true;
    case IDC_IMAGE_ADD_FOLDER:
        AddFolder();
        return true;
    case IDC_IMAGE_DELETE:
        DeleteSelected();
        return true;
    case IDC_IMAGE_CLEAR_ALL:
        ClearAll();
        return true;
    case IDC_IMAGE_RESET:
        Reset();
        return true;
    case IDC_IMAGE_SKIPPED_LIST:
        ShowSkipped();
        return true;
    case ID_IMAGE_USE_NOW:
        UseNow();
        return true;
    default:
        return false;
    }
}

bool CImagesPropertyPage::OnNotify(const NMHDR& header, LRESULT* result) {
    if (header.idFrom != IDC_IMAGE_LIST)
        return false;
    *result = 0;
    switch (header.code) {
    case NM_DBLCLK:
        ::PostMessageW(Handle(), WM_COMMAND, ID_IMAGE_USE_NOW, 0);
        return true;
    case NM_RCLICK:
        ShowRowMenu();
        return true;
    case LVN_KEYDOWN:
        list_.OnKeyDown(reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey);
        return true;
    case LVN_ITEMCHANGED: {
        // A row newly selected, not a marker repainted on the selected row.
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED) &&
            !(change.uOldState & LVIS_SELECTED)) {
            CWaitCursor wait;
            const int selected = Selected();
            if (Rows() > 0 && selected != -1) {
                // A folder row shows its first picture, a feed's its newest.
                const std::wstring path = RowEntry(selected).Expanded();
                const EntryDescription row = SourceFor(path).Describe(path, {});
                if (row.preview_by_shell)
                    ShowThumbnail(row.preview);
                else
                    ShowDecodedThumbnail(row.preview);
            }
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace glimro
