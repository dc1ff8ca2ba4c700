#pragma once
// The Images page of the album properties sheet: the album's pictures in a list whose ticked
// box marks the current entry, with Add, Delete, Up, Down, Clear All, Reset, the Mode box, a
// thumbnail of the selected picture, and Use Now. The rows are a working copy, written back
// to the album when the page is applied; the current entry is a mark on its row, so it
// stays with its picture whatever the rows do.
#include "platform/dpi.h"
#include "platform/handle.h"
#include "platform/image_list.h"
#include "platform/property_sheet.h"
#include "ui/rotator.h"
#include "ui/drop_path_list_ctrl.h"

#include <string>
#include <vector>

namespace glimro {

// The thumbnail beside the list: 75 x 75 at 100 %.
SIZE ThumbnailSize(UINT dpi);

class CImagesPropertyPage : public CPropertyPage, public DropPathListHost {
public:
    // The album set holds the pass that Use Now runs.
    CImagesPropertyPage(CAlbum& album, CRotator& rotator);
    ~CImagesPropertyPage() override;

    bool OnApply() override;
    CDropPathListCtrl& List() { return list_; }

    // DropPathListHost: what the list asks of the page.
    void UseNow() override;
    void DeleteSelected() override;
    void AddImages() override;
    // "Add Folder...": the system's folder picker; the folder goes in as one entry.
    void AddFolder();
    void EnableButtons(int rows) override;
    void MarkChanged() override;
    void InsertNewRows(const std::vector<std::wstring>& paths) override;

protected:
    void OnInitDialog() override;
    bool OnCommand(WORD id, WORD code) override;
    bool OnNotify(const NMHDR& header, LRESULT* result) override;
    void OnDestroy() override;

private:
    // Every row carries an id: its entry's place in entries_ plus 1.
    using RowId = LPARAM;

    int Rows() const;
    int Selected() const;
    RowId IdAt(int row) const;
    int RowOf(RowId id) const;
    // The entry a row stands for: one of the album's (kept exactly as stored, whatever its
    // type and length) or one added here.
    const ImageEntry& RowEntry(int row) const;
    int InsertRow(int at, RowId id, UINT states);
    void FillList();
    void UpdateCountLabel();
    // Until the user moves the mark here, it is wherever the album's position is: a pass or
    // Next Picture while the sheet is open moves it.
    void FollowAlbum();
    void SetMarkers();
    // The row a deletion takes away: the mark goes with it.
    void Forget(int row);
    // Moves the selected row one place up (-1) or down (+1).
    void MoveSelected(int step);
    void ClearAll();
    void Reset();
    void ShowRowMenu();
    void ShowThumbnail(const std::wstring& path);
    std::wstring RowText(const ImageEntry& entry) const;
    // The album's skipped pictures, less those shown again here.
    std::vector<std::wstring> Skipped() const;
    // "Skipped...": the list, with Show Again.
    void ShowSkipped();
    void ShowDecodedThumbnail(const std::wstring& file);
    // Puts a bitmap into the picture control: the default picture, or a thumbnail that the
    // page then keeps until the next one.
    void ShowPicture(HBITMAP shown, GdiObject<HBITMAP> thumbnail);
    // Whether a path can be an album entry; when not, the user is told why.
    bool AcceptPath(const std::wstring& path);

    CAlbum& album_;
    CRotator& rotator_;
    // Every entry the rows have held: the album's first, then those added here.
    std::vector<ImageEntry> entries_;
    // The ids of the album's FileList, position by position, as last filled or applied.
    std::vector<RowId> album_ids_;
    RowId current_ = 0; // the marked row's id; 0 for none
    // The user has set the mark on the page (Reset, the marked row deleted, Use Now on a
    // picture the album does not hold yet): apply writes it.
    bool mark_set_ = false;
    CDropPathListCtrl list_;
    UINT dpi_ = kDefaultDpi; // the page's, when it opened
    UniqueImageList markers_;
    GdiObject<HBITMAP> no_picture_;
    GdiObject<HBITMAP> thumbnail_; // the picture control's, when it is not the default one
    int mode_;
    // Pictures the user gave back with Show Again: apply takes them out of the album's skips.
    std::vector<std::wstring> shown_again_;
    // The boxes in the markers' image list: ticked for the current picture, empty for others.
    static constexpr int kCurrentMarker = 0;
    static constexpr int kOtherMarker = 1;
    bool modified_ = false;
};

} // namespace glimro
