#pragma once
// The Images page of the album properties sheet: the album's pictures in a list whose ticked
// box marks the current entry, with Add, Delete, Up, Down, Clear All, Reset, the Mode box, a
// thumbnail of the selected picture, and Use Now. The rows are a working copy, written back
// to the album when the page is applied.
#include "platform/dpi.h"
#include "platform/image_list.h"
#include "platform/property_sheet.h"
#include "store/album_set.h"
#include "ui/drop_path_list_ctrl.h"

#include <string>

namespace glimro {

// The thumbnail beside the list: 75 x 75 at 100 %.
SIZE ThumbnailSize(UINT dpi);

class CImagesPropertyPage : public CPropertyPage, public DropPathListHost {
public:
    // The album set holds the pass that Use Now runs.
    CImagesPropertyPage(CAccount& album, AlbumSet& albums);
    ~CImagesPropertyPage() override;

    bool OnApply() override;
    CDropPathListCtrl& List() { return list_; }

    // DropPathListHost: what the list asks of the page.
    void UseNow() override;
    void DeleteSelected() override;
    void AddImages() override;
    void EnableButtons(int rows) override;
    void MarkChanged() override;
    int OtherMarker() const override { return kOtherMarker; }

protected:
    void OnInitDialog() override;
    bool OnCommand(WORD id, WORD code) override;
    bool OnNotify(const NMHDR& header, LRESULT* result) override;
    void OnDestroy() override;

private:
    int Rows() const;
    int Selected() const;
    // The entry a row stands for: one of the album's (kept exactly as stored, whatever its
    // type and length) or one added here.
    ImageEntry RowEntry(int row) const;
    LPARAM RowData(int row) const;
    void FillList();
    void UpdateCountLabel();
    void SetMarkers();
    // Moves the selected row one place up (-1) or down (+1).
    void MoveSelected(int step);
    void ClearAll();
    void Reset();
    void ShowRowMenu();
    void ShowThumbnail(const std::wstring& path);
    // Puts a bitmap into the picture control; thumbnail is the page's own, deleted when it
    // is replaced (null for the default picture).
    void ShowPicture(HBITMAP shown, HBITMAP thumbnail);
    // Inserts one text's paths after row p; true when at least one was taken.
    bool InsertPaths(std::wstring* text, int base);

    CAccount& album_;
    AlbumSet& albums_;
    // The album's entries when the rows were filled; a row's data is its index here plus 1.
    std::vector<ImageEntry> entries_;
    CDropPathListCtrl list_;
    UINT dpi_ = kDefaultDpi; // the page's, when it opened
    UniqueImageList markers_;
    HBITMAP no_picture_ = nullptr;
    HBITMAP thumbnail_ = nullptr; // the picture control's, when it is not the default one
    int mode_;
    int position_;
    // The boxes in the markers' image list: ticked for the current picture, empty for others.
    static constexpr int kCurrentMarker = 0;
    static constexpr int kOtherMarker = 1;
    bool modified_ = false;
};

} // namespace glimro
