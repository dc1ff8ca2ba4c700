#include "scheduler/pass_check.h"

#include "platform/clock.h"
#include "scheduler/interval_markers.h"
#include "log/activity_log.h"
#include "support/clock_values.h"
#include "support/registry_sandbox.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace glimro {
namespace {

SYSTEMTIME At(WORD year, WORD month, WORD day, WORD hour, WORD minute) {
    return test::LocalTimeAt(year, month, day, hour, minute);
}

TEST(PassCheckDue, EveryRowOfTheDueTable) {
    const struct {
        const char* what;
        int frequency;
        SYSTEMTIME last, tick;
        bool due;
    } cases[] = {
        {"minute: same minute and hour", kEveryMinute, At(2026, 3, 5, 10, 15),
         At(2026, 3, 5, 10, 15), false},
        {"minute: next minute", kEveryMinute, At(2026, 3, 5, 10, 15), At(2026, 3, 5, 10, 16), true},
        {"minute: same minute, other hour", kEveryMinute, At(2026, 3, 5, 10, 15),
         At(2026, 3, 5, 11, 15), true},
        {"hour: same hour", kEveryHour, At(2026, 3, 3, 9, 5), At(2026, 3, 3, 9, 55), false},
        {"hour: same hour, next day", kEveryHour, At(2026, 3, 3, 9, 5), At(2026, 3, 4, 9, 40),
         true},
        {"day: same day", kEveryDay, At(2026, 3, 5, 1, 0), At(2026, 3, 5, 23, 0), false},
        {"day: same day, next month", kEveryDay, At(2026, 3, 5, 1, 0), At(2026, 4, 5, 1, 0), true},
        {"week: same week", kEveryWeek, At(2005, 9, 26, 8, 0), At(2005, 9, 30, 8, 0), false},
        {"week: same week, new month", kEveryWeek, At(2005, 9, 26, 8, 0), At(2005, 10, 1, 8, 0),
         true},
        {"week: next week", kEveryWeek, At(2005, 9, 26, 8, 0), At(2005, 10, 3, 8, 0), true},
        {"month: March a year later", kEveryMonth, At(2025, 3, 9, 8, 0), At(2026, 3, 20, 8, 0),
         false},
        {"month: April", kEveryMonth, At(2026, 3, 9, 8, 0), At(2026, 4, 1, 0, 0), true},
        {"sync to month: like month", kSyncToMonth, At(2026, 3, 9, 8, 0), At(2026, 4, 1, 0, 0),
         true},
        {"an unknown frequency: never", 8, At(2026, 3, 9, 8, 0), At(2027, 8, 1, 0, 0), false},
    };
    for (const auto& c : cases) {
        test::RegistrySandbox sandbox;
        WriteIntervalMarkers(c.last);
        EXPECT_EQ(IsIntervalDue(c.frequency, c.tick), c.due) << c.what;
    }
}

TEST(PassCheckDue, FreshProfileMakesDayWeekAndMonthDueButNotMinuteAtMidnight) {
    test::RegistrySandbox sandbox;
    const SYSTEMTIME midnight = At(2026, 12, 7, 0, 0);
    EXPECT_FALSE(IsIntervalDue(kEveryMinute, midnight));
    EXPECT_TRUE(IsIntervalDue(kEveryMinute, At(2026, 12, 7, 0, 1)));
    for (int frequency : {kEveryDay, kEveryWeek, kEveryMonth, kSyncToMonth})
        EXPECT_TRUE(IsIntervalDue(frequency, midnight)) << frequency;
}

class FakeAlbumList : public AlbumListHost {
public:
    CAlbum* active = nullptr;
    int pass_result = 0;
    int passes = 0, refreshes = 0, saves = 0;
    std::string log_during_pass;
    std::wstring log_file;

    CAlbum* FindActiveAlbum() override { return active; }
    int RunAlbumPass(CAlbum* album) override {
        ++passes;
        log_during_pass = test::ReadFileBytes(log_file);
        return album ? pass_result : -1;
    }
    void RefreshAlbumList() override { ++refreshes; }
    int SaveAlbumList() override { return ++saves; }
};

class PassCheckTest : public ::testing::Test {
protected:
    test::RegistrySandbox sandbox;
    test::TempFolder folder;
    test::ScopedExecutableFolder exe{folder.Path()};
    Seam<std::time_t()>::Override calendar{CalendarTime, [] { return std::time_t(1780000000); }};
    FakeAlbumList albums;
    CAlbum album;
    std::wstring log_file = folder.File(L"glimrolog.txt");

    void SetUp() override { albums.log_file = log_file; }
    std::string Log() { return test::ReadFileBytes(log_file); }
    std::string Entry(const std::string& middle) {
        const std::string time = TimeText();
        return "\r\n***Start Entry***\r\n\r\nStart time: " + time + "\r\n" + middle +
               "Stop time: " + time + "\r\n\r\n***End Entry***\r\n";
    }
};

TEST_F(PassCheckTest, NoActiveAlbumAppendsOneEntryAMinute) {
    EXPECT_EQ(RunScheduledPass(At(2026, 3, 5, 10, 0), albums), 60000u);
    EXPECT_EQ(RunScheduledPass(At(2026, 3, 5, 10, 1), albums), 60000u);
    const std::string entry = Entry("No active account during this pass... skipping update.\r\n");
    EXPECT_EQ(Log(), entry + entry);
    EXPECT_EQ(albums.passes, 0);
}

TEST_F(PassCheckTest, NothingDueAppendsAlreadyRan) {
    album.Frequency = kEveryHour;
    albums.active = &album;
    WriteIntervalMarkers(At(2026, 3, 5, 10, 0));
    test::WriteFileBytes(log_file, "kept\r\n");
    EXPECT_EQ(RunScheduledPass(At(2026, 3, 5, 10, 30), albums), 60000u);
    EXPECT_EQ(Log(), "kept\r\n" + Entry("This pass already ran... skipping update.\r\n"));
    EXPECT_EQ(albums.passes, 0);
}

TEST_F(PassCheckTest, DuePassStartsTheLogAfreshRunsRefreshesAndSaves) {
    album.Frequency = kEveryMinute;
    albums.active = &album;
    test::WriteFileBytes(log_file, "older entries\r\n");
    EXPECT_EQ(RunScheduledPass(At(2026, 3, 5, 10, 30), albums), 10000u);
    EXPECT_EQ(albums.passes, 1);
    EXPECT_EQ(albums.refreshes, 1);
    EXPECT_EQ(albums.saves, 1);
    EXPECT_EQ(albums.log_during_pass.find("older entries"), std::string::npos);
    EXPECT_EQ(Log(), Entry("New intreval... processing Album list.\r\n"
                           "Album list processed successfully.\r\n"));
}

// An album with its own rhythm goes by its own last change: not due before its time, due
// at it (the markers of another album's change aside), the timer set for a second after
// the next change, and the log's lines as for any album.
TEST_F(PassCheckTest, AnAlbumWithItsOwnRhythmChangesAtItsTime) {
    album.Frequency = kEveryDay;
    album.At = 7 * 60 + 30;
    album.LastTime = At(2026, 3, 4, 8, 0);
    albums.active = &album;
    WriteIntervalMarkers(At(2026, 3, 5, 1, 0)); // a change of the day already made today
    SYSTEMTIME before = At(2026, 3, 5, 7, 29);
    before.wSecond = 30;
    EXPECT_EQ(RunScheduledPass(before, albums), 31000u);
    EXPECT_EQ(albums.passes, 0);
    EXPECT_NE(Log().find("This pass already ran... skipping update."), std::string::npos);
    EXPECT_EQ(RunScheduledPass(At(2026, 3, 5, 7, 30), albums), 3600000u); // checked hourly
    EXPECT_EQ(albums.passes, 1);
    EXPECT_EQ(Log(), Entry("New intreval... processing Album list.\r\n"
                           "Album list processed successfully.\r\n"));
    // Never changed: due at once.
    album.LastTime = SYSTEMTIME{};
    EXPECT_TRUE(IsAlbumDue(album, At(2026, 3, 5, 7, 0)));
}

TEST_F(PassCheckTest, PassWithoutAnAlbumLogsTheFailureAndSavesNothing) {
    album.Frequency = kEveryDay;
    albums.active = &album;
    albums.pass_result = -1;
    EXPECT_EQ(RunScheduledPass(At(2026, 3, 5, 10, 30), albums), 3600000u);
    EXPECT_EQ(albums.saves, 0);
    EXPECT_EQ(Log(), Entry("New intreval... processing Album list.\r\n"
                           "Album list processing failed.\r\n"));
}

TEST(NextChangeTime, IsTheStartOfTheFrequencysNextInterval) {
    // Saturday 24 September 2005, 22:15:30.
    const SYSTEMTIME now = test::LocalTimeAt(2005, 9, 24, 22, 15, 30, 6);
    const struct {
        int frequency;
        WORD month, day, hour, minute;
    } cases[] = {
        {kEveryMinute, 9, 24, 22, 16}, {kEveryHour, 9, 24, 23, 0}, {kEveryDay, 9, 25, 0, 0},
        {kEveryWeek, 9, 26, 0, 0},     {kEveryMonth, 10, 1, 0, 0}, {kSyncToMonth, 10, 1, 0, 0},
    };
    for (const auto& c : cases) {
        SYSTEMTIME next = {};
        ASSERT_TRUE(NextChangeTime(c.frequency, now, &next)) << c.frequency;
        EXPECT_EQ((std::vector<WORD>{next.wMonth, next.wDay, next.wHour, next.wMinute}),
                  (std::vector<WORD>{c.month, c.day, c.hour, c.minute}))
            << c.frequency;
    }
    // A weekly album is also due at the new month, before the next Monday.
    SYSTEMTIME next = {};
    ASSERT_TRUE(NextChangeTime(kEveryWeek, test::LocalTimeAt(2005, 9, 28, 9, 0, 0, 3), &next));
    EXPECT_EQ(next.wMonth, 10);
    EXPECT_EQ(next.wDay, 1);
    EXPECT_FALSE(NextChangeTime(6, now, &next));
}

} // namespace
} // namespace glimro
