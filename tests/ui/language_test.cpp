// Glimro in every language it carries: each says everything English says, with the same
// fields in its texts, mnemonics of its own in each menu and dialog, and nothing clipped or
// overlapping in any window; and the language follows Windows and the Options choice.
#include "platform/dialog_fit.h"
#include "platform/ui_language.h"
#include "platform/window.h"
#include "resource.h"
#include "store/product_key.h"
#include "support/registry_sandbox.h"
#include "ui/command_table.h"
#include "ui/language_choice.h"
#include "ui/tray_icon.h"
#include "support/dialog_driver.h"
#include "ui/album_manager_harness.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <map>
#include <set>

namespace glimro {
namespace {

// The numbered resources of a type in the executable.
std::vector<UINT> ResourceNames(LPCWSTR type) {
    std::vector<UINT> names;
    const auto collect = [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) -> BOOL {
        if (IS_INTRESOURCE(name))
            reinterpret_cast<std::vector<UINT>*>(found)->push_back(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)));
        return TRUE;
    };
    ::EnumResourceNamesW(::GetModuleHandleW(nullptr), type, collect, reinterpret_cast<LONG_PTR>(&names));
    return names;
}

// Every string id of the executable, from its string blocks in English.
std::vector<UINT> EnglishStringIds() {
    std::vector<UINT> ids;
    for (const UINT block : ResourceNames(RT_STRING))
        for (UINT id = (block - 1) * 16; id < block * 16; ++id)
            if (!LoadResourceStringIn(id, kEnglishLanguage).empty())
                ids.push_back(id);
    return ids;
}

// The format fields of a text, in order: "%1", "%2!s!", or printf's "%s", "%d", "%ls" ...
std::vector<std::wstring> Fields(const std::wstring& text) {
    std::vector<std::wstring> fields;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'%')
            continue;
        size_t end = i + 1;
        if (text[end] == L'%') {
            i = end;
            continue;
        }
        if (iswdigit(text[end])) {
            while (end < text.size() && iswdigit(text[end]))
                ++end;
            if (end < text.size() && text[end] == L'!') {
                const size_t close = text.find(L'!', end + 1);
                end = close == std::wstring::npos ? text.size() : close + 1;
            }
        } else {
            while (end < text.size() && wcschr(L"-+ #0123456789.lh", text[end]))
                ++end;
            if (end < text.size())
                ++end;
        }
        fields.push_back(text.substr(i, end - i));
        i = end - 1;
    }
    return fields;
}

// The mnemonic of a text, lower-cased; 0 for none.
wchar_t Mnemonic(const std::wstring& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == L'&' && text[i + 1] == L'&')
            ++i;
        else if (text[i] == L'&')
            return static_cast<wchar_t>(towlower(text[i + 1]));
    }
    return 0;
}

// Each mnemonic once among the texts; what repeats, named.
std::wstring RepeatedMnemonics(const std::vector<std::wstring>& texts) {
    std::map<wchar_t, std::wstring> seen;
    std::wstring repeated;
    for (const std::wstring& text : texts) {
        const wchar_t key = Mnemonic(text);
        if (!key)
            continue;
        if (seen.count(key))
            repeated += L"\"" + seen[key] + L"\" and \"" + text + L"\"; ";
        seen[key] = text;
    }
    return repeated;
}

class EveryLanguage : public ::testing::TestWithParam<std::wstring> {
protected:
    test::RegistrySandbox sandbox;
    LANGID language = kEnglishLanguage;
    void SetUp() override {
        for (const LANGID carried : CarriedLanguages(IDS_LANGUAGE_NAME))
            if (LanguageTag(carried) == GetParam())
                language = carried;
        SetUiLanguage(language);
    }
    void TearDown() override { SetUiLanguage(kEnglishLanguage); }
};

TEST(Languages, EightBesidesEnglishEachNamedInItsOwnWords) {
    const std::vector<LanguageOption> options = LanguageOptions();
    ASSERT_GE(options.size(), 9u);
    EXPECT_EQ(options[0].tag, L"en-US");
    EXPECT_EQ(options[0].name, L"English");
    std::map<std::wstring, std::wstring> names;
    for (const LanguageOption& option : options)
        names[option.tag] = option.name;
    const std::map<std::wstring, std::wstring> expected = {
        {L"de-DE", L"Deutsch"}, {L"fr-FR", L"Fran\u00E7ais"},       {L"es-ES", L"Espa\u00F1ol"},
        {L"it-IT", L"Italiano"}, {L"pt-BR", L"Portugu\u00EAs (Brasil)"}, {L"pl-PL", L"Polski"},
        {L"ja-JP", L"\u65E5\u672C\u8A9E"}, {L"zh-CN", L"\u4E2D\u6587(\u7B80\u4F53)"}};
    for (const auto& [tag, name] : expected)
        EXPECT_EQ(names[tag], name) << tag;
}

// Windows' display languages, the process's first, unless Options names one.
TEST(Languages, TheChoiceFollowsWindowsAndOptions) {
    test::RegistrySandbox sandbox;
    std::vector<std::wstring> preferred;
    Seam<std::vector<std::wstring>()>::Override windows(PreferredUiLanguages, [&] { return preferred; });
    const struct {
        std::vector<std::wstring> preferred;
        const wchar_t* chosen; // nullptr: none stored
        const wchar_t* spoken;
    } cases[] = {
        {{L"de-AT", L"en-US"}, nullptr, L"de-DE"}, // the rules themselves are the host table's
        {{L"de-DE"}, L"ja-JP", L"ja-JP"},
        {{L"de-DE"}, L"", L"de-DE"},
    };
    for (const auto& c : cases) {
        preferred = c.preferred;
        if (c.chosen) {
            ASSERT_EQ(WriteProductText(kLanguageValue, c.chosen), ERROR_SUCCESS);
        } else {
            DeleteProductValue(kLanguageValue);
        }
        ApplyLanguageChoice();
        EXPECT_EQ(LanguageTag(UiLanguage()), c.spoken) << c.preferred[0];
    }
    SetUiLanguage(kEnglishLanguage);
}

// The Options choice is stored and speaks at once in the Album Manager: its title, its menu
// and its columns; "As Windows" removes it again.
TEST(Languages, TheOptionsChoiceSpeaksAtOnceInTheAlbumManager) {
    test::AlbumManagerHarness h;
    Seam<std::vector<std::wstring>()>::Override windows(PreferredUiLanguages, [] {
        return std::vector<std::wstring>{L"en-US"};
    });
    ApplyLanguageChoice();
    h.StoreAlbums({h.Album(L"Holidays")});
    ASSERT_TRUE(h.Start());
    const auto choose = [&](const wchar_t* name) {
        test::OnWindow options(LoadResourceString(IDS_OPTIONS_TITLE), [&](HWND sheet) {
            HWND page = PropSheet_GetCurrentPageHwnd(sheet);
            HWND combo = ::GetDlgItem(page, IDC_OPTION_LANGUAGE);
            const LRESULT at = ::SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(name));
            ASSERT_NE(at, CB_ERR) << name;
            test::ChooseInCombo(page, IDC_OPTION_LANGUAGE, static_cast<int>(at));
            PropSheet_PressButton(sheet, PSBTN_OK);
        });
        ::SendMessageW(h.frame->Handle(), WM_COMMAND, ID_APP_OPTIONS, 0);
        EXPECT_TRUE(options.Ran());
    };
    choose(L"Deutsch");
    EXPECT_EQ(ReadProductText(kLanguageValue).value_or(L""), L"de-DE");
    EXPECT_EQ(LanguageTag(UiLanguage()), L"de-DE");
    EXPECT_EQ(WindowText(h.frame->Handle()), L"Glimro - Albenverwaltung");
    wchar_t menu[64] = {};
    ::GetMenuStringW(::GetMenu(h.frame->Handle()), 1, menu, 64, MF_BYPOSITION);
    EXPECT_STREQ(menu, L"A&nsicht");
    wchar_t column[64] = {};
    LVCOLUMNW header = {};
    header.mask = LVCF_TEXT;
    header.pszText = column;
    header.cchTextMax = 64;
    ListView_GetColumn(h.List(), 1, &header);
    EXPECT_STREQ(column, L"Beschreibung");
    choose(L"Wie Windows");
    EXPECT_FALSE(HasProductValue(kLanguageValue));
    EXPECT_EQ(WindowText(h.frame->Handle()), L"Glimro - Album Manager");
    SetUiLanguage(kEnglishLanguage);
}

// Every text English has, none it lacks, each with English's fields in number, kind and order.
TEST_P(EveryLanguage, SaysEverythingEnglishSaysWithTheSameFields) {
    const std::vector<UINT> english = EnglishStringIds();
    ASSERT_GT(english.size(), 100u);
    const std::set<UINT> known(english.begin(), english.end());
    for (const UINT id : english) {
        const std::wstring text = LoadResourceStringIn(id, language);
        const std::wstring source = LoadResourceStringIn(id, kEnglishLanguage);
        EXPECT_FALSE(text.empty()) << "string " << id << " (\"" << source << "\")";
        EXPECT_EQ(Fields(text), Fields(source)) << "string " << id;
    }
    for (UINT id = 0; id < 0x10000; id += 1)
        if (!known.count(id) && !LoadResourceStringIn(id, language).empty())
            ADD_FAILURE() << "string " << id << " is not English's";
}

// The same controls as English in every dialog, and each mnemonic once in each dialog and menu.
TEST_P(EveryLanguage, KeepsEveryControlAndEachMnemonicOnce) {
    for (const UINT id : ResourceNames(RT_DIALOG)) {
        const auto layout_in = [&](LANGID in) {
            SetUiLanguage(in);
            DWORD size = 0;
            const auto* bytes = reinterpret_cast<const BYTE*>(FindDialogTemplate(id, &size));
            DialogLayout layout;
            EXPECT_TRUE(bytes && ReadDialogLayout(bytes, size, &layout)) << "dialog " << id;
            return layout;
        };
        const DialogLayout english = layout_in(kEnglishLanguage), translated = layout_in(language);
        ASSERT_EQ(translated.items.size(), english.items.size()) << "dialog " << id;
        std::vector<std::wstring> texts;
        for (size_t i = 0; i < english.items.size(); ++i) {
            EXPECT_EQ(translated.items[i].id, english.items[i].id) << "dialog " << id;
            EXPECT_EQ(translated.items[i].atom, english.items[i].atom) << "dialog " << id;
            EXPECT_EQ(translated.items[i].style, english.items[i].style) << "dialog " << id;
            texts.push_back(translated.items[i].text);
        }
        EXPECT_EQ(RepeatedMnemonics(texts), L"") << "dialog " << id;
    }
    SetUiLanguage(language);
    const auto menu_texts = [](HMENU menu) {
        std::vector<std::wstring> texts;
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            wchar_t text[256] = {};
            ::GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
            texts.push_back(text);
        }
        return texts;
    };
    const UniqueMenu bar(CreateMainMenu());
    EXPECT_EQ(RepeatedMnemonics(menu_texts(bar.Get())), L"");
    for (int i = 0; i < ::GetMenuItemCount(bar.Get()); ++i)
        EXPECT_EQ(RepeatedMnemonics(menu_texts(::GetSubMenu(bar.Get(), i))), L"") << "menu " << i;
    for (const bool paused : {false, true}) {
        const UniqueMenu tray(CreateTrayMenu(paused, nullptr));
        EXPECT_EQ(RepeatedMnemonics(menu_texts(tray.Get())), L"");
    }
}

INT_PTR CALLBACK PlainDialog(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

// Every dialog and page, laid out for the language: each label, button, check box and group
// box shows its whole text, no control covers another, and none leaves its dialog.
TEST_P(EveryLanguage, NothingIsClippedAndNothingOverlaps) {
    HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 800, 800, nullptr, nullptr, nullptr, nullptr);
    for (const UINT id : ResourceNames(RT_DIALOG)) {
        const std::vector<BYTE> fitted = FittedDialogTemplate(id);
        ASSERT_FALSE(fitted.empty());
        HWND dialog = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr),
                                                   reinterpret_cast<const DLGTEMPLATE*>(fitted.data()), parent,
                                                   PlainDialog, 0);
        ASSERT_TRUE(dialog) << "dialog " << id;
        RECT client;
        ::GetClientRect(dialog, &client);
        struct Shown {
            HWND window;
            RECT rect;
            bool group;
            bool visible;
            std::wstring text;
        };
        std::vector<Shown> shown;
        for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            wchar_t class_name[32] = {};
            ::GetClassNameW(child, class_name, 32);
            const LONG style = ::GetWindowLongW(child, GWL_STYLE);
            RECT rect;
            ::GetWindowRect(child, &rect);
            ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
            const std::wstring text = WindowText(child);
            EXPECT_TRUE(rect.left >= 0 && rect.top >= 0 && rect.right <= client.right && rect.bottom <= client.bottom)
                << "dialog " << id << ": \"" << text << "\" leaves it";
            const bool button = _wcsicmp(class_name, L"Button") == 0;
            const bool label = _wcsicmp(class_name, L"Static") == 0 && (style & SS_TYPEMASK) <= SS_RIGHT;
            const bool group = button && (style & BS_TYPEMASK) == BS_GROUPBOX;
            // An up-down control lies on its edit box by design.
            const bool updown = _wcsicmp(class_name, UPDOWN_CLASSW) == 0;
            shown.push_back({child, rect, group || updown, (style & WS_VISIBLE) != 0, text});
            if ((!button && !label) || text.empty())
                continue;
            // The text as the control draws it, in its font, against its room.
            const HDC dc = ::GetDC(child);
            const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0)));
            RECT room;
            ::GetClientRect(child, &room);
            const bool check = button && !group && (style & BS_TYPEMASK) >= BS_CHECKBOX &&
                               (style & BS_TYPEMASK) <= BS_AUTORADIOBUTTON && (style & BS_TYPEMASK) != BS_DEFPUSHBUTTON;
            const int beside = check ? ::GetSystemMetrics(SM_CXMENUCHECK) + 4 : group ? 12 : button ? 6 : 0;
            const bool wraps = (label && room.bottom >= 2 * 13) || (button && (style & BS_MULTILINE));
            RECT needed = {0, 0, room.right - beside, 0};
            ::DrawTextW(dc, text.c_str(), -1, &needed,
                        DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE) |
                            (label && (style & SS_NOPREFIX) ? DT_NOPREFIX : 0));
            ::SelectObject(dc, old);
            ::ReleaseDC(child, dc);
            EXPECT_LE(needed.right + beside, room.right) << "dialog " << id << ": \"" << text << "\" is cut";
            if (wraps) {
                EXPECT_LE(needed.bottom, room.bottom) << "dialog " << id << ": \"" << text << "\" is cut below";
            }
        }
        for (size_t a = 0; a < shown.size(); ++a) {
            for (size_t b = a + 1; b < shown.size(); ++b) {
                RECT common;
                if (shown[a].group || shown[b].group || !shown[a].visible || !shown[b].visible ||
                    !IntersectRect(&common, &shown[a].rect, &shown[b].rect))
                    continue;
                ADD_FAILURE() << "dialog " << id << ": \"" << shown[a].text << "\" covers \"" << shown[b].text << "\"";
            }
        }
        ::DestroyWindow(dialog);
    }
    ::DestroyWindow(parent);
}

// Every language the executable carries, English too: a new one is tested as it is added.
std::vector<std::wstring> CarriedTags() {
    std::vector<std::wstring> tags;
    for (const LanguageOption& option : LanguageOptions())
        tags.push_back(option.tag);
    return tags;
}

INSTANTIATE_TEST_SUITE_P(Glimro, EveryLanguage, ::testing::ValuesIn(CarriedTags()),
                         [](const ::testing::TestParamInfo<std::wstring>& tag) {
                             std::string name;
                             for (const wchar_t c : tag.param)
                                 if (iswalnum(c))
                                     name += static_cast<char>(c);
                             return name;
                         });

} // namespace
} // namespace glimro
