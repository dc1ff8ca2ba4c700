#pragma once
// An album's frequency and choice rule, as the "Frequency" and "Mode" values store them.

namespace glimro {

enum Frequency : int {
    kEveryMinute = 0,
    kEveryHour = 1,
    kEveryDay = 2,
    kEveryWeek = 3,
    kEveryMonth = 4,
    kSyncToMonth = 5,
    kSyncToDay = 6, // the entries divide the local day
    kSyncToSun = 7, // the first half from sunrise to sunset, the rest through the night
};

// The calendar or the clock chooses the entry, not the album's order or a shuffle.
inline bool FollowsTheClock(int frequency) {
    return frequency == kSyncToMonth || frequency == kSyncToDay || frequency == kSyncToSun;
}

enum Mode : int {
    kSequential = 0,
    kRandom = 1,
};

// How a picture fills the screen: the album's "Position", numbered as the desktop object's
// wallpaper styles. Center is also what an album without the value gets.
enum Position : int {
    kCenter = 0,
    kTile = 1,
    kStretch = 2,
    kFit = 3,
    kFill = 4,
    kSpan = 5,
    // Fill cropped where the picture's subject is, not at its centre; the desktop is given
    // the crop with the Fill style.
    kFillSubject = 6,
};
inline constexpr int kPositionCount = 7;

// The album's "Monitors": the same picture on every monitor (also when absent), or a picture
// for each.
enum MonitorChoice : int {
    kSamePicture = 0,
    kPictureEach = 1,
};

} // namespace glimro
