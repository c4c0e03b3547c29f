// One-shot evaluation of formula texts: every call gets a text it has not
// seen, so nothing can be reused by text. Quillet's exported e_eval (UTF-16
// in, as hosts call it) against muparser's SetExpr + Eval on the same texts
// with one parser object; and e_evals per tabulated point, against muparser
// evaluating a parsed formula with its variable bound to a double.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <string>
#include <vector>

#include "api/lifecycle.h"
#include "base/text16.h"
#include "memory/varstore.h"
#include "plugin/liveeval.h"
#include "zerith.h"

namespace {

constexpr int kVariants = 1024;

// The formula with its first number changed per variant (the work stays the same).
std::vector<std::string> variants(const std::string& before, int first, const std::string& after) {
    std::vector<std::string> texts;
    for (int i = 0; i < kVariants; ++i) texts.push_back(before + std::to_string(first + i) + after);
    return texts;
}

std::vector<std::string> shortTexts() { return variants("2+3*", 4, ""); }

std::vector<std::string> typicalTexts() { return variants("sin(x)*x^2+", 3, "*x-1/(1+x^2)"); }

std::vector<std::string> longTexts() {
    const char* terms[] = {"sin(x)", "x^2", "3*x", "1/(1+x)", "cos(x)*2", "x*x*x", "(x+1)/(x+2)", "4.5"};
    std::string tail;
    for (int t = 1; t < 200; ++t) tail += (t % 3 ? "+" : "-") + std::string(terms[t % 8]);
    return variants("", 1, "*x" + tail);
}

void quillet(benchmark::State& state, const std::vector<std::string>& texts) {
    zrt::resetLibraryForTests();
    SetVarFunct(reinterpret_cast<const zrt_char*>(u"x"), reinterpret_cast<const zrt_char*>(u"0.7"), 0);
    std::vector<std::u16string> wide;
    for (const std::string& t : texts) wide.push_back(zrt::toUtf16(t));
    std::size_t i = 0;
    double v = 0;
    for (auto _ : state) {
        const int r = e_eval(reinterpret_cast<const zrt_char*>(wide[i++ % wide.size()].c_str()), &v, 0);
        benchmark::DoNotOptimize(r);
        benchmark::DoNotOptimize(v);
    }
    if (GetE_Error() != -1) state.SkipWithError("evaluation failed");
}

void muparser(benchmark::State& state, const std::vector<std::string>& texts) {
    mu::Parser parser;
    double x = 0.7;
    parser.DefineVar("x", &x);
    std::size_t i = 0;
    for (auto _ : state) {
        parser.SetExpr(texts[i++ % texts.size()]);
        benchmark::DoNotOptimize(parser.Eval());
    }
}

void BM_Quillet_Short(benchmark::State& s) { quillet(s, shortTexts()); }
void BM_MuParser_Short(benchmark::State& s) { muparser(s, shortTexts()); }
void BM_Quillet_Typical(benchmark::State& s) { quillet(s, typicalTexts()); }
void BM_MuParser_Typical(benchmark::State& s) { muparser(s, typicalTexts()); }
void BM_Quillet_Long(benchmark::State& s) { quillet(s, longTexts()); }
void BM_MuParser_Long(benchmark::State& s) { muparser(s, longTexts()); }

// e_evals of the typical formula: the time per point.
void BM_Quillet_EvalsPerPoint(benchmark::State& state) {
    zrt::resetLibraryForTests();
    const int steps = 999;
    std::vector<double> xs(steps + 1), ys(steps + 1);
    double bounds[5];
    const std::u16string f = zrt::toUtf16("sin(x)*x^2+3*x-1/(1+x^2)");
    const std::u16string var = u"x";
    for (auto _ : state) {
        benchmark::DoNotOptimize(e_evals(reinterpret_cast<const zrt_char*>(f.c_str()), 0,
                                         reinterpret_cast<const zrt_char*>(var.c_str()), 1, steps,
                                         xs.data(), ys.data(), bounds));
    }
    state.SetItemsProcessed(state.iterations() * (steps + 1));
    state.counters["ns_per_point"] = benchmark::Counter(
        static_cast<double>(state.iterations() * (steps + 1)),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// A table of one formula over [0, 3] at 1000 points: e_evals against
// muparser with the variable bound to a double (the formula parsed once, the
// variable changed per point), time per point.
constexpr int kTablePoints = 1000;

void evalsPerPoint(benchmark::State& state, const char* formula) {
    zrt::resetLibraryForTests();
    const int steps = kTablePoints - 1;
    std::vector<double> xs(kTablePoints), ys(kTablePoints);
    double bounds[5];
    const std::u16string f = zrt::toUtf16(formula);
    const std::u16string var = u"x";
    for (auto _ : state) {
        benchmark::DoNotOptimize(e_evals(reinterpret_cast<const zrt_char*>(f.c_str()), 0,
                                         reinterpret_cast<const zrt_char*>(var.c_str()), 3, steps,
                                         xs.data(), ys.data(), bounds));
    }
    state.SetItemsProcessed(state.iterations() * kTablePoints);
}

void muparserPerPoint(benchmark::State& state, const char* formula) {
    mu::Parser parser;
    double x = 0;
    parser.DefineVar("x", &x);
    parser.SetExpr(formula);
    std::vector<double> ys(kTablePoints);
    const double step = 3.0 / (kTablePoints - 1);
    for (auto _ : state) {
        for (int i = 0; i < kTablePoints; ++i) {
            x = i * step;
            ys[i] = parser.Eval();
        }
        benchmark::DoNotOptimize(ys.data());
    }
    state.SetItemsProcessed(state.iterations() * kTablePoints);
}

void BM_Quillet_PointSinX2(benchmark::State& s) { evalsPerPoint(s, "sin(x)*x^2"); }
void BM_MuParser_PointSinX2(benchmark::State& s) { muparserPerPoint(s, "sin(x)*x^2"); }
// A formula the prepared form does not cover (a statistics function): every
// point is read as text, as before.
void BM_Quillet_PointFallback(benchmark::State& s) { evalsPerPoint(s, "max(sin(x);0)*x^2"); }
// The status bar's look at a selection, as each selection change asks for it
// (evaluation without a trace, then formatting): it must stay far below a
// millisecond for the longest selection it takes, 200 characters.
void selectionStatus(benchmark::State& state, const std::string& selection) {
    zrt::resetLibraryForTests();
    zrt::SetVarFunct("x", "0.7", zrt::ListKind::Vars);
    for (auto _ : state) benchmark::DoNotOptimize(zrt::selectionStatusText(selection));
    if (zrt::selectionStatusText(selection).empty()) state.SkipWithError("no value");
}

std::string longestSelection() {
    std::string text = "sin(x)*x^2";
    const char* terms[] = {"+3*x", "-1/(1+x^2)", "+cos(x)*2", "+sqrt(2)*10"};
    for (int t = 0; text.size() + 12 < zrt::kMaxStatusSelectionChars; ++t) text += terms[t % 4];
    return text;
}

void BM_SelectionStatus_Short(benchmark::State& s) { selectionStatus(s, "sqrt(2)*10"); }
void BM_SelectionStatus_Longest(benchmark::State& s) { selectionStatus(s, longestSelection()); }

}  // namespace

// Names: comparison/implementation/case; the report pairs them by that.
BENCHMARK(BM_Quillet_Short)->Name("BM_Eval/Quillet/short");
BENCHMARK(BM_MuParser_Short)->Name("BM_Eval/muparser/short");
BENCHMARK(BM_Quillet_Typical)->Name("BM_Eval/Quillet/typical");
BENCHMARK(BM_MuParser_Typical)->Name("BM_Eval/muparser/typical");
BENCHMARK(BM_Quillet_Long)->Name("BM_Eval/Quillet/long");
BENCHMARK(BM_MuParser_Long)->Name("BM_Eval/muparser/long");
BENCHMARK(BM_Quillet_EvalsPerPoint);
BENCHMARK(BM_Quillet_PointSinX2)->Name("BM_PointEval/Quillet/sin(x)*x^2");
BENCHMARK(BM_MuParser_PointSinX2)->Name("BM_PointEval/muparser/sin(x)*x^2");
BENCHMARK(BM_Quillet_PointFallback)->Name("BM_PointEval/Quillet/fallback max(sin(x);0)*x^2");
BENCHMARK(BM_SelectionStatus_Short)->Name("BM_SelectionStatus/Quillet/short");
BENCHMARK(BM_SelectionStatus_Longest)->Name("BM_SelectionStatus/Quillet/200chars");

BENCHMARK_MAIN();
