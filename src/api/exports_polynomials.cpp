// Exports of the polynomial helpers and the linear interpolation.
//
// The matrix X of aCalcVectCoeff and the point table of aCalcCoeffPolin are
// host arrays in the host's element order; coefficient and value vectors are
// plain arrays. As with the matrix library, arguments that cannot be used (a
// null array: 15; a row or column count below 1, or more than 2^24 elements:
// 5) are refused before anything is read or written: the code is returned,
// kept as the matrix status and in e_error, and logged under the export.
#include <string>
#include <vector>

#include "api/abi.h"
#include "base/errors.h"
#include "memory/elemorder.h"
#include "numerics/matrix.h"
#include "numerics/polynomials.h"

using namespace zrt;
using zrt::abi::emptyText;
using zrt::abi::guard;
using zrt::abi::in;

namespace {

int32_t refuse(const char* proc, int32_t status, const std::string& detail) {
    setMatrStatus(status);
    failReplacing(errorCodeOf(status), proc, detail);
    return status;
}

int32_t kept(int32_t status) {
    setMatrStatus(status);
    return status;
}

// One refusal text per status for an argument of `rows` x `cols` values.
int32_t refuseArgument(const char* proc, const char* name, int32_t status, int rows, int cols) {
    if (status == kMatrNotDefined) return refuse(proc, status, std::string(name) + " = null");
    return refuse(proc, status,
                  std::string(name) + ": rows = " + std::to_string(rows) +
                      ", cols = " + std::to_string(cols));
}

}  // namespace

const zrt_char* ZRT_API Poly_dydx(const zrt_char* polynomial, const zrt_char* variable) {
    static std::u16string slot;
    return guard("Poly_dydx", emptyText(),
                 [&] { return abi::keep(slot, zrt::Poly_dydx(in(polynomial), in(variable))); });
}

intptr_t ZRT_API lPoly_dydx(const zrt_char* polynomial, const zrt_char* variable) {
    static std::u16string slot;
    return guard("lPoly_dydx", reinterpret_cast<intptr_t>(emptyText()), [&] {
        const zrt_char* text = abi::keep(slot, zrt::Poly_dydx(in(polynomial), in(variable)));
        setEError(ErrorCode::None);
        return reinterpret_cast<intptr_t>(text);
    });
}

int32_t ZRT_API aGetYPolin(const double* x, const double* c, int32_t n, double* result) {
    return guard("aGetYPolin", kMatrUndefined, [&] {
        if (!x) return refuseArgument("aGetYPolin", "x", kMatrNotDefined, 1, 1);
        if (!result) return refuseArgument("aGetYPolin", "result", kMatrNotDefined, 1, 1);
        if (n > 0 && !c) return refuseArgument("aGetYPolin", "c", kMatrNotDefined, n, 1);
        *result = zrt::polynomialValue(*x, c, n);
        return kMatrOk;
    });
}

int32_t ZRT_API aGetXsOfQuadr(const double* y, const double* c, int32_t n, double* x1, double* x2) {
    return guard("aGetXsOfQuadr", kMatrUndefined, [&] {
        constexpr const char* proc = "aGetXsOfQuadr";
        if (!y) return refuseArgument(proc, "y", kMatrNotDefined, 1, 1);
        if (!x1) return refuseArgument(proc, "x1", kMatrNotDefined, 1, 1);
        if (!x2) return refuseArgument(proc, "x2", kMatrNotDefined, 1, 1);
        if ((n == 2 || n == 3) && !c) return refuseArgument(proc, "c", kMatrNotDefined, n, 1);
        const int status = zrt::aGetXsOfQuadr(*y, c, n, x1, x2);
        return status == kStatusUnchanged ? matrStatus() : kept(status);
    });
}

int32_t ZRT_API aCalcVectCoeff(const double* X, int32_t r, int32_t c, const double* y, double* a) {
    return guard("aCalcVectCoeff", kMatrUndefined, [&] {
        constexpr const char* proc = "aCalcVectCoeff";
        if (int s = checkMatrix(X, r, c); s != kMatrOk) return refuseArgument(proc, "X", s, r, c);
        if (int s = checkMatrix(y, r, 1); s != kMatrOk) return refuseArgument(proc, "y", s, r, 1);
        if (int s = checkMatrix(a, c, 1); s != kMatrOk) return refuseArgument(proc, "a", s, c, 1);
        // X^T X is c x c: beyond the largest matrix nothing is read.
        if (std::int64_t{c} * c > kMaxMatrixElements)
            return refuse(
                proc, kMatrOrdersNotValid,
                "X^T X would have " + std::to_string(c) + " x " + std::to_string(c) + " elements");
        std::vector<double> x(static_cast<std::size_t>(r) * static_cast<std::size_t>(c));
        zrt::aCopyArray(X, x.data(), r, c);
        return kept(zrt::aCalcVectCoeff(x.data(), r, c, y, a));
    });
}

int32_t ZRT_API aCalcCoeffPolin(const double* P, int32_t m, int32_t k, double* a) {
    return guard("aCalcCoeffPolin", kMatrUndefined, [&] {
        constexpr const char* proc = "aCalcCoeffPolin";
        if (k < 1 || k > m)
            return refuse(proc, 12,
                          "k = " + std::to_string(k) + ", m = " + std::to_string(m) +
                              ": a fit through m points has 1 to m coefficients");
        if (int s = checkMatrix(P, m, 2); s != kMatrOk) return refuseArgument(proc, "P", s, m, 2);
        if (int s = checkMatrix(a, k, 1); s != kMatrOk) return refuseArgument(proc, "a", s, k, 1);
        // The m x k matrix of powers must be a matrix the library can hold.
        if (std::int64_t{m} * k > kMaxMatrixElements)
            return refuse(proc, kMatrOrdersNotValid,
                          "m = " + std::to_string(m) + ", k = " + std::to_string(k) +
                              ": the fit would need more than 2^24 elements");
        std::vector<double> points(static_cast<std::size_t>(m) * 2);
        zrt::aCopyArray(P, points.data(), m, 2);
        return kept(zrt::aCalcCoeffPolin(points.data(), m, k, a));
    });
}

int32_t ZRT_API InterpLin(const double* x, const double* x0, const double* x1, const double* y0,
                          const double* y1, double* result) {
    return guard("InterpLin", 0, [&] {
        if (!x || !x0 || !x1 || !y0 || !y1 || !result) {
            failReplacing(ErrorCode::ValueNotDefined, "InterpLin",
                          "Input parameter error: an address is null");
            return 0;
        }
        *result = zrt::InterpLin(*x, *x0, *x1, *y0, *y1);
        return 0;
    });
}
