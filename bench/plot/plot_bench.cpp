// A 100 000-step plot drawn off-screen: the point table (a plain callback in
// place of the evaluator) and the drawing are measured apart, for a smooth
// curve and for one that swings across the whole picture at every step. The
// formula's point table costs one evaluation per point: compare its per_point
// with BM_EvalPointText (one e_eval of such a point's text, in bench_numerics).
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "api/lifecycle.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "script/commands_plot.h"
#include "ui/jpegfile.h"
#include "ui/plot.h"

using namespace zrt;

namespace {

constexpr int kSteps = 100000;

PlotEval curve(bool wild) {
    if (wild)
        return [](double x, double& y) {
            y = std::sin(x * 3000.0);
            return true;
        };
    return [](double x, double& y) {
        y = std::sin(x) * x;
        return true;
    };
}

PlotEntry entry(bool wild) {
    PlotEntry e;
    e.expression = wild ? "sin(x*3000)" : "sin(x)*x";
    e.xFrom = -10;
    e.xTo = 10;
    e.steps = kSteps;
    std::string problem;
    computePoints(e, curve(wild), problem);
    return e;
}

void BM_PointTable(benchmark::State& state) {
    const bool wild = state.range(0) != 0;
    PlotEntry e = entry(wild);
    const PlotEval eval = curve(wild);
    std::string problem;
    for (auto _ : state) {
        computePoints(e, eval, problem);
        benchmark::DoNotOptimize(e.ys.data());
    }
    state.SetLabel(std::string(wild ? "wild" : "smooth") + " curve, 100001 points");
}
BENCHMARK(BM_PointTable)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Draw(benchmark::State& state) {
    const bool wild = state.range(0) != 0;
    PlotEntry e = entry(wild);
    std::unique_ptr<Canvas> canvas =
        platform::makeCanvas(kPlotWindowSize, kPlotWindowSize - kPlotButtonRow);
    for (auto _ : state) {
        DrawPlot(*canvas, e);
        benchmark::DoNotOptimize(canvas.get());
    }
    state.SetLabel(std::string(wild ? "wild" : "smooth") + " curve, 400 x 365 canvas");
}
BENCHMARK(BM_Draw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The Plot line of a script: sin(x)*x^2 evaluated by the evaluator at every
// point, then the drawing, measured apart.
PlotEntry formulaEntry() {
    PlotEntry e;
    e.expression = "sin(x)*x^2";
    e.xFrom = -10;
    e.xTo = 10;
    e.steps = kSteps;
    return e;
}

void BM_FormulaPointTable(benchmark::State& state) {
    resetLibraryForTests();
    PlotEntry e = formulaEntry();
    const PlotEval eval = plotFormula(e.expression, "x");
    std::string problem;
    for (auto _ : state) {
        computePoints(e, eval, problem);
        benchmark::DoNotOptimize(e.ys.data());
    }
    state.counters["per_point"] = benchmark::Counter(
        kSteps + 1.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetLabel("sin(x)*x^2 through the evaluator, 100001 points");
}
BENCHMARK(BM_FormulaPointTable)->Unit(benchmark::kMillisecond);

void BM_FormulaDraw(benchmark::State& state) {
    resetLibraryForTests();
    PlotEntry e = formulaEntry();
    std::string problem;
    computePoints(e, plotFormula(e.expression, "x"), problem);
    std::unique_ptr<Canvas> canvas =
        platform::makeCanvas(kPlotWindowSize, kPlotWindowSize - kPlotButtonRow);
    for (auto _ : state) {
        DrawPlot(*canvas, e);
        benchmark::DoNotOptimize(canvas.get());
    }
    state.SetLabel("sin(x)*x^2, 400 x 365 canvas");
}
BENCHMARK(BM_FormulaDraw)->Unit(benchmark::kMillisecond);

// The whole plot command as a user sees it: points, window, drawing.
void BM_PlotCommand(benchmark::State& state) {
    resetLibraryForTests();
    const PlotEval eval = curve(false);
    for (auto _ : state) benchmark::DoNotOptimize(aPlot("sin(x)*x; -10; x; 10; 100000", 1, eval));
    resetPlots();
}
BENCHMARK(BM_PlotCommand)->Unit(benchmark::kMillisecond);

void BM_SaveJpeg(benchmark::State& state) {
    PlotEntry e = entry(false);
    std::unique_ptr<Canvas> canvas = platform::makeCanvas(kPlotWindowSize, kPlotWindowSize);
    DrawPlot(*canvas, e);
    const Image picture = canvas->read();
    for (auto _ : state) benchmark::DoNotOptimize(writeJpeg("bench_plot.jpg", picture));
    removeFile("bench_plot.jpg");
}
BENCHMARK(BM_SaveJpeg)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
