// e_evals: a formula of one variable over a table of points, with the start,
// end, step count and variable name taken from the input.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "api/lifecycle.h"
#include "evaluator/evaluator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zrt::resetLibraryForTests();
    FuzzedDataProvider in(data, size);
    const double start = in.ConsumeFloatingPoint<double>();
    const double end = in.ConsumeFloatingPoint<double>();
    // The caller's tables hold steps + 1 values; small counts keep runs fast.
    const int steps = in.ConsumeIntegralInRange<int>(-2, 300);
    const bool tables = in.ConsumeBool();
    const std::string variable = in.ConsumeRandomLengthString(12);
    const std::string formula = in.ConsumeRemainingBytesAsString();
    std::vector<double> xs(steps > 0 ? steps + 1 : 1), ys(xs.size()), bounds(5);
    zrt::e_evals(formula, start, variable, end, steps, tables ? xs.data() : nullptr,
                 tables ? ys.data() : nullptr, tables ? bounds.data() : nullptr);
    return 0;
}
