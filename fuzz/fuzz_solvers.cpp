// The equation solvers on arbitrary formulas, variable names and step counts.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "api/lifecycle.h"
#include "calculus/solved.h"
#include "calculus/solvers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zrt::resetLibraryForTests();
    FuzzedDataProvider in(data, size);
    // Step counts up to a few dozen keep runs fast; the huge ones, beyond the
    // library's bound, must be refused at once.
    int steps = in.ConsumeIntegral<int>();
    if (steps > 40 && steps <= zrt::kMaxSolverSteps) steps %= 41;
    const int which = in.ConsumeIntegralInRange<int>(0, 5);
    const bool address = in.ConsumeBool();
    const std::string variable = in.ConsumeRandomLengthString(12);
    const std::string formula = in.ConsumeRemainingBytesAsString();
    double root = 0;
    switch (which) {
        case 0: zrt::NewtSolve(formula, variable, address ? &root : nullptr); break;
        case 1: zrt::dPolySolve(formula, variable); break;
        case 2: zrt::sPolyNewt(formula, variable, steps); break;
        case 3: zrt::dSolve(formula, variable); break;
        case 4: zrt::sSolve(formula, variable, steps); break;
        default: zrt::SolveD(formula, variable, &root); break;
    }
    return 0;
}
