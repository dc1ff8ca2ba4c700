#include "log/activity_log.h"

#include "core/log_text.h"
#include "platform/clock.h"
#include "platform/module.h"
#include "platform/text.h"

#include <ctime>
#include <cwchar>

namespace glimro {
namespace {

constexpr wchar_t kLogFileName[] = L"glimrolog.txt";
constexpr size_t kMessageBufferBytes = 2048;
constexpr size_t kCodedMessageBufferBytes = 520;
constexpr size_t kTimeBufferChars = 128;
constexpr DWORD kSystemDefaultLanguage = 0x0800;
constexpr DWORD kMaxLogBytes = 1024 * 1024;

std::wstring& LogPathBuffer() {
    static std::wstring path;
    return path;
}

// The wide-to-ANSI conversion of the log texts that go through a 2048-byte buffer.
std::string LogText(std::wstring_view text) {
    return ToAnsi(text, kMessageBufferBytes);
}

// Asked of the open file, not of its path: finding a path again costs more than the write.
bool IsOverLimit(HANDLE file) {
    LARGE_INTEGER size = {};
    return ::GetFileSizeEx(file, &size) && size.QuadPart > kMaxLogBytes;
}

HANDLE OpenForAppending(const std::wstring& path, DWORD share) {
    // Append-only access: the system puts every write at the file's current end.
    return ::CreateFileW(path.c_str(), FILE_APPEND_DATA | SYNCHRONIZE, share, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

LogStream::LogStream(const std::wstring& path, LogMode mode) {
    if (path.empty())
        return;
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    if (mode == LogMode::Append) {
        file_.Reset(OpenForAppending(path, share));
        // Without an active album nothing else starts the log afresh: it stays bounded.
        if (!file_ || !IsOverLimit(file_.Get()))
            return;
        file_.Reset();
    }
    UniqueHandle emptied(::CreateFileW(path.c_str(), GENERIC_WRITE, share, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (emptied)
        file_.Reset(OpenForAppending(path, share));
}

void LogStream::WriteBytes(std::string_view bytes) {
    if (!IsOpen() || bytes.empty())
        return;
    pending_ += bytes;
    if (bytes.back() == '\n' && !gather_)
        Flush();
}

void LogStream::Flush() {
    if (!IsOpen() || pending_.empty())
        return;
    DWORD written = 0;
    ::WriteFile(file_.Get(), pending_.data(), static_cast<DWORD>(pending_.size()), &written,
                nullptr);
    pending_.clear();
}

LogStream& LogStream::operator<<(std::string_view text) {
    if (!IsOpen())
        return *this;
    std::string out;
    out.reserve(text.size() + 8);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    WriteBytes(out);
    return *this;
}

LogStream& LogStream::operator<<(std::wstring_view text) {
    return *this << LogText(text);
}

LogStream& LogStream::operator<<(unsigned long number) {
    return *this << std::string_view(std::to_string(number));
}

LogStream& LogStream::EndLine() {
    WriteBytes("\r\n");
    return *this;
}

std::wstring LogSafe(std::wstring_view text) {
    return WithoutCredentials(LogSafeText(text));
}

void BuildLogPath() {
    std::wstring folder = ExecutableFolder();
    LogPathBuffer() = folder + kLogFileName;
}

const std::wstring& LogPath() {
    return LogPathBuffer();
}

LogStream OpenLog(LogMode mode) {
    return LogStream(LogPath(), mode);
}

std::string TimeText() {
    std::time_t now = CalendarTime();
    std::tm local{};
#ifdef _MSC_VER
    if (localtime_s(&local, &now) != 0)
        return {};
#else
    std::tm* converted = std::localtime(&now);
    if (!converted)
        return {};
    local = *converted;
#endif
    wchar_t buffer[kTimeBufferChars];
    size_t length = std::wcsftime(buffer, kTimeBufferChars, L"%X%p on %x", &local);
    return LogText(std::wstring_view(buffer, length));
}

void WriteTimeLine(LogStream& log, const char* label) {
    std::string time = TimeText();
    log << label;
    if (!time.empty()) {
        log << time;
        log.EndLine();
    }
}

void WriteEntryBanner(LogStream& log, Banner banner) {
    if (!log.IsOpen())
        return;
    if (banner == Banner::Start) {
        log.EndLine();
        log << "***Start Entry***";
        log.EndLine();
        log.EndLine();
        WriteTimeLine(log, "Start time: ");
    } else {
        WriteTimeLine(log, "Stop time: ");
        log.EndLine();
        log << "***End Entry***";
        log.EndLine();
    }
}

void ReportError(std::wstring_view message, std::wstring_view advice, DWORD code, LogStream& log) {
    if (!log.IsOpen() || message.empty() || advice.empty())
        return;
    if (code != 0)
        ReportErrorCode(message, code, log);
    else
        log << LogText(message);
    std::string advice_text = LogText(advice);
    if (!advice_text.empty()) {
        log << advice_text;
        log.EndLine();
    }
}

void ReportErrorCode(std::wstring_view message, DWORD code, LogStream& log) {
    if (!log.IsOpen() || message.empty())
        return;
    log << ToAnsi(message, kCodedMessageBufferBytes);

    char* system_text = nullptr;
    DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, kSystemDefaultLanguage, reinterpret_cast<char*>(&system_text), 0, nullptr);
    log << "ERROR: (" << static_cast<unsigned long>(code);
    if (system_text && length > 0) {
        log << ") " << std::string_view(system_text, length);
        ::LocalFree(system_text);
        return;
    }
    if (system_text)
        ::LocalFree(system_text);
    log << ") unknown error!";
    log.EndLine();
    log << "SPECIAL REQUEST: Please report error to customer support.";
    log.EndLine();
}

} // namespace glimro
