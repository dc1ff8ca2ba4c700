#include "core/subject_crop.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    // The whole picture one colour, varied in cells of `cell` pixels by up to +-texture.
    void Ground(uint8_t r, uint8_t g, uint8_t b, int texture = 0, int cell = 8) {
        uint32_t state = 2463534242u;
        std::vector<int> shades(static_cast<size_t>((width / cell + 1) * (height / cell + 1)));
        for (int& shade : shades) {
            state = state * 1664525u + 1013904223u;
            shade = texture == 0 ? 0 : static_cast<int>(state >> 8) % (2 * texture + 1) - texture;
        }
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int shade = shades[static_cast<size_t>((y / cell) * (width / cell + 1) + x / cell)];
                uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 3];
                p[0] = static_cast<uint8_t>(std::clamp(r + shade, 0, 255));
                p[1] = static_cast<uint8_t>(std::clamp(g + shade, 0, 255));
                p[2] = static_cast<uint8_t>(std::clamp(b + shade, 0, 255));
            }
    }
    PixelView View() const { return {pixels.data(), width, height, static_cast<size_t>(width) * 3, false}; }
};

bool Inside(const CropWindow& c, int width, int height) {
    return c.x >= 0 && c.y >= 0 && c.x + c.width <= width && c.y + c.height <= height;
}

// A subject off the centre stays whole in the window for a 16:9, a 9:16, a 4:3 and a 21:9
// screen, whatever its ground: a saturated disc or a skin-toned oval on grey, a pale boat on a
// textured dark sea, a dark figure against a bright sky, a small red coat on a busy grey
// ground. The window always has the screen's shape.
TEST(SubjectCrop, KeepsAnOffCentreSubjectWhole) {
    struct Shape {
        int cx, cy, rx, ry;
        uint8_t r, g, b;
    };
    const struct {
        const char* what;
        int width, height;
        uint8_t ground_r, ground_g, ground_b;
        int texture;
        std::vector<Shape> subject; // the first is the one to keep whole
        int aw, ah;
    } cases[] = {
        {"red disc, left third, 9:16", 1200, 800, 128, 128, 128, 0, {{250, 400, 110, 110, 220, 20, 30}}, 9, 16},
        {"red disc, right third, 9:16", 1200, 800, 128, 128, 128, 0, {{900, 300, 110, 110, 220, 20, 30}}, 9, 16},
        {"blue disc, top, 16:9", 800, 1200, 128, 128, 128, 0, {{420, 170, 120, 120, 20, 60, 230}}, 16, 9},
        {"skin oval, bottom, 16:9", 800, 1200, 128, 128, 128, 0, {{400, 1030, 90, 120, 224, 172, 140}}, 16, 9},
        {"skin oval, bottom right corner, 21:9", 1000, 1000, 128, 128, 128, 0, {{860, 880, 80, 60, 224, 172, 140}}, 21, 9},
        {"green disc, top left corner, 21:9", 1000, 1000, 128, 128, 128, 0, {{150, 120, 90, 90, 30, 200, 40}}, 21, 9},
        // A sail some 880 pixels tall over its hull, at the far left of a wide seascape.
        {"white sailboat on a textured dark-blue sea, far left, 4:3", 6000, 1500, 20, 45, 130, 25,
         {{650, 620, 260, 440, 245, 245, 240}, {650, 1150, 420, 90, 235, 235, 235}}, 4, 3},
        {"dark figure against a bright sky, right third, 9:16", 1200, 800, 205, 225, 245, 6,
         {{880, 430, 90, 220, 35, 30, 30}}, 9, 16},
        {"small red coat on a busy grey ground, left third, 9:16", 1200, 800, 128, 128, 128, 60,
         {{300, 420, 45, 70, 215, 25, 30}}, 9, 16},
    };
    for (const auto& c : cases) {
        Picture picture(c.width, c.height);
        picture.Ground(c.ground_r, c.ground_g, c.ground_b, c.texture);
        for (const Shape& shape : c.subject)
            picture.Ellipse(shape.cx, shape.cy, shape.rx, shape.ry, shape.r, shape.g, shape.b);
        const Shape& kept = c.subject.front();
        const auto start = std::chrono::steady_clock::now();
        const CropWindow crop = SubjectCrop(picture.View(), c.aw, c.ah);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        const CropWindow centre = CentreCrop(c.width, c.height, c.aw, c.ah);
        EXPECT_TRUE(Inside(crop, c.width, c.height)) << c.what;
        EXPECT_EQ(crop.width, centre.width) << c.what;
        EXPECT_EQ(crop.height, centre.height) << c.what;
        EXPECT_LE(std::abs(crop.width * c.ah - crop.height * c.aw), std::max(c.aw, c.ah)) << c.what;
        EXPECT_TRUE(crop.x <= kept.cx - kept.rx && kept.cx + kept.rx <= crop.x + crop.width &&
                    crop.y <= kept.cy - kept.ry && kept.cy + kept.ry <= crop.y + crop.height)
            << c.what << ": " << crop.x << "," << crop.y << " " << crop.width << "x" << crop.height;
        // Sanitizers slow it several times, and the largest picture is 27 MB to reduce; the
        // plain build's goal is 20 ms.
        EXPECT_LT(ms, 400.0) << c.what;
        EXPECT_EQ(SubjectCrop(picture.View(), c.aw, c.ah), crop) << c.what << ": the same every time";
    }
}

// A picture far thinner than the reduction's step: every box stays inside the rows there are
// (the sanitizers see any read past them), and the crop is a window of the picture.
TEST(SubjectCrop, AThinPictureIsReadOnlyWhereItHasRows) {
    for (const auto& [width, height] : {std::pair{6000, 20}, std::pair{20, 6000}, std::pair{6000, 1}, std::pair{257, 3}}) {
        std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 3, 90);
        for (size_t i = 0; i < pixels.size() / 10; ++i)
            pixels[i] = 250; // something to the left, or at the top
        const CropWindow crop = SubjectCrop({pixels.data(), width, height, static_cast<size_t>(width) * 3, false}, 16, 9);
        EXPECT_TRUE(Inside(crop, width, height)) << width << "x" << height;
        EXPECT_EQ(crop.width, CentreCrop(width, height, 16, 9).width) << width << "x" << height;
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
