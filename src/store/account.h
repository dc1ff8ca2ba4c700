#pragma once
// One album: a named, ordered list of image entries with its schedule, choice rule, active
// flag and progress. In the registry it is one subkey of the album list key.
#include "platform/reg_key.h"

#include <windows.h>

#include <string>
#include <vector>

namespace glimro {

enum Frequency : int {
    kEveryMinute = 0,
    kEveryHour = 1,
    kEveryDay = 2,
    kEveryWeek = 3,
    kEveryMonth = 4,
    kSyncToMonth = 5,
};

enum Mode : int {
    kSequential = 0,
    kRandom = 1,
};

// The album list's suffix for a frequency: " (on the minute)" ... " (calendar)"; empty for
// a frequency outside 0-5.
const wchar_t* FrequencyLabel(int frequency);

// Results of a pass.
inline constexpr HRESULT kPassApplied = S_OK;
inline constexpr HRESULT kPassEmptyEntry = 3;
// A pass asked for while another is still running (a download dispatches messages, so a
// timer tick or a command can arrive in the middle of one): refused, nothing changes.
inline constexpr HRESULT kPassAlreadyRunning = HRESULT_FROM_WIN32(ERROR_BUSY);

class CAccount {
public:
    std::wstring Name;
    std::wstring Description;
    std::wstring LastFile = L"Unavailable";
    int LastIndex = 0;
    int Frequency = kEveryDay;
    SYSTEMTIME LastTime = {};
    bool Enabled = false;
    int Mode = kSequential;
    std::vector<std::wstring> FileList;
    // With Mode "Random": the positions still to be shown in this round, next first. Stored
    // as the extra value "Shuffle Round", which other tools may ignore.
    std::vector<int> ShuffleRound;

    void SetEnabled(bool enabled) { Enabled = enabled; }

    // Fills the record from its album key; never touches Name. Always true. A value of the
    // wrong type or size counts as missing.
    bool LoadFromKey(const RegKey& album_key);
    // Writes the record as the subkey Name of parent; false when that subkey cannot be made
    // or any write fails.
    bool SaveToKey(HKEY parent, int ordinal) const;
    // Writes every value and the entries into an open album key; the first failure's code.
    LSTATUS WriteToKey(RegKey& album_key) const;
    void LoadFileList(const RegKey& file_list_key);
    HRESULT SaveFileList(RegKey& album_key) const;
    static HRESULT WriteFileListEntry(RegKey& file_list_key, size_t position,
                                      const std::wstring& entry);

    // The pass (defined with the rest of the wallpaper engine).
    HRESULT ApplyNextImage();
    HRESULT ApplyImageAt(int position);
    bool ApplyImage(const std::wstring& entry);

private:
    // The pass from the choice of the position on; by the shuffle round when asked.
    HRESULT ApplyNext(bool by_shuffle);
};

} // namespace glimro
