#include "platform/canvas.h"

#include <unistd.h>

#include <filesystem>
#include <memory>

#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "support/jpeg_read.h"
#include "support/library_test.h"
#include "ui/jpegfile.h"

using namespace zrt;

namespace {

int countColour(const Image& img, Rgb c) {
    int n = 0;
    for (std::uint32_t p : img.pixels) n += p == packRgb(c);
    return n;
}

}  // namespace

class CanvasTest : public LibraryTest {};

TEST_F(CanvasTest, SizesOutsideTheLimitsAreRefused) {
    for (auto [w, h] : {std::pair{0, 10}, {10, 0}, {-1, 5}, {kMaxCanvasSide + 1, 1}, {1, 1 << 30}})
        EXPECT_EQ(platform::makeCanvas(w, h), nullptr) << w << "x" << h;
    auto c = platform::makeCanvas(1, 1);
    ASSERT_NE(c, nullptr);
    c->clear({1, 2, 3});
    const Image img = c->read();
    ASSERT_EQ(img.pixels.size(), 1u);
    EXPECT_EQ(img.pixels[0], 0x010203u);
}

// Lines are one pixel wide, unsmoothed, with both ends drawn; what lies outside
// the canvas is clipped.
TEST_F(CanvasTest, LinesCoverExactlyTheirPixels) {
    const struct {
        std::vector<Point> points;
        int pixels;
        std::vector<Point> on;
        std::vector<Point> off;
    } cases[] = {
        {{{2, 5}, {10, 5}}, 9, {{2, 5}, {10, 5}}, {{1, 5}, {11, 5}, {6, 4}, {6, 6}}},
        {{{7, 1}, {7, 4}}, 4, {{7, 1}, {7, 4}}, {{7, 0}, {7, 5}}},
        {{{0, 0}, {9, 9}}, 10, {{0, 0}, {5, 5}, {9, 9}}, {{1, 0}, {0, 1}}},
        {{{3, 3}}, 1, {{3, 3}}, {{4, 3}}},
        {{{1, 1}, {4, 1}, {4, 3}}, 6, {{1, 1}, {4, 1}, {4, 3}}, {{5, 1}, {4, 4}}},
        {{{-1000, 10}, {1000, 10}}, 20, {{0, 10}, {19, 10}}, {{0, 9}}},
    };
    for (const auto& c : cases) {
        auto canvas = platform::makeCanvas(20, 20);
        ASSERT_NE(canvas, nullptr);
        canvas->polyline(c.points, kRed);
        const Image img = canvas->read();
        EXPECT_EQ(countColour(img, kRed), c.pixels)
            << c.points.size() << " points from " << c.points[0].x;
        for (Point p : c.on) EXPECT_EQ(img.rgb(p.x, p.y), kRed) << p.x << "," << p.y;
        for (Point p : c.off) EXPECT_EQ(img.rgb(p.x, p.y), kWhite) << p.x << "," << p.y;
    }
}

TEST_F(CanvasTest, TextStaysInItsBox) {
    auto c = platform::makeCanvas(200, 60);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->textSize("").width, 0);
    const Size one = c->textSize("I");
    // 8 points at 96 dots per inch: a line about 11 to 14 pixels high.
    EXPECT_GE(one.height, 9);
    EXPECT_LE(one.height, 16);
    const Size s = c->textSize("Expr = x^2");
    EXPECT_GT(s.width, 5 * one.width);
    c->text({30, 20}, "Expr = x^2", kBlack);
    const Image img = c->read();
    int inside = 0, outside = 0;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            const Rgb p = img.rgb(x, y);
            if (p.r > 200) continue;
            const bool in = x >= 29 && x <= 30 + s.width + 1 && y >= 19 && y <= 20 + s.height + 1;
            (in ? inside : outside)++;
        }
    EXPECT_GT(inside, 20);
    EXPECT_EQ(outside, 0);
}

TEST_F(CanvasTest, ClipboardHoldsATextOrAPicture) {
    Image pic;
    pic.width = 2;
    pic.height = 1;
    pic.pixels = {0xFF0000, 0x00FF00};
    platform::setClipboardText("text");
    EXPECT_FALSE(platform::setClipboardPicture(Image{}));
    EXPECT_EQ(platform::clipboardText(), "text");
    ASSERT_TRUE(platform::setClipboardPicture(pic));
    EXPECT_EQ(platform::clipboardText(), "");
    Image back;
    ASSERT_TRUE(platform::clipboardPicture(back));
    EXPECT_EQ(back.pixels, pic.pixels);
    platform::setClipboardText("again");
    EXPECT_FALSE(platform::clipboardPicture(back));
}

TEST_F(CanvasTest, JpegFiles) {
    const std::string dir = std::filesystem::temp_directory_path().string() + "/quillet_jpeg_" +
                            std::to_string(::getpid());
    std::filesystem::create_directories(dir);
    Image solid;
    solid.width = 33;
    solid.height = 17;
    solid.pixels.assign(33 * 17, 0x3080C0);
    Image broken = solid;
    broken.pixels.pop_back();
    const struct {
        const char* name;
        const Image* picture;
        int quality;
        bool ok;
        int tolerance;
    } cases[] = {
        {"/solid.jpg", &solid, 92, true, 4},
        {"/low.jpg", &solid, -5, true, 64},  // qualities outside 1..100 are clamped
        {"/high.jpg", &solid, 1000, true, 4},
        {"/broken.jpg", &broken, 92, false, 0},
        {"/missing/dir/x.jpg", &solid, 92, false, 0},
    };
    for (const auto& c : cases) {
        const std::string path = dir + c.name;
        EXPECT_EQ(writeJpeg(path, *c.picture, c.quality), c.ok) << c.name;
        EXPECT_EQ(std::filesystem::exists(path), c.ok) << c.name;
        if (!c.ok) continue;
        const Image back = testjpeg::readJpeg(path);
        ASSERT_EQ(back.width, 33) << c.name;
        ASSERT_EQ(back.height, 17) << c.name;
        const Rgb p = back.rgb(16, 8);
        EXPECT_NEAR(p.r, 0x30, c.tolerance) << c.name;
        EXPECT_NEAR(p.g, 0x80, c.tolerance) << c.name;
        EXPECT_NEAR(p.b, 0xC0, c.tolerance) << c.name;
    }
    EXPECT_FALSE(writeJpeg(dir + "/empty.jpg", Image{}));
    std::filesystem::remove_all(dir);
}
