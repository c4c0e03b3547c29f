// Integrate on arbitrary integrands, bounds, subinterval counts and methods.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "api/lifecycle.h"
#include "calculus/integration.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zrt::resetLibraryForTests();
    FuzzedDataProvider in(data, size);
    const double a = in.ConsumeFloatingPoint<double>();
    const double b = in.ConsumeFloatingPoint<double>();
    // Counts up to a few hundred keep runs fast; the huge ones, beyond the
    // library's bound, must be refused at once.
    int n = in.ConsumeIntegral<int>();
    if (n > 400 && n <= zrt::kMaxSubintervals) n %= 401;
    const int method = in.ConsumeIntegralInRange<int>(-1, 3);
    const bool address = in.ConsumeBool();
    const std::string variable = in.ConsumeRandomLengthString(12);
    const std::string formula = in.ConsumeRemainingBytesAsString();
    double result = 0;
    zrt::Integrate(formula, a, b, n, method, variable, address ? &result : nullptr);
    zrt::dIntegrate(formula, b, a, n, method, variable);
    return 0;
}
