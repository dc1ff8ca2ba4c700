#include "support/temp_folder.h"

#include "engine/web_cache.h"

#include <cstring>

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace glimro::test {

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"glimro-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
            std::to_wstring(counter++) + L"\\";
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    if (!std::filesystem::create_directories(path_))
        throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

ScopedExecutableFolder::ScopedExecutableFolder(const std::wstring& folder)
    : override_(ModulePath, [folder] { return folder + L"glimro.exe"; }),
      cache_(CacheRoot, [folder] { return folder + L"Cache\\"; }) {}

std::string ReadFileBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Narrow(const std::wstring& text) {
    int length = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), result.data(),
                          length, nullptr, nullptr);
    return result;
}

bool WriteSolidBitmap(const std::wstring& path, int width, int height, COLORREF colour) {
    const DWORD row_bytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD pixel_bytes = row_bytes * static_cast<DWORD>(height);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + pixel_bytes;
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = pixel_bytes;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
    std::string row(row_bytes, '\0');
    for (int x = 0; x < width; ++x) {
        row[x * 3] = static_cast<char>(GetBValue(colour));
        row[x * 3 + 1] = static_cast<char>(GetGValue(colour));
        row[x * 3 + 2] = static_cast<char>(GetRValue(colour));
    }
    for (int y = 0; y < height; ++y)
        bytes += row;
    WriteFileBytes(path, bytes);
    return ReadFileBytes(path).size() == bytes.size();
}

bool FileExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string SolidBitmapBytes(int width, int height) {
    TempFolder folder;
    const std::wstring path = folder.File(L"solid.bmp");
    return WriteSolidBitmap(path, width, height) ? ReadFileBytes(path) : std::string();
}

std::string GiantBitmapClaim() {
    std::string claim(58, '\0');
    claim[0] = 'B';
    claim[1] = 'M';
    claim[14] = 40;
    std::memcpy(&claim[18], "\x00\xC2\xEB\x0B\x80\x84\x1E\x00", 8); // the two sides
    return claim;
}

bool SetWrittenMinutesAgo(const std::wstring& path, int minutes) {
    const HANDLE file = ::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    FILETIME now = {};
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER at;
    at.LowPart = now.dwLowDateTime;
    at.HighPart = now.dwHighDateTime;
    at.QuadPart -= static_cast<ULONGLONG>(minutes) * 60 * 10000000;
    const FILETIME written = {at.LowPart, at.HighPart};
    const BOOL set = ::SetFileTime(file, nullptr, nullptr, &written);
    ::CloseHandle(file);
    return set != FALSE;
}

} // namespace glimro::test
