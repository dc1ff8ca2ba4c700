#include "platform/text.h"

#include <windows.h>

namespace glimro {
namespace {

int AnsiLength(std::wstring_view text) {
    if (text.empty())
        return 0;
    return ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
}

// Never ends a prefix between the two halves of a surrogate pair.
size_t WholeCharacters(std::wstring_view text, size_t count) {
    if (count > 0 && count < text.size() && IS_HIGH_SURROGATE(text[count - 1]))
        --count;
    return count;
}

} // namespace

std::string ToUtf8(std::wstring_view text) {
    if (text.empty())
        return {};
    const int length = static_cast<int>(text.size());
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, out.data(), bytes, nullptr, nullptr);
    return out;
}

std::wstring FromUtf8(std::string_view bytes) {
    if (bytes.empty())
        return {};
    const int length = static_cast<int>(bytes.size());
    const int chars = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), length, nullptr, 0);
    std::wstring out(static_cast<size_t>(chars > 0 ? chars : 0), L'\0');
    if (chars > 0)
        ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), length, out.data(), chars);
    return out;
}

std::string ToAnsi(std::wstring_view text, size_t buffer_bytes) {
    if (buffer_bytes == 0)
        return {};
    const int limit = static_cast<int>(buffer_bytes - 1);
    if (AnsiLength(text) > limit) {
        // Longest prefix whose conversion fits; each wide character gives at least one byte.
        size_t low = 0;
        size_t high = text.size() < buffer_bytes ? text.size() : buffer_bytes;
        while (low < high) {
            size_t middle = (low + high + 1) / 2;
            if (AnsiLength(text.substr(0, WholeCharacters(text, middle))) <= limit)
                low = middle;
            else
                high = middle - 1;
        }
        text = text.substr(0, WholeCharacters(text, low));
    }
    std::string result(static_cast<size_t>(AnsiLength(text)), '\0');
    if (!result.empty())
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(),
                              static_cast<int>(result.size()), nullptr, nullptr);
    return result;
}

} // namespace glimro

namespace glimro {

std::wstring SystemErrorText(unsigned long code) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring result = text && length > 0 ? std::wstring(text, length) : std::wstring();
    if (text)
        ::LocalFree(text);
    while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r'))
        result.pop_back();
    return result.empty() ? L"Error " + std::to_wstring(code) : result;
}

} // namespace glimro
