#include "log/activity_log.h"

#include "platform/clock.h"
#include "support/clock_values.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>

namespace glimro {
namespace {

class ActivityLogTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    std::wstring log_file = folder.File(L"glimrolog.txt");
    std::wstring log_path = log_file;

    std::string Log() const { return test::ReadFileBytes(log_file); }
};

TEST(LogPath, IsBesideTheExecutableOrTheBareFileName) {
    const struct {
        const wchar_t* module;
        const wchar_t* log;
    } cases[] = {
        {L"C:\\Apps\\glimro.exe", L"C:\\Apps\\glimrolog.txt"},
        {L"glimro.exe", L"glimrolog.txt"},
        {L"", L"glimrolog.txt"},
    };
    for (const auto& c : cases) {
        Seam<std::wstring()>::Override module(ModulePath, [&c] { return c.module; });
        BuildLogPath();
        EXPECT_EQ(LogPath(), c.log) << test::Narrow(c.module);
    }
}

// A folder's name is never cut or turned into question marks: the log goes where it says.
TEST(LogPath, IsKeptWholeInAnyScriptAndLength) {
    for (const std::wstring& folder : {L"C:\\" + std::wstring(300, L'd') + L"\\",
                                      std::wstring(L"C:\\\u5199\u771f\\")}) {
        Seam<std::wstring()>::Override module(ModulePath, [&] { return folder + L"glimro.exe"; });
        BuildLogPath();
        EXPECT_EQ(LogPath(), folder + L"glimrolog.txt");
    }
}

TEST_F(ActivityLogTest, OpeningCreatesAMissingFileInBothModes) {
    for (LogMode mode : {LogMode::Append, LogMode::Afresh}) {
        ::DeleteFileW(log_file.c_str());
        LogStream log(log_path, mode);
        EXPECT_TRUE(log.IsOpen());
        EXPECT_TRUE(test::FileExists(log_file));
    }
}

TEST_F(ActivityLogTest, AppendingKeepsTheTextAndAfreshEmptiesIt) {
    test::WriteFileBytes(log_file, "earlier\r\n");
    LogStream(log_path, LogMode::Append) << "later\n";
    EXPECT_EQ(Log(), "earlier\r\nlater\r\n");
    LogStream(log_path, LogMode::Afresh) << "fresh";
    EXPECT_EQ(Log(), "fresh");
}

// The log of a machine left running for months stays bounded: an append that finds the
// file past its megabyte starts it afresh, one that finds it under keeps it.
TEST_F(ActivityLogTest, AnAppendStartsAfreshOnlyPastTheBound) {
    const struct {
        size_t bytes;
        bool kept;
    } cases[] = {{1024 * 1024, true}, {1024 * 1024 + 1, false}};
    for (const auto& c : cases) {
        test::WriteFileBytes(log_file, std::string(c.bytes, 'e'));
        LogStream(log_path, LogMode::Append) << "later\n";
        EXPECT_EQ(Log().size(), c.kept ? c.bytes + 7 : 7u) << c.bytes;
        EXPECT_EQ(Log().substr(Log().size() - 7), "later\r\n");
    }
}

// A check's gathered lines reach the file together when its stream closes, also when the
// stream was handed on (a pass reopening its log) before it closed.
TEST_F(ActivityLogTest, GatheredLinesAreWrittenWholeAtClose) {
    LogStream log(log_path, LogMode::Afresh);
    log.GatherLines();
    log << "one\n" << "two\n";
    EXPECT_EQ(Log(), "");
    LogStream handed = std::move(log);
    handed << "three\n";
    EXPECT_EQ(Log(), "");
    handed.Close();
    EXPECT_EQ(Log(), "one\r\ntwo\r\nthree\r\n");
    LogStream reopened(log_path, LogMode::Append);
    reopened.GatherLines();
    reopened << "four\n";
    reopened = LogStream(log_path, LogMode::Append); // the first stream's lines are not lost
    reopened << "five\n";
    EXPECT_EQ(Log(), "one\r\ntwo\r\nthree\r\nfour\r\nfive\r\n");
}

TEST_F(ActivityLogTest, LineEndsAreStoredAsCarriageReturnLineFeed) {
    LogStream log(log_path, LogMode::Afresh);
    log << "one\ntwo\r\n" << L"three\n";
    log.EndLine();
    EXPECT_EQ(Log(), "one\r\ntwo\r\nthree\r\n\r\n");
}

TEST_F(ActivityLogTest, UnopenableLogGivesAClosedStreamThatDropsEverything) {
    const std::wstring in_missing_folder = folder.File(L"missing\\glimrolog.txt");
    for (const std::wstring& path : {in_missing_folder, std::wstring()}) {
        LogStream log(path, LogMode::Afresh);
        EXPECT_FALSE(log.IsOpen());
        log << "dropped";
        log.EndLine();
        WriteEntryBanner(log, Banner::Start);
        ReportError(L"message\n", L"advice", 5, log);
    }
    EXPECT_FALSE(test::FileExists(folder.File(L"missing\\glimrolog.txt")));
}

// A due pass keeps its stream open while an image switch opens the log afresh, writes and
// closes; the pass's later lines must follow the switch's, not overwrite them.
TEST_F(ActivityLogTest, TwoOpenWritersNeverOverwriteEachOther) {
    LogStream pass(log_path, LogMode::Afresh);
    pass << "pass start\n";
    {
        LogStream image_switch(log_path, LogMode::Afresh);
        image_switch << "switch entry, longer than the first\n";
    }
    pass << "pass end\n";
    pass.Close();
    EXPECT_EQ(Log(), "switch entry, longer than the first\r\npass end\r\n");
}

TEST_F(ActivityLogTest, OpenLogUsesTheLastBuiltPath) {
    test::ScopedExecutableFolder exe(folder.Path());
    BuildLogPath();
    OpenLog(LogMode::Afresh) << "via the built path";
    EXPECT_EQ(Log(), "via the built path");
}

// The time text as its parts say it must read, computed from the broken-down local time.
std::string ExpectedTimeText(std::time_t t) {
    std::tm local = *std::localtime(&t);
    char text[64];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d%s on %02d/%02d/%02d", local.tm_hour,
                  local.tm_min, local.tm_sec, local.tm_hour < 12 ? "AM" : "PM", local.tm_mon + 1,
                  local.tm_mday, local.tm_year % 100);
    return text;
}

TEST(TimeText, IsTwentyFourHourTimeWithAmPmAndTheShortDate) {
    const std::time_t morning = test::CalendarTimeAt(2026, 12, 6, 9, 5, 3);
    const std::time_t evening = test::CalendarTimeAt(2026, 12, 6, 22, 15, 3);
    for (std::time_t t : {morning, evening}) {
        Seam<std::time_t()>::Override clock(CalendarTime, [t] { return t; });
        EXPECT_EQ(TimeText(), ExpectedTimeText(t));
    }
    Seam<std::time_t()>::Override clock(CalendarTime, [evening] { return evening; });
    EXPECT_EQ(TimeText(), "22:15:03PM on 12/06/26");
}

TEST(TimeText, IsEmptyWhenTheLocalTimeCannotBeHad) {
    Seam<std::time_t()>::Override clock(CalendarTime, [] { return std::time_t(-1); });
    EXPECT_EQ(TimeText(), "");
}

class EntryBannerTest : public ActivityLogTest {
protected:
    std::time_t moment = test::CalendarTimeAt(2026, 12, 6, 22, 15, 3);
};

TEST_F(EntryBannerTest, StartAndStopFrameAnIdleCheck) {
    Seam<std::time_t()>::Override clock(CalendarTime, [this] { return moment; });
    {
        LogStream log(log_path, LogMode::Append);
        WriteEntryBanner(log, Banner::Start);
        log << "This pass already ran... skipping update.";
        log.EndLine();
        WriteEntryBanner(log, Banner::Stop);
    }
    EXPECT_EQ(Log(), "\r\n"
                     "***Start Entry***\r\n"
                     "\r\n"
                     "Start time: 22:15:03PM on 12/06/26\r\n"
                     "This pass already ran... skipping update.\r\n"
                     "Stop time: 22:15:03PM on 12/06/26\r\n"
                     "\r\n"
                     "***End Entry***\r\n");
}

TEST_F(EntryBannerTest, EmptyTimeTextLeavesTheLabelWithoutLineEnd) {
    Seam<std::time_t()>::Override clock(CalendarTime, [] { return std::time_t(-1); });
    {
        LogStream log(log_path, LogMode::Append);
        WriteEntryBanner(log, Banner::Start);
        log << "next";
        WriteEntryBanner(log, Banner::Stop);
    }
    EXPECT_EQ(Log(),
              "\r\n***Start Entry***\r\n\r\nStart time: nextStop time: \r\n***End Entry***\r\n");
}

class ErrorReportTest : public ActivityLogTest {
protected:
    std::string Report(std::wstring_view message, std::wstring_view advice, DWORD code) {
        {
            LogStream log(log_path, LogMode::Afresh);
            ReportError(message, advice, code, log);
        }
        return Log();
    }
    static std::string SystemText(DWORD code) {
        char* text = nullptr;
        DWORD length =
            ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0x0800, reinterpret_cast<char*>(&text), 0, nullptr);
        std::string result = text ? std::string(text, length) : std::string();
        ::LocalFree(text);
        return result;
    }
};

TEST_F(ErrorReportTest, CodeZeroWritesTheMessageAndTheAdviceOnly) {
    EXPECT_EQ(Report(L"Could not open file!\n", L"C:\\a.jpg", 0),
              "Could not open file!\r\nC:\\a.jpg\r\n");
}

TEST_F(ErrorReportTest, KnownCodeWritesTheSystemsTextAfterTheNumber) {
    const std::string system_text = SystemText(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(system_text.empty());
    EXPECT_EQ(Report(L"Failed to switch wallpaper!\n", L"C:\\a.bmp", ERROR_FILE_NOT_FOUND),
              "Failed to switch wallpaper!\r\nERROR: (2) " + system_text + "C:\\a.bmp\r\n");
}

TEST_F(ErrorReportTest, CodesAreWrittenUnsigned) {
    std::string log = Report(L"m\n", L"a", 0x80070005);
    EXPECT_EQ(log.rfind("m\r\nERROR: (2147942405) ", 0), 0u) << log;
    EXPECT_EQ(log.find('-'), std::string::npos) << log;
}

TEST_F(ErrorReportTest, UnknownCodeWritesTheTwoFixedLines) {
    EXPECT_EQ(Report(L"Failed to switch wallpaper!\n", L"C:\\a.bmp", 0x2FFFFFFF),
              "Failed to switch wallpaper!\r\n"
              "ERROR: (805306367) unknown error!\r\n"
              "SPECIAL REQUEST: Please report error to customer support.\r\n"
              "C:\\a.bmp\r\n");
}

TEST_F(ErrorReportTest, EmptyMessageOrAdviceWritesNothingAtAll) {
    EXPECT_EQ(Report(L"", L"advice", 5), "");
    EXPECT_EQ(Report(L"message\n", L"", 5), "");
    EXPECT_EQ(Report(L"message\n", L"", 0), "");
}

TEST_F(ErrorReportTest, CodedLineAloneNeedsOnlyAMessage) {
    {
        LogStream log(log_path, LogMode::Afresh);
        ReportErrorCode(L"", 5, log);
    }
    EXPECT_EQ(Log(), "");
    {
        LogStream log(log_path, LogMode::Afresh);
        ReportErrorCode(L"m\n", 0x2FFFFFFF, log);
    }
    EXPECT_EQ(Log(), "m\r\nERROR: (805306367) unknown error!\r\n"
                     "SPECIAL REQUEST: Please report error to customer support.\r\n");
}

TEST_F(ErrorReportTest, TextsLongerThanTheirBuffersAreCut) {
    const std::wstring long_text(3000, L'x');
    // Without a code, message and advice each go through a 2048-byte buffer.
    EXPECT_EQ(Report(long_text, long_text, 0),
              std::string(2047, 'x') + std::string(2047, 'x') + "\r\n");
    // With a code, the message goes through a 520-byte buffer.
    std::string coded = Report(long_text, L"a", 0x2FFFFFFF);
    EXPECT_EQ(coded.rfind(std::string(519, 'x') + "ERROR: (", 0), 0u);
}

} // namespace
} // namespace glimro
