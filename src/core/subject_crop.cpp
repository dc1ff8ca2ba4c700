#include "core/subject_crop.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace glimro {
namespace {

constexpr int kScoringSide = 256;
// What the eye goes to is what differs from its surroundings: a colour far from the
// picture's own (a pale boat on a dark sea, a dark rider against the sky), and detail unlike
// what lies around it (a small red coat in a grey crowd); skin tones count besides.
constexpr double kGlobalWeight = 1.0;
constexpr double kLocalWeight = 1.0;
constexpr double kSkinWeight = 1.8;
// The best place must beat the centre by this share of the centre's score, or the picture
// has no subject to follow (an even picture, or noise everywhere).
constexpr double kMustBeatCentre = 0.04;

struct Rgb {
    double r, g, b;
};

// The picture reduced to at most kScoringSide on its long side by box averages; a box at the
// far edge of a side shorter than the step holds only the rows and columns there are.
std::vector<Rgb> Reduced(const PixelView& picture, int* width, int* height) {
    const int long_side = std::max(picture.width, picture.height);
    const int step = std::max(1, (long_side + kScoringSide - 1) / kScoringSide);
    *width = std::max(1, picture.width / step);
    *height = std::max(1, picture.height / step);
    std::vector<Rgb> reduced(static_cast<size_t>(*width) * static_cast<size_t>(*height));
    for (int y = 0; y < *height; ++y) {
        const int top = y * step, bottom = std::min(picture.height, top + step);
        for (int x = 0; x < *width; ++x) {
            const int left = x * step, right = std::min(picture.width, left + step);
            double r = 0, g = 0, b = 0;
            for (int row_at = top; row_at < bottom; ++row_at) {
                const uint8_t* row = picture.data + static_cast<size_t>(row_at) * picture.stride;
                for (int column = left; column < right; ++column) {
                    const uint8_t* p = row + static_cast<size_t>(column) * 3;
                    r += picture.bgr ? p[2] : p[0];
                    g += p[1];
                    b += picture.bgr ? p[0] : p[2];
                }
            }
            const double n = 255.0 * (bottom - top) * (right - left);
            reduced[static_cast<size_t>(y) * static_cast<size_t>(*width) + static_cast<size_t>(x)] = {r / n, g / n, b / n};
        }
    }
    return reduced;
}

// A colour as the eye compares colours, roughly: brightness, red against green, and yellow
// against blue.
struct Opponent {
    double l, a, b;
};

// Box means of the opponent colours over any square, from summed-area tables.
class BoxMeans {
public:
    BoxMeans(const std::vector<Rgb>& pixels, int width, int height) : width_(width), height_(height) {
        sums_.assign(static_cast<size_t>(width + 1) * static_cast<size_t>(height + 1), {0, 0, 0});
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const Rgb& c = pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
                const Opponent o{0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b, c.r - c.g, (c.r + c.g) / 2 - c.b};
                const Opponent& up = Sum(x + 1, y), &left = Sum(x, y + 1), &corner = Sum(x, y);
                Sum(x + 1, y + 1) = {o.l + up.l + left.l - corner.l, o.a + up.a + left.a - corner.a,
                                     o.b + up.b + left.b - corner.b};
            }
        }
    }
    // The mean over the square of the radius around x, y, cut at the picture's edges.
    Opponent Around(int x, int y, int radius) const {
        const int x0 = std::max(0, x - radius), y0 = std::max(0, y - radius);
        const int x1 = std::min(width_, x + radius + 1), y1 = std::min(height_, y + radius + 1);
        const double n = static_cast<double>(x1 - x0) * (y1 - y0);
        const Opponent &a = Sum(x1, y1), &b = Sum(x0, y1), &c = Sum(x1, y0), &d = Sum(x0, y0);
        return {(a.l - b.l - c.l + d.l) / n, (a.a - b.a - c.a + d.a) / n, (a.b - b.b - c.b + d.b) / n};
    }
    Opponent Mean() const { return Around(width_ / 2, height_ / 2, std::max(width_, height_)); }

private:
    Opponent& Sum(int x, int y) { return sums_[static_cast<size_t>(y) * static_cast<size_t>(width_ + 1) + static_cast<size_t>(x)]; }
    const Opponent& Sum(int x, int y) const {
        return sums_[static_cast<size_t>(y) * static_cast<size_t>(width_ + 1) + static_cast<size_t>(x)];
    }
    int width_, height_;
    std::vector<Opponent> sums_;
};

// How far apart two colours are; nothing below a ten-thousandth of a grey level, which is
// only the rounding of the summed-area tables (an even picture must score nothing at all).
double Distance(const Opponent& p, const Opponent& q) {
    const double d = std::sqrt((p.l - q.l) * (p.l - q.l) + (p.a - q.a) * (p.a - q.a) + (p.b - q.b) * (p.b - q.b));
    return d < 4e-7 ? 0 : d;
}

double Brightness(const Rgb& c) {
    return 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b;
}

// How near the colour's direction is to a skin tone's, for colours neither too dark nor too
// bright.
double Skin(const Rgb& c) {
    const double length = std::sqrt(c.r * c.r + c.g * c.g + c.b * c.b);
    const double l = Brightness(c);
    if (length <= 0 || l < 0.2 || l > 0.95)
        return 0;
    constexpr double kR = 0.78, kG = 0.57, kB = 0.44; // a skin tone, as a unit vector
    const double distance = std::sqrt((c.r / length - kR) * (c.r / length - kR) +
                                      (c.g / length - kG) * (c.g / length - kG) +
                                      (c.b / length - kB) * (c.b / length - kB));
    return std::max(0.0, 1 - distance / 0.15);
}

// The weight of what lies at t (0 to 1) across the window: most on its thirds, less at its
// middle, falling to nothing at its edges, so a subject is placed well inside.
double Placement(double t) {
    const double thirds = std::max(0.0, 1 - std::fabs(t - 1.0 / 3) * 6) + std::max(0.0, 1 - std::fabs(t - 2.0 / 3) * 6);
    const double edge = std::min(1.0, std::min(t, 1 - t) * 8);
    return (0.6 + 0.4 * thirds) * edge;
}

} // namespace

CropWindow CentreCrop(int width, int height, int aspect_width, int aspect_height) {
    if (width <= 0 || height <= 0 || aspect_width <= 0 || aspect_height <= 0)
        return {0, 0, std::max(width, 0), std::max(height, 0)};
    // width * aspect_height against height * aspect_width, in 64 bits.
    const long long wide = static_cast<long long>(width) * aspect_height;
    const long long high = static_cast<long long>(height) * aspect_width;
    CropWindow window{0, 0, width, height};
    if (wide > high)
        window.width = std::max(1, static_cast<int>(high / aspect_height));
    else
        window.height = std::max(1, static_cast<int>(wide / aspect_width));
    window.x = (width - window.width) / 2;
    window.y = (height - window.height) / 2;
    return window;
}

CropWindow SubjectCrop(const PixelView& picture, int aspect_width, int aspect_height) {
    const CropWindow centre = CentreCrop(picture.width, picture.height, aspect_width, aspect_height);
    const bool across = centre.width < picture.width; // the window slides left and right
    const int room = across ? picture.width - centre.width : picture.height - centre.height;
    if (!picture.data || room <= 0 || picture.stride < static_cast<size_t>(picture.width) * 3)
        return centre;
    int w = 0, h = 0;
    const std::vector<Rgb> small = Reduced(picture, &w, &h);
    // Each place's difference from the picture's own colour (after a light blur, so a texture
    // is its average) and from its surroundings (a twentieth of the long side away), summed
    // along the axis the window does not slide on.
    const BoxMeans means(small, w, h);
    const Opponent whole = means.Mean();
    const int surround = std::max(2, std::max(w, h) / 20);
    const int length = across ? w : h;
    std::vector<double> profile(static_cast<size_t>(length), 0.0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Opponent here = means.Around(x, y, 1);
            const double importance = kGlobalWeight * Distance(here, whole) +
                                      kLocalWeight * Distance(here, means.Around(x, y, surround)) +
                                      kSkinWeight * Skin(small[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)]);
            profile[static_cast<size_t>(across ? x : y)] += importance;
        }
    }
    // The window in the reduced picture's pixels, and each place it can stand.
    const double scale = static_cast<double>(length) / (across ? picture.width : picture.height);
    const int span = std::clamp(static_cast<int>(std::lround((across ? centre.width : centre.height) * scale)), 1, length);
    const auto score = [&](int offset) {
        double total = 0;
        for (int i = 0; i < span; ++i)
            total += profile[static_cast<size_t>(offset + i)] * Placement((i + 0.5) / span);
        return total;
    };
    const int centre_offset = (length - span) / 2;
    const double centre_score = score(centre_offset);
    int best = centre_offset;
    double best_score = centre_score;
    for (int offset = 0; offset + span <= length; ++offset) {
        const double s = score(offset);
        if (s > best_score) {
            best_score = s;
            best = offset;
        }
    }
    if (best_score <= centre_score * (1 + kMustBeatCentre) + 1e-9)
        return centre;
    CropWindow window = centre;
    const int moved = std::clamp(static_cast<int>(std::lround(best / scale)), 0, room);
    (across ? window.x : window.y) = moved;
    return window;
}

} // namespace glimro
