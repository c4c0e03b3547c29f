// Plot windows without a screen: each window is a record (position, title,
// gadgets) with its picture on an off-screen cairo canvas. Tests press the
// buttons through headless.h; a capture composes the window's look from the
// picture and the gadgets.
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <map>
#include <system_error>

#include "platform/headless/canvas_cairo.h"
#include "platform/headless/headless.h"

namespace zrt::headless {

namespace {

constexpr int kDefaultDesktopWidth = 1024;
constexpr Rgb kWindowFace{240, 240, 240};
constexpr Rgb kBorder{128, 128, 128};

struct WindowRecord {
    platform::PlotWindowLayout layout;  // position and size as they are now
    std::unique_ptr<CairoCanvas> image;
};

struct WindowsState {
    std::map<int, WindowRecord> windows;
    int desktopWidth = kDefaultDesktopWidth;
    std::string programPath;  // empty: the real one
    bool captureFails = false;
};

WindowsState& windowsState() {
    static WindowsState s;
    return s;
}

WindowRecord* findWindow(int number) {
    auto& w = windowsState().windows;
    auto it = w.find(number);
    return it == w.end() ? nullptr : &it->second;
}

platform::Gadget* findGadget(WindowRecord& r, int id) {
    for (auto& g : r.layout.gadgets)
        if (g.id == id) return &g;
    return nullptr;
}

// Gadgets below the picture keep their distance to the bottom edge when the
// window changes size; the picture takes the rest.
void moveGadgets(WindowRecord& r, int oldHeight) {
    const int dy = r.layout.height - oldHeight;
    for (auto& g : r.layout.gadgets) {
        if (g.kind == platform::GadgetKind::Image) {
            g.width = r.layout.width;
            g.height += dy;
        } else {
            g.y += dy;
        }
    }
}

std::string withSlashes(std::string_view path) {
    std::string p(path);
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}

}  // namespace

std::vector<int> plotWindowNumbers() {
    std::vector<int> out;
    for (const auto& [n, r] : windowsState().windows) out.push_back(n);
    return out;
}

std::string plotWindowTitle(int number) {
    const WindowRecord* r = findWindow(number);
    return r ? r->layout.title : std::string();
}

std::vector<platform::Gadget> plotWindowGadgets(int number) {
    const WindowRecord* r = findWindow(number);
    return r ? r->layout.gadgets : std::vector<platform::Gadget>{};
}

Image plotWindowImage(int number) {
    const WindowRecord* r = findWindow(number);
    return r && r->image ? r->image->read() : Image{};
}

bool pressButton(int number, int gadgetId) {
    WindowRecord* r = findWindow(number);
    if (!r) return false;
    const platform::Gadget* g = findGadget(*r, gadgetId);
    if (!g || g->kind != platform::GadgetKind::Button) return false;
    if (gadgetId == r->layout.closeId) {
        platform::closePlotWindow(number);
    } else if (gadgetId == r->layout.redrawId && r->layout.events.redraw) {
        // Copy: the handler may reopen or close this very window.
        const auto redraw = r->layout.events.redraw;
        redraw();
    }
    return true;
}

bool resizePlotWindow(int number, int width, int height) {
    WindowRecord* r = findWindow(number);
    if (!r || width < 1 || height < 1 || width > kMaxCanvasSide || height > kMaxCanvasSide)
        return false;
    const int oldHeight = r->layout.height;
    r->layout.width = width;
    r->layout.height = height;
    moveGadgets(*r, oldHeight);
    if (r->layout.events.resized) {
        const auto resized = r->layout.events.resized;
        resized();
    }
    return true;
}

void setDesktopWidth(int width) {
    windowsState().desktopWidth = width;
}
void setProgramPath(std::string path) {
    windowsState().programPath = std::move(path);
}
void setCaptureFails(bool fails) {
    windowsState().captureFails = fails;
}

void resetWindowSettings() {
    auto& s = windowsState();
    s.desktopWidth = kDefaultDesktopWidth;
    s.programPath.clear();
    s.captureFails = false;
}

}  // namespace zrt::headless

namespace zrt::platform {

using headless::findWindow;
using headless::windowsState;

int desktopWidth() {
    return windowsState().desktopWidth;
}

bool openPlotWindow(const PlotWindowLayout& layout) {
    if (layout.width < 1 || layout.height < 1 || layout.width > kMaxCanvasSide ||
        layout.height > kMaxCanvasSide)
        return false;
    closePlotWindow(layout.number);
    headless::WindowRecord r;
    r.layout = layout;
    windowsState().windows[layout.number] = std::move(r);
    headless::windowOpened(headless::plotWindowHandle(layout.number));
    return true;
}

bool plotWindowExists(int number) {
    return findWindow(number) != nullptr;
}

bool plotWindowRect(int number, WindowRect& rect) {
    const headless::WindowRecord* r = findWindow(number);
    if (!r) return false;
    rect = {r->layout.x, r->layout.y, r->layout.width, r->layout.height};
    return true;
}

Canvas* plotImageCanvas(int number, int width, int height) {
    headless::WindowRecord* r = findWindow(number);
    if (!r || width < 1 || height < 1 || width > kMaxCanvasSide || height > kMaxCanvasSide)
        return nullptr;
    if (!r->image || r->image->width() != width || r->image->height() != height) {
        auto canvas = std::make_unique<headless::CairoCanvas>(width, height);
        if (!canvas->valid()) return nullptr;
        r->image = std::move(canvas);
    }
    return r->image.get();
}

void showPlotImage(int) {}

void setGadgetText(int number, int gadgetId, std::string_view text) {
    if (headless::WindowRecord* r = findWindow(number))
        if (Gadget* g = headless::findGadget(*r, gadgetId)) g->text = text;
}

std::string gadgetText(int number, int gadgetId) {
    if (headless::WindowRecord* r = findWindow(number))
        if (const Gadget* g = headless::findGadget(*r, gadgetId)) return g->text;
    return {};
}

void closePlotWindow(int number) {
    if (windowsState().windows.erase(number))
        headless::windowClosed(headless::plotWindowHandle(number));
}

void closeAllPlotWindows() {
    for (const auto& [n, r] : windowsState().windows)
        headless::windowClosed(headless::plotWindowHandle(n));
    windowsState().windows.clear();
}

bool captureWindow(int number, Image& picture) {
    const headless::WindowRecord* r = findWindow(number);
    if (!r || windowsState().captureFails) return false;
    headless::CairoCanvas look(r->layout.width, r->layout.height);
    if (!look.valid()) return false;
    look.clear(headless::kWindowFace);
    for (const Gadget& g : r->layout.gadgets) {
        switch (g.kind) {
            case GadgetKind::Image:
                if (r->image) look.drawImage(r->image->read(), {g.x, g.y});
                break;
            case GadgetKind::Button: {
                look.frame(g.x, g.y, g.width, g.height, headless::kBorder, {225, 225, 225});
                const Size ts = look.textSize(g.text);
                look.text({g.x + (g.width - ts.width) / 2, g.y + (g.height - ts.height) / 2},
                          g.text, kBlack);
                break;
            }
            case GadgetKind::Label:
                look.text({g.x, g.y}, g.text, kBlack);
                break;
            case GadgetKind::Field:
                look.frame(g.x, g.y, g.width, g.height, headless::kBorder, kWhite);
                look.text({g.x + 3, g.y + 3}, g.text, kBlack);
                break;
        }
    }
    picture = look.read();
    return !picture.empty();
}

void pumpWindowMessages() {}

std::string programPath() {
    const auto& s = windowsState();
    if (!s.programPath.empty()) return s.programPath;
    char buf[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
}

std::FILE* openFile(std::string_view utf8Path, const char* mode) {
    const std::string p = headless::withSlashes(utf8Path);
    if (p.empty()) return nullptr;
    return std::fopen(p.c_str(), mode);
}






}  // namespace zrt::platform
