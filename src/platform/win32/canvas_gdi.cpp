#include "platform/win32/canvas_gdi.h"

#include <algorithm>
#include <string>

#include "base/text16.h"
#include "platform/platform.h"

namespace zrt::win32 {

namespace {

std::wstring wide(std::string_view utf8) {
    const std::u16string u = toUtf16(utf8);
    return std::wstring(u.begin(), u.end());
}

COLORREF colorRef(Rgb c) {
    return RGB(c.r, c.g, c.b);
}

}  // namespace

bool DibSurface::create(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc = CreateCompatibleDC(nullptr);
    if (!dc) return false;
    void* pixels = nullptr;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!bitmap || !pixels) {
        destroy();
        return false;
    }
    bits = static_cast<std::uint32_t*>(pixels);
    oldBitmap = SelectObject(dc, bitmap);
    return true;
}

void DibSurface::destroy() {
    if (dc && oldBitmap) SelectObject(dc, oldBitmap);
    if (bitmap) DeleteObject(bitmap);
    if (dc) DeleteDC(dc);
    *this = DibSurface{};
}

Image readDib(const std::uint32_t* bits, int width, int height) {
    Image out;
    if (!bits || width <= 0 || height <= 0) return out;
    GdiFlush();
    out.width = width;
    out.height = height;
    const std::size_t n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    out.pixels.resize(n);
    // A 32-bit DIB keeps blue, green, red, unused: 0x??RRGGBB read as a word.
    for (std::size_t i = 0; i < n; ++i) out.pixels[i] = bits[i] & 0xFFFFFFu;
    return out;
}

GdiCanvas::GdiCanvas(int width, int height) : width_(width), height_(height) {
    DibSurface s;
    if (!s.create(width, height)) return;
    dc_ = s.dc;
    bitmap_ = s.bitmap;
    oldBitmap_ = s.oldBitmap;
    bits_ = s.bits;
    // 8 points at the screen's resolution, as the plot window shows them.
    const int dpi = GetDeviceCaps(dc_, LOGPIXELSY);
    font_ = CreateFontW(-MulDiv(8, dpi > 0 ? dpi : 96, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_SWISS, L"Verdana");
    if (font_) oldFont_ = SelectObject(dc_, font_);
    SetBkMode(dc_, TRANSPARENT);
    clear(kWhite);
}

GdiCanvas::~GdiCanvas() {
    if (dc_ && oldFont_) SelectObject(dc_, oldFont_);
    if (font_) DeleteObject(font_);
    DibSurface s{dc_, bitmap_, oldBitmap_, bits_};
    s.destroy();
}

void GdiCanvas::clear(Rgb colour) {
    if (!bits_) return;
    GdiFlush();
    std::fill(bits_, bits_ + static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_),
              packRgb(colour));
}

void GdiCanvas::line(Point from, Point to, Rgb colour) {
    polyline({from, to}, colour);
}

void GdiCanvas::polyline(const std::vector<Point>& points, Rgb colour) {
    if (!bits_ || points.empty()) return;
    HPEN pen = CreatePen(PS_SOLID, 1, colorRef(colour));
    if (!pen) return;
    HGDIOBJ old = SelectObject(dc_, pen);
    std::vector<POINT> pts(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) pts[i] = {points[i].x, points[i].y};
    // Polyline takes an int count: long curves go in pieces that share an end.
    const std::size_t chunk = 1 << 20;
    for (std::size_t start = 0; start + 1 < pts.size(); start += chunk) {
        const std::size_t n = std::min(chunk + 1, pts.size() - start);
        Polyline(dc_, pts.data() + start, static_cast<int>(n));
    }
    // GDI leaves out the last pixel of a line; the canvas draws both ends.
    SetPixelV(dc_, pts.back().x, pts.back().y, colorRef(colour));
    SelectObject(dc_, old);
    DeleteObject(pen);
}

void GdiCanvas::text(Point topLeft, std::string_view utf8, Rgb colour) {
    if (!bits_ || utf8.empty()) return;
    const std::wstring w = wide(utf8);
    SetTextColor(dc_, colorRef(colour));
    TextOutW(dc_, topLeft.x, topLeft.y, w.c_str(),
             static_cast<int>(std::min<std::size_t>(w.size(), 32767)));
}

Size GdiCanvas::textSize(std::string_view utf8) {
    if (!bits_) return {};
    const std::wstring w = utf8.empty() ? std::wstring(L" ") : wide(utf8);
    SIZE s{};
    GetTextExtentPoint32W(dc_, w.c_str(), static_cast<int>(std::min<std::size_t>(w.size(), 32767)),
                          &s);
    return {utf8.empty() ? 0 : static_cast<int>(s.cx), static_cast<int>(s.cy)};
}

Image GdiCanvas::read() const {
    return readDib(bits_, width_, height_);
}

}  // namespace zrt::win32

namespace zrt::platform {

std::unique_ptr<Canvas> makeCanvas(int width, int height) {
    if (width < 1 || height < 1 || width > kMaxCanvasSide || height > kMaxCanvasSide)
        return nullptr;
    auto canvas = std::make_unique<win32::GdiCanvas>(width, height);
    if (!canvas->valid()) return nullptr;
    return canvas;
}

}  // namespace zrt::platform
