#include "platform/gdiplus.h"

#include "platform/system_library.h"

namespace glimro {
namespace {

// One thread only uses images, so a plain count does.
int g_users = 0;
ULONG_PTR g_token = 0;

} // namespace

GdiplusSession::GdiplusSession() {
    if (g_users == 0) {
        Gdiplus::GdiplusStartupInput input;
        if (Gdiplus::GdiplusStartup(&g_token, &input, nullptr) != Gdiplus::Ok)
            return;
    }
    ++g_users;
    started_ = true;
}

GdiplusSession::~GdiplusSession() {
    if (started_ && --g_users == 0) {
        Gdiplus::GdiplusShutdown(g_token);
        // A pass runs once a minute at most: the resident does not keep the library between.
        UnloadDelayLoadedLibrary("gdiplus.dll");
    }
}

} // namespace glimro
