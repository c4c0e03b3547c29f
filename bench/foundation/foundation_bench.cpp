// Variable store look-ups at growing list sizes (the cost per look-up must stay
// flat), and the ten-decimal text conversions per call.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "api/lifecycle.h"
#include "base/numtext.h"
#include "memory/varstore.h"

using namespace zrt;

static void BM_StoreAndFind(benchmark::State& state) {
    resetLibraryForTests();
    const int n = static_cast<int>(state.range(0));
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i) names.push_back("var" + std::to_string(i));
    for (const auto& name : names) SetVarFunct(name, "1.5", ListKind::Vars);
    std::size_t i = 0;
    double v = 0;
    for (auto _ : state) {
        const std::string& name = names[i++ % names.size()];
        SetVarFunct(name, "2.5", ListKind::Vars);
        benchmark::DoNotOptimize(FindVarFunct(name, ListKind::Vars, &v, nullptr));
    }
    state.SetLabel("store + find, list of " + std::to_string(n));
}
BENCHMARK(BM_StoreAndFind)->Arg(10)->Arg(1000)->Arg(100000);

static void BM_FixText(benchmark::State& state) {
    double x = 1.0 / 3;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FixText(x));
        x += 0.125;
    }
}
BENCHMARK(BM_FixText);

static void BM_StrD0(benchmark::State& state) {
    const std::string text = FixText(12.5);
    for (auto _ : state) benchmark::DoNotOptimize(StrD0(text));
}
BENCHMARK(BM_StrD0);

BENCHMARK_MAIN();
