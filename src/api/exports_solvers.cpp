// Exports of the equation solvers. Text results are library-owned, valid
// until the next call of the same export.
#include "api/abi.h"
#include "calculus/solvers.h"

using zrt::abi::emptyText;
using zrt::abi::guard;
using zrt::abi::in;

int32_t ZRT_API NewtSolve(const zrt_char* formula, const zrt_char* variable, double* start) {
    return guard("NewtSolve", 0, [&] { return zrt::NewtSolve(in(formula), in(variable), start); });
}

double ZRT_API dPolySolve(const zrt_char* formula, const zrt_char* variable) {
    return guard("dPolySolve", 0.0, [&] { return zrt::dPolySolve(in(formula), in(variable)); });
}

const zrt_char* ZRT_API sPolyNewt(const zrt_char* formula, const zrt_char* variable,
                                  int32_t limit) {
    static std::u16string slot;
    return guard("sPolyNewt", emptyText(), [&] {
        return zrt::abi::keep(slot, zrt::sPolyNewt(in(formula), in(variable), limit));
    });
}

double ZRT_API dSolve(const zrt_char* formula, const zrt_char* variable) {
    return guard("dSolve", 0.0, [&] { return zrt::dSolve(in(formula), in(variable)); });
}

const zrt_char* ZRT_API sSolve(const zrt_char* formula, const zrt_char* variable, int32_t steps) {
    static std::u16string slot;
    return guard("sSolve", emptyText(), [&] {
        return zrt::abi::keep(slot, zrt::sSolve(in(formula), in(variable), steps));
    });
}
