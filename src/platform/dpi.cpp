#include "platform/dpi.h"

namespace glimro {

namespace {

template <typename Function> Function User32Function(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name)));
}

UINT SystemDpi() {
    using GetDpiForSystemFunction = UINT(WINAPI*)();
    static const auto get_dpi_for_system =
        User32Function<GetDpiForSystemFunction>("GetDpiForSystem");
    if (get_dpi_for_system)
        return get_dpi_for_system();
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

UINT RealWindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto get_dpi_for_window =
        User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    const UINT dpi = window && get_dpi_for_window ? get_dpi_for_window(window) : 0;
    return dpi != 0 ? dpi : SystemDpi();
}

} // namespace

Seam<UINT(HWND)> WindowDpi(RealWindowDpi);

int ScaleForDpi(int value, UINT dpi) {
    return ::MulDiv(value, static_cast<int>(dpi), static_cast<int>(kDefaultDpi));
}

int SmallIconSize(UINT dpi) {
    using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
    static const auto metrics_for_dpi =
        User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (metrics_for_dpi)
        return metrics_for_dpi(SM_CXSMICON, dpi);
    return ::MulDiv(::GetSystemMetrics(SM_CXSMICON), static_cast<int>(dpi),
                    static_cast<int>(SystemDpi()));
}

bool MessageFontAt(UINT dpi, LOGFONTW* font) {
    using ParametersForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    static const auto parameters_for_dpi =
        User32Function<ParametersForDpiFunction>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (parameters_for_dpi &&
        parameters_for_dpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
        *font = metrics.lfMessageFont;
        return true;
    }
    // Older systems give the font at the system's DPI.
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        return false;
    *font = metrics.lfMessageFont;
    font->lfHeight = ::MulDiv(font->lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
    return true;
}

HFONT CreateMessageFont(UINT dpi) {
    LOGFONTW font;
    return MessageFontAt(dpi, &font) ? ::CreateFontIndirectW(&font) : nullptr;
}

HICON LoadIconOfSize(UINT id, int size) {
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                           IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

} // namespace glimro
