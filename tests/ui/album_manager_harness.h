#pragma once
// A real Album Manager frame and view over a registry sandbox and a temporary executable
// folder, with a stand-in desktop object so that passes change no real wallpaper.
#include "store/album_set.h"
#include "support/fake_desktop.h"
#include "support/registry_sandbox.h"
#include "support/stored_albums.h"
#include "support/temp_folder.h"
#include "ui/main_frame.h"

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

namespace glimro::test {

class AlbumManagerHarness {
public:
    RegistrySandbox sandbox;
    TempFolder folder;
    ScopedExecutableFolder exe{folder.Path()};
    FakeActiveDesktop desktop;
    Seam<HRESULT(ComPtr<IActiveDesktop>*)>::Override desktop_override = desktop.Install();
    WindowPlacementRecord placement;
    AlbumSet albums;
    std::unique_ptr<CMainFrame> frame;

    ~AlbumManagerHarness() { frame.reset(); }

    // Stores albums in the registry, as the running instance would find them at start.
    static void StoreAlbums(const std::vector<CAlbum>& albums) { test::StoreAlbums(albums); }
    static CAlbum Album(const std::wstring& name, int frequency = kEveryDay,
                          bool enabled = false) {
        CAlbum album;
        album.Name = name;
        album.Frequency = frequency;
        album.Enabled = enabled;
        return album;
    }

    // The Album Manager as it first shows: the list made, then the albums loaded.
    bool Start() {
        frame = std::make_unique<CMainFrame>(placement, albums);
        if (!frame->Create() || !frame->CreateContent())
            return false;
        frame->Start();
        return true;
    }
    CAlbumListView& View() { return frame->View(); }
    CRotator& Rotator() { return frame->Rotator(); }
    CAlbumCommands& Commands() { return frame->Commands(); }
    HWND List() { return frame->View().Handle(); }

    int RowCount() { return ListView_GetItemCount(List()); }
    std::wstring Text(int row, int column) {
        wchar_t text[260] = {};
        ListView_GetItemText(List(), row, column, text, 260);
        return text;
    }
    std::vector<std::wstring> FirstColumn() {
        std::vector<std::wstring> texts;
        for (int row = 0; row < RowCount(); ++row)
            texts.push_back(Text(row, 0));
        return texts;
    }
    int RowOf(const std::wstring& first_column) {
        for (int row = 0; row < RowCount(); ++row)
            if (Text(row, 0) == first_column)
                return row;
        return -1;
    }
    int Selected() { return ListView_GetNextItem(List(), -1, LVNI_SELECTED); }
    void Select(int row) {
        UINT both = LVIS_SELECTED | LVIS_FOCUSED;
        ListView_SetItemState(List(), -1, 0, both);
        if (row >= 0)
            ListView_SetItemState(List(), row, both, both);
    }
    int StateImage(int row) {
        return static_cast<int>(ListView_GetItemState(List(), row, LVIS_STATEIMAGEMASK) >> 12);
    }
    CAlbum* Record(int row) { return View().Rows().at(row); }
    std::wstring StatusText() {
        wchar_t text[260] = {};
        ::SendMessageW(frame->StatusBar(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
        return text;
    }
    // The page a property sheet shows.
    static HWND CurrentPage(HWND sheet) {
        return reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    }
    std::wstring Log() {
        std::string bytes = ReadFileBytes(folder.File(L"glimrolog.txt"));
        return std::wstring(bytes.begin(), bytes.end());
    }
};

} // namespace glimro::test
