// e_diff per call (text in, text out through the export) against GiNaC's full
// cycle on the same text: parse, differentiate, print.
#include <benchmark/benchmark.h>
#include <ginac/ginac.h>

#include <sstream>
#include <string>

#include "api/lifecycle.h"
#include "base/text16.h"
#include "zerith.h"

namespace {

const std::string kMixed = "sin(x)*x^2+3*x-1/(1+x^2)";

// 1+x+x^2+...+x^199: with the derivative it fills most of the node table.
std::string polynomial() {
    std::string p = "1+x";
    for (int k = 2; k < 200; ++k) p += "+x^" + std::to_string(k);
    return p;
}

void zerith(benchmark::State& state, const std::string& formula) {
    zrt::resetLibraryForTests();
    const std::u16string f = zrt::toUtf16(formula);
    const std::u16string x = u"x";
    std::u16string buffer(8000, u' ');
    const auto* fp = reinterpret_cast<const zrt_char*>(f.c_str());
    const auto* xp = reinterpret_cast<const zrt_char*>(x.c_str());
    auto* bp = reinterpret_cast<zrt_char*>(&buffer[0]);
    int n = e_diff(fp, xp, bp, 0);
    if (n <= 0) state.SkipWithError("e_diff failed");
    for (auto _ : state) {
        // The buffer keeps the last result: its capacity is that length again.
        n = e_diff(fp, xp, bp, 0);
        benchmark::DoNotOptimize(n);
        benchmark::ClobberMemory();
    }
    state.SetLabel(std::to_string(n) + " characters");
}

void ginac(benchmark::State& state, const std::string& formula) {
    GiNaC::symbol x("x");
    GiNaC::symtab table;
    table["x"] = x;
    std::size_t length = 0;
    for (auto _ : state) {
        GiNaC::parser reader(table);
        const GiNaC::ex e = reader(formula);
        std::ostringstream out;
        out << e.diff(x);
        length = out.str().size();
        benchmark::DoNotOptimize(length);
    }
    state.SetLabel(std::to_string(length) + " characters");
}

void BM_Mixed_e_diff(benchmark::State& state) {
    zerith(state, kMixed);
}
void BM_Mixed_GiNaC(benchmark::State& state) {
    ginac(state, kMixed);
}
void BM_Polynomial200_e_diff(benchmark::State& state) {
    zerith(state, polynomial());
}
void BM_Polynomial200_GiNaC(benchmark::State& state) {
    ginac(state, polynomial());
}

}  // namespace

// Names: comparison/implementation/case; the report pairs them by that.
BENCHMARK(BM_Mixed_e_diff)->Name("BM_Diff/Quillet/mixed");
BENCHMARK(BM_Mixed_GiNaC)->Name("BM_Diff/GiNaC/mixed");
BENCHMARK(BM_Polynomial200_e_diff)->Name("BM_Diff/Quillet/polynomial200");
BENCHMARK(BM_Polynomial200_GiNaC)->Name("BM_Diff/GiNaC/polynomial200");

BENCHMARK_MAIN();
