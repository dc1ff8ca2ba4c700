#include "resource.h"
#include "ui/command_table.h"
#include "ui/tray_icon.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <map>
#include <string>

namespace glimro {
namespace {

// The letter after the '&' of a menu text (an "&&" is an ampersand shown).
wchar_t Mnemonic(const std::wstring& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&')
            continue;
        if (text[i + 1] != L'&')
            return static_cast<wchar_t>(std::towlower(text[i + 1]));
        ++i;
    }
    return 0;
}

// Every item of a menu has a text from the resources with a mnemonic of its own, and every
// command a status-bar line.
void ExpectUsableTexts(HMENU menu, const char* what) {
    std::map<wchar_t, std::wstring> taken;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        if (::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR)
            continue;
        wchar_t buffer[128] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(i), buffer, 128, MF_BYPOSITION);
        const std::wstring text = buffer;
        const wchar_t letter = Mnemonic(text);
        EXPECT_NE(letter, 0) << what << ": " << testing::PrintToString(text);
        EXPECT_TRUE(taken.emplace(letter, text).second)
            << what << ": " << testing::PrintToString(text) << " and " << testing::PrintToString(taken[letter]);
        const UINT id = ::GetMenuItemID(menu, i);
        // The icon's own commands have no status bar to speak in.
        if (id != static_cast<UINT>(-1) && id != ID_TRAY_ALBUM_MANAGER && id != ID_TRAY_EXIT) {
            EXPECT_FALSE(CommandText(id, 0).empty()) << what << ": " << testing::PrintToString(text);
        }
    }
}

TEST(CommandTable, EveryMenuItHasTextsWithMnemonicsOfTheirOwn) {
    HMENU bar = CreateMainMenu();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(::GetMenuItemCount(bar), 3);
    ExpectUsableTexts(bar, "menu bar");
    for (int i = 0; i < 3; ++i)
        ExpectUsableTexts(::GetSubMenu(bar, i), "Album Manager menu");
    ::DestroyMenu(bar);
    for (const bool paused : {false, true}) {
        CAlbum album;
        HMENU tray = CreateTrayMenu(paused, &album);
        ExpectUsableTexts(tray, "icon's menu");
        ::DestroyMenu(tray);
    }
}

} // namespace
} // namespace glimro
