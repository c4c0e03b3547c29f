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

MatrixStatus refuse(const char* proc, MatrixStatus status, const std::string& detail) {
    setMatrStatus(status);
    failReplacing(errorCodeOf(status), proc, detail);
    return status;
}

MatrixStatus kept(MatrixStatus status) {
    setMatrStatus(status);
    return status;
}

// One refusal text per status for an argument of `rows` x `cols` values.
MatrixStatus refuseArgument(const char* proc, const char* name, MatrixStatus status, int rows,
                            int cols) {
    if (status == MatrixStatus::NotDefined)
        return refuse(proc, status, std::string(name) + " = null");
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
    return abi::statusGuard("aGetYPolin", [&] {
        if (!x) return refuseArgument("aGetYPolin", "x", MatrixStatus::NotDefined, 1, 1);
        if (!result) return refuseArgument("aGetYPolin", "result", MatrixStatus::NotDefined, 1, 1);
        if (n > 0 && !c) return refuseArgument("aGetYPolin", "c", MatrixStatus::NotDefined, n, 1);
        *result = zrt::polynomialValue(*x, c, n);
        return MatrixStatus::Ok;
    });
}

int32_t ZRT_API aGetXsOfQuadr(const double* y, const double* c, int32_t n, double* x1, double* x2) {
    return abi::statusGuard("aGetXsOfQuadr", [&] {
        constexpr const char* proc = "aGetXsOfQuadr";
        if (!y) return refuseArgument(proc, "y", MatrixStatus::NotDefined, 1, 1);
        if (!x1) return refuseArgument(proc, "x1", MatrixStatus::NotDefined, 1, 1);
        if (!x2) return refuseArgument(proc, "x2", MatrixStatus::NotDefined, 1, 1);
        if ((n == 2 || n == 3) && !c)
            return refuseArgument(proc, "c", MatrixStatus::NotDefined, n, 1);
        const MatrixStatus status = zrt::aGetXsOfQuadr(*y, c, n, x1, x2);
        return status == kStatusUnchanged ? matrStatus() : kept(status);
    });
}

int32_t ZRT_API aCalcVectCoeff(const double* X, int32_t r, int32_t c, const double* y, double* a) {
    return abi::statusGuard("aCalcVectCoeff", [&] {
        constexpr const char* proc = "aCalcVectCoeff";
        if (MatrixStatus s = checkMatrix(X, r, c); s != MatrixStatus::Ok)
            return refuseArgument(proc, "X", s, r, c);
        if (MatrixStatus s = checkMatrix(y, r, 1); s != MatrixStatus::Ok)
            return refuseArgument(proc, "y", s, r, 1);
        if (MatrixStatus s = checkMatrix(a, c, 1); s != MatrixStatus::Ok)
            return refuseArgument(proc, "a", s, c, 1);
        // X^T X is c x c: beyond the largest matrix nothing is read.
        if (std::int64_t{c} * c > kMaxMatrixElements)
            return refuse(
                proc, MatrixStatus::OrdersNotValid,
                "X^T X would have " + std::to_string(c) + " x " + std::to_string(c) + " elements");
        std::vector<double> x(static_cast<std::size_t>(r) * static_cast<std::size_t>(c));
        zrt::aCopyArray(X, x.data(), r, c);
        return kept(zrt::aCalcVectCoeff(x.data(), r, c, y, a));
    });
}

int32_t ZRT_API aCalcCoeffPolin(const double* P, int32_t m, int32_t k, double* a) {
    return abi::statusGuard("aCalcCoeffPolin", [&] {
        constexpr const char* proc = "aCalcCoeffPolin";
        if (k < 1 || k > m)
            return refuse(proc, MatrixStatus::RankTooHigh,
                          "k = " + std::to_string(k) + ", m = " + std::to_string(m) +
                              ": a fit through m points has 1 to m coefficients");
        if (MatrixStatus s = checkMatrix(P, m, 2); s != MatrixStatus::Ok)
            return refuseArgument(proc, "P", s, m, 2);
        if (MatrixStatus s = checkMatrix(a, k, 1); s != MatrixStatus::Ok)
            return refuseArgument(proc, "a", s, k, 1);
        // The m x k matrix of powers must be a matrix the library can hold.
        if (std::int64_t{m} * k > kMaxMatrixElements)
            return refuse(proc, MatrixStatus::OrdersNotValid,
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
