// The Windows canvas: GDI drawing into a 32-bit DIB section selected into a
// memory device context, so the picture can be shown, captured and read back.
#pragma once

#include <windows.h>

#include "platform/canvas.h"

namespace zrt::win32 {

class GdiCanvas final : public Canvas {
   public:
    // Check valid() after construction.
    GdiCanvas(int width, int height);
    ~GdiCanvas() override;
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    bool valid() const { return bits_ != nullptr; }
    HDC dc() const { return dc_; }

    int width() const override { return width_; }
    int height() const override { return height_; }
    void clear(Rgb colour) override;
    void line(Point from, Point to, Rgb colour) override;
    void polyline(const std::vector<Point>& points, Rgb colour) override;
    void text(Point topLeft, std::string_view utf8, Rgb colour) override;
    Size textSize(std::string_view utf8) override;
    Image read() const override;

   private:
    int width_ = 0;
    int height_ = 0;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    HFONT font_ = nullptr;
    HGDIOBJ oldFont_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

// A 32-bit top-down DIB section of the given size selected into a new memory
// DC; what the canvas and the window capture share.
struct DibSurface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    std::uint32_t* bits = nullptr;

    bool create(int width, int height);
    void destroy();
};

// The picture of a DIB section's pixels (0x00RRGGBB).
Image readDib(const std::uint32_t* bits, int width, int height);

}  // namespace zrt::win32
