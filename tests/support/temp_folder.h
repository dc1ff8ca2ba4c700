#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it.
#include "platform/module.h"

#include <windows.h>

#include <string>

namespace glimro::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path with its trailing backslash.
    const std::wstring& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + name; }

private:
    std::wstring path_;
};

// Makes the program believe its executable lives in the given folder.
// The executable's folder, and the download cache in its "Cache" subfolder.
class ScopedExecutableFolder {
public:
    explicit ScopedExecutableFolder(const std::wstring& folder);

private:
    Seam<std::wstring()>::Override override_;
    Seam<std::wstring()>::Override cache_;
};

std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
// Gives the file a last-written time this many minutes before now.
bool SetWrittenMinutesAgo(const std::wstring& path, int minutes);
// A path or text in the ANSI code page, as the log holds it.
std::string Narrow(const std::wstring& text);
// A 24-bit Windows bitmap file of one colour.
bool WriteSolidBitmap(const std::wstring& path, int width, int height,
                      COLORREF colour = RGB(30, 120, 200));
// The bytes of such a bitmap, to be served or stored.
std::string SolidBitmapBytes(int width, int height);
// 58 bytes of a BMP header claiming 200,000,000 x 2,000,000 pixels, and nothing else.
std::string GiantBitmapClaim();

} // namespace glimro::test
