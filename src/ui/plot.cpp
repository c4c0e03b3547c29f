#include "ui/plot.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "base/scopedflag.h"
#include "base/errors.h"
#include "base/numtext.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "ui/jpegfile.h"

namespace zrt {

namespace {

constexpr Rgb kAxisColour{0, 0, 0};
constexpr Rgb kTextColour{0, 0, 0};
// Names of "-1" pictures start here, apart from the numbered "0" pictures.
constexpr int kFirstUniquePicture = 1000;
constexpr int kUniqueSearchLimit = 100000;

struct PlotState {
    std::map<int, PlotEntry> table;
    int pictureCounter = 0;
    int nextUniquePicture = kFirstUniquePicture;
    std::string message;
    // A plot is being computed: a "Redraw" click served meanwhile waits.
    bool busy = false;
};

PlotState& plotState() {
    static PlotState s;
    return s;
}

bool refuse(std::string_view proc, std::string_view problem) {
    failReplacing(ErrorCode::InvalidArgument, proc, problem);
    return false;
}

std::vector<std::string> splitFields(std::string_view text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t semi = text.find(';', start);
        const std::string_view piece = text.substr(
            start, semi == std::string_view::npos ? std::string_view::npos : semi - start);
        std::string_view t = piece;
        while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
        while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
        out.emplace_back(t);
        if (semi == std::string_view::npos) break;
        start = semi + 1;
    }
    return out;
}

// Position of v between lo and hi as a fraction, without overflowing for
// ranges that span most of the doubles.
double fraction(double v, double lo, double hi) {
    const double span = hi - lo;
    if (std::isfinite(span) && span > 0) return (v - lo) / span;
    return (v / 2 - lo / 2) / (hi / 2 - lo / 2);
}

// A pixel coordinate from a fraction of the side; far-off values are clamped
// so that the conversion to int stays defined.
int toPixel(double f, int side) {
    double p = f * (side - 1);
    if (!(p > -1e6)) p = -1e6;
    if (p > 1e6) p = 1e6;
    return static_cast<int>(std::floor(p + 0.5));
}

struct Mapper {
    PlotRange r;
    int width;
    int height;
    int px(double x) const { return toPixel(fraction(x, r.xMin, r.xMax), width); }
    // Larger y is drawn higher.
    int py(double y) const { return height - 1 - toPixel(fraction(y, r.yMin, r.yMax), height); }
};

// A sensible range around a single value.
void widen(double v, double& lo, double& hi) {
    const double d = std::fabs(v) > 1 ? std::fabs(v) * 0.1 : 1.0;
    lo = v - d;
    hi = v + d;
    if (!std::isfinite(hi)) hi = v;
    if (!std::isfinite(lo)) lo = v;
}

// Tick spacing of 1, 2 or 5 times a power of ten giving at most maxTicks ticks;
// 0 when there is no usable spacing. Powers come from repeated multiplication,
// not from the math library, so every build places the ticks alike.
double tickStep(double span, int maxTicks) {
    if (!(span > 0) || !std::isfinite(span)) return 0;
    const double raw = span / maxTicks;
    double p = 1;
    for (int i = 0; i < 400 && p * 10 <= raw; ++i) p *= 10;
    for (int i = 0; i < 400 && p > raw; ++i) p /= 10;
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * p >= raw && m * p > 0) return m * p;
    return 0;
}

// A text the user typed, quoted in a message; a long one by its start only.
std::string quotedStart(std::string_view text) {
    const std::string_view shown = text.substr(0, 120);
    return "'" + std::string(shown) + (shown.size() < text.size() ? "...'" : "'");
}

// Number of tick multiples k0..k1, at most 101. Counted, not stepped: far from
// 0 (k0 above 2^53) adding 1 to k0 no longer changes it.
int tickCount(double k0, double k1) {
    const double n = k1 - k0 + 1;
    if (!(n >= 1)) return 0;
    return n > 101 ? 101 : static_cast<int>(n);
}

std::string twoDigits(int n) {
    return (n >= 0 && n < 10 ? "0" : "") + std::to_string(n);
}

bool endsWithSeparator(std::string_view s) {
    return !s.empty() && (s.back() == '\\' || s.back() == '/');
}

// The host program's folder + "Quillet" when that folder exists, else the host
// program's folder (with its separator).
std::string pictureFolder() {
    const std::string program = platform::programPath();
    const std::size_t cut = program.find_last_of("\\/");
    const std::string folder =
        cut == std::string::npos ? std::string() : program.substr(0, cut + 1);
    const std::string sub = folder + "Quillet" + kSeparator;
    return isFolder(sub) ? sub : folder;
}

std::string numberedName(const std::string& folder) {
    return folder + "aPlotNr_" + twoDigits(++plotState().pictureCounter) + ".jpg";
}

std::string uniqueName(const std::string& folder) {
    auto& s = plotState();
    for (int i = 0; i < kUniqueSearchLimit; ++i) {
        const std::string name =
            folder + "aPlotNr_" + std::to_string(s.nextUniquePicture++) + ".jpg";
        if (!pathExists(name)) return name;
    }
    return {};
}

std::string pictureFileName(const std::string& target) {
    if (target == "-1") return uniqueName(pictureFolder());
    if (target == "0") return numberedName(pictureFolder());
    if (endsWithSeparator(target)) {
        if (!makeFolders(target)) return {};
        return numberedName(target);
    }
    return target;
}

void redrawFromFields(int plotNumber) {
    double from = 0, to = 0;
    const bool ok =
        parsePlotNumber(platform::gadgetText(plotNumber, plotGadgetId(plotNumber, kFromField)),
                        from) &&
        parsePlotNumber(platform::gadgetText(plotNumber, plotGadgetId(plotNumber, kToField)), to);
    // A click is a user action: it does not leave an error behind for the
    // script that may be running.
    const ErrorCode savedError = eError();
    // Unreadable fields get the plot's own range back.
    if (!ok || !redrawPlot(plotNumber, from, to)) DrawPlot(plotNumber);
    setEError(savedError);
}

}  // namespace

bool parsePlotNumber(std::string_view text, double& value) {
    std::string s(trimBlanks(text));
    for (char& c : s)
        if (c == ',') c = '.';
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (first != last && *first == '+') ++first;
    if (first == last) return false;
    double v = 0;
    const auto res = std::from_chars(first, last, v);
    if (res.ec != std::errc() || res.ptr != last || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool parsePlotParams(std::string_view text, PlotRequest& request, std::string& problem) {
    const std::vector<std::string> f = splitFields(text);
    if (f.size() < 5) {
        problem =
            "Plot: expected \"expression; x from; variable; x to; steps\", got " + quotedStart(text);
        return false;
    }
    PlotRequest r;
    r.expression = f[0];
    if (r.expression.empty()) {
        problem = "Plot: the expression is empty";
        return false;
    }
    if (!parsePlotNumber(f[1], r.xFrom)) {
        problem = "Plot: x from is not a number: " + quotedStart(f[1]);
        return false;
    }
    r.variable = lowerAscii(f[2]);
    if (r.variable.empty()) {
        problem = "Plot: the variable name is missing";
        return false;
    }
    if (!parsePlotNumber(f[3], r.xTo)) {
        problem = "Plot: x to is not a number: " + quotedStart(f[3]);
        return false;
    }
    double steps = 0;
    if (!parsePlotNumber(f[4], steps)) {
        problem = "Plot: steps is not a number: " + quotedStart(f[4]);
        return false;
    }
    if (!(steps >= 0.5)) {
        problem = "Plot: steps must be at least 1, got " + quotedStart(f[4]);
        return false;
    }
    if (steps >= kMaxPlotSteps + 0.5) {
        problem =
            "Plot: too many steps (" + quotedStart(f[4]) + "), at most " + std::to_string(kMaxPlotSteps);
        return false;
    }
    r.steps = static_cast<int>(std::floor(steps + 0.5));
    if (f.size() > 5) r.tableFile = f[5];
    request = std::move(r);
    return true;
}

bool computePoints(PlotEntry& e, const PlotEval& eval, std::string& problem) {
    if (e.steps < 1 || e.steps > kMaxPlotSteps) {
        problem = "Plot: steps must be from 1 to " + std::to_string(kMaxPlotSteps);
        return false;
    }
    if (!std::isfinite(e.xFrom) || !std::isfinite(e.xTo)) {
        problem = "Plot: the x range must be finite";
        return false;
    }
    double step = (e.xTo - e.xFrom) / e.steps;
    if (!std::isfinite(step)) step = e.xTo / e.steps - e.xFrom / e.steps;
    const std::size_t n = static_cast<std::size_t>(e.steps) + 1;
    e.xs.assign(n, 0.0);
    e.ys.assign(n, std::numeric_limits<double>::quiet_NaN());
    e.ok.assign(n, 0);
    e.hasY = false;
    std::uint32_t lastPump = platform::tickCount();
    for (std::size_t i = 0; i < n; ++i) {
        // A long table keeps the windows of the host and of earlier plots
        // alive (a click on "Redraw" meanwhile is ignored: busy).
        if ((i & 1023) == 1023 && platform::tickCount() - lastPump >= 100) {
            platform::pumpWindowMessages();
            lastPump = platform::tickCount();
        }
        double x = e.xFrom + static_cast<double>(i) * step;
        if (!std::isfinite(x)) {
            // Only ranges spanning most of the doubles get here.
            const double t = static_cast<double>(i) / e.steps;
            x = e.xFrom * (1 - t) + e.xTo * t;
        }
        double y = std::numeric_limits<double>::quiet_NaN();
        const bool good = eval && eval(x, y) && !std::isnan(y);
        e.xs[i] = x;
        e.ys[i] = y;
        e.ok[i] = good ? 1 : 0;
        if (i == 0) {
            e.xMin = e.xMax = x;
        } else {
            e.xMin = std::min(e.xMin, x);
            e.xMax = std::max(e.xMax, x);
        }
        // An infinite value is not drawn, so it does not stretch the picture.
        if (good && std::isfinite(y)) {
            if (!e.hasY) {
                e.yMin = e.yMax = y;
                e.hasY = true;
            } else {
                e.yMin = std::min(e.yMin, y);
                e.yMax = std::max(e.yMax, y);
            }
        }
    }
    if (!e.hasY) e.yMin = e.yMax = 0;
    return true;
}

namespace {

constexpr const char* kPointTableHeader = "Id\tX\tY\r\n";

void appendPointRows(std::string& out, const PlotEntry& e, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
        out += std::to_string(i);
        out += '\t';
        out += shortNumber(e.xs[i]);
        out += '\t';
        // A failed point shows as "NaN", an infinite one as "+Infinity".
        out += std::isfinite(e.ys[i]) ? shortNumber(e.ys[i]) : FixText(e.ys[i]);
        out += "\r\n";
    }
}

}  // namespace

std::string pointTableText(const PlotEntry& e) {
    std::string out = kPointTableHeader;
    out.reserve(out.size() + e.xs.size() * 32);
    appendPointRows(out, e, 0, e.xs.size());
    return out;
}

bool writePointTable(const PlotEntry& e, const std::string& utf8Path) {
    std::FILE* f = platform::openFile(utf8Path, "wb");
    if (!f) return false;
    // Written a block of rows at a time: a million points far from 0 make
    // hundreds of MB of text, which need not be in memory at once.
    constexpr std::size_t kRowsPerBlock = 4096;
    std::string text = kPointTableHeader;
    bool ok = true;
    for (std::size_t from = 0; ok && from < e.xs.size(); from += kRowsPerBlock) {
        appendPointRows(text, e, from, std::min(e.xs.size(), from + kRowsPerBlock));
        ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
        text.clear();
    }
    if (ok && !text.empty()) ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = std::fclose(f) == 0 && ok;
    return ok;
}

PlotRange plotRange(const PlotEntry& e) {
    PlotRange r{e.xMin, e.xMax, e.yMin, e.yMax};
    if (!(r.xMax > r.xMin)) widen(r.xMin, r.xMin, r.xMax);
    if (!e.hasY) {
        r.yMin = -1;
        r.yMax = 1;
    } else if (!(r.yMax > r.yMin)) {
        widen(r.yMin, r.yMin, r.yMax);
    }
    return r;
}

std::string tickLabel(double value) {
    if (!std::isfinite(value)) return shortNumber(value);
    if (std::fabs(value) < 0.005) return "0";
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 2);
    return NumText(std::string_view(buf, static_cast<std::size_t>(res.ptr - buf)));
}

void DrawAxes(Canvas& c, const PlotRange& range, Size keepClear) {
    // Tick values never cover the label in the top left corner.
    auto clear = [&](int x, int y) { return x >= keepClear.width || y >= keepClear.height; };
    const int w = c.width();
    const int h = c.height();
    const Mapper m{range, w, h};
    const bool zeroX = range.xMin <= 0 && 0 <= range.xMax;
    const bool zeroY = range.yMin <= 0 && 0 <= range.yMax;
    // Out of view, an axis runs along the nearest edge and still carries the scale.
    const int ax = std::clamp(m.px(0), 0, w - 1);
    const int ay = std::clamp(m.py(0), 0, h - 1);
    c.line({0, ay}, {w - 1, ay}, kAxisColour);
    c.line({ax, 0}, {ax, h - 1}, kAxisColour);
    if (zeroX && zeroY) {
        // Beside the origin, inside the picture even when the origin is a corner.
        const Size os = c.textSize("0,0");
        const int ox = ax + 3 + os.width > w ? ax - 3 - os.width : ax + 3;
        const int oy = ay + 2 + os.height > h ? ay - 2 - os.height : ay + 2;
        c.text({ox, oy}, "0,0", kTextColour);
    }

    const Size bar = c.textSize("I");
    const double xStep = tickStep(range.xMax - range.xMin, std::max(2, w / 80));
    if (xStep > 0) {
        const double k0 = std::ceil(range.xMin / xStep);
        const int ticks = tickCount(k0, std::floor(range.xMax / xStep));
        for (int j = 0; j < ticks; ++j) {
            const double k = k0 + j;
            const double v = k * xStep;
            if (k == 0 && zeroX && zeroY) continue;  // the origin has its "0,0"
            const int x = m.px(v);
            c.text({x - bar.width / 2, ay - bar.height / 2}, "I", kAxisColour);
            const std::string label = tickLabel(v);
            const Size ls = c.textSize(label);
            int ly = ay + bar.height / 2 + 1;
            if (ly + ls.height > h) ly = ay - bar.height / 2 - ls.height;
            const int lx = std::clamp(x - ls.width / 2, 0, std::max(0, w - ls.width));
            if (clear(lx, ly)) c.text({lx, ly}, label, kTextColour);
        }
    }
    const double yStep = tickStep(range.yMax - range.yMin, std::max(2, h / 60));
    if (yStep > 0) {
        const double k0 = std::ceil(range.yMin / yStep);
        const int ticks = tickCount(k0, std::floor(range.yMax / yStep));
        for (int j = 0; j < ticks; ++j) {
            const double k = k0 + j;
            const double v = k * yStep;
            if (k == 0 && zeroX && zeroY) continue;
            const int y = m.py(v);
            // An "I" would vanish in a vertical axis: a short dash marks the tick.
            c.line({ax - 3, y}, {ax + 3, y}, kAxisColour);
            const std::string label = tickLabel(v);
            const Size ls = c.textSize(label);
            int lx = ax + 6;
            if (lx + ls.width > w) lx = ax - 6 - ls.width;
            const int ly = std::clamp(y - ls.height / 2, 0, std::max(0, h - ls.height));
            if (clear(lx, ly)) c.text({lx, ly}, label, kTextColour);
        }
    }
}

void DrawPlot(Canvas& c, PlotEntry& e) {
    const PlotRange range = plotRange(e);
    e.xOrigin = range.xMin;
    e.yOrigin = range.yMin;
    const Mapper m{range, c.width(), c.height()};
    c.clear(kWhite);

    const std::string label = "Expr = " + e.expression;
    c.text({2, 2}, label, kTextColour);
    const Size ls = c.textSize(label);
    DrawAxes(c, range, {ls.width + 6, ls.height + 4});

    // The curve comes last so that no label or axis hides it. It is drawn in
    // runs between gaps; consecutive points on the same pixel add nothing and
    // are dropped (a long point table mostly maps to few pixels).
    std::vector<Point> run;
    auto flush = [&] {
        if (!run.empty()) c.polyline(run, kRed);
        run.clear();
    };
    for (std::size_t i = 0; i < e.xs.size(); ++i) {
        if (!e.ok[i] || !std::isfinite(e.ys[i])) {
            flush();
            continue;
        }
        const Point p{m.px(e.xs[i]), m.py(e.ys[i])};
        if (!run.empty() && run.back().x == p.x && run.back().y == p.y) continue;
        run.push_back(p);
    }
    flush();
}

// ---- The plot table and the windows ----

int plotRequest(const PlotRequest& request, int plotNumber, PlotEval eval) {
    auto& s = plotState();
    s.message.clear();
    if (plotNumber < 1 || plotNumber > kMaxPlotNumber)
        return refuse("aPlot", "Plot: plot number " + std::to_string(plotNumber) +
                                   " out of range 1.." + std::to_string(kMaxPlotNumber));
    std::int64_t held = 0;
    for (const auto& [number, entry] : s.table)
        if (number != plotNumber) held += static_cast<std::int64_t>(entry.xs.size());
    const std::int64_t points = std::int64_t{request.steps} + 1;
    if (held + points > kMaxPlotTablePoints)
        return refuse("aPlot", "Plot: with its " + std::to_string(points) +
                                   " points the plots of this run would hold " +
                                   std::to_string(held + points) + ", more than the " +
                                   std::to_string(kMaxPlotTablePoints) +
                                   " all plots together may have");
    PlotEntry e;
    e.expression = request.expression;
    e.xFrom = request.xFrom;
    e.variable = request.variable;
    e.xTo = request.xTo;
    e.steps = request.steps;
    e.eval = std::move(eval);
    std::string problem;
    bool computed = false;
    {
        const ScopedFlag busy(s.busy);
        computed = computePoints(e, e.eval, problem);
    }
    if (!computed) return refuse("aPlot", problem);
    if (!request.tableFile.empty() && !writePointTable(e, request.tableFile))
        s.message = "Error: can't write the file.";
    s.table[plotNumber] = std::move(e);
    if (!OpenPlotWindow(plotNumber) || !DrawPlot(plotNumber))
        return refuse("aPlot", "Plot: cannot open the plot window");
    // Points that failed leave gaps: the plot itself succeeded.
    setEError(ErrorCode::None);
    platform::pumpWindowMessages();
    return 1;
}

int aPlot(const std::string& params, int plotNumber, PlotEval eval) {
    plotState().message.clear();
    PlotRequest request;
    std::string problem;
    if (!parsePlotParams(params, request, problem)) return refuse("aPlot", problem);
    return plotRequest(request, plotNumber, std::move(eval));
}

bool OpenPlotWindow(int n) {
    if (n < 1 || n > kMaxPlotNumber) return false;
    int x = 0, y = 0;
    platform::WindowRect prev;
    if (n > 1 && platform::plotWindowRect(n - 1, prev)) {
        x = prev.x + prev.width + 7;
        y = prev.y;
        if (x + kPlotWindowSize > platform::desktopWidth()) {
            x = 0;
            y = prev.y + kPlotWindowSize + 30;
        }
    }
    using platform::GadgetKind;
    platform::PlotWindowLayout layout;
    layout.number = n;
    layout.x = x;
    layout.y = y;
    layout.width = kPlotWindowSize;
    layout.height = kPlotWindowSize;
    layout.title = "aPlot #" + std::to_string(n);
    layout.redrawId = plotGadgetId(n, kRedrawButton);
    layout.closeId = plotGadgetId(n, kCloseButton);
    layout.gadgets = {
        {plotGadgetId(n, kPlotImage), GadgetKind::Image, 0, 0, kPlotWindowSize,
         kPlotWindowSize - kPlotButtonRow, ""},
        {plotGadgetId(n, kRedrawButton), GadgetKind::Button, 5, 375, 75, 20, "Redraw"},
        {plotGadgetId(n, kCloseButton), GadgetKind::Button, 320, 375, 75, 20, "Close"},
        {plotGadgetId(n, kFromLabel), GadgetKind::Label, 90, 378, 70, 20, "Redraw from"},
        {plotGadgetId(n, kFromField), GadgetKind::Field, 160, 375, 50, 20, "0"},
        {plotGadgetId(n, kToLabel), GadgetKind::Label, 220, 378, 20, 20, "to"},
        {plotGadgetId(n, kToField), GadgetKind::Field, 240, 375, 50, 20, "0"},
    };
    layout.events.redraw = [n] {
        if (!plotState().busy) redrawFromFields(n);
    };
    layout.events.resized = [n] {
        if (!plotState().busy) DrawPlot(n);
    };
    return platform::openPlotWindow(layout);
}

bool DrawPlot(int n) {
    auto& s = plotState();
    auto it = s.table.find(n);
    platform::WindowRect r;
    if (it == s.table.end() || !platform::plotWindowRect(n, r)) return false;
    Canvas* c =
        platform::plotImageCanvas(n, std::max(1, r.width), std::max(1, r.height - kPlotButtonRow));
    if (!c) return false;
    PlotEntry& e = it->second;
    DrawPlot(*c, e);
    platform::showPlotImage(n);
    if (!e.xs.empty()) {
        platform::setGadgetText(n, plotGadgetId(n, kFromField), shortNumber(e.xs.front()));
        platform::setGadgetText(n, plotGadgetId(n, kToField), shortNumber(e.xs.back()));
    }
    return true;
}

bool redrawPlot(int n, double xFrom, double xTo) {
    auto& s = plotState();
    auto it = s.table.find(n);
    if (it == s.table.end() || s.busy) return false;
    PlotEntry& e = it->second;
    if (e.eval) {
        PlotEntry next = e;
        next.xFrom = xFrom;
        next.xTo = xTo;
        std::string problem;
        bool computed = false;
        {
            const ScopedFlag busy(s.busy);
            computed = computePoints(next, e.eval, problem);
        }
        if (!computed) return false;
        // The entry may have been replaced while the points were computed.
        it = s.table.find(n);
        if (it == s.table.end()) return false;
        it->second = std::move(next);
    }
    return DrawPlot(n);
}

int SavePlotPicture(int n, const std::string& target, std::string* fileName) {
    Image picture;
    if (!platform::captureWindow(n, picture)) return 0;
    platform::setClipboardPicture(picture);
    const std::string t(trimBlanks(target));
    if (t.empty()) return 1;
    // The picture just captured is saved: reading it back from the clipboard
    // would save whatever another program put there meanwhile.
    const std::string name = pictureFileName(t);
    if (name.empty() || !writeJpeg(name, picture)) return 0;
    if (fileName) *fileName = name;
    return 1;
}

std::string savePlot(int n, const std::string& folderOrTarget) {
    std::string name;
    SavePlotPicture(n, folderOrTarget, &name);
    return name;
}

std::string savePlotInFolder(int n, const std::string& folder) {
    std::string f(trimBlanks(folder));
    if (f.empty()) return {};
    if (!endsWithSeparator(f)) f += kSeparator;
    return savePlot(n, f);
}

void closePlotWindows() {
    platform::closeAllPlotWindows();
    plotState().table.clear();
}

const PlotEntry* plotEntry(int n) {
    const auto& t = plotState().table;
    auto it = t.find(n);
    return it == t.end() ? nullptr : &it->second;
}

const std::string& plotMessage() {
    return plotState().message;
}

int pictureCounter() {
    return plotState().pictureCounter;
}

void resetPlots() {
    closePlotWindows();
    auto& s = plotState();
    s.pictureCounter = 0;
    s.nextUniquePicture = kFirstUniquePicture;
    s.message.clear();
    s.busy = false;
}

}  // namespace zrt
