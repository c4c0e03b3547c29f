// Plots: the plot table of the current script run (one entry per plot, with
// its point table), the drawing of a plot through a Canvas, the plot windows
// and the pictures saved from them.
#pragma once

#include <functional>
#include <map>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/limits.h"
#include "platform/canvas.h"

namespace zrt {

// Computes y at x. False (or a NaN y) marks a failed point: it stays in the
// point table, leaves a gap in the curve and does not change the extremes.
using PlotEval = std::function<bool(double x, double& y)>;

// Window layout: inside size, and the height of the button row below the picture.
constexpr int kPlotWindowSize = 400;
constexpr int kPlotButtonRow = 35;

// Identifiers of plot n: window 110 + 10n, image +1, "Redraw" +2, "Close" +3,
// "Redraw from" label +4, from-field +5, "to" label +6, to-field +7.
enum PlotGadget {
    kPlotWindow = 0,
    kPlotImage,
    kRedrawButton,
    kCloseButton,
    kFromLabel,
    kFromField,
    kToLabel,
    kToField
};
constexpr int plotGadgetId(int plotNumber, int gadget) {
    return 110 + 10 * plotNumber + gadget;
}

// The fields of a plot command.
struct PlotRequest {
    std::string expression;
    double xFrom = 0;
    std::string variable;  // lower-cased
    double xTo = 0;
    int steps = 0;
    std::string tableFile;  // optional
};

struct PlotEntry {
    std::string expression;
    double xFrom = 0;
    std::string variable;
    double xTo = 0;
    int steps = 0;
    // Point table: points 0..steps.
    std::vector<double> xs;
    std::vector<double> ys;
    std::vector<unsigned char> ok;  // 1: evaluated without error
    // Extremes: x over every point; y over the points that evaluated to a finite
    // value (hasY false when there is none).
    double xMin = 0;
    double xMax = 0;
    double yMin = 0;
    double yMax = 0;
    bool hasY = false;
    // Where the picture's left and bottom edges were when it was last drawn.
    double xOrigin = 0;
    double yOrigin = 0;
    PlotEval eval;  // kept for "Redraw"
};

// What a picture shows: the extremes, widened where they are a single value.
struct PlotRange {
    double xMin = 0;
    double xMax = 0;
    double yMin = 0;
    double yMax = 0;
};

// Reads "expression; x from; variable; x to; steps [; point-table file]".
// False with a message for the user when a field is missing or invalid.
bool parsePlotParams(std::string_view text, PlotRequest& request, std::string& problem);

// A number typed by the user ("," or "." as the decimal point); false for
// anything else, and for infinite values.
bool parsePlotNumber(std::string_view text, double& value);

// Fills the point table and the extremes from entry.xFrom/xTo/steps.
bool computePoints(PlotEntry& entry, const PlotEval& eval, std::string& problem);

// The point table as a tab-separated text with the header "Id\tX\tY".
std::string pointTableText(const PlotEntry& entry);
bool writePointTable(const PlotEntry& entry, const std::string& utf8Path);

PlotRange plotRange(const PlotEntry& entry);

// Draws the plot on the canvas: white ground, "Expr = " label, axes, red curve.
void DrawPlot(Canvas& canvas, PlotEntry& entry);
// The axes through (0, 0) (along the nearest edge when 0 is out of view),
// "0,0" at the origin, ticks marked "I" with their values; no value is written
// into the keepClear box at the top left.
void DrawAxes(Canvas& canvas, const PlotRange& range, Size keepClear = {});
// A tick value: 2 decimals, trailing zeros removed.
std::string tickLabel(double value);

// ---- The plot table of the run and its windows ----

// The plot command: parses the fields, computes the points, writes the point
// table file when one is named, opens window plotNumber and draws. Returns 1,
// or 0 with e_error 13 and an error-log entry when the fields are invalid or
// the plot table would hold more than kMaxPlotTablePoints points.
// A point-table file that cannot be written does not stop the plot; then
// plotMessage() is "Error: can't write the file.".
int aPlot(const std::string& params, int plotNumber, PlotEval eval);
// The same from fields the caller has already read.
int plotRequest(const PlotRequest& request, int plotNumber, PlotEval eval);

// Opens the window of plot n at its tiled position (the previous plot's window
// decides), closing an older window with the same number.
bool OpenPlotWindow(int plotNumber);
// Draws plot n into its window's picture and fills the from/to fields.
bool DrawPlot(int plotNumber);
// "Redraw": recomputes plot n over [xFrom, xTo] with its stored evaluation.
bool redrawPlot(int plotNumber, double xFrom, double xTo);

// Captures window n, puts the picture on the clipboard and, for a non-empty
// target, saves it as JPEG: "-1" a new unique "aPlotNr_" name, "0" the next
// numbered "aPlotNr_NN.jpg" (both in the host program's folder, or its
// "Quillet" sub-folder when that exists), a text ending in "\" or "/" the next
// numbered name in that folder (created when missing), anything else the
// file name itself. Returns 1 on success, 0 when the capture or the save
// failed; fileName gets the saved file's name.
int SavePlotPicture(int plotNumber, const std::string& target, std::string* fileName = nullptr);
// The same, returning the saved file name ("" when nothing was saved).
std::string savePlot(int plotNumber, const std::string& folderOrTarget);
// Saves into folder (separator added when missing) as the next "aPlotNr_NN.jpg".
std::string savePlotInFolder(int plotNumber, const std::string& folder);

// Start of a script run: closes every plot window and empties the plot table.
void closePlotWindows();

const PlotEntry* plotEntry(int plotNumber);
// Note of the last plot command ("" when all went well).
const std::string& plotMessage();
// Number of automatically numbered pictures saved during this load.
int pictureCounter();

// Load-time state: no plots, no windows, picture counter 0.
void resetPlots();

}  // namespace zrt
