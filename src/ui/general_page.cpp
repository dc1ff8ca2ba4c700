#include "ui/general_page.h"

#include "platform/text.h"
#include "platform/time_picker.h"
#include "resource.h"
#include "scheduler/pass_check.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>
#include "platform/window.h"

namespace glimro {
namespace {

constexpr UINT kFrequencyEntries[] = {
    IDS_FREQUENCY_MINUTE, IDS_FREQUENCY_HOUR,       IDS_FREQUENCY_DAY,      IDS_FREQUENCY_WEEK,
    IDS_FREQUENCY_MONTH,  IDS_FREQUENCY_SYNC_MONTH, IDS_FREQUENCY_SYNC_DAY, IDS_FREQUENCY_SYNC_SUN,
};

std::wstring Pictures(size_t count) {
    return count == 1 ? LoadResourceString(IDS_ONE_PICTURE) : ResourceText(IDS_PICTURES, {std::to_wstring(count)});
}

// "57.6" or "6": minutes or hours with at most one decimal.
std::wstring Amount(double value) {
    const long tenths = std::lround(value * 10);
    return std::to_wstring(tenths / 10) + (tenths % 10 ? L"." + std::to_wstring(tenths % 10) : L"");
}

// In the order people choose them; each with the album's Position value.
constexpr struct {
    UINT text;
    int position;
} kPositionEntries[] = {
    {IDS_POSITION_FILL, kFill},       {IDS_POSITION_FILL_SUBJECT, kFillSubject}, {IDS_POSITION_FIT, kFit},
    {IDS_POSITION_STRETCH, kStretch}, {IDS_POSITION_CENTER, kCenter},            {IDS_POSITION_TILE, kTile},
    {IDS_POSITION_SPAN, kSpan},
};

// In the order of the Monitors values.
constexpr UINT kMonitorEntries[] = {IDS_MONITORS_SAME, IDS_MONITORS_EACH};

// The smallest share of the screen a picture must reach, in percent; 0 for any size.
constexpr int kSmallestShares[] = {0, 25, 50, 75, 100};

std::wstring SmallestText(int share) {
    if (share <= 0)
        return LoadResourceString(IDS_SMALLEST_ANY);
    if (share >= 100)
        return LoadResourceString(IDS_SMALLEST_SCREEN);
    return ResourceText(IDS_SMALLEST_SHARE, {std::to_wstring(share)});
}

// In the order of the Shape values.
constexpr UINT kShapeEntries[] = {IDS_SHAPE_ANY, IDS_SHAPE_LANDSCAPE, IDS_SHAPE_PORTRAIT, IDS_SHAPE_EACH_MONITOR};

// The weekday names of the user's language, Monday first.
std::wstring DayName(int from_monday) {
    wchar_t name[64] = {};
    // The system knows every language's names; a locale it cannot name gives the number.
    if (!::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDAYNAME1 + from_monday, name, 64))
        return std::to_wstring(from_monday + 1);
    return name;
}

std::wstring DayOfMonthText(int day) {
    return ResourceText(day > 28 ? IDS_DAY_OF_MONTH_OR_LAST : IDS_DAY_OF_MONTH, {std::to_wstring(day)});
}

} // namespace

std::wstring FrequencyNote(int frequency, size_t entries) {
    if (frequency == kSyncToDay) {
        if (entries <= 1)
            return LoadResourceString(entries == 0 ? IDS_DAY_NOTE_NONE : IDS_DAY_NOTE_ONE);
        const double minutes = 1440.0 / static_cast<double>(entries);
        const std::wstring every = minutes == 60  ? LoadResourceString(IDS_ONE_AN_HOUR)
                                   : minutes < 60 ? ResourceText(IDS_ONE_EVERY_MINUTES, {Amount(minutes)})
                                                  : ResourceText(IDS_ONE_EVERY_HOURS, {Amount(minutes / 60)});
        return ResourceText(IDS_PICTURES_EVERY, {Pictures(entries), every});
    }
    if (frequency == kSyncToSun) {
        if (entries <= 1)
            return LoadResourceString(entries == 0 ? IDS_SUN_NOTE_NONE : IDS_SUN_NOTE_ONE);
        const size_t day = (entries + 1) / 2;
        return ResourceText(IDS_SUN_NOTE, {Pictures(day), Pictures(entries - day)});
    }
    return {};
}

CGeneralPropertyPage::CGeneralPropertyPage(CAlbum& album, const AlbumSet& albums)
    : CPropertyPage(IDD_GENERAL), album_(album), albums_(albums), name_(album.Name),
      description_(album.Description), frequency_(album.Frequency), position_(album.Position),
      monitors_(album.Monitors), every_(album.Every), at_(album.At),
      smallest_(album.SmallestShare), shape_(album.Shape), caption_(album.Caption) {
    // The time picker's class, registered before the page's dialog is made.
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_DATE_CLASSES | ICC_UPDOWN_CLASS};
    ::InitCommonControlsEx(&controls);
}

void CGeneralPropertyPage::OnInitDialog() {
    // Filling the controls is no edit of the user's.
    filling_ = true;
    HWND frequency = Item(IDC_ALBUM_FREQUENCY);
    for (const UINT entry : kFrequencyEntries)
        ::SendMessageW(frequency, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadResourceString(entry).c_str()));
    ::SendMessageW(frequency, CB_SETCURSEL, static_cast<WPARAM>(frequency_), 0);
    HWND position = Item(IDC_ALBUM_POSITION);
    for (const auto& entry : kPositionEntries) {
        const LRESULT index =
            ::SendMessageW(position, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadResourceString(entry.text).c_str()));
        ::SendMessageW(position, CB_SETITEMDATA, static_cast<WPARAM>(index), entry.position);
        if (entry.position == position_)
            ::SendMessageW(position, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    HWND monitors = Item(IDC_ALBUM_MONITORS);
    for (const UINT entry : kMonitorEntries)
        ::SendMessageW(monitors, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadResourceString(entry).c_str()));
    ::SendMessageW(monitors, CB_SETCURSEL, static_cast<WPARAM>(monitors_), 0);
    // A share another tool stored, not among ours, is offered as it is.
    std::vector<int> shares(std::begin(kSmallestShares), std::end(kSmallestShares));
    if (std::find(shares.begin(), shares.end(), smallest_) == shares.end())
        shares.insert(std::upper_bound(shares.begin(), shares.end(), smallest_), smallest_);
    HWND smallest = Item(IDC_ALBUM_SMALLEST);
    for (const int share : shares) {
        const LRESULT index = ::SendMessageW(smallest, CB_ADDSTRING, 0,
                                             reinterpret_cast<LPARAM>(SmallestText(share).c_str()));
        ::SendMessageW(smallest, CB_SETITEMDATA, static_cast<WPARAM>(index), share);
        if (share == smallest_)
            ::SendMessageW(smallest, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    HWND shape = Item(IDC_ALBUM_SHAPE);
    for (const UINT entry : kShapeEntries)
        ::SendMessageW(shape, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadResourceString(entry).c_str()));
    ::SendMessageW(shape, CB_SETCURSEL, static_cast<WPARAM>(shape_), 0);
    HWND caption = Item(IDC_ALBUM_CAPTION);
    for (const UINT entry : {IDS_CAPTION_AS_OPTIONS, IDS_CAPTION_ON, IDS_CAPTION_OFF})
        ::SendMessageW(caption, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadResourceString(entry).c_str()));
    ::SendMessageW(caption, CB_SETCURSEL, static_cast<WPARAM>(caption_), 0);
    ::SetDlgItemTextW(Handle(), IDC_ALBUM_FREQUENCY_NOTE,
                      FrequencyNote(frequency_, album_.FileList.size()).c_str());
    ::SetWindowTextW(Item(IDC_ALBUM_NAME), name_.c_str());
    ::SetWindowTextW(Item(IDC_ALBUM_DESCRIPTION), description_.c_str());
    UseShortTimeFormat(Item(IDC_ALBUM_AT));
    ShowRhythmControls(frequency_, Rhythm{frequency_, every_, at_});
    filling_ = false;

    HWND name = Item(IDC_ALBUM_NAME);
    ::SendMessageW(name, EM_SETSEL, 0, -1);
    ::SendMessageW(name, EM_SCROLLCARET, 0, 0);
    ::SendMessageW(name, EM_LIMITTEXT, kNameLimit, 0);
    ::SendMessageW(Item(IDC_ALBUM_DESCRIPTION), EM_LIMITTEXT, kDescriptionLimit, 0);
}

bool CGeneralPropertyPage::OnCommand(WORD id, WORD code) {
    const bool edited =
        ((id == IDC_ALBUM_NAME || id == IDC_ALBUM_DESCRIPTION || id == IDC_ALBUM_EVERY) &&
         code == EN_CHANGE) ||
        ((id == IDC_ALBUM_FREQUENCY || id == IDC_ALBUM_POSITION || id == IDC_ALBUM_MONITORS ||
          id == IDC_ALBUM_DAY || id == IDC_ALBUM_SMALLEST || id == IDC_ALBUM_SHAPE ||
          id == IDC_ALBUM_CAPTION) &&
         code == CBN_SELCHANGE);
    if (!edited)
        return false;
    if (filling_)
        return true;
    if (id == IDC_ALBUM_FREQUENCY) {
        const int frequency = ChosenFrequency();
        ::SetDlgItemTextW(Handle(), IDC_ALBUM_FREQUENCY_NOTE,
                          FrequencyNote(frequency, album_.FileList.size()).c_str());
        Rhythm rhythm = ChosenRhythm();
        rhythm.frequency = frequency;
        filling_ = true;
        ShowRhythmControls(frequency, rhythm);
        filling_ = false;
    } else if (id == IDC_ALBUM_EVERY || id == IDC_ALBUM_DAY) {
        const Rhythm rhythm = ChosenRhythm();
        ::SetDlgItemTextW(Handle(), IDC_ALBUM_EVERY_UNIT,
                          UnitText(rhythm.frequency, rhythm.every).c_str());
        ShowNextChange();
    }
    Edited();
    return true;
}

bool CGeneralPropertyPage::OnNotify(const NMHDR& header, LRESULT* result) {
    if (header.idFrom != IDC_ALBUM_AT || header.code != DTN_DATETIMECHANGE || filling_)
        return false;
    ShowNextChange();
    Edited();
    *result = 0;
    return true;
}

void CGeneralPropertyPage::Edited() {
    Sheet()->SetChanged(true);
    SetModified(true);
}

int CGeneralPropertyPage::ChosenFrequency() const {
    const LRESULT selected = ::SendMessageW(Item(IDC_ALBUM_FREQUENCY), CB_GETCURSEL, 0, 0);
    return selected == CB_ERR ? frequency_ : static_cast<int>(selected);
}

Rhythm CGeneralPropertyPage::ChosenRhythm() const {
    Rhythm rhythm;
    rhythm.frequency = ChosenFrequency();
    if (MaxEvery(rhythm.frequency) == 0)
        return Rhythm{rhythm.frequency, every_, at_}; // kept as stored
    BOOL read = FALSE;
    const UINT every = ::GetDlgItemInt(Handle(), IDC_ALBUM_EVERY, &read, FALSE);
    rhythm.every = read ? static_cast<int>(std::min<UINT>(every, 100000)) : 1;
    const int minutes = PickerMinutes(Item(IDC_ALBUM_AT), at_ % kMinutesInDay);
    const LRESULT day = ::SendMessageW(Item(IDC_ALBUM_DAY), CB_GETCURSEL, 0, 0);
    const bool has_day = rhythm.frequency == kEveryWeek || rhythm.frequency == kEveryMonth;
    rhythm.at = (has_day && day != CB_ERR ? static_cast<int>(day) : 0) * kMinutesInDay + minutes;
    return Normalized(rhythm);
}

void CGeneralPropertyPage::ShowRhythmControls(int frequency, const Rhythm& shown) {
    const int most = MaxEvery(frequency);
    const Rhythm rhythm = Normalized(Rhythm{frequency, shown.every, shown.at});
    const bool has_day = frequency == kEveryWeek || frequency == kEveryMonth;
    for (int id : {IDC_ALBUM_EVERY_LABEL, IDC_ALBUM_EVERY, IDC_ALBUM_EVERY_SPIN,
                   IDC_ALBUM_EVERY_UNIT, IDC_ALBUM_AT_LABEL, IDC_ALBUM_AT})
        ::EnableWindow(Item(id), most > 0);
    for (int id : {IDC_ALBUM_DAY_LABEL, IDC_ALBUM_DAY})
        ::ShowWindow(Item(id), has_day ? SW_SHOWNA : SW_HIDE);
    ::SendMessageW(Item(IDC_ALBUM_EVERY_SPIN), UDM_SETRANGE32, 1, std::max(most, 1));
    ::SendMessageW(Item(IDC_ALBUM_EVERY_SPIN), UDM_SETPOS32, 0, rhythm.every);
    ::SetDlgItemInt(Handle(), IDC_ALBUM_EVERY, static_cast<UINT>(rhythm.every), FALSE);
    ::SetDlgItemTextW(Handle(), IDC_ALBUM_EVERY_UNIT, UnitText(frequency, rhythm.every).c_str());
    HWND day = Item(IDC_ALBUM_DAY);
    ::SendMessageW(day, CB_RESETCONTENT, 0, 0);
    if (has_day) {
        for (int i = 0; i < (frequency == kEveryWeek ? 7 : 31); ++i) {
            const std::wstring text = frequency == kEveryWeek ? DayName(i) : DayOfMonthText(i + 1);
            ::SendMessageW(day, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
        ::SendMessageW(day, CB_SETCURSEL, static_cast<WPARAM>(rhythm.at / kMinutesInDay), 0);
    }
    SetPickerMinutes(Item(IDC_ALBUM_AT), rhythm.at % kMinutesInDay);
    ShowNextChange();
}

void CGeneralPropertyPage::ShowNextChange() {
    std::wstring text;
    const Rhythm rhythm = ChosenRhythm();
    if (MaxEvery(rhythm.frequency) > 0) {
        CAlbum shown;
        shown.Frequency = rhythm.frequency;
        shown.Every = rhythm.every;
        shown.At = rhythm.at;
        SYSTEMTIME now = {}, next = {};
        ::GetLocalTime(&now);
        if (NextAlbumChange(shown, now, &next)) {
            wchar_t date[64] = {}, clock[64] = {};
            ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &next, nullptr, date, 64);
            ::GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &next, nullptr, clock, 64);
            text = ResourceText(IDS_NEXT_CHANGE, {date, clock});
        }
        if (rhythm.frequency == kEveryMonth && rhythm.at / kMinutesInDay >= 28)
            text += L"\n" + LoadResourceString(IDS_SHORTER_MONTH);
    }
    ::SetDlgItemTextW(Handle(), IDC_ALBUM_RHYTHM_NOTE, text.c_str());
}

UINT CGeneralPropertyPage::NameProblem() const {
    if (name_.empty() || name_ == kNamePrompt)
        return IDS_NAME_MISSING;
    // The name is the album's registry key: a backslash would make a nested key, and the
    // album would not load again.
    if (name_.find(L'\\') != std::wstring::npos)
        return IDS_NAME_BACKSLASH;
    // Key names ignore letter case: "Holiday" and "holiday" would share one key.
    if (albums_.NameInUse(name_, &album_))
        return IDS_NAME_IN_USE;
    return 0;
}

bool CGeneralPropertyPage::OnApply() {
    name_ = ItemText(IDC_ALBUM_NAME);
    description_ = ItemText(IDC_ALBUM_DESCRIPTION);
    // A stored frequency outside the list selects nothing: it stays as it is.
    const Rhythm rhythm = ChosenRhythm();
    frequency_ = rhythm.frequency;
    every_ = rhythm.every;
    at_ = rhythm.at;
    const LRESULT monitors = ::SendMessageW(Item(IDC_ALBUM_MONITORS), CB_GETCURSEL, 0, 0);
    if (monitors != CB_ERR)
        monitors_ = static_cast<int>(monitors);
    const LRESULT position = ::SendMessageW(Item(IDC_ALBUM_POSITION), CB_GETCURSEL, 0, 0);
    if (position != CB_ERR)
        position_ = static_cast<int>(
            ::SendMessageW(Item(IDC_ALBUM_POSITION), CB_GETITEMDATA, static_cast<WPARAM>(position), 0));
    const LRESULT smallest = ::SendMessageW(Item(IDC_ALBUM_SMALLEST), CB_GETCURSEL, 0, 0);
    if (smallest != CB_ERR)
        smallest_ = static_cast<int>(
            ::SendMessageW(Item(IDC_ALBUM_SMALLEST), CB_GETITEMDATA, static_cast<WPARAM>(smallest), 0));
    const LRESULT shape = ::SendMessageW(Item(IDC_ALBUM_SHAPE), CB_GETCURSEL, 0, 0);
    if (shape != CB_ERR)
        shape_ = static_cast<int>(shape);
    const LRESULT caption = ::SendMessageW(Item(IDC_ALBUM_CAPTION), CB_GETCURSEL, 0, 0);
    if (caption != CB_ERR)
        caption_ = static_cast<int>(caption);
    // Checked at every OK and Apply, changed or not: a new album's empty name too.
    if (const UINT problem = NameProblem()) {
        ::MessageBoxW(Handle(), LoadResourceString(problem).c_str(), LoadResourceString(IDS_APP_TITLE).c_str(), MB_OK);
        ::SetFocus(Item(IDC_ALBUM_NAME));
        return false;
    }
    album_.Name = name_;
    album_.Description = description_;
    album_.Frequency = frequency_;
    album_.Every = every_;
    album_.At = at_;
    album_.Position = position_;
    album_.Monitors = monitors_;
    album_.SmallestShare = smallest_;
    album_.Shape = shape_;
    album_.Caption = caption_;
    SetModified(false);
    return true;
}

} // namespace glimro
