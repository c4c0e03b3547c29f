// Whole batch runs of scripts made of Expr lines: the time must grow linearly
// with the number of lines (compare the 10 000 and the 100 000 line runs).
#include <benchmark/benchmark.h>

#include <string>

#include "api/lifecycle.h"
#include "script/driver.h"

namespace {

std::string script(int lines) {
    std::string s;
    s.reserve(static_cast<std::size_t>(lines) * 40);
    for (int i = 0; i < lines; ++i)
        s += "Expr = sin(" + std::to_string(i % 97) + ")*2+" + std::to_string(i) + "/7\r\n";
    return s;
}

void BM_BatchRun(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    const std::string line = " /noh /sel:'" + script(lines) + "' /";
    for (auto _ : state) {
        zrt::resetLibraryForTests();
        benchmark::DoNotOptimize(zrt::zrtEvalMain(line));
    }
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(lines) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BatchRun)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
