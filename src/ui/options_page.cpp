#include "ui/options_page.h"

#include "core/sun.h"
#include "engine/caption.h"
#include "platform/text.h"
#include "platform/time_picker.h"
#include "resource.h"
#include "scheduler/day_schedule.h"
#include "scheduler/theme_switch.h"
#include "store/autostart.h"
#include "store/product_key.h"
#include "ui/hotkeys.h"

#include <commctrl.h>

#include <utility>
#include "platform/window.h"

namespace glimro {
namespace {

constexpr int kHotkeyControls[] = {IDC_HOTKEY_NEXT, IDC_HOTKEY_PREVIOUS, IDC_HOTKEY_PAUSE,
                                   IDC_HOTKEY_NEVER_AGAIN};

// The hold choices with their values and what a missing value means.
constexpr struct {
    int control;
    const wchar_t* value;
    DWORD fallback;
} kHoldChoices[] = {
    {IDC_OPTION_HOLD_FULL_SCREEN, kHoldFullScreenValue, 1},
    {IDC_OPTION_HOLD_BATTERY, kHoldOnBatteryValue, 0},
}, kCaptionChoices[] = {
    {IDC_OPTION_CAPTION, kCaptionValue, 0},
    {IDC_OPTION_CAPTION_DATE, kCaptionDateValue, 0},
    {IDC_OPTION_CAPTION_ALBUM, kCaptionAlbumValue, 0},
};

// In the order of the corners' numbers.
constexpr UINT kCornerEntries[] = {IDS_CORNER_BOTTOM_RIGHT, IDS_CORNER_BOTTOM_LEFT, IDS_CORNER_TOP_RIGHT,
                                   IDS_CORNER_TOP_LEFT};

// In the order of the ThemeSwitch and ThemeScope values.
constexpr UINT kThemeWhenEntries[] = {IDS_THEME_NEVER, IDS_THEME_WITH_SUN, IDS_THEME_AT_TIMES};
constexpr UINT kThemeScopeEntries[] = {IDS_THEME_APPS, IDS_THEME_WINDOWS};

} // namespace

COptionsPage::COptionsPage(std::vector<std::wstring> problems,
                           std::function<std::vector<std::wstring>()> applied)
    : CPropertyPage(IDD_OPTIONS), problems_(std::move(problems)), applied_(std::move(applied)) {}

void COptionsPage::OnInitDialog() {
    filling_ = true;
    for (size_t i = 0; i < std::size(kHotkeyControls); ++i)
        ::SendMessageW(Item(kHotkeyControls[i]), HKM_SETHOTKEY, ReadHotkey(kHotkeyActions[i]), 0);
    ::CheckDlgButton(Handle(), IDC_OPTION_AUTOSTART, HasAutostart() ? BST_CHECKED : BST_UNCHECKED);
    const auto check = [this](const auto& choices) {
        for (const auto& choice : choices)
            ::CheckDlgButton(Handle(), choice.control,
                             ReadProductNumber(choice.value, choice.fallback) ? BST_CHECKED : BST_UNCHECKED);
    };
    check(kHoldChoices);
    check(kCaptionChoices);
    for (const UINT entry : kCornerEntries)
        ::SendDlgItemMessageW(Handle(), IDC_OPTION_CAPTION_CORNER, CB_ADDSTRING, 0,
                              reinterpret_cast<LPARAM>(LoadResourceString(entry).c_str()));
    const DWORD corner = ReadProductNumber(kCaptionCornerValue, kBottomRight);
    ::SendDlgItemMessageW(Handle(), IDC_OPTION_CAPTION_CORNER, CB_SETCURSEL,
                          corner < kCornerCount ? corner : static_cast<WPARAM>(kBottomRight), 0);
    ShowCaptionControls();
    for (const auto& [control, value] : {std::pair{IDC_OPTION_LATITUDE, kLatitudeValue},
                                         std::pair{IDC_OPTION_LONGITUDE, kLongitudeValue}}) {
        if (const std::optional<std::wstring> text = ReadProductText(value))
            ::SetDlgItemTextW(Handle(), control, text->c_str());
    }
    const ThemeChoice theme = ReadThemeChoice();
    const auto fill = [this](int control, const auto& entries, int chosen) {
        for (const UINT entry : entries)
            ::SendDlgItemMessageW(Handle(), control, CB_ADDSTRING, 0,
                                  reinterpret_cast<LPARAM>(LoadResourceString(entry).c_str()));
        ::SendDlgItemMessageW(Handle(), control, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
    };
    fill(IDC_THEME_WHEN, kThemeWhenEntries, theme.when);
    fill(IDC_THEME_SCOPE, kThemeScopeEntries, theme.windows_too ? 1 : 0);
    for (const auto& [picker, minutes] : {std::pair{IDC_THEME_LIGHT_AT, theme.light_at},
                                          std::pair{IDC_THEME_DARK_AT, theme.dark_at}}) {
        UseShortTimeFormat(Item(picker));
        SetPickerMinutes(Item(picker), minutes);
    }
    ShowThemeControls();
    // "As Windows", then each language as it names itself.
    HWND language = Item(IDC_OPTION_LANGUAGE);
    ::SendMessageW(language, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadResourceString(IDS_LANGUAGE_AS_WINDOWS).c_str()));
    const std::wstring chosen = ChosenLanguage();
    int selected = 0;
    for (const LanguageOption& option : languages_) {
        const LRESULT at = ::SendMessageW(language, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(option.name.c_str()));
        if (::CompareStringOrdinal(option.tag.c_str(), -1, chosen.c_str(), -1, TRUE) == CSTR_EQUAL)
            selected = static_cast<int>(at);
    }
    ::SendMessageW(language, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    filling_ = false;
    ShowProblems();
}

void COptionsPage::ShowCaptionControls() {
    const bool shown = ::IsDlgButtonChecked(Handle(), IDC_OPTION_CAPTION) == BST_CHECKED;
    for (int id : {IDC_OPTION_CAPTION_CORNER_LABEL, IDC_OPTION_CAPTION_CORNER, IDC_OPTION_CAPTION_DATE,
                   IDC_OPTION_CAPTION_ALBUM})
        ::EnableWindow(Item(id), shown);
}

void COptionsPage::ShowThemeControls() {
    const LRESULT when = ::SendDlgItemMessageW(Handle(), IDC_THEME_WHEN, CB_GETCURSEL, 0, 0);
    ::EnableWindow(Item(IDC_THEME_SCOPE), when != kThemeNever);
    for (int id : {IDC_THEME_LIGHT_LABEL, IDC_THEME_LIGHT_AT, IDC_THEME_DARK_LABEL, IDC_THEME_DARK_AT})
        ::EnableWindow(Item(id), when == kThemeAtTimes);
}

bool COptionsPage::OnNotify(const NMHDR& header, LRESULT* result) {
    if (header.code != DTN_DATETIMECHANGE ||
        (header.idFrom != IDC_THEME_LIGHT_AT && header.idFrom != IDC_THEME_DARK_AT))
        return false;
    if (!filling_)
        SetModified(true);
    *result = 0;
    return true;
}

bool COptionsPage::Refuse(int control, const std::wstring& problem) {
    ::MessageBoxW(Handle(), problem.c_str(), LoadResourceString(IDS_APP_TITLE).c_str(),
                  MB_OK | MB_ICONEXCLAMATION);
    ::SetFocus(Item(control));
    return false;
}

bool COptionsPage::CheckHotkeys() {
    WORD keys[std::size(kHotkeyControls)] = {};
    for (size_t i = 0; i < std::size(kHotkeyControls); ++i) {
        keys[i] = static_cast<WORD>(::SendMessageW(Item(kHotkeyControls[i]), HKM_GETHOTKEY, 0, 0));
        const std::wstring name = HotkeyName(kHotkeyActions[i]);
        if (!IsUsableHotkey(keys[i]))
            return Refuse(kHotkeyControls[i], ResourceText(IDS_HOTKEY_ALONE, {name, HotkeyText(keys[i])}));
        for (size_t j = 0; j < i; ++j)
            if (SameHotkey(keys[i], keys[j]))
                return Refuse(kHotkeyControls[i], ResourceText(IDS_HOTKEY_SHARED, {HotkeyName(kHotkeyActions[j]), name,
                                                                       HotkeyText(keys[i])}));
    }
    return true;
}

bool COptionsPage::ApplyPlace() {
    const std::wstring latitude = ItemText(IDC_OPTION_LATITUDE);
    const std::wstring longitude = ItemText(IDC_OPTION_LONGITUDE);
    const auto blank = [](const std::wstring& text) {
        return text.find_first_not_of(L" \t") == std::wstring::npos;
    };
    UINT problem = 0;
    int control = IDC_OPTION_LATITUDE;
    double degrees = 0;
    if (blank(latitude) != blank(longitude)) {
        problem = IDS_PLACE_BOTH;
        control = blank(latitude) ? IDC_OPTION_LATITUDE : IDC_OPTION_LONGITUDE;
    } else if (!blank(latitude) && !ParseDegrees(latitude, 90, &degrees)) {
        problem = IDS_PLACE_LATITUDE;
    } else if (!blank(longitude) && !ParseDegrees(longitude, 180, &degrees)) {
        problem = IDS_PLACE_LONGITUDE;
        control = IDC_OPTION_LONGITUDE;
    }
    if (problem)
        return Refuse(control, LoadResourceString(problem));
    place_written_ = ERROR_SUCCESS;
    for (const auto& [value, text] : {std::pair{kLatitudeValue, &latitude},
                                      std::pair{kLongitudeValue, &longitude}}) {
        const LSTATUS status = blank(*text) ? DeleteProductValue(value) : WriteProductText(value, *text);
        if (place_written_ == ERROR_SUCCESS)
            place_written_ = status;
    }
    return true;
}

bool COptionsPage::OnCommand(WORD id, WORD code) {
    const bool hotkey = code == EN_CHANGE && (id == IDC_HOTKEY_NEXT || id == IDC_HOTKEY_PREVIOUS ||
                                              id == IDC_HOTKEY_PAUSE);
    const bool box = code == BN_CLICKED && (id == IDC_OPTION_AUTOSTART ||
                                            id == IDC_OPTION_HOLD_FULL_SCREEN ||
                                            id == IDC_OPTION_HOLD_BATTERY || id == IDC_OPTION_CAPTION ||
                                            id == IDC_OPTION_CAPTION_DATE || id == IDC_OPTION_CAPTION_ALBUM);
    const bool place = code == EN_CHANGE &&
                       (id == IDC_OPTION_LATITUDE || id == IDC_OPTION_LONGITUDE);
    const bool theme = code == CBN_SELCHANGE && (id == IDC_THEME_WHEN || id == IDC_THEME_SCOPE ||
                                                 id == IDC_OPTION_CAPTION_CORNER);
    if (theme)
        ShowThemeControls();
    if (id == IDC_OPTION_CAPTION)
        ShowCaptionControls();
    if ((hotkey || box || place || theme) && !filling_)
        SetModified(true);
    return hotkey || box || place || theme;
}

bool COptionsPage::OnApply() {
    // The checks first: a value the page refuses keeps everything else as it was, too.
    if (!CheckHotkeys() || !ApplyPlace())
        return false;
    // Every write is tried; the first failure is told, and the window stays open.
    LSTATUS failed = ERROR_SUCCESS;
    const auto note = [&failed](LSTATUS status) {
        if (failed == ERROR_SUCCESS)
            failed = status;
    };
    for (size_t i = 0; i < std::size(kHotkeyControls); ++i)
        note(WriteProductNumber(kHotkeyActions[i].value,
                                static_cast<WORD>(::SendMessageW(Item(kHotkeyControls[i]),
                                                                 HKM_GETHOTKEY, 0, 0))));
    // The same Run value as the installer's switches write and remove.
    const bool autostart = ::IsDlgButtonChecked(Handle(), IDC_OPTION_AUTOSTART) == BST_CHECKED;
    if (autostart != HasAutostart() && !(autostart ? AddAutostart() : RemoveAutostart()))
        note(ERROR_ACCESS_DENIED);
    const auto write = [&](const auto& choices) {
        for (const auto& choice : choices)
            note(WriteProductNumber(choice.value,
                                    ::IsDlgButtonChecked(Handle(), choice.control) == BST_CHECKED ? 1 : 0));
    };
    write(kHoldChoices);
    write(kCaptionChoices);
    const LRESULT corner = ::SendDlgItemMessageW(Handle(), IDC_OPTION_CAPTION_CORNER, CB_GETCURSEL, 0, 0);
    note(WriteProductNumber(kCaptionCornerValue,
                            corner == CB_ERR ? static_cast<DWORD>(kBottomRight) : static_cast<DWORD>(corner)));
    note(place_written_);
    const LRESULT when = ::SendDlgItemMessageW(Handle(), IDC_THEME_WHEN, CB_GETCURSEL, 0, 0);
    const LRESULT scope = ::SendDlgItemMessageW(Handle(), IDC_THEME_SCOPE, CB_GETCURSEL, 0, 0);
    note(WriteProductNumber(kThemeSwitchValue, when == CB_ERR ? static_cast<DWORD>(kThemeNever) : static_cast<DWORD>(when)));
    note(WriteProductNumber(kThemeScopeValue, scope == 1 ? 1 : 0));
    const ThemeChoice stored = ReadThemeChoice();
    note(WriteProductNumber(kThemeLightAtValue, static_cast<DWORD>(PickerMinutes(
                                                    Item(IDC_THEME_LIGHT_AT), stored.light_at))));
    note(WriteProductNumber(kThemeDarkAtValue, static_cast<DWORD>(PickerMinutes(
                                                   Item(IDC_THEME_DARK_AT), stored.dark_at))));
    const LRESULT language = ::SendDlgItemMessageW(Handle(), IDC_OPTION_LANGUAGE, CB_GETCURSEL, 0, 0);
    const std::wstring tag = language > 0 && static_cast<size_t>(language) <= languages_.size()
                                 ? languages_[static_cast<size_t>(language) - 1].tag
                                 : std::wstring();
    if (tag != ChosenLanguage()) {
        note(tag.empty() ? DeleteProductValue(kLanguageValue) : WriteProductText(kLanguageValue, tag));
        ApplyLanguageChoice();
    }
    if (failed != ERROR_SUCCESS)
        return Refuse(IDC_HOTKEY_NEXT, ResourceText(IDS_OPTIONS_NOT_SAVED, {SystemErrorText(static_cast<DWORD>(failed))}));
    if (applied_)
        problems_ = applied_();
    ShowProblems();
    SetModified(false);
    return true;
}

void COptionsPage::ShowProblems() {
    std::wstring text;
    for (const std::wstring& problem : problems_)
        text += (text.empty() ? L"" : L"; ") + problem;
    if (!text.empty())
        text += LoadResourceString(IDS_CHOOSE_OTHER_KEYS);
    ::SetDlgItemTextW(Handle(), IDC_HOTKEY_STATUS, text.c_str());
}

INT_PTR RunOptions(HWND owner, std::vector<std::wstring> problems,
                   std::function<std::vector<std::wstring>()> applied) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_HOTKEY_CLASS | ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&controls);
    CPropertySheet sheet(LoadResourceString(IDS_OPTIONS_TITLE), owner);
    COptionsPage page(std::move(problems), std::move(applied));
    sheet.AddPage(page);
    return sheet.DoModal();
}

} // namespace glimro
