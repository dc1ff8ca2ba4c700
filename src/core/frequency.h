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
};

enum Mode : int {
    kSequential = 0,
    kRandom = 1,
};

} // namespace glimro
