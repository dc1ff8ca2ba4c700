#include "engine/caption.h"

#include "engine/image_header.h"
#include "platform/dpi.h"
#include "platform/handle.h"
#include "store/product_key.h"

#include <algorithm>

namespace glimro {
namespace {

// 4.5:1 is what text needs to be read easily; the band aims higher so that the JPEG's
// rounding never takes it under.
constexpr double kWantedContrast = 5.0;
constexpr Colour kLightText{255, 255, 255};
constexpr Colour kDarkText{0, 0, 0};

std::wstring DayTaken(const std::wstring& file) {
    TakenDate taken;
    if (file.empty() || !ReadFileDateTaken(file, &taken))
        return {};
    SYSTEMTIME day = {};
    day.wYear = static_cast<WORD>(taken.year);
    day.wMonth = static_cast<WORD>(taken.month);
    day.wDay = static_cast<WORD>(taken.day);
    wchar_t text[80] = {};
    return ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &day, nullptr, text, 80) ? text : L"";
}

// The caption's font: the system's message font at the monitor's scale, a tenth larger, smoothed
// in grey (ClearType's coloured edges belong to a screen's own text, not to a photo).
HFONT CaptionFont(UINT dpi) {
    LOGFONTW font;
    if (!MessageFontAt(dpi, &font))
        return nullptr;
    font.lfHeight = ::MulDiv(font.lfHeight, 11, 10);
    font.lfQuality = ANTIALIASED_QUALITY;
    return ::CreateFontIndirectW(&font);
}

Box Clipped(Box box, int width, int height) {
    box.left = std::clamp(box.left, 0, width);
    box.right = std::clamp(box.right, 0, width);
    box.top = std::clamp(box.top, 0, height);
    box.bottom = std::clamp(box.bottom, 0, height);
    return box;
}

} // namespace

CaptionChoice CaptionChoiceFor(const CAlbum& album) {
    const wchar_t* const names[] = {kCaptionValue, kCaptionCornerValue, kCaptionDateValue, kCaptionAlbumValue};
    DWORD values[std::size(names)] = {};
    ReadProductNumbers(names, values, std::size(names));
    CaptionChoice choice;
    choice.shown = album.Caption == kCaptionAsOptions ? values[0] != 0 : album.Caption == kCaptionOn;
    choice.corner = values[1] < kCornerCount ? static_cast<int>(values[1]) : kBottomRight;
    choice.date = values[2] != 0;
    if (values[3] != 0)
        choice.album = album.Name;
    return choice;
}

Caption CaptionOf(const CaptionChoice& choice, const std::wstring& picture, const PictureCredit& credit,
                  const std::wstring& file) {
    if (!choice.shown)
        return {};
    CaptionParts parts{credit.Title, credit.Credit, ReadableFileName(PictureFileName(picture)),
                       choice.date ? DayTaken(file) : L"", choice.album};
    return {CaptionLines(parts), choice.corner};
}

CaptionLayout DrawCaption(const Canvas& canvas, const Caption& caption, const CaptionArea& area) {
    const Box& monitor = area.monitor;
    const Box work = area.work.Width() > 0 && area.work.Height() > 0 ? area.work : monitor;
    const GdiObject<HFONT> font(CaptionFont(area.dpi ? area.dpi : WindowDpi(nullptr)));
    if (caption.Empty() || !font || monitor.Width() <= 0 || monitor.Height() <= 0)
        return {};
    const ScopedSelectObject selected(canvas.dc, font.Get());
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(canvas.dc, &metrics);
    CaptionLayout layout;
    layout.line_height = std::max<int>(metrics.tmHeight, 1);
    const int pad_x = layout.line_height / 2, pad_y = layout.line_height / 4;
    // At most about half the monitor's width: a longer line ends in an ellipsis.
    const int widest = std::max(monitor.Width() / 2 - 2 * pad_x, layout.line_height);
    int text_width = 0;
    for (const std::wstring& line : caption.lines) {
        RECT measured = {0, 0, widest, layout.line_height};
        ::DrawTextW(canvas.dc, line.c_str(), static_cast<int>(line.size()), &measured,
                    DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        text_width = std::max<int>(text_width, measured.right - measured.left);
    }
    text_width = std::min(text_width, widest);
    const int width = text_width + 2 * pad_x;
    const int height = static_cast<int>(caption.lines.size()) * layout.line_height + 2 * pad_y;
    const int margin = std::min(monitor.Width(), monitor.Height()) * 2 / 100;
    const bool right = caption.corner == kBottomRight || caption.corner == kTopRight;
    const bool bottom = caption.corner == kBottomRight || caption.corner == kBottomLeft;
    const int left = right ? work.right - margin - width : work.left + margin;
    const int top = bottom ? work.bottom - margin - height : work.top + margin;
    layout.box = Clipped({left, top, left + width, top + height}, canvas.width, canvas.height);
    if (layout.box.Width() <= 0 || layout.box.Height() <= 0)
        return {};

    // The band: of the two, the one that needs the less opacity for the text to stand out.
    ::GdiFlush();
    const size_t stride = canvas.Stride();
    uint8_t* const first = canvas.bits + static_cast<size_t>(layout.box.top) * stride +
                           static_cast<size_t>(layout.box.left) * 3;
    const PixelArea under{first, layout.box.Width(), layout.box.Height(), stride};
    const int on_dark = LeastBandOpacity(under, kLightText, kDarkText, kWantedContrast);
    const int on_light = LeastBandOpacity(under, kDarkText, kLightText, kWantedContrast);
    layout.dark_band = on_dark <= on_light;
    layout.opacity = layout.dark_band ? on_dark : on_light;
    const Colour band = layout.dark_band ? kDarkText : kLightText;
    for (int y = 0; y < layout.box.Height(); ++y) {
        uint8_t* p = first + static_cast<size_t>(y) * stride;
        for (int x = 0; x < layout.box.Width(); ++x, p += 3) {
            p[0] = BlendChannel(p[0], band.blue, layout.opacity);
            p[1] = BlendChannel(p[1], band.green, layout.opacity);
            p[2] = BlendChannel(p[2], band.red, layout.opacity);
        }
    }

    const Colour text = layout.dark_band ? kLightText : kDarkText;
    ::SetBkMode(canvas.dc, TRANSPARENT);
    ::SetTextColor(canvas.dc, RGB(text.red, text.green, text.blue));
    for (size_t i = 0; i < caption.lines.size(); ++i) {
        const int line_top = top + pad_y + static_cast<int>(i) * layout.line_height;
        RECT box = {left + pad_x, line_top, left + pad_x + text_width, line_top + layout.line_height};
        std::wstring drawn = caption.lines[i];
        drawn.resize(drawn.size() + 4); // room for the ellipsis DT_MODIFYSTRING writes
        const UINT flags = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_MODIFYSTRING |
                           (right ? DT_RIGHT : DT_LEFT) |
                           (RunsRightToLeft(caption.lines[i]) ? DT_RTLREADING : 0);
        ::DrawTextW(canvas.dc, drawn.data(), static_cast<int>(caption.lines[i].size()), &box, flags);
        drawn.resize(std::min(drawn.size(), ::wcslen(drawn.c_str())));
        layout.drawn.push_back(std::move(drawn));
    }
    ::GdiFlush();
    return layout;
}

} // namespace glimro
