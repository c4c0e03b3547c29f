// Export of the Newton solver with the symbolic derivative.
#include "api/abi.h"
#include "calculus/solved.h"

using zrt::abi::guard;
using zrt::abi::in;

int32_t ZRT_API SolveD(const zrt_char* formula, const zrt_char* variable, double* root) {
    return guard("SolveD", 0, [&] { return zrt::SolveD(in(formula), in(variable), root); });
}
