#include "ui/general_page.h"

#include "resource.h"

#include <cmath>

namespace glimro {
namespace {

constexpr const wchar_t* kFrequencyEntries[] = {
    L"Start of every Minute", L"Start on every Hour",  L"Start of every Day",
    L"Start of every Week",   L"Start of every Month", L"Sync to Month",
    L"Sync to Day",           L"Sync to Sun",
};

std::wstring Pictures(size_t count) {
    return std::to_wstring(count) + (count == 1 ? L" picture" : L" pictures");
}

// "57.6" or "6": minutes or hours with at most one decimal.
std::wstring Amount(double value) {
    const long tenths = std::lround(value * 10);
    return std::to_wstring(tenths / 10) + (tenths % 10 ? L"." + std::to_wstring(tenths % 10) : L"");
}

// In the order people choose them; each with the album's Position value.
constexpr struct {
    const wchar_t* text;
    int position;
} kPositionEntries[] = {
    {L"Fill", kFill},     {L"Fit", kFit},   {L"Stretch", kStretch},
    {L"Center", kCenter}, {L"Tile", kTile}, {L"Span", kSpan},
};

// In the order of the Monitors values.
constexpr const wchar_t* kMonitorEntries[] = {L"Same picture on every monitor",
                                              L"A picture for each monitor"};

} // namespace

std::wstring FrequencyNote(int frequency, size_t entries) {
    if (frequency == kSyncToDay) {
        if (entries <= 1)
            return entries == 0 ? L"The pictures divide the day from midnight."
                                : L"1 picture: all day";
        const double minutes = 1440.0 / static_cast<double>(entries);
        std::wstring every = minutes == 60   ? L"one an hour"
                             : minutes < 60 ? L"one every " + Amount(minutes) + L" minutes"
                                            : L"one every " + Amount(minutes / 60) + L" hours";
        return Pictures(entries) + L": " + every;
    }
    if (frequency == kSyncToSun) {
        if (entries <= 1)
            return entries == 0 ? L"Half the pictures by day, the rest by night."
                                : L"1 picture: day and night";
        const size_t day = (entries + 1) / 2;
        return L"dawn to dusk: " + Pictures(day) + L", night: " + Pictures(entries - day);
    }
    return {};
}

CGeneralPropertyPage::CGeneralPropertyPage(CAccount& album, const AlbumSet& albums)
    : CPropertyPage(IDD_GENERAL), album_(album), albums_(albums), name_(album.Name),
      description_(album.Description), frequency_(album.Frequency), position_(album.Position),
      monitors_(album.Monitors) {}

void CGeneralPropertyPage::OnInitDialog() {
    // Filling the controls is no edit of the user's.
    filling_ = true;
    HWND frequency = Item(IDC_ALBUM_FREQUENCY);
    for (const wchar_t* entry : kFrequencyEntries)
        ::SendMessageW(frequency, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    ::SendMessageW(frequency, CB_SETCURSEL, static_cast<WPARAM>(frequency_), 0);
    HWND position = Item(IDC_ALBUM_POSITION);
    for (const auto& entry : kPositionEntries) {
        const LRESULT index =
            ::SendMessageW(position, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.text));
        ::SendMessageW(position, CB_SETITEMDATA, static_cast<WPARAM>(index), entry.position);
        if (entry.position == position_)
            ::SendMessageW(position, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    HWND monitors = Item(IDC_ALBUM_MONITORS);
    for (const wchar_t* entry : kMonitorEntries)
        ::SendMessageW(monitors, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    ::SendMessageW(monitors, CB_SETCURSEL, static_cast<WPARAM>(monitors_), 0);
    ::SetDlgItemTextW(Handle(), IDC_ALBUM_FREQUENCY_NOTE,
                      FrequencyNote(frequency_, album_.FileList.size()).c_str());
    ::SetWindowTextW(Item(IDC_ALBUM_NAME), name_.c_str());
    ::SetWindowTextW(Item(IDC_ALBUM_DESCRIPTION), description_.c_str());
    filling_ = false;

    HWND name = Item(IDC_ALBUM_NAME);
    ::SendMessageW(name, EM_SETSEL, 0, -1);
    ::SendMessageW(name, EM_SCROLLCARET, 0, 0);
    ::SendMessageW(name, EM_LIMITTEXT, kNameLimit, 0);
    ::SendMessageW(Item(IDC_ALBUM_DESCRIPTION), EM_LIMITTEXT, kDescriptionLimit, 0);
}

bool CGeneralPropertyPage::OnCommand(WORD id, WORD code) {
    const bool edited =
        ((id == IDC_ALBUM_NAME || id == IDC_ALBUM_DESCRIPTION) && code == EN_CHANGE) ||
        ((id == IDC_ALBUM_FREQUENCY || id == IDC_ALBUM_POSITION || id == IDC_ALBUM_MONITORS) &&
         code == CBN_SELCHANGE);
    if (!edited)
        return false;
    if (filling_)
        return true;
    if (id == IDC_ALBUM_FREQUENCY) {
        const LRESULT selected = ::SendMessageW(Item(IDC_ALBUM_FREQUENCY), CB_GETCURSEL, 0, 0);
        ::SetDlgItemTextW(Handle(), IDC_ALBUM_FREQUENCY_NOTE,
                          FrequencyNote(static_cast<int>(selected), album_.FileList.size()).c_str());
    }
    Sheet()->SetChanged(true);
    SetModified(true);
    return true;
}

const wchar_t* CGeneralPropertyPage::NameProblem() const {
    if (name_.empty() || name_ == kNamePrompt)
        return L"You must enter an album name.";
    // The name is the album's registry key: a backslash would make a nested key, and the
    // album would not load again.
    if (name_.find(L'\\') != std::wstring::npos)
        return L"An album name cannot contain a backslash (\\).";
    // Key names ignore letter case: "Holiday" and "holiday" would share one key.
    if (albums_.NameInUse(name_, &album_))
        return L"The name is already in use.";
    return nullptr;
}

bool CGeneralPropertyPage::OnApply() {
    name_ = ItemText(IDC_ALBUM_NAME);
    description_ = ItemText(IDC_ALBUM_DESCRIPTION);
    const LRESULT selected = ::SendMessageW(Item(IDC_ALBUM_FREQUENCY), CB_GETCURSEL, 0, 0);
    // A stored frequency outside the list selects nothing: it stays as it is.
    if (selected != CB_ERR)
        frequency_ = static_cast<int>(selected);
    const LRESULT monitors = ::SendMessageW(Item(IDC_ALBUM_MONITORS), CB_GETCURSEL, 0, 0);
    if (monitors != CB_ERR)
        monitors_ = static_cast<int>(monitors);
    const LRESULT position = ::SendMessageW(Item(IDC_ALBUM_POSITION), CB_GETCURSEL, 0, 0);
    if (position != CB_ERR)
        position_ = static_cast<int>(
            ::SendMessageW(Item(IDC_ALBUM_POSITION), CB_GETITEMDATA, static_cast<WPARAM>(position), 0));
    // Checked at every OK and Apply, changed or not: a new album's empty name too.
    if (const wchar_t* problem = NameProblem()) {
        ::MessageBoxW(Handle(), problem, LoadResourceString(IDS_APP_TITLE).c_str(), MB_OK);
        ::SetFocus(Item(IDC_ALBUM_NAME));
        return false;
    }
    album_.Name = name_;
    album_.Description = description_;
    album_.Frequency = frequency_;
    album_.Position = position_;
    album_.Monitors = monitors_;
    SetModified(false);
    return true;
}

} // namespace glimro
