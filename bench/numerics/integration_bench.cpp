// Integrate of sin(x)*x^2 over [0, 3] with 1 000 000 subintervals by each
// rule, against one e_eval of the text a point turns the formula into, in the
// same run. Compare the counter "per_point" of the rules with the time of
// BM_EvalPointText: the rules evaluate the formula's prepared form a block
// of points at a time, with the very values the points' texts give.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "evaluator/evaluator.h"
#include "evaluator/pointformula.h"
#include "calculus/integration.h"

namespace {

constexpr int kSubintervals = 1000000;
constexpr const char* kFormula = "sin(x)*x^2";

void integral(benchmark::State& state, int method) {
    double result = 0;
    for (auto _ : state) {
        zrt::Integrate(kFormula, 0, 3, kSubintervals, method, "x", &result);
        benchmark::DoNotOptimize(result);
    }
    // The midpoint rule evaluates one point per subinterval, the others the
    // end points too.
    const int points = method == zrt::kMidpoint ? kSubintervals : kSubintervals + 1;
    // Seconds per point ("200n" is 200 ns).
    state.counters["per_point"] = benchmark::Counter(
        static_cast<double>(points),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_IntegrateMidpoint(benchmark::State& state) {
    integral(state, zrt::kMidpoint);
}
void BM_IntegrateTrapezoidal(benchmark::State& state) {
    integral(state, zrt::kTrapezoidal);
}
void BM_IntegrateSimpson(benchmark::State& state) {
    integral(state, zrt::kSimpson);
}

// The texts of points spread over the same interval with the same step, so
// that they have as many digits as the integral's points.
void BM_EvalPointText(benchmark::State& state) {
    std::vector<std::string> texts;
    const double h = 3.0 / kSubintervals;
    for (int i = 0; i < 4096; ++i) {
        std::string point;
        zrt::appendPointText(point, (i * 241 + 17) * h);
        texts.push_back("sin" + point + "*" + point + "^2");
    }
    double v = 0;
    std::size_t i = 0;
    for (auto _ : state) {
        zrt::e_eval(texts[i++ & 4095], &v, 0);
        benchmark::DoNotOptimize(v);
    }
}

}  // namespace

BENCHMARK(BM_IntegrateMidpoint)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_IntegrateTrapezoidal)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_IntegrateSimpson)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_EvalPointText);
