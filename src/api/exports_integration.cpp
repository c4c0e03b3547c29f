// Exports of the numerical integration.
#include "api/abi.h"
#include "calculus/integration.h"

using zrt::abi::guard;
using zrt::abi::in;

int32_t ZRT_API Integrate(const zrt_char* formula, double a, double b, int32_t n, int32_t method,
                          const zrt_char* variable, double* result) {
    return guard("Integrate", 0, [&] {
        return zrt::Integrate(in(formula), a, b, n, method, in(variable), result);
    });
}

double ZRT_API dIntegrate(const zrt_char* formula, double a, double b, int32_t n, int32_t method,
                          const zrt_char* variable) {
    return guard("dIntegrate", 0.0,
                 [&] { return zrt::dIntegrate(in(formula), a, b, n, method, in(variable)); });
}

int32_t ZRT_API IntBezier2D(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                            int32_t, int32_t, int32_t, int32_t) {
    return 0;
}
