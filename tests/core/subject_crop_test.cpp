#include "core/subject_crop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <vector>

namespace glimro {
namespace {

// A grey picture, RGB, with an ellipse of one colour.
struct Picture {
    int width, height;
    std::vector<uint8_t> pixels;
    Picture(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h * 3, 128) {}
    void Ellipse(int cx, int cy, int rx, int ry, uint8_t r, uint8_t g, uint8_t b) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const double dx = (x - cx) / double(rx), dy = (y - cy) / double(ry);
                if (dx * dx + dy * dy <= 1) {
                    uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 3];
                    p[0] = r, p[1] = g, p[2] = b;
                }
            }
    }
    PixelView View() const { return {pixels.data(), width, height, static_cast<size_t>(width) * 3, false}; }
};

bool Inside(const CropWindow& c, int width, int height) {
    return c.x >= 0 && c.y >= 0 && c.x + c.width <= width && c.y + c.height <= height;
}

// A saturated disc or a skin-toned oval off the centre stays whole in the window for a
// 16:9, a 9:16 and a 21:9 screen; the window always has the screen's shape.
TEST(SubjectCrop, KeepsAnOffCentreSubjectWhole) {
    const struct {
        const char* what;
        int width, height, cx, cy, rx, ry;
        uint8_t r, g, b;
        int aw, ah;
    } cases[] = {
        {"red disc, left third, 9:16", 1200, 800, 250, 400, 110, 110, 220, 20, 30, 9, 16},
        {"red disc, right third, 9:16", 1200, 800, 900, 300, 110, 110, 220, 20, 30, 9, 16},
        {"blue disc, top, 16:9", 800, 1200, 420, 170, 120, 120, 20, 60, 230, 16, 9},
        {"skin oval, bottom, 16:9", 800, 1200, 400, 1030, 90, 120, 224, 172, 140, 16, 9},
        {"skin oval, bottom right corner, 21:9", 1000, 1000, 860, 880, 80, 60, 224, 172, 140, 21, 9},
        {"green disc, top left corner, 21:9", 1000, 1000, 150, 120, 90, 90, 30, 200, 40, 21, 9},
    };
    for (const auto& c : cases) {
        Picture picture(c.width, c.height);
        picture.Ellipse(c.cx, c.cy, c.rx, c.ry, c.r, c.g, c.b);
        const auto start = std::chrono::steady_clock::now();
        const CropWindow crop = SubjectCrop(picture.View(), c.aw, c.ah);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        const CropWindow centre = CentreCrop(c.width, c.height, c.aw, c.ah);
        EXPECT_TRUE(Inside(crop, c.width, c.height)) << c.what;
        EXPECT_EQ(crop.width, centre.width) << c.what;
        EXPECT_EQ(crop.height, centre.height) << c.what;
        EXPECT_LE(std::abs(crop.width * c.ah - crop.height * c.aw), std::max(c.aw, c.ah)) << c.what;
        EXPECT_TRUE(crop.x <= c.cx - c.rx && c.cx + c.rx <= crop.x + crop.width && crop.y <= c.cy - c.ry &&
                    c.cy + c.ry <= crop.y + crop.height)
            << c.what << ": " << crop.x << "," << crop.y << " " << crop.width << "x" << crop.height;
        // Sanitizers slow it several times; the plain build's goal is 20 ms.
        EXPECT_LT(ms, 200.0) << c.what;
        EXPECT_EQ(SubjectCrop(picture.View(), c.aw, c.ah), crop) << c.what << ": the same every time";
    }
}

// Nothing stands out: an even picture and one of noise keep the centre.
TEST(SubjectCrop, APictureWithNoSubjectKeepsTheCentre) {
    Picture even(1200, 800), noise(1200, 800);
    uint32_t state = 12345;
    for (uint8_t& byte : noise.pixels) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<uint8_t>(state >> 24);
    }
    for (const Picture* picture : {&even, &noise}) {
        for (const auto& [aw, ah] : {std::pair{9, 16}, std::pair{1, 1}, std::pair{3, 4}})
            EXPECT_EQ(SubjectCrop(picture->View(), aw, ah), CentreCrop(1200, 800, aw, ah)) << aw << ":" << ah;
    }
    // The screen's shape already: the whole picture.
    EXPECT_EQ(SubjectCrop(even.View(), 3, 2), (CropWindow{0, 0, 1200, 800}));
}

} // namespace
} // namespace glimro
