// The headless canvas: cairo drawing on an image surface in memory.
#pragma once

#include <cairo.h>

#include "platform/canvas.h"

namespace zrt::headless {

class CairoCanvas final : public Canvas {
   public:
    // Check valid() after construction: cairo reports failure through status.
    CairoCanvas(int width, int height);
    ~CairoCanvas() override;
    CairoCanvas(const CairoCanvas&) = delete;
    CairoCanvas& operator=(const CairoCanvas&) = delete;

    bool valid() const { return cr_ != nullptr; }

    int width() const override { return width_; }
    int height() const override { return height_; }
    void clear(Rgb colour) override;
    void line(Point from, Point to, Rgb colour) override;
    void polyline(const std::vector<Point>& points, Rgb colour) override;
    void text(Point topLeft, std::string_view utf8, Rgb colour) override;
    Size textSize(std::string_view utf8) override;
    Image read() const override;

    // Headless windows compose their look from the plot picture and gadgets.
    void drawImage(const Image& image, Point topLeft);
    void frame(int x, int y, int width, int height, Rgb border, Rgb fill);

   private:
    void source(Rgb colour);

    int width_ = 0;
    int height_ = 0;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
};

}  // namespace zrt::headless
