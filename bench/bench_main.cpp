// Timings of the staging and download paths under the real platform, each against the
// bare platform work it cannot avoid. Prints the comparisons; asserts nothing.
#include "engine/image_object.h"
#include "engine/image_staging.h"
#include "engine/internet_fetch.h"
#include "platform/gdiplus.h"
#include "platform/internet.h"
#include "platform/screen.h"
#include "support/http_server.h"
#include "support/temp_folder.h"
#include "support/test_images.h"

#include <objbase.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>

using namespace glimro;

namespace {

double Seconds(const std::function<void()>& work, int runs = 1) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        work();
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (took.count() < best)
            best = took.count();
    }
    return best;
}

void DecodeAndEncode(const std::wstring& source, const std::wstring& target) {
    GdiplusSession gdiplus;
    Gdiplus::Bitmap bitmap(source.c_str(), FALSE);
    bitmap.GetWidth();
    CLSID jpeg;
    FindEncoderForPath(target, &jpeg);
    bitmap.Save(target.c_str(), &jpeg, nullptr);
}

void FullDecode(const std::wstring& source) {
    GdiplusSession gdiplus;
    Gdiplus::Bitmap bitmap(source.c_str(), FALSE);
    Gdiplus::BitmapData data;
    Gdiplus::Rect all(0, 0, static_cast<INT>(bitmap.GetWidth()),
                      static_cast<INT>(bitmap.GetHeight()));
    bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat24bppRGB, &data);
    bitmap.UnlockBits(&data);
}

void BareReadWith(const std::wstring& url, DWORD flags, DWORD chunk_size, bool resend) {
    InternetHandle session(
        ::InternetOpenW(L"bench", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    InternetHandle request(::InternetOpenUrlW(session.Get(), url.c_str(), nullptr, 0, flags, 0));
    if (resend)
        ::HttpSendRequestW(request.Get(), nullptr, 0, nullptr, 0);
    static char chunk[65536];
    DWORD read = 0;
    while (::InternetReadFile(request.Get(), chunk, chunk_size, &read) && read > 0) {
    }
}

} // namespace

int main() {
    ::OleInitialize(nullptr);
    GdiplusSession gdiplus;
    test::TempFolder folder;
    test::ScopedExecutableFolder exe(folder.Path());
    Seam<SIZE()>::Override screen(PrimaryScreenSize, [] { return SIZE{1920, 1080}; });

    const std::wstring big = folder.File(L"big.jpg");
    test::WriteTestImage(big, 6000, 4000, L"image/jpeg");

    const double staging = Seconds([&] { PrepareLocalImage(big); }, 3);
    const double baseline = Seconds([&] { DecodeAndEncode(big, folder.File(L"copy.jpg")); }, 3);
    std::printf("staging 6000x4000 JPEG:          %.3f s\n", staging);
    std::printf("decode + JPEG-encode alone:      %.3f s   ratio %.2f (goal <= 1.20)\n", baseline,
                staging / baseline);

    const double size_only = Seconds(
        [&] {
            ImageObject image;
            image.Load(big);
        },
        5);
    const double decode = Seconds([&] { FullDecode(big); }, 3);
    std::printf("learning the size:               %.4f s   full decode %.3f s (%.1f%%)\n",
                size_only, decode, 100.0 * size_only / decode);

    test::HttpServer server;
    test::HttpResponse body{200, std::string(50u * 1024 * 1024, 'b')};
    body.chunk_size = 256 * 1024;
    server.Serve("/big.bin", body);
    const std::wstring url = server.Url("/big.bin");
    const double bare = Seconds([&] { BareReadWith(url, INTERNET_FLAG_RELOAD, 65536, false); });
    // The same request protocol as the program: opened, sent again, read 2048 bytes at a time.
    const double same_protocol = Seconds([&] { BareReadWith(url, 1, 2048, true); });
    LogStream closed;
    const double download =
        Seconds([&] { DownloadImage(url, ::GetModuleHandleW(nullptr), closed); });
    const double pauses = 1.5;
    // The program requests the body twice (opening the address, then sending again).
    std::printf("50 MB download:                  %.3f s   (%.3f s beyond the 1.5 s pauses)\n",
                download, download - pauses);
    std::printf("bare read loop, same server:     %.3f s   ratio %.2f (goal <= 1.10)\n", bare,
                (download - pauses) / bare);
    std::printf("bare loop, the program's protocol (sent twice, 2048-byte reads): %.3f s   "
                "ratio %.2f\n",
                same_protocol, (download - pauses) / same_protocol);
    ::OleUninitialize();
    return 0;
}
