#pragma once
// The activity log "glimrolog.txt" beside the executable: what the background work did and
// what went wrong. It is never shown; failures to write it are dropped.
#include "platform/handle.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace glimro {

enum class LogMode {
    Append, // create when missing, write at the end
    Afresh, // create, or empty an existing file
};

enum class Banner { Start, Stop };

// An output stream on the log, open or closed; writing to a closed stream does nothing.
// Every write goes to the file's end at that moment, so two streams open on the same
// file never overwrite each other's text. "\n" is stored as "\r\n".
class LogStream {
public:
    LogStream() = default;
    LogStream(const std::wstring& path, LogMode mode);

    ~LogStream() { Flush(); }
    LogStream(LogStream&&) = default;
    LogStream& operator=(LogStream&& other) noexcept {
        Flush();
        file_ = std::move(other.file_);
        pending_ = std::move(other.pending_);
        gather_ = other.gather_;
        return *this;
    }

    bool IsOpen() const { return file_.IsValid(); }
    void Close() {
        Flush();
        file_.Reset();
    }

    LogStream& operator<<(std::string_view ansi_text);
    LogStream& operator<<(std::wstring_view text); // converted to ANSI
    LogStream& operator<<(const char* ansi_text) { return *this << std::string_view(ansi_text); }
    LogStream& operator<<(const wchar_t* text) { return *this << std::wstring_view(text); }
    LogStream& operator<<(unsigned long number);
    // A line end after which the text is on disk (unless the lines are gathered).
    LogStream& EndLine();
    // From now on the lines wait and go to the file in one write when the stream closes:
    // for an entry that is written all at once, as a check that finds nothing to do.
    void GatherLines() { gather_ = true; }

private:
    // A line goes to the file in one write, when it ends.
    void WriteBytes(std::string_view bytes);
    void Flush();
    UniqueHandle file_;
    std::string pending_;
    bool gather_ = false;
};

// Rebuilds the process-wide log path from the executable's folder, kept whole: a folder
// name in any script or of any length is the folder the log goes to.
void BuildLogPath();
// The path last built; empty before the first build, and opening it then fails.
const std::wstring& LogPath();
LogStream OpenLog(LogMode mode);

// "HH:MM:SS" + AM/PM + " on MM/DD/YY" for the current calendar time; empty on failure.
std::string TimeText();

void WriteEntryBanner(LogStream& log, Banner banner);
// label + time text + a line end; the label alone, without line end, when there is no time.
void WriteTimeLine(LogStream& log, const char* label);

// Text from outside (an address, a file name, an album's name) as the log shows it: one line,
// control characters escaped, and no password of an address.
std::wstring LogSafe(std::wstring_view text);

// An error report: nothing at all unless the message and the advice are both non-empty.
void ReportError(std::wstring_view message, std::wstring_view advice, DWORD code, LogStream& log);
// The message followed by "ERROR: (code) " and the system's text for the code.
void ReportErrorCode(std::wstring_view message, DWORD code, LogStream& log);

} // namespace glimro
