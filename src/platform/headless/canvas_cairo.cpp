#include "platform/headless/canvas_cairo.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/platform.h"

namespace zrt::headless {

namespace {

// 8 points at the 96 dots per inch that Windows draws the plot with.
constexpr double kFontPixels = 8.0 * 96.0 / 72.0;

}  // namespace

CairoCanvas::CairoCanvas(int width, int height) : width_(width), height_(height) {
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) return;
    cairo_t* cr = cairo_create(surface_);
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
        cairo_destroy(cr);
        return;
    }
    cr_ = cr;
    // Plot lines are crisp one-pixel lines, as GDI draws them.
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_width(cr_, 1.0);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_SQUARE);
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
    cairo_select_font_face(cr_, "Verdana", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr_, kFontPixels);
    clear(kWhite);
}

CairoCanvas::~CairoCanvas() {
    if (cr_) cairo_destroy(cr_);
    if (surface_) cairo_surface_destroy(surface_);
}

void CairoCanvas::source(Rgb c) {
    cairo_set_source_rgb(cr_, c.r / 255.0, c.g / 255.0, c.b / 255.0);
}

void CairoCanvas::clear(Rgb colour) {
    if (!cr_) return;
    source(colour);
    cairo_paint(cr_);
}

void CairoCanvas::line(Point from, Point to, Rgb colour) {
    polyline({from, to}, colour);
}

void CairoCanvas::polyline(const std::vector<Point>& points, Rgb colour) {
    if (!cr_ || points.empty()) return;
    source(colour);
    // Through pixel centres, so that a one-pixel line covers whole pixels.
    auto at = [&](std::size_t i) { return std::pair{points[i].x + 0.5, points[i].y + 0.5}; };
    if (points.size() == 1) {
        // A path without length draws nothing: the single pixel is filled.
        cairo_rectangle(cr_, points[0].x, points[0].y, 1, 1);
        cairo_fill(cr_);
        return;
    }
    // Stroked in short pieces: cairo's cost grows faster than the path when a
    // long path crosses itself, as a fast-swinging curve does at every step.
    constexpr std::size_t kPiece = 64;
    for (std::size_t start = 0; start + 1 < points.size(); start += kPiece) {
        const std::size_t end = std::min(start + kPiece, points.size() - 1);
        const auto [x0, y0] = at(start);
        cairo_move_to(cr_, x0, y0);
        for (std::size_t i = start + 1; i <= end; ++i) {
            const auto [x, y] = at(i);
            cairo_line_to(cr_, x, y);
        }
        cairo_stroke(cr_);
    }
}

void CairoCanvas::text(Point topLeft, std::string_view utf8, Rgb colour) {
    if (!cr_ || utf8.empty()) return;
    const std::string s(utf8);
    cairo_font_extents_t fe;
    cairo_font_extents(cr_, &fe);
    // Text keeps its smoothing: only lines are drawn without it.
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_DEFAULT);
    source(colour);
    cairo_move_to(cr_, topLeft.x, topLeft.y + fe.ascent);
    cairo_show_text(cr_, s.c_str());
    cairo_new_path(cr_);
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
}

Size CairoCanvas::textSize(std::string_view utf8) {
    if (!cr_) return {};
    const std::string s(utf8);
    cairo_font_extents_t fe;
    cairo_font_extents(cr_, &fe);
    cairo_text_extents_t te;
    cairo_text_extents(cr_, s.c_str(), &te);
    return {static_cast<int>(te.x_advance + 0.5), static_cast<int>(fe.ascent + fe.descent + 0.5)};
}

Image CairoCanvas::read() const {
    Image out;
    if (!cr_) return out;
    cairo_surface_flush(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    out.width = width_;
    out.height = height_;
    out.pixels.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
    for (int y = 0; y < height_; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < width_; ++x)
            out.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                       static_cast<std::size_t>(x)] = row[x] & 0xFFFFFFu;
    }
    return out;
}

void CairoCanvas::drawImage(const Image& image, Point topLeft) {
    if (!cr_ || image.empty()) return;
    cairo_surface_flush(surface_);
    unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    for (int y = 0; y < image.height; ++y) {
        const int ty = topLeft.y + y;
        if (ty < 0 || ty >= height_) continue;
        auto* row =
            reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(ty) * stride);
        for (int x = 0; x < image.width; ++x) {
            const int tx = topLeft.x + x;
            if (tx >= 0 && tx < width_) row[tx] = image.at(x, y);
        }
    }
    cairo_surface_mark_dirty(surface_);
}

void CairoCanvas::frame(int x, int y, int width, int height, Rgb border, Rgb fill) {
    if (!cr_ || width <= 0 || height <= 0) return;
    source(fill);
    cairo_rectangle(cr_, x, y, width, height);
    cairo_fill(cr_);
    polyline(
        {{x, y}, {x + width - 1, y}, {x + width - 1, y + height - 1}, {x, y + height - 1}, {x, y}},
        border);
}

}  // namespace zrt::headless

namespace zrt::platform {

std::unique_ptr<Canvas> makeCanvas(int width, int height) {
    if (width < 1 || height < 1 || width > kMaxCanvasSide || height > kMaxCanvasSide)
        return nullptr;
    auto canvas = std::make_unique<headless::CairoCanvas>(width, height);
    if (!canvas->valid()) return nullptr;
    return canvas;
}

}  // namespace zrt::platform
