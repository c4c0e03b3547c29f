// What the plot draws on: a small drawing surface with two backends (GDI on a
// DIB section on Windows, cairo on an image surface elsewhere), and the plain
// picture it can be read back into for the clipboard and JPEG files.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "base/limits.h"

namespace zrt {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(Rgb x, Rgb y) { return x.r == y.r && x.g == y.g && x.b == y.b; }
};

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kRed{255, 0, 0};

struct Point {
    int x = 0;
    int y = 0;
};

struct Size {
    int width = 0;
    int height = 0;
};

// A picture in memory: one 0x00RRGGBB value per pixel, rows from the top.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool empty() const { return width <= 0 || height <= 0; }
    std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    Rgb rgb(int x, int y) const {
        const std::uint32_t p = at(x, y);
        return {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                static_cast<std::uint8_t>(p)};
    }
};

inline std::uint32_t packRgb(Rgb c) {
    return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | std::uint32_t{c.b};
}

// Coordinates are pixels from the top left. Lines are one pixel wide, drawn
// without smoothing, both end points included. Text is "Verdana" 8 points
// (another sans-serif face where Verdana is missing), drawn with a transparent
// background; (x, y) is the top left corner of its box.
class Canvas {
   public:
    virtual ~Canvas() = default;

    virtual int width() const = 0;
    virtual int height() const = 0;

    virtual void clear(Rgb colour) = 0;
    virtual void line(Point from, Point to, Rgb colour) = 0;
    // Connected segments through the points in order (one call for a whole
    // curve: both backends draw it in one go).
    virtual void polyline(const std::vector<Point>& points, Rgb colour) = 0;
    virtual void text(Point topLeft, std::string_view utf8, Rgb colour) = 0;
    virtual Size textSize(std::string_view utf8) = 0;

    // What has been drawn so far.
    virtual Image read() const = 0;
};

}  // namespace zrt
