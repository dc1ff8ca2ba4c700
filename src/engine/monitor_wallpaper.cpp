#include "platform/desktop.h" // first: it needs WinINet declared before the shell headers

#include "engine/monitor_wallpaper.h"

#include "core/frequency.h"
#include "core/picture_limits.h"
#include "engine/image_object.h"
#include "engine/image_staging.h"
#include "engine/wallpaper_setter.h"
#include "platform/handle.h"
#include "platform/module.h"
#include "platform/monitors.h"

namespace glimro {
namespace {

Box BoxOf(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// The picture drawn at `place` (relative to the monitor's corner at `at`), clipped to the
// monitor's rectangle in the canvas; Tile repeats it over the monitor.
void Draw(HDC canvas, const std::wstring& picture, const Box& at, PixelSize monitor, int position) {
    ImageObject measured;
    if (!measured.Load(picture) || !PictureFits(measured.Width(), measured.Height(), true))
        return;
    const PixelSize size = measured.UprightSize();
    if (position == kFillSubject) {
        // The window that keeps the subject, brought to the monitor's size.
        const GdiObject<HBITMAP> crop(SubjectCropped(picture, StagedSize(size, monitor, kFillSubject),
                                                     SIZE{monitor.width, monitor.height}));
        BITMAP shape = {};
        if (crop && ::GetObjectW(crop.Get(), sizeof(shape), &shape)) {
            const UniqueDc source(::CreateCompatibleDC(canvas));
            const ScopedSelectObject selected(source.Get(), crop.Get());
            ::SetStretchBltMode(canvas, HALFTONE);
            ::SetBrushOrgEx(canvas, 0, 0, nullptr);
            ::StretchBlt(canvas, at.left, at.top, monitor.width, monitor.height, source.Get(), 0, 0,
                         shape.bmWidth, shape.bmHeight, SRCCOPY);
            return;
        }
        position = kFill; // what the imaging component cannot decode is placed as Fill places it
    }
    // As the desktop shows the picture staged for the monitor: a larger one shrunk first.
    const Box place = PlaceInMonitor(StagedSize(size, monitor, position), monitor, position);
    // Shrunk by area averaging where it gets smaller; the codec library enlarges.
    HBITMAP made = place.Width() <= size.width && place.Height() <= size.height
                       ? ShrinkImageFile(picture, place.Width(), place.Height())
                       : nullptr;
    if (!made)
        made = ScaleImageFile(picture, place.Width(), place.Height());
    GdiObject<HBITMAP> bitmap(made);
    if (!bitmap)
        return;
    const UniqueDc source(::CreateCompatibleDC(canvas));
    const ScopedSelectObject selected(source.Get(), bitmap.Get());
    const int saved = ::SaveDC(canvas);
    ::IntersectClipRect(canvas, at.left, at.top, at.right, at.bottom);
    // Once, or for Tile over the whole monitor from its corner.
    const int last_x = position == kTile ? monitor.width - 1 : place.left;
    const int last_y = position == kTile ? monitor.height - 1 : place.top;
    for (int y = place.top; y <= last_y; y += place.Height()) {
        for (int x = place.left; x <= last_x; x += place.Width())
            ::BitBlt(canvas, at.left + x, at.top + y, place.Width(), place.Height(), source.Get(),
                     0, 0, SRCCOPY);
    }
    ::RestoreDC(canvas, saved);
}

Box Shifted(const Box& box, int dx, int dy) {
    return {box.left + dx, box.top + dy, box.right + dx, box.bottom + dy};
}

// The one monitor's picture with its caption, composed at the monitor's size.
std::wstring StageCaptioned(const std::wstring& picture, const Caption& caption, const CaptionArea& screen,
                            int position, const std::wstring& output) {
    return ComposeMonitorPictures({picture}, {screen.monitor}, position, false, output, {caption}, {screen})
               ? output
               : std::wstring();
}

// Through the desktop wallpaper object; false when the system has none.
bool SetThroughObject(const std::vector<std::wstring>& pictures, const std::vector<CaptionArea>& screens,
                      const std::vector<Caption>& captions, int position, LogStream& log, bool* done) {
    ComPtr<IDesktopWallpaperObject> object;
    if (FAILED(CreateDesktopWallpaper(&object)) || !object)
        return false;
    UINT count = 0;
    object->GetMonitorDevicePathCount(&count);
    bool failed = false;
    int set = 0;
    for (UINT i = 0; i < count; ++i) {
        UniqueCoTaskMem<wchar_t> id;
        RECT rect = {};
        if (FAILED(object->GetMonitorDevicePathAt(i, id.Put())) || !id)
            continue;
        // A device that is not attached has no rectangle: it shows nothing.
        if (SUCCEEDED(object->GetMonitorRECT(id.Get(), &rect))) {
            for (size_t k = 0; k < screens.size(); ++k) {
                if (!(screens[k].monitor == BoxOf(rect)))
                    continue;
                const std::wstring& picture = pictures[k % pictures.size()];
                const bool captioned = !captions.empty() && !captions[k % captions.size()].Empty();
                const std::wstring staged =
                    captioned ? StageCaptioned(picture, captions[k % captions.size()], screens[k], position,
                                               MonitorPicturePath(k))
                              : StageFor(picture, SIZE{rect.right - rect.left, rect.bottom - rect.top},
                                         position, MonitorPicturePath(k));
                if (staged.empty() || FAILED(object->SetWallpaper(id.Get(), staged.c_str()))) {
                    ReportError(L"Failed to switch wallpaper!\n", LogSafe(pictures[k % pictures.size()]),
                                ::GetLastError(), log);
                    failed = true;
                } else {
                    ++set;
                }
            }
        }
    }
    object->SetPosition(DesktopStyle(SupportedPosition(position)));
    // Changed only when some monitor took its picture and none refused.
    *done = set > 0 && !failed;
    return true;
}

} // namespace

std::vector<CaptionArea> OrderedScreens() {
    const std::vector<MonitorInfo> monitors = Monitors();
    std::vector<Box> boxes;
    size_t primary = 0;
    for (size_t i = 0; i < monitors.size(); ++i) {
        boxes.push_back(BoxOf(monitors[i].rect));
        if (monitors[i].primary)
            primary = i;
    }
    std::vector<CaptionArea> ordered;
    for (const size_t i : MonitorOrder(boxes, primary))
        ordered.push_back({boxes[i], BoxOf(monitors[i].work), monitors[i].dpi});
    return ordered;
}

std::vector<Box> OrderedMonitors() {
    std::vector<Box> boxes;
    for (const CaptionArea& screen : OrderedScreens())
        boxes.push_back(screen.monitor);
    return boxes;
}

std::wstring MonitorPicturePath(size_t k) {
    return ExecutableFolder() + L"pod-" + std::to_wstring(k + 1) + L".jpg";
}

std::wstring CompositePath() {
    return ExecutableFolder() + L"pod-all.jpg";
}

// Apart from the local wallpaper file, which holds a downloaded picture as it came: a new
// screen layout stages that again, never a picture that already carries a caption.
std::wstring CaptionedPath() {
    return ExecutableFolder() + L"pod-caption.jpg";
}

bool ComposeMonitorPictures(const std::vector<std::wstring>& pictures,
                            const std::vector<Box>& monitors, int position, bool tiled,
                            const std::wstring& output, const std::vector<Caption>& captions,
                            const std::vector<CaptionArea>& areas) {
    const Box bounds = Bounds(monitors);
    if (pictures.empty() || !DecodeFits(static_cast<uint64_t>(bounds.Width()),
                                        static_cast<uint64_t>(bounds.Height())))
        return false;
    void* bits = nullptr;
    GdiObject<HBITMAP> canvas_bitmap(CreateTopDownBitmap(bounds.Width(), bounds.Height(), &bits));
    if (!canvas_bitmap)
        return false;
    {
        const UniqueDc canvas(::CreateCompatibleDC(nullptr));
        const ScopedSelectObject selected(canvas.Get(), canvas_bitmap.Get());
        // Around a picture that leaves room, the desktop's colour, as the system shows it.
        const RECT all = {0, 0, bounds.Width(), bounds.Height()};
        ::FillRect(canvas.Get(), &all, ::GetSysColorBrush(COLOR_DESKTOP));
        for (size_t k = 0; k < monitors.size(); ++k) {
            // A position that spans makes no sense inside one monitor: each fills its own.
            for (const Box& at : BoxesInComposite(monitors[k], bounds, tiled))
                Draw(canvas.Get(), pictures[k % pictures.size()], at,
                     {monitors[k].Width(), monitors[k].Height()}, position == kSpan ? kFill : position);
        }
        const Canvas pixels{canvas.Get(), static_cast<uint8_t*>(bits), bounds.Width(), bounds.Height()};
        for (size_t i = 0; i < areas.size() && !captions.empty(); ++i) {
            // In every copy of the monitor that the composed picture holds.
            for (const Box& at : BoxesInComposite(areas[i].monitor, bounds, tiled)) {
                const int dx = at.left - areas[i].monitor.left, dy = at.top - areas[i].monitor.top;
                DrawCaption(pixels, captions[i % captions.size()],
                            {at, Shifted(areas[i].work, dx, dy), areas[i].dpi});
            }
        }
    }
    ::GdiFlush();
    ImageObject composed;
    composed.Attach(canvas_bitmap.Release());
    return SUCCEEDED(SaveWhole(composed, output));
}

bool SetMonitorWallpapers(const std::vector<std::wstring>& pictures, int position, LogStream& log,
                          const std::vector<Caption>& captions) {
    const std::vector<CaptionArea> screens = OrderedScreens();
    const std::vector<Box> monitors = OrderedMonitors();
    if (pictures.empty() || monitors.empty())
        return false;
    bool done = false;
    if (SetThroughObject(pictures, screens, captions, position, log, &done)) {
        if (done)
            log << "Switched!\n";
        return done;
    }
    // One picture of the whole virtual screen: spanning where the system has the style,
    // else tiled from the primary monitor's corner.
    const bool tiled = !RunsOnWindows8OrLater();
    if (!ComposeMonitorPictures(pictures, monitors, position, tiled, CompositePath(), captions, screens)) {
        ReportError(L"Could not compose the monitors' pictures!\n", LogSafe(CompositePath()),
                    ::GetLastError(), log);
        return false;
    }
    return SetDesktopWallpaper(CompositePath(), log, tiled ? kTile : kSpan);
}

bool SetCaptionedWallpaper(const std::wstring& picture, const Caption& caption, int position, LogStream& log) {
    const std::vector<CaptionArea> screens = OrderedScreens();
    if (screens.empty())
        return false;
    if (screens.size() >= 2 && position != kSpan)
        return SetMonitorWallpapers({picture}, position, log, {caption});
    // One picture of the primary monitor, or of the whole virtual screen when it spans, with
    // the caption on every monitor it covers.
    std::vector<Box> boxes;
    for (const CaptionArea& screen : screens)
        boxes.push_back(screen.monitor);
    const Box canvas = position == kSpan ? Bounds(boxes) : screens.front().monitor;
    const std::vector<CaptionArea> areas =
        position == kSpan ? screens : std::vector<CaptionArea>{screens.front()};
    if (!ComposeMonitorPictures({picture}, {canvas}, position, false, CaptionedPath(), {caption}, areas)) {
        ReportError(L"Could not compose the monitors' pictures!\n", LogSafe(CaptionedPath()), ::GetLastError(),
                    log);
        return false;
    }
    return SetDesktopWallpaper(CaptionedPath(), log, position);
}

} // namespace glimro
