#pragma once
// GDI+ for the image codecs, and a process-wide session that starts the library before the
// first image is touched and shuts it down when the last user lets go.
#include <windows.h>
#include <objidl.h>

#include <algorithm>
namespace Gdiplus {
using std::max; // the GDI+ headers expect the min/max macros that NOMINMAX removes
using std::min;
} // namespace Gdiplus
#include <gdiplus.h>

namespace glimro {

class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    bool IsStarted() const { return started_; }

private:
    bool started_ = false;
};

} // namespace glimro
