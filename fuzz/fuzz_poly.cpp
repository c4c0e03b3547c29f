// The polynomial differentiator on arbitrary polynomial text and variable names.
#include <cstddef>
#include <cstdint>
#include <string>

#include "api/lifecycle.h"
#include "numerics/polynomials.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zrt::resetLibraryForTests();
    // The first line names the variable, the rest is the polynomial.
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = input.find('\n');
    const std::string variable = cut == std::string::npos ? "x" : input.substr(0, cut);
    const std::string polynomial = cut == std::string::npos ? input : input.substr(cut + 1);
    zrt::Poly_dydx(polynomial, variable);
    return 0;
}
