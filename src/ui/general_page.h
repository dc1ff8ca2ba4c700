#pragma once
// The General page of the album properties sheet: the album's name, description and
// frequency, committed to the album only by a successful apply.
#include "platform/property_sheet.h"
#include "store/album_set.h"

#include <string>

namespace glimro {

inline constexpr wchar_t kNamePrompt[] = L"enter album name";
inline constexpr int kNameLimit = 128;
inline constexpr int kDescriptionLimit = 512;

// What a frequency that follows the day or the sun does with this many pictures ("24
// pictures: one an hour"); empty for the others.
std::wstring FrequencyNote(int frequency, size_t entries);

class CGeneralPropertyPage : public CPropertyPage {
public:
    // The album set is consulted for the name check only.
    CGeneralPropertyPage(CAlbum& album, const AlbumSet& albums);

    bool OnApply() override;

protected:
    void OnInitDialog() override;
    bool OnCommand(WORD id, WORD code) override;
    bool OnNotify(const NMHDR& header, LRESULT* result) override;

private:
    // Why the working name cannot be the album's; null when it can.
    UINT NameProblem() const; // the text saying why, or 0
    // The frequency chosen in the list; the stored one when the list shows none.
    int ChosenFrequency() const;
    // Every, the day and the time as the controls show them.
    Rhythm ChosenRhythm() const;
    // The rhythm's controls for the frequency: the range of N, the unit, the days, enabled
    // where they apply; the chosen values kept where they still mean something.
    void ShowRhythmControls(int frequency, const Rhythm& rhythm);
    // "Next change: ..." for the rhythm the controls show.
    void ShowNextChange();
    void Edited();

    CAlbum& album_;
    const AlbumSet& albums_;
    bool filling_ = false;
    std::wstring name_;
    std::wstring description_;
    int frequency_;
    int position_;
    int monitors_;
    int every_;
    int at_;
    int smallest_;
    int shape_;
    int caption_;
};

} // namespace glimro
